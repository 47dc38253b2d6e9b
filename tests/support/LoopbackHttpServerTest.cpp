#include "support/LoopbackHttpServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::test::HttpResponse;
using lexi::test::LoopbackHttpServer;

namespace {

QNetworkReply *finished(QNetworkReply *reply)
{
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10s, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    return reply;
}

TEST(LoopbackHttpServerTest, RecordsRequestsAndAnswersAsScripted)
{
    LoopbackHttpServer server;
    server.enqueue({201, {{"X-Test", "yes"}}, "{\"ok\":true}"});
    QNetworkAccessManager network;
    QNetworkRequest request(server.url().resolved(QUrl(u"/3.0/projects/p/events?x=1"_s)));
    request.setRawHeader("Authorization", "Basic abc");
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/json"));
    std::unique_ptr<QNetworkReply> reply(finished(network.post(request, QByteArray("{\"a\":1}"))));

    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 201);
    EXPECT_EQ(reply->rawHeader("X-Test"), QByteArray("yes"));
    EXPECT_EQ(reply->readAll(), QByteArray("{\"ok\":true}"));
    ASSERT_EQ(server.requests().size(), 1);
    const auto recorded = server.requests().first();
    EXPECT_EQ(recorded.method, QByteArray("POST"));
    EXPECT_EQ(recorded.target, QByteArray("/3.0/projects/p/events?x=1"));
    EXPECT_EQ(recorded.header("authorization"), QByteArray("Basic abc"));
    EXPECT_EQ(recorded.body, QByteArray("{\"a\":1}"));

    // Then the default response.
    std::unique_ptr<QNetworkReply> second(finished(network.get(QNetworkRequest(server.url()))));
    EXPECT_EQ(second->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
}

TEST(LoopbackHttpServerTest, CanAnswerLateOrDropTheConnection)
{
    LoopbackHttpServer server;
    HttpResponse late;
    late.status = 500;
    late.delay = 2s;
    server.enqueue(late);
    HttpResponse dropConnection;
    dropConnection.dropConnection = true;
    server.setDefaultResponse(dropConnection);
    QNetworkAccessManager network;

    QNetworkRequest impatient(server.url());
    impatient.setTransferTimeout(100);
    std::unique_ptr<QNetworkReply> tooLate(finished(network.get(impatient)));
    EXPECT_EQ(tooLate->error(), QNetworkReply::OperationCanceledError);

    std::unique_ptr<QNetworkReply> dropped(finished(network.get(QNetworkRequest(server.url()))));
    EXPECT_EQ(dropped->error(), QNetworkReply::RemoteHostClosedError);
    EXPECT_TRUE(server.waitForRequests(2));
}

} // namespace
