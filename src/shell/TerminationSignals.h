#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into an ordinary quit of the application, so that the program ends as
// it does when the learner quits: sync log saved, pending saves written, logging flushed.
class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    // One per process; installs the handlers until it goes.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
