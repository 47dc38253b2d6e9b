#include "RecordingAlertPresenter.h"

#include <utility>

namespace lexi::test {

int RecordingAlertPresenter::runModal(const Alert &alert)
{
    alerts.append(alert);
    if (answers.empty())
        return 0;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingAlertPresenter::open(const Alert &alert, QObject *receiver, std::function<void(int button)> answered)
{
    alerts.append(alert);
    m_sheetReceiver = receiver;
    m_sheetAnswer = std::move(answered);
}

void RecordingAlertPresenter::answerSheet(int button)
{
    const std::function<void(int)> answered = std::exchange(m_sheetAnswer, nullptr);
    if (answered && m_sheetReceiver)
        answered(button);
}

} // namespace lexi::test
