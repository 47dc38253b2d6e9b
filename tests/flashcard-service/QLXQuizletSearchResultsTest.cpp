#include "flashcard-service/QLXQuizletSearchResults.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// A search reply with `sets` sets titled "set 1", "set 2", ...
QByteArray searchReply(qint64 totalResults, qint64 totalPages, qint64 page, int sets)
{
    QByteArray json = "{\"total_results\": " + QByteArray::number(totalResults) + ", \"total_pages\": "
        + QByteArray::number(totalPages) + ", \"page\": " + QByteArray::number(page) + ", \"sets\": [";
    for (int i = 1; i <= sets; ++i)
        json += QByteArray(i > 1 ? "," : "") + "{\"id\": " + QByteArray::number(i) + ", \"title\": \"set "
            + QByteArray::number(i) + "\"}";
    return json + "]}";
}

QStringList titles(const QLXQuizletSearchResults &results)
{
    QStringList titles;
    for (const QLXQuizletSet &set : results.sets())
        titles.append(set.title());
    return titles;
}

TEST(QLXQuizletSearchResultsTest, PagesNumberTheirSetsAmongAllFound)
{
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    constexpr qint64 least = std::numeric_limits<qint64>::min();
    struct Case
    {
        QByteArray reply;
        qint64 first;
        qint64 last;
    };
    const Case cases[] = {
        {searchReply(37, 1, 1, 37), 1, 37},
        {searchReply(250, 3, 2, 100), 101, 200},
        {searchReply(250, 3, 3, 50), 201, 250},
        {searchReply(0, 0, 1, 0), 1, 0},
        {searchReply(1, 1, most, 1), most, most},
        {searchReply(1, 1, least, 0), least, least},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reply.left(80).toStdString());
        QLXQuizletSearchResults results = QLXQuizletSearchResults::quizletSearchResultsWithJsonData(c.reply);
        results.setPageSize(100);
        EXPECT_EQ(results.indexOfFirstSetInPage(), c.first);
        EXPECT_EQ(results.indexOfLastSetInPage(), c.last);
    }
}

TEST(QLXQuizletSearchResultsTest, ReadsRepliesOfEveryShape)
{
    struct Case
    {
        std::optional<QByteArray> reply;
        qint64 totalCount;
        qint64 totalPages;
        qint64 page;
        QStringList titles;
    };
    const Case cases[] = {
        {searchReply(250, 3, 2, 2), 250, 3, 2, {u"set 1"_s, u"set 2"_s}},
        {searchReply(0, 0, 1, 0), 0, 0, 1, {}},
        {std::nullopt, 0, 0, 0, {}},
        {QByteArray(), 0, 0, 0, {}},
        {QByteArray("<html>Bad gateway</html>"), 0, 0, 0, {}},
        {QByteArray(R"({"total_results": 3, "page": 1, "sets": [{"title": "a")"), 0, 0, 0, {}},
        {QByteArray(R"([{"total_results": 3, "sets": [{"title": "a"}]}])"), 0, 0, 0, {}},
        {QByteArray(R"({"total_results": "3", "total_pages": null, "page": 1.7, "sets": {"title": "a"}})"),
         0, 0, 1, {}},
        {QByteArray(R"({"total_results": 3, "sets": [{"title": "a"}, "b", 3, null, [], {}, {"title": ["c"]}]})"),
         3, 0, 0, {u"a"_s, QString(), QString()}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reply.value_or("(none)").toStdString());
        const QLXQuizletSearchResults results = QLXQuizletSearchResults::quizletSearchResultsWithJsonData(c.reply);
        EXPECT_EQ(results.totalCount(), c.totalCount);
        EXPECT_EQ(results.totalPages(), c.totalPages);
        EXPECT_EQ(results.page(), c.page);
        EXPECT_EQ(results.pageSize(), 0);
        EXPECT_EQ(titles(results), c.titles);
    }
}

} // namespace
