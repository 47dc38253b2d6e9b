#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>

class QLocalSocket;

// Keeps to one running program per installation, so that two processes never save or synchronise
// the same files. The first start claims the installation and listens; a later start hands over
// to it (the running program brings its window forward) and ends. The running program reads one
// short line per connection, within a deadline, and then closes it: another process of the
// learner's can make it hold neither memory nor descriptors.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // `applicationFolder`: the installation's folder, which holds the lock; `runtimeFolder`: where
    // the running program listens (private to the user); `requestDeadline`: how long a connection
    // may take to send its line.
    SingleInstance(const QString &applicationFolder, const QString &runtimeFolder,
                   std::chrono::milliseconds requestDeadline = std::chrono::seconds(2));
    ~SingleInstance() override;

    enum class Claim {
        // No other program runs for this installation; this one now listens for later starts
        // until it ends.
        claimed,
        // Another program of this machine holds the installation: hand over to it.
        runningHere,
        // The lock names a program that cannot be checked: one of another machine (a home folder
        // on the network), or a lock that cannot be read.
        ownerUnknown,
        // The lock cannot be made at all (the folder is not writable).
        impossible,
    };
    Claim claim();
    // The machine that the lock names, for ownerUnknown; empty when it names none.
    QString lockHolder() const;
    const QString &applicationFolder() const { return m_applicationFolder; }
    // Where the running program listens.
    const QString &serverName() const { return m_serverName; }
    // Removes a lock whose owner cannot be checked and claims the installation, once the learner
    // agreed that no program runs there any more.
    bool takeOver();
    // Asks the running program to come forward; false when it did not answer within `patience`
    // (it may still be starting up).
    bool handOver(std::chrono::milliseconds patience = std::chrono::seconds(5));

signals:
    // A later start asked this program to come forward.
    void reopenRequested();

private:
    void serve(QLocalSocket *connection);

    std::chrono::milliseconds m_requestDeadline;
    qsizetype m_connections = 0;
    QString m_applicationFolder;
    QLockFile m_lock;
    QString m_serverName;
    QLocalServer m_server;
};
