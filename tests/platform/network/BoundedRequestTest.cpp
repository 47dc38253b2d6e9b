#include "platform/network/BoundedRequest.h"

#include "support/LoopbackHttpServer.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi {
namespace {

using test::HttpResponse;
using test::LoopbackHttpServer;

class BoundedRequestTest : public testing::Test
{
protected:
    // Sends a GET to `path` on the server within `limits` and runs the event loop until it is done.
    BoundedReply get(const QByteArray &path, const RequestLimits &limits)
    {
        std::optional<BoundedReply> result;
        QEventLoop loop;
        getBounded(network, QNetworkRequest(QUrl::fromEncoded(server.url().toEncoded() + path)), limits, owner,
                   [&](const BoundedReply &reply) {
                       result = reply;
                       loop.quit();
                   });
        QTimer::singleShot(10s, &loop, &QEventLoop::quit);
        if (!result)
            loop.exec();
        EXPECT_TRUE(result) << "the request never finished";
        return result.value_or(BoundedReply{});
    }

    LoopbackHttpServer server;
    QNetworkAccessManager network;
    QObject owner;
};

TEST_F(BoundedRequestTest, WholeAnswersComeWithTheirStatusWhateverItIs)
{
    server.enqueue({200, {}, "fine"});
    server.enqueue({404, {}, "not here"});
    const RequestLimits limits{1s, 100, RedirectPolicy::none};

    const BoundedReply fine = get("/a", limits);
    EXPECT_EQ(fine.statusCode, 200);
    EXPECT_EQ(fine.body, QByteArray("fine"));
    EXPECT_TRUE(fine.succeeded());
    const BoundedReply missing = get("/b", limits);
    EXPECT_EQ(missing.statusCode, 404);
    EXPECT_EQ(missing.body, QByteArray("not here"));
    EXPECT_FALSE(missing.succeeded());
}

TEST_F(BoundedRequestTest, AnAnswerBeyondTheDeadlineOrTheSizeLimitOrADroppedOneGivesNothing)
{
    HttpResponse trickled{200, {}, QByteArray(40, 'x')};
    trickled.trickle = 50ms;
    HttpResponse dropped;
    dropped.dropConnection = true;
    const std::pair<const char *, HttpResponse> cases[] = {
        {"trickled over two seconds", trickled},
        {"one byte over the limit", {200, {}, QByteArray(101, 'x')}},
        {"dropped", dropped},
    };
    for (const auto &[what, response] : cases) {
        SCOPED_TRACE(what);
        server.setDefaultResponse(response);
        const BoundedReply reply = get("/", {300ms, 100, RedirectPolicy::none});
        EXPECT_EQ(reply.body, std::nullopt);
        EXPECT_FALSE(reply.errorText.isEmpty());
    }
    server.setDefaultResponse({200, {}, QByteArray(100, 'x')});
    EXPECT_EQ(get("/", {300ms, 100, RedirectPolicy::none}).body, QByteArray(100, 'x')) << "exactly at the limit";
}

TEST_F(BoundedRequestTest, ARedirectGoesWhereThePolicyLets)
{
    LoopbackHttpServer elsewhere;
    elsewhere.setDefaultResponse({200, {}, "elsewhere"});
    server.setDefaultResponse({200, {}, "here"});
    const QByteArray toElsewhere = elsewhere.url().toEncoded() + "/moved";
    const QByteArray toHere = server.url().toEncoded() + "/moved";
    struct Case
    {
        RedirectPolicy policy;
        QByteArray location;
        int statusCode;
        std::optional<QByteArray> body;
    };
    const Case cases[] = {
        {RedirectPolicy::anyHost, toElsewhere, 200, "elsewhere"},
        {RedirectPolicy::sameHost, toHere, 200, "here"},
        {RedirectPolicy::sameHost, toElsewhere, 302, std::nullopt},
        {RedirectPolicy::none, toHere, 302, "moved"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.location.toStdString());
        SCOPED_TRACE(int(c.policy));
        server.enqueue({302, {{"Location", c.location}}, "moved"});
        const BoundedReply reply = get("/", {1s, 100, c.policy});
        EXPECT_EQ(reply.statusCode, c.statusCode);
        EXPECT_EQ(reply.body, c.body);
    }
    EXPECT_EQ(elsewhere.requests().size(), 1) << "only where any host may be asked";
}

TEST_F(BoundedRequestTest, ARequestWhoseOwnerWentNeverFinishes)
{
    HttpResponse slow{200, {}, "late"};
    slow.delay = 200ms;
    server.setDefaultResponse(slow);
    bool finished = false;
    auto owner = std::make_unique<QObject>();
    getBounded(network, QNetworkRequest(server.url()), {1s, 100, RedirectPolicy::none}, *owner,
               [&](const BoundedReply &) { finished = true; });
    ASSERT_TRUE(server.waitForRequests(1));
    owner.reset();

    server.setDefaultResponse({200, {}, "next"});
    EXPECT_EQ(get("/next", {1s, 100, RedirectPolicy::none}).body, QByteArray("next"));
    EXPECT_FALSE(finished);
}

} // namespace
} // namespace lexi
