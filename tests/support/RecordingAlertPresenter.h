#pragma once

#include "platform/ports/AlertPresenter.h"

#include <QList>

#include <deque>

namespace lexi::test {

// Records the alerts that would be shown and answers with scripted button indexes (0 when
// nothing is scripted).
class RecordingAlertPresenter final : public AlertPresenter
{
public:
    int runModal(const Alert &alert) override;

    QList<Alert> alerts;
    std::deque<int> answers;
};

} // namespace lexi::test
