#include "RecordingAlertPresenter.h"

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

} // namespace lexi::test
