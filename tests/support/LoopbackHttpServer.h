#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

#include <chrono>
#include <memory>

class QThread;

namespace lexi::test {

struct HttpRequest
{
    QByteArray method;
    // The request target as sent: path and query.
    QByteArray target;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    // The first header of that name, compared without regard to case.
    QByteArray header(const QByteArray &name) const;
};

struct HttpResponse
{
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Waited before answering, to make a client time out.
    std::chrono::milliseconds delay{0};
    // When set, the body is sent one byte per this interval: the client waits without the
    // connection ever falling silent.
    std::chrono::milliseconds trickle{0};
    // Close the connection instead of answering. QNetworkAccessManager sends a request again when
    // its connection closes before any answer, so script a drop as the default response (or
    // enqueue it twice) to make the client see it.
    bool dropConnection = false;
};

// An HTTP/1.1 server on 127.0.0.1 with a port of its own, for tests of network code. It runs on a
// thread of its own, so clients on any thread (also blocking ones) reach it. It records every
// request and answers with the scripted responses in order, then with the default response.
class LoopbackHttpServer
{
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();

    LoopbackHttpServer(const LoopbackHttpServer &) = delete;
    LoopbackHttpServer &operator=(const LoopbackHttpServer &) = delete;

    // "http://127.0.0.1:<port>".
    QUrl url() const;

    void enqueue(const HttpResponse &response);
    void setDefaultResponse(const HttpResponse &response);

    QList<HttpRequest> requests() const;
    // Waits until `count` requests have arrived, at most `patience`; whether they did.
    bool waitForRequests(qsizetype count, std::chrono::milliseconds patience = std::chrono::seconds(10)) const;

private:
    class Worker;
    std::unique_ptr<QThread> m_thread;
    Worker *m_worker;
};

} // namespace lexi::test
