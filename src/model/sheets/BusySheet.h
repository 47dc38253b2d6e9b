#pragma once

#include "platform/dispatch/WorkProgress.h"

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace lexi {

// The sheet that shows while a sheet's work runs off the main thread: what is being done, with
// the file's name, a bar, and a button that cancels the work. Escape and closing cancel too. The
// bar shows how far the work has come while it tells, and only that it goes on otherwise.
class BusySheet final : public QDialog
{
    Q_OBJECT

public:
    explicit BusySheet(QWidget *parent);

    // Opens the sheet over its window with `text`.
    void start(const QString &text);
    // The bar follows what the work tells.
    void follow(std::shared_ptr<const WorkProgress> progress);
    // Shows what the work tells now; the sheet does so a few times a second while open.
    void updateProgress();
    // The work is done: the sheet closes without a word.
    void finish();

    QLabel *textLabel() const { return m_text; }
    QProgressBar *progressBar() const { return m_progress; }
    QPushButton *cancelButton() const { return m_cancel; }

signals:
    // The learner cancelled the work.
    void cancelled();

protected:
    void reject() override;

private:
    QLabel *m_text;
    QProgressBar *m_progress;
    QPushButton *m_cancel;
    QTimer *m_refresh;
    std::shared_ptr<const WorkProgress> m_work;
};

} // namespace lexi
