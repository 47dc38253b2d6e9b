#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>

// Keeps to one running program per installation, so that two processes never save or synchronise
// the same files. The first start claims the installation and listens; a later start hands over
// to it (the running program brings its window forward) and ends.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // `applicationFolder`: the installation's folder, which holds the lock; `runtimeFolder`: where
    // the running program listens (private to the user).
    SingleInstance(const QString &applicationFolder, const QString &runtimeFolder);
    ~SingleInstance() override;

    // True when no other program runs for this installation; this one then listens for later
    // starts until it ends.
    bool claim();
    // Asks the running program to come forward; false when it did not answer within `patience`
    // (it may still be starting up).
    bool handOver(std::chrono::milliseconds patience = std::chrono::seconds(5));

signals:
    // A later start asked this program to come forward.
    void reopenRequested();

private:
    QLockFile m_lock;
    QString m_serverName;
    QLocalServer m_server;
};
