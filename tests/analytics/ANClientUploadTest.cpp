#include "AnalyticsTestSupport.h"

#include "analytics/ANEventStore.h"
#include "platform/dispatch/Dispatch.h"
#include "platform/files/Settings.h"
#include "support/AddressSpaceLimit.h"
#include "support/LoopbackHttpServer.h"
#include "support/NonRegularFiles.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::test::AnalyticsInstallation;
using lexi::test::HttpResponse;
using lexi::test::LoopbackHttpServer;
using lexi::test::SqliteFile;

namespace {

const QString projectId = u"3f9a0c71e2d84b56a7c0e1d9"_s;
const QString writeKey = u"0123456789abcdef"_s;

HttpResponse reply(int status, const QByteArray &body)
{
    HttpResponse response;
    response.status = status;
    response.body = body;
    return response;
}

QByteArray results(const QJsonObject &byCollection)
{
    return QJsonDocument(byCollection).toJson(QJsonDocument::Compact);
}

QJsonObject success()
{
    return {{u"success"_s, true}};
}

QJsonObject failure(const QString &name)
{
    return {{u"success"_s, false}, {u"error"_s, QJsonObject{{u"name"_s, name}, {u"description"_s, u"why"_s}}}};
}

class ANClientUploadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        installation.defaults.setString(lexi::Settings::analyticsServiceAddress.name, server.url().toString() + u'/');
        makeClient(30s);
    }

    void makeClient(std::chrono::milliseconds requestTimeout)
    {
        makeClient([&](ANClient::Environment &environment) { environment.requestTimeout = requestTimeout; });
    }

    void makeClient(const std::function<void(ANClient::Environment &)> &adjust)
    {
        ANClient::Environment environment = installation.environment();
        adjust(environment);
        client = std::make_unique<ANClient>(environment);
        ASSERT_TRUE(client->initWithProjectId(projectId, writeKey, u"readKey"_s));
    }

    // Adds an event and returns its id.
    quint64 add(const QString &collection, int number)
    {
        EXPECT_TRUE(client->addEvent({{u"number"_s, number}}, collection));
        SqliteFile file(installation.databasePath());
        return quint64(file.integer("SELECT max(id) FROM events;"));
    }

    // Uploads and waits for the finished block, which has to run on the main thread.
    void upload()
    {
        QEventLoop loop;
        bool finished = false;
        bool onMainThread = false;
        client->uploadWithFinishedBlock([&] {
            finished = true;
            onMainThread = lexi::dispatch::isMainThread();
            loop.quit();
        });
        QTimer::singleShot(30s, &loop, &QEventLoop::quit);
        loop.exec();
        ASSERT_TRUE(finished);
        EXPECT_TRUE(onMainThread);
    }

    // Event id to attempts, for every stored event.
    QMap<quint64, qint64> attempts()
    {
        // Waits for the changes the upload queued on the store.
        client->eventStore()->getTotalEventCount();
        SqliteFile file(installation.databasePath());
        QMap<quint64, qint64> attempts;
        for (const QString &row : file.texts("SELECT id || ' ' || attempts FROM events;"))
            attempts.insert(row.section(u' ', 0, 0).toULongLong(), row.section(u' ', 1, 1).toLongLong());
        return attempts;
    }

    QJsonObject storedEvent(quint64 eventId)
    {
        SqliteFile file(installation.databasePath());
        const QStringList texts = file.texts("SELECT eventData FROM events WHERE id=" + QByteArray::number(eventId));
        return QJsonDocument::fromJson(texts.value(0).toUtf8()).object();
    }

    LoopbackHttpServer server;
    AnalyticsInstallation installation;
    std::unique_ptr<ANClient> client;
};

TEST_F(ANClientUploadTest, PostsEveryEventOnceGroupedByCollectionWithTheServicesHeaders)
{
    const quint64 first = add(u"systemInfo"_s, 1);
    const quint64 second = add(u"systemInfo"_s, 2);
    const quint64 third = add(u"languageInfo"_s, 3);
    const QJsonObject expectedBody{{u"systemInfo"_s, QJsonArray{storedEvent(first), storedEvent(second)}},
                                   {u"languageInfo"_s, QJsonArray{storedEvent(third)}}};
    server.enqueue(reply(200, results({{u"systemInfo"_s, QJsonArray{success(), success()}},
                                       {u"languageInfo"_s, QJsonArray{success()}}})));
    upload();

    ASSERT_EQ(server.requests().size(), 1);
    const auto request = server.requests().first();
    EXPECT_EQ(request.method, QByteArray("POST"));
    EXPECT_EQ(request.target, "/3.0/projects/" + projectId.toUtf8() + "/events");
    EXPECT_EQ(request.header("Accept"), QByteArray("application/json"));
    EXPECT_EQ(request.header("Content-Type"), QByteArray("application/json"));
    EXPECT_EQ(request.header("Authorization"), writeKey.toUtf8());
    EXPECT_EQ(request.header("Content-Length"), QByteArray::number(request.body.size()));
    EXPECT_EQ(QJsonDocument::fromJson(request.body).object(), expectedBody);
    EXPECT_EQ(request.body, QJsonDocument(expectedBody).toJson(QJsonDocument::Compact));
    EXPECT_TRUE(attempts().isEmpty());
}

TEST_F(ANClientUploadTest, DeletesTheEventsTheServiceTookOrRefusedAsInvalid)
{
    // Accepted, refused as invalid, failed otherwise.
    add(u"a"_s, 1);
    add(u"a"_s, 2);
    const quint64 failed = add(u"a"_s, 3);
    // More events than results.
    add(u"b"_s, 4);
    const quint64 unanswered = add(u"b"_s, 5);
    // More results than events.
    add(u"c"_s, 6);
    server.enqueue(reply(200, results({
                                  {u"a"_s, QJsonArray{success(), failure(u"InvalidPropertyValueError"_s),
                                                      failure(u"SomethingElseError"_s)}},
                                  {u"b"_s, QJsonArray{success()}},
                                  {u"c"_s, QJsonArray{success(), success(), failure(u"InvalidCollectionNameError"_s)}},
                                  {u"unsent"_s, QJsonArray{success()}},
                              })));
    upload();

    const QMap<quint64, qint64> expected{{failed, 1}, {unanswered, 1}};
    EXPECT_EQ(attempts(), expected);
}

TEST_F(ANClientUploadTest, AFailedRequestKeepsEveryEventWithItsAttemptCounted)
{
    // Accepts both events: arriving after all, it would delete them.
    HttpResponse late = reply(200, results({{u"a"_s, QJsonArray{success()}}, {u"b"_s, QJsonArray{success()}}}));
    late.delay = 5s;
    HttpResponse dropped;
    dropped.dropConnection = true;
    const std::pair<const char *, HttpResponse> cases[] = {
        {"server error", reply(500, "{\"error\":\"down\"}")},
        {"not found", reply(404, "")},
        {"2xx that is no JSON object", reply(200, "[true]")},
        {"2xx without body", reply(200, "")},
        {"no answer in time", late},
        {"dropped connection", dropped},
    };
    for (const auto &[what, response] : cases) {
        SCOPED_TRACE(what);
        LoopbackHttpServer failing;
        failing.setDefaultResponse(response);
        installation.defaults.setString(lexi::Settings::analyticsServiceAddress.name, failing.url().toString());
        makeClient(300ms);
        client->eventStore()->deleteAllEvents();
        const quint64 first = add(u"a"_s, 1);
        const quint64 second = add(u"b"_s, 2);
        upload();

        EXPECT_FALSE(failing.requests().isEmpty());
        const QMap<quint64, qint64> expected{{first, 1}, {second, 1}};
        EXPECT_EQ(attempts(), expected);
    }
}

// Both answers would delete the events if they were read.
TEST_F(ANClientUploadTest, AnAnswerBeyondTheDeadlineOrTheSizeLimitIsAFailedUpload)
{
    const QByteArray accepted = results({{u"a"_s, QJsonArray{success()}}, {u"b"_s, QJsonArray{success()}}});
    HttpResponse trickled = reply(200, accepted);
    trickled.trickle = 50ms;
    const std::pair<const char *, HttpResponse> cases[] = {
        {"an answer trickled over seconds", trickled},
        {"an answer beyond the size limit", reply(200, accepted + QByteArray(2048, ' '))},
    };
    for (const auto &[what, response] : cases) {
        SCOPED_TRACE(what);
        server.setDefaultResponse(response);
        makeClient([](ANClient::Environment &environment) {
            environment.uploadDeadline = 500ms;
            environment.largestReply = 1024;
        });
        client->eventStore()->deleteAllEvents();
        const quint64 first = add(u"a"_s, 1);
        const quint64 second = add(u"b"_s, 2);
        upload();

        const QMap<quint64, qint64> expected{{first, 1}, {second, 1}};
        EXPECT_EQ(attempts(), expected);
    }
}

TEST_F(ANClientUploadTest, ARedirectIsAFailedUploadAndNothingGoesToItsAddress)
{
    LoopbackHttpServer elsewhere;
    elsewhere.setDefaultResponse(reply(200, results({{u"a"_s, QJsonArray{success()}}})));
    for (const int status : {301, 302, 303, 307, 308}) {
        SCOPED_TRACE(status);
        HttpResponse redirect = reply(status, "");
        redirect.headers = {{"Location", elsewhere.url().toEncoded() + "/3.0/projects/" + projectId.toUtf8() + "/events"}};
        server.enqueue(redirect);
        client->eventStore()->deleteAllEvents();
        const quint64 event = add(u"a"_s, 1);
        upload();

        EXPECT_EQ(attempts(), (QMap<quint64, qint64>{{event, 1}}));
    }
    EXPECT_EQ(server.requests().size(), 5);
    EXPECT_TRUE(elsewhere.requests().isEmpty());
}

TEST_F(ANClientUploadTest, AnEventIsSentAtMostThreeTimes)
{
    const quint64 twice = add(u"a"_s, 1);
    const quint64 thrice = add(u"a"_s, 2);
    client->eventStore()->incrementAttempts({twice, twice, thrice, thrice, thrice});
    server.setDefaultResponse(reply(500, ""));
    upload();

    ASSERT_EQ(server.requests().size(), 1);
    const QJsonObject body = QJsonDocument::fromJson(server.requests().first().body).object();
    EXPECT_EQ(body, (QJsonObject{{u"a"_s, QJsonArray{storedEvent(twice)}}}));
    const QMap<quint64, qint64> expected{{twice, 3}, {thrice, 3}};
    EXPECT_EQ(attempts(), expected);

    upload();
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(attempts(), expected);
}

TEST_F(ANClientUploadTest, NothingIsSentWithoutEventsAnAddressOrTheInternet)
{
    struct Case
    {
        const char *what;
        bool hasEvent;
        QString address;
        std::optional<quint32> flags;
        bool importRuns;
    };
    const QString serverAddress = server.url().toString();
    const quint32 reachable = lexi::NetworkReachability::reachable;
    const quint32 needsConnection = reachable | lexi::NetworkReachability::connectionRequired;
    const Case cases[] = {
        {"no events", false, serverAddress, reachable, true},
        {"no address", true, QString(), reachable, true},
        {"not a web address", true, u"ftp://127.0.0.1"_s, reachable, true},
        {"no route", true, serverAddress, 0u, false},
        {"connection required", true, serverAddress, needsConnection, false},
        {"flags unreadable", true, serverAddress, std::nullopt, false},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.what);
        installation.defaults.removeObjectForKey(lexi::Settings::didFSImport.name);
        installation.defaults.setString(lexi::Settings::analyticsServiceAddress.name, test.address);
        installation.network.setFlags(test.flags);
        client->eventStore()->deleteAllEvents();
        const QMap<quint64, qint64> before = test.hasEvent ? QMap<quint64, qint64>{{add(u"a"_s, 1), 0}}
                                                           : QMap<quint64, qint64>();
        upload();

        EXPECT_TRUE(server.requests().isEmpty());
        EXPECT_EQ(attempts(), before);
        EXPECT_EQ(installation.defaults.boolForKey(lexi::Settings::didFSImport.name), test.importRuns);
    }
}

TEST_F(ANClientUploadTest, ImportsTheEventFilesOfOlderVersionsOnce)
{
    const QDir legacy(installation.cachesFolder() + u"/analytics/"_s + projectId);
    const auto writeFile = [&legacy](const QString &collection, const QString &name, const QByteArray &contents) {
        ASSERT_TRUE(legacy.mkpath(collection));
        QFile file(legacy.filePath(collection + u'/' + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    };
    const QByteArray saved = "{\"fromFile\":1,\"analytics\":{\"timestamp\":\"2014-01-01T00:00:00+00:00\"}}";
    writeFile(u"systemInfo"_s, u"1388534400.000000"_s, saved);
    writeFile(u"systemInfo"_s, u"1388534400.000000.1"_s, "{not json");
    writeFile(u"systemInfo"_s, u"1388534401.000000"_s, "");
    writeFile(u"languageInfo"_s, u"any name"_s, "{\"fromFile\":2}");
    server.setDefaultResponse(reply(500, ""));
    upload();

    EXPECT_TRUE(installation.defaults.boolForKey(lexi::Settings::didFSImport.name));
    EXPECT_FALSE(legacy.exists());
    ASSERT_EQ(server.requests().size(), 1);
    const QJsonObject expectedBody{
        {u"systemInfo"_s, QJsonArray{QJsonDocument::fromJson(saved).object()}},
        {u"languageInfo"_s, QJsonArray{QJsonObject{{u"fromFile"_s, 2}}}},
    };
    EXPECT_EQ(QJsonDocument::fromJson(server.requests().first().body).object(), expectedBody);

    writeFile(u"systemInfo"_s, u"later"_s, saved);
    upload();
    EXPECT_TRUE(QFile::exists(legacy.filePath(u"systemInfo/later"_s)));
}

TEST_F(ANClientUploadTest, OlderVersionsEntriesThatAreNoRegularFilesAreNotRead)
{
    const QDir collection(installation.cachesFolder() + u"/analytics/"_s + projectId + u"/systemInfo"_s);
    ASSERT_TRUE(collection.mkpath(u"."_s));
    const lexi::test::NonRegularFiles files(collection.path(), u"event"_s);
    server.setDefaultResponse(reply(500, ""));
    {
        // Reading the device to its end fails here before it takes the machine.
        const lexi::test::AddressSpaceLimit limit(std::size_t(512) << 20);
        EXPECT_TRUE(files.endsWithoutWriter([&] { upload(); }));
    }

    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_FALSE(collection.exists());
    EXPECT_TRUE(QFileInfo(u"/dev/zero"_s).exists());
}

TEST_F(ANClientUploadTest, AProjectThatIsNoFileNameNeverReachesTheCachesFolder)
{
    ASSERT_TRUE(QDir().mkpath(installation.cachesFolder() + u"/analytics"_s));
    QFile kept(installation.cachesFolder() + u"/analytics/kept"_s);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.close();
    ASSERT_TRUE(client->initWithProjectId(u".."_s, writeKey, std::nullopt));
    upload();

    EXPECT_TRUE(installation.defaults.boolForKey(lexi::Settings::didFSImport.name));
    EXPECT_TRUE(kept.exists());
}

} // namespace
