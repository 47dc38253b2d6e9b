#pragma once

#include "platform/ports/AlertPresenter.h"

namespace lexi::test {

// Alerts nobody sees, each answered with the same button (the first unless told otherwise), for
// programs that run without anybody looking. Unlike RecordingAlertPresenter it keeps nothing.
class SilentAlertPresenter final : public AlertPresenter
{
public:
    explicit SilentAlertPresenter(int answer = 0) : m_answer(answer) {}

    int runModal(const Alert &) override { return m_answer; }
    void open(const Alert &, QObject *, std::function<void(int button)> answered) override { answered(m_answer); }

private:
    int m_answer;
};

} // namespace lexi::test
