#include "flashcard-service/QuizletClient.h"
#include "flashcard-service/QuizletRequests.h"

#include "support/LoopbackHttpServer.h"

#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::QuizletClient;
using lexi::test::HttpResponse;
using lexi::test::LoopbackHttpServer;

namespace {

class QuizletClientTest : public testing::Test
{
protected:
    QuizletClientTest()
    {
        lexi::Settings(m_defaults).setValue(lexi::Settings::quizletServiceAddress, m_server.url().toString());
    }

    // Sends `request` and runs the event loop until its completion has run; where it ran is noted.
    std::optional<QByteArray> sendAndWait(QuizletClient &client, const QString &request)
    {
        std::optional<QByteArray> result;
        bool completed = false;
        QEventLoop loop;
        const QuizletClient::PendingRequest pending = client.send(request, [&](const std::optional<QByteArray> &reply) {
            result = reply;
            completed = true;
            m_completedOnMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
            loop.quit();
        });
        EXPECT_FALSE(completed) << "completed inside send()";
        QTimer::singleShot(10s, &loop, &QEventLoop::quit);
        if (!completed)
            loop.exec();
        EXPECT_TRUE(completed);
        return result;
    }

    QTemporaryDir m_folder;
    lexi::Defaults m_defaults{m_folder.filePath(u"Lexicarta.conf"_s)};
    LoopbackHttpServer m_server;
    QNetworkAccessManager m_network;
    bool m_completedOnMainThread = false;
};

TEST_F(QuizletClientTest, SendsTheRequestAsItIsAndCompletesOnTheMainThread)
{
    m_server.enqueue({200, {}, R"({"total_results": 0})"});
    QuizletClient client(m_defaults, m_network);
    const QString request = lexi::quizlet::searchRequest(u"a&b=c#d+e f"_s, u"Größe"_s, QString());

    EXPECT_EQ(sendAndWait(client, request), QByteArray(R"({"total_results": 0})"));
    EXPECT_TRUE(m_completedOnMainThread);
    ASSERT_EQ(m_server.requests().size(), 1);
    EXPECT_EQ(m_server.requests()[0].method, QByteArray("GET"));
    EXPECT_EQ(m_server.requests()[0].target, request.toUtf8());
}

TEST_F(QuizletClientTest, AnsweredRequestsAreAnsweredAgainFromMemory)
{
    m_server.enqueue({200, {}, "[{\"id\": 415}]"});
    m_server.enqueue({200, {}, "[{\"id\": 416}]"});
    QuizletClient client(m_defaults, m_network);
    const QString request = lexi::quizlet::setDetailsRequest(u"415"_s);

    EXPECT_EQ(sendAndWait(client, request), QByteArray("[{\"id\": 415}]"));
    EXPECT_EQ(sendAndWait(client, request), QByteArray("[{\"id\": 415}]"));
    EXPECT_TRUE(m_completedOnMainThread);
    EXPECT_EQ(m_server.requests().size(), 1);

    // Another request, and the same one from another client, ask the server.
    EXPECT_EQ(sendAndWait(client, lexi::quizlet::setDetailsRequest(u"416"_s)), QByteArray("[{\"id\": 416}]"));
    QuizletClient other(m_defaults, m_network);
    sendAndWait(other, request);
    EXPECT_EQ(m_server.requests().size(), 3);
}

TEST_F(QuizletClientTest, AnswersThatAreNotTheServicesAreNotKept)
{
    m_server.enqueue({200, {{"Content-Type", "text/html"}}, "<html>Sign in to the hotel network</html>"});
    m_server.enqueue({200, {}, QByteArray(17 * 1024 * 1024, ' ') + "{}"});
    m_server.enqueue({200, {}, "{}"});
    QuizletClient client(m_defaults, m_network);
    const QString request = lexi::quizlet::setDetailsRequest(u"7"_s);

    EXPECT_EQ(sendAndWait(client, request), QByteArray("<html>Sign in to the hotel network</html>"));
    EXPECT_EQ(sendAndWait(client, request), std::nullopt);
    EXPECT_EQ(sendAndWait(client, request), QByteArray("{}"));
    EXPECT_EQ(m_server.requests().size(), 3);
}

TEST_F(QuizletClientTest, ErrorAnswersAreDeliveredButNotKeptAndFailedConnectionsGiveNothing)
{
    m_server.enqueue({404, {}, R"({"error": "not found"})"});
    m_server.enqueue({500, {}, "<html>oops</html>"});
    HttpResponse dropped;
    dropped.dropConnection = true;
    m_server.setDefaultResponse(dropped);
    QuizletClient client(m_defaults, m_network);
    const QString request = lexi::quizlet::setDetailsRequest(u"1"_s);

    EXPECT_EQ(sendAndWait(client, request), QByteArray(R"({"error": "not found"})"));
    EXPECT_EQ(sendAndWait(client, request), QByteArray("<html>oops</html>"));
    EXPECT_EQ(sendAndWait(client, request), std::nullopt);
    EXPECT_TRUE(m_completedOnMainThread);
}

TEST_F(QuizletClientTest, AnAnswerTrickledBeyondTheDeadlineOrRedirectedElsewhereGivesNothing)
{
    LoopbackHttpServer elsewhere;
    elsewhere.setDefaultResponse({200, {}, R"({"id": 1})"});
    HttpResponse trickled{200, {}, QByteArray(R"({"id": 1, "title": "slowly"})")};
    trickled.trickle = 50ms;
    HttpResponse redirect{302, {{"Location", elsewhere.url().toEncoded() + "/2.0/sets"}}, {}};
    const std::pair<const char *, HttpResponse> cases[] = {
        {"an answer trickled over seconds", trickled},
        {"a redirect to another address", redirect},
    };
    for (const auto &[what, response] : cases) {
        SCOPED_TRACE(what);
        m_server.enqueue(response);
        QuizletClient client(m_defaults, m_network, 300ms);
        EXPECT_EQ(sendAndWait(client, lexi::quizlet::setDetailsRequest(u"1"_s)), std::nullopt);
    }
    EXPECT_TRUE(elsewhere.requests().isEmpty());
}

// A cancelled request, one answered from memory or one still at the server, never completes; the
// next request is answered as usual.
TEST_F(QuizletClientTest, ACancelledRequestNeverCompletes)
{
    m_server.enqueue({200, {}, "[{\"id\": 1}]"});
    HttpResponse slow{200, {}, "[{\"id\": 2}]"};
    slow.delay = 5s;
    m_server.enqueue(slow);
    // Requests cancelled at once may reach the server or not; whichever do get this too.
    m_server.setDefaultResponse({200, {}, "[{\"id\": 3}]"});
    QuizletClient client(m_defaults, m_network);
    const QString remembered = lexi::quizlet::setDetailsRequest(u"1"_s);
    sendAndWait(client, remembered);
    int cancelledCompletions = 0;

    QuizletClient::PendingRequest fromMemory =
        client.send(remembered, [&](const std::optional<QByteArray> &) { ++cancelledCompletions; });
    fromMemory.cancel();
    {
        const QuizletClient::PendingRequest dropped = client.send(
            lexi::quizlet::setDetailsRequest(u"2"_s), [&](const std::optional<QByteArray> &) { ++cancelledCompletions; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_server.requests().size() == 2; }));
    }
    QuizletClient::PendingRequest atServer;
    atServer = client.send(lexi::quizlet::setDetailsRequest(u"2"_s),
                           [&](const std::optional<QByteArray> &) { ++cancelledCompletions; });
    atServer = client.send(lexi::quizlet::setDetailsRequest(u"2"_s),
                           [&](const std::optional<QByteArray> &) { ++cancelledCompletions; });
    atServer.cancel();

    EXPECT_EQ(sendAndWait(client, lexi::quizlet::setDetailsRequest(u"3"_s)), QByteArray("[{\"id\": 3}]"));
    EXPECT_EQ(cancelledCompletions, 0);
}

TEST_F(QuizletClientTest, TheServiceAddressIsAWebAddressFromTheDefaults)
{
    struct Case
    {
        QString stored;
        QString address;
    };
    const Case cases[] = {
        {QString(), u"https://api.quizlet.com"_s},
        {u"http://127.0.0.1:8080"_s, u"http://127.0.0.1:8080"_s},
        {u"https://example.org/api/"_s, u"https://example.org/api/"_s},
        {u"file:///etc"_s, u"https://api.quizlet.com"_s},
        {u"api.quizlet.com"_s, u"https://api.quizlet.com"_s},
        {u"https://"_s, u"https://api.quizlet.com"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        lexi::Settings(m_defaults).setValue(lexi::Settings::quizletServiceAddress, c.stored);
        EXPECT_EQ(QuizletClient::serviceAddress(m_defaults), QUrl(c.address));
    }
}

TEST_F(QuizletClientTest, TheWebSiteIsAWebAddressFromTheDefaults)
{
    EXPECT_EQ(QuizletClient::webSiteAddress(m_defaults), QUrl(u"https://quizlet.com"_s));
    lexi::Settings(m_defaults).setValue(lexi::Settings::quizletWebSiteAddress, u"javascript:alert(1)"_s);
    EXPECT_EQ(QuizletClient::webSiteAddress(m_defaults), QUrl(u"https://quizlet.com"_s));
    lexi::Settings(m_defaults).setValue(lexi::Settings::quizletWebSiteAddress, u"http://127.0.0.1:9/sets"_s);
    EXPECT_EQ(QuizletClient::webSiteAddress(m_defaults), QUrl(u"http://127.0.0.1:9/sets"_s));
}

} // namespace
