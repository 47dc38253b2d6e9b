#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

const QByteArray reopenRequest = "reopen\n";

} // namespace

SingleInstance::SingleInstance(const QString &applicationFolder, const QString &runtimeFolder)
    : m_lock(applicationFolder + u"/.running"_s),
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
        while (QLocalSocket *connection = m_server.nextPendingConnection()) {
            connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
            connect(connection, &QLocalSocket::readyRead, this, [this, connection] {
                if (connection->canReadLine() && connection->readLine() == reopenRequest)
                    emit reopenRequested();
            });
        }
    });
}

SingleInstance::~SingleInstance()
{
    m_server.close();
}

bool SingleInstance::claim()
{
    if (!m_lock.tryLock(0))
        return false;
    QLocalServer::removeServer(m_serverName);
    m_server.listen(m_serverName);
    return true;
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
