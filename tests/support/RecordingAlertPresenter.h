#pragma once

#include "platform/ports/AlertPresenter.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <deque>

namespace lexi::test {

// Records the alerts that would be shown. Modal ones are answered at once with scripted button
// indexes (0 when nothing is scripted); a sheet stays open until the test answers it.
class RecordingAlertPresenter final : public AlertPresenter
{
public:
    int runModal(const Alert &alert) override;
    void open(const Alert &alert, QObject *receiver, std::function<void(int button)> answered) override;

    // Whether a sheet shown with open() waits for its answer.
    bool isSheetOpen() const { return bool(m_sheetAnswer); }
    // The learner chose `button` on the open sheet.
    void answerSheet(int button);

    QList<Alert> alerts;
    std::deque<int> answers;

private:
    QPointer<QObject> m_sheetReceiver;
    std::function<void(int button)> m_sheetAnswer;
};

} // namespace lexi::test
