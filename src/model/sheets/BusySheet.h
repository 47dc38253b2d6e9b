#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace lexi {

// The sheet that shows while a sheet's work runs off the main thread: what is being done, with
// the file's name, a busy bar, and a button that cancels the work. Escape and closing cancel too.
class BusySheet final : public QDialog
{
    Q_OBJECT

public:
    explicit BusySheet(QWidget *parent);

    // Opens the sheet over its window with `text`.
    void start(const QString &text);
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
};

} // namespace lexi
