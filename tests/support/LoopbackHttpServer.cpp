#include "LoopbackHttpServer.h"

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <mutex>

using namespace Qt::StringLiterals;

namespace lexi::test {

QByteArray HttpRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

class LoopbackHttpServer::Worker : public QObject
{
public:
    quint16 port() const { return m_port; }

    void enqueue(const HttpResponse &response)
    {
        std::lock_guard lock(m_mutex);
        m_scripted.push_back(response);
    }

    void setDefaultResponse(const HttpResponse &response)
    {
        std::lock_guard lock(m_mutex);
        m_default = response;
    }

    QList<HttpRequest> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

    bool waitForRequests(qsizetype count, std::chrono::milliseconds patience) const
    {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, patience, [&] { return m_requests.size() >= count; });
    }

    // Runs on the server thread.
    void listen()
    {
        m_server = new QTcpServer(this);
        m_server->listen(QHostAddress::LocalHost, 0);
        m_port = m_server->serverPort();
        QObject::connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server->nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                    m_buffers.remove(socket);
                    socket->deleteLater();
                });
            }
        });
    }

    // Parses every complete request in the socket's buffer and answers it.
    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        for (;;) {
            const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            HttpRequest request;
            const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
            const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
            request.method = requestLine.value(0);
            request.target = requestLine.value(1);
            qsizetype contentLength = 0;
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon <= 0)
                    continue;
                const QByteArray name = lines[i].left(colon).trimmed();
                const QByteArray value = lines[i].mid(colon + 1).trimmed();
                request.headers.append({name, value});
                if (name.compare("Content-Length", Qt::CaseInsensitive) == 0)
                    contentLength = value.toLongLong();
            }
            const qsizetype bodyStart = headerEnd + 4;
            if (buffer.size() < bodyStart + contentLength)
                return;
            request.body = buffer.mid(bodyStart, contentLength);
            buffer.remove(0, bodyStart + contentLength);
            answer(socket, record(request));
        }
    }

    HttpResponse record(const HttpRequest &request)
    {
        std::lock_guard lock(m_mutex);
        m_requests.append(request);
        m_arrived.notify_all();
        if (m_scripted.empty())
            return m_default;
        HttpResponse response = m_scripted.front();
        m_scripted.pop_front();
        return response;
    }

    void answer(QTcpSocket *socket, const HttpResponse &response)
    {
        QPointer<QTcpSocket> guarded(socket);
        auto send = [this, guarded, response] {
            if (!guarded)
                return;
            if (response.dropConnection) {
                m_buffers.remove(guarded.data());
                guarded->abort();
                return;
            }
            QByteArray bytes = "HTTP/1.1 " + QByteArray::number(response.status) + " Scripted\r\n";
            bool hasType = false;
            for (const auto &[name, value] : response.headers) {
                bytes += name + ": " + value + "\r\n";
                hasType |= name.compare("Content-Type", Qt::CaseInsensitive) == 0;
            }
            if (!hasType)
                bytes += "Content-Type: application/json\r\n";
            bytes += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n\r\n";
            if (response.trickle.count() == 0) {
                guarded->write(bytes + response.body);
                return;
            }
            guarded->write(bytes);
            auto *timer = new QTimer(guarded.data());
            QObject::connect(timer, &QTimer::timeout, timer, [timer, guarded, body = response.body, sent = 0]() mutable {
                if (!guarded || sent >= body.size()) {
                    timer->stop();
                    return;
                }
                guarded->write(body.mid(sent++, 1));
            });
            timer->start(response.trickle);
        };
        if (response.delay.count() > 0)
            QTimer::singleShot(response.delay, this, send);
        else
            send();
    }

private:
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    QHash<QTcpSocket *, QByteArray> m_buffers;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::deque<HttpResponse> m_scripted;
    HttpResponse m_default;
    QList<HttpRequest> m_requests;
};

LoopbackHttpServer::LoopbackHttpServer() : m_thread(std::make_unique<QThread>()), m_worker(new Worker)
{
    // The thread deletes the worker (and its server and sockets) when it finishes.
    m_worker->moveToThread(m_thread.get());
    QObject::connect(m_thread.get(), &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->listen(); }, Qt::BlockingQueuedConnection);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    m_thread->quit();
    m_thread->wait();
}

QUrl LoopbackHttpServer::url() const
{
    return QUrl(u"http://127.0.0.1:%1"_s.arg(m_worker->port()));
}

void LoopbackHttpServer::enqueue(const HttpResponse &response)
{
    m_worker->enqueue(response);
}

void LoopbackHttpServer::setDefaultResponse(const HttpResponse &response)
{
    m_worker->setDefaultResponse(response);
}

QList<HttpRequest> LoopbackHttpServer::requests() const
{
    return m_worker->requests();
}

bool LoopbackHttpServer::waitForRequests(qsizetype count, std::chrono::milliseconds patience) const
{
    return m_worker->waitForRequests(count, patience);
}

} // namespace lexi::test
