#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QSysInfo>
#include <QThread>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray reopenRequest = "reopen\n";
// Far beyond the one request there is; more bytes, or more connections at once, come from no
// start of the program.
constexpr qint64 largestRequest = 64;
constexpr qsizetype mostConnections = 8;

} // namespace

SingleInstance::SingleInstance(const QString &applicationFolder, const QString &runtimeFolder,
                               std::chrono::milliseconds requestDeadline)
    : m_requestDeadline(requestDeadline),
      m_applicationFolder(applicationFolder),
      m_lock(applicationFolder + u"/.running"_s),
      m_serverName(QDir(runtimeFolder).filePath(
          u"lexicarta-"_s +
          QString::fromLatin1(
              QCryptographicHash::hash(QDir(applicationFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1)
                  .toHex()
                  .left(16))))
{
    // A lock whose process is gone is taken over at once.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *connection = m_server.nextPendingConnection())
            serve(connection);
    });
}

void SingleInstance::serve(QLocalSocket *connection)
{
    if (m_connections == mostConnections) {
        connection->abort();
        connection->deleteLater();
        return;
    }
    ++m_connections;
    connect(connection, &QObject::destroyed, this, [this] { --m_connections; });
    connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    // The socket holds no more than this; what the peer sends beyond waits in the system.
    connection->setReadBufferSize(largestRequest + 1);
    const auto close = [connection] {
        connection->abort();
        connection->deleteLater();
    };
    auto *deadline = new QTimer(connection);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, connection, close);
    deadline->start(m_requestDeadline);
    connect(connection, &QLocalSocket::readyRead, connection, [this, connection, close] {
        if (!connection->canReadLine() && connection->bytesAvailable() <= largestRequest)
            return;
        if (connection->readLine(largestRequest + 1) == reopenRequest)
            emit reopenRequested();
        close();
    });
}

SingleInstance::~SingleInstance()
{
    m_server.close();
}

SingleInstance::Claim SingleInstance::claim()
{
    if (m_lock.tryLock(0)) {
        QLocalServer::removeServer(m_serverName);
        m_server.listen(m_serverName);
        return Claim::claimed;
    }
    if (m_lock.error() != QLockFile::LockFailedError)
        return Claim::impossible;
    // A lock of this machine whose program had gone was taken over above.
    qint64 processId = 0;
    QString host;
    QString program;
    if (m_lock.getLockInfo(&processId, &host, &program) && host == QSysInfo::machineHostName())
        return Claim::runningHere;
    return Claim::ownerUnknown;
}

QString SingleInstance::lockHolder() const
{
    qint64 processId = 0;
    QString host;
    QString program;
    return m_lock.getLockInfo(&processId, &host, &program) ? host : QString();
}

bool SingleInstance::takeOver()
{
    return m_lock.removeStaleLockFile() && claim() == Claim::claimed;
}

bool SingleInstance::handOver(std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(int(std::min<qint64>(deadline.remainingTime(), 500)))) {
            socket.write(reopenRequest);
            return socket.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 100)));
        }
        // The running program holds the lock but may not listen yet.
        QThread::msleep(50);
    }
    return false;
}
