#include "shell/StoreLookup.h"

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

StoreLookupQuery query(quint64 appStoreID = 0)
{
    StoreLookupQuery query;
    query.bundleId = u"org.lexicarta.Lexicarta"_s;
    query.applicationVersion = u"1.9"_s;
    query.appStoreID = appStoreID;
    return query;
}

QByteArray reply(const QByteArray &record)
{
    return R"({"resultCount": 1, "results": [)" + record + "]}";
}

struct ReplyCase
{
    const char *name;
    quint64 knownID;
    int status;
    std::optional<QByteArray> body;
    std::optional<quint64> foundID;
    std::optional<StoreLookupError> error;
    bool succeeded;
};

TEST(StoreLookup, ReadsTheReplyAsThePromptNeedsIt)
{
    const QByteArray ours = R"({"bundleId": "org.lexicarta.Lexicarta", "trackId": 4711, "primaryGenreId": 6014, "version": "1.9"})";
    const ReplyCase cases[] = {
        {"identifier learnt", 0, 200, reply(ours), 4711, std::nullopt, true},
        {"identifier known", 4711, 200, reply(ours), std::nullopt, std::nullopt, true},
        {"newer version in the store", 0, 200,
         reply(R"({"bundleId": "org.lexicarta.Lexicarta", "trackId": 4711, "version": "1.10"})"), 4711,
         StoreLookupError{u"QLXRateErrorDomain"_s, 3, u"Installed app is not the latest version available"_s}, false},
        {"older version in the store", 0, 200,
         reply(R"({"bundleId": "org.lexicarta.Lexicarta", "trackId": 4711, "version": "1.8.9"})"), 4711, std::nullopt,
         true},
        {"another program", 0, 200, reply(R"({"bundleId": "com.example.Other", "trackId": 1})"), std::nullopt,
         StoreLookupError{u"QLXRateErrorDomain"_s, 1, u"Application bundle ID does not match expected value of com.example.Other"_s},
         false},
        {"absent, identifier unknown", 0, 200, QByteArray(R"({"resultCount": 0, "results": []})"), std::nullopt,
         std::nullopt, false},
        {"absent, identifier known", 4711, 200, QByteArray(R"({"results": []})"), std::nullopt,
         StoreLookupError{u"QLXRateErrorDomain"_s, 2, u"The application could not be found on the App Store."_s},
         false},
        {"not found", 0, 404, QByteArray("gone"), std::nullopt,
         StoreLookupError{u"HTTPResponseErrorDomain"_s, 404, u"The server returned a 404 error"_s}, false},
        {"wrong types read as missing", 0, 200, reply(R"({"bundleId": 5, "trackId": "x"})"), std::nullopt,
         std::nullopt, false},
    };
    for (const ReplyCase &c : cases) {
        const StoreLookupResult result = interpretStoreLookupReply(query(c.knownID), c.status, c.body, {});
        EXPECT_EQ(result.foundAppStoreID, c.foundID) << c.name;
        EXPECT_EQ(result.error, c.error) << c.name;
        EXPECT_EQ(result.succeeded, c.succeeded) << c.name;
    }
}

TEST(StoreLookup, LearnsTheGenreOnlyWhenUnknown)
{
    const QByteArray body = reply(R"({"bundleId": "org.lexicarta.Lexicarta", "trackId": 1, "primaryGenreId": 6014})");
    EXPECT_EQ(interpretStoreLookupReply(query(), 200, body, {}).foundGenreID, 6014u);
    StoreLookupQuery knownGenre = query();
    knownGenre.appStoreGenreID = 6000;
    EXPECT_EQ(interpretStoreLookupReply(knownGenre, 200, body, {}).foundGenreID, std::nullopt);
}

TEST(StoreLookup, ABadReplyIsAnErrorUnlessTheScannerFindsTheRecord)
{
    const StoreLookupResult garbage = interpretStoreLookupReply(query(), 200, QByteArray("<html>busy</html>"), {});
    ASSERT_TRUE(garbage.error);
    EXPECT_EQ(garbage.error->domain, u"JSONErrorDomain"_s);

    const QByteArray cutShort = R"({"results": [{"bundleId": "org.lexicarta.Lexicarta", "trackId": 4711, "version": "1.9", "desc)";
    const StoreLookupResult scanned = interpretStoreLookupReply(query(), 200, cutShort, {});
    EXPECT_FALSE(scanned.error);
    EXPECT_EQ(scanned.foundAppStoreID, 4711u);
}

TEST(StoreLookup, NoAnswerCarriesTheConnectionsReason)
{
    const StoreLookupResult result = interpretStoreLookupReply(query(), 0, std::nullopt, u"Connection refused"_s);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->description, u"Connection refused"_s);
}

TEST(StoreLookup, ComparesVersionsByNumber)
{
    EXPECT_GT(compareVersions(u"1.10"_s, u"1.9"_s), 0);
    EXPECT_LT(compareVersions(u"1.9"_s, u"1.10"_s), 0);
    EXPECT_EQ(compareVersions(u"2.0"_s, u"2"_s), 0);
    EXPECT_GT(compareVersions(u"2.0.1"_s, u"2"_s), 0);
}

TEST(StoreLookup, AsksForTheIdentifierWhenKnown)
{
    const QUrl base(u"https://lookup.example/api"_s);
    EXPECT_EQ(storeLookupUrl(base, u"DE"_s, query(4711)).toString(), u"https://lookup.example/api/DE/lookup?id=4711"_s);
    EXPECT_EQ(storeLookupUrl(base, u"eu"_s, query()).toString(),
              u"https://lookup.example/api/eu/lookup?bundleId=org.lexicarta.Lexicarta"_s);
}

TEST(StoreLookup, ChoosesTheStoreFront)
{
    EXPECT_EQ(appStoreCountry(u"150"_s), u"eu"_s);
    EXPECT_EQ(appStoreCountry(u"419"_s), u"us"_s);
    EXPECT_EQ(appStoreCountry(u"DE"_s), u"DE"_s);
    EXPECT_EQ(appStoreCountry(u"d"_s), u"us"_s);
    EXPECT_EQ(appStoreCountry(std::nullopt), std::nullopt);
}

TEST(StoreLookup, ScannerReadsValuesWithoutAParser)
{
    struct Case
    {
        const char *json;
        const char *key;
        std::optional<QString> value;
    };
    const Case cases[] = {
        {R"({"a": "x, y", "b": 1})", "a", u"x, y"_s},
        {R"({"a": 12, "b": 1})", "a", u"12"_s},
        {R"({"b": 1, "a": "last"})", "a", std::nullopt},
        {R"({"b": 1})", "a", std::nullopt},
        {R"({"a": "line\nbreak \"quoted\" \/ \u00e9", "b": 1})", "a", u"line\nbreak \"quoted\" / é"_s},
        // An escaped backslash before a "u" stays a backslash and a "u": escapes are read once.
        {R"({"a": "C:\\u0041", "b": 1})", "a", u"C:\\u0041"_s},
        // A quoted value closes where a quote stands last before a comma, white space aside.
        {"{\"a\": \"x, y\" \t, \"b\": 1}", "a", u"x, y"_s},
        {R"({"a": ", ", "b": 1})", "a", u", "_s},
        {R"({"a": "","b": 1})", "a", QString()},
        // One that never closes runs on to the last comma.
        {R"({"a": "open, b: 1, c: 2})", "a", u"open, b: 1"_s},
        {R"({"a": ", "b": 1})", "a", QString()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(scannedJsonValue(QString::fromUtf8(c.key), QString::fromUtf8(c.json)), c.value) << c.json;
    }
}

} // namespace
} // namespace lexi
