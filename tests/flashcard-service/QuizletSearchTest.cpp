#include "QuizletTestSupport.h"

#include "support/ConsoleCapture.h"

#include "flashcard-service/QuizletSearch.h"
#include "flashcard-service/QuizletTexts.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::QuizletSearch;
using lexi::test::HttpResponse;

namespace {

const QByteArray searchWithoutParameters = "/2.0/search/sets?client_id=QmTrvXapLe&whitespace=1&per_page=100";

class QuizletSearchTest : public testing::Test
{
protected:
    // Waits until the results have been loaded `count` times in all.
    bool waitForLoads(int count)
    {
        return m_loaded.size() >= count || QTest::qWaitFor([&] { return m_loaded.size() >= count; });
    }

    HttpResponse delayed(const QByteArray &body, std::chrono::milliseconds delay)
    {
        HttpResponse response{200, {}, body};
        response.delay = delay;
        return response;
    }

    lexi::test::QuizletService m_service;
    lexi::test::ConsoleCapture m_console;
    QuizletSearch m_search{m_service.client()};
    QSignalSpy m_loaded{&m_search, &QuizletSearch::resultsLoaded};
    QSignalSpy m_failed{&m_search, &QuizletSearch::connectionFailed};
};

TEST_F(QuizletSearchTest, WithEveryFieldEmptyTheRequestHasNoSearchParameters)
{
    m_service.server.enqueue({200, {}, lexi::test::searchReply(0, 0, 0, 0)});
    m_search.changePage(2);
    m_search.search(QString(), u"  "_s, u"\n"_s);
    EXPECT_TRUE(m_search.isLoading());

    ASSERT_TRUE(waitForLoads(1));
    EXPECT_FALSE(m_search.isLoading());
    EXPECT_EQ(m_service.targets(), QList<QByteArray>{searchWithoutParameters});
    EXPECT_EQ(m_search.request().toUtf8(), searchWithoutParameters);
    EXPECT_TRUE(m_search.searchResults().sets().isEmpty());
    EXPECT_EQ(m_failed.size(), 0);
    // The no-results text looks at the fields as typed: white space is something typed.
    EXPECT_EQ(lexi::quizlet::noResultsText(QString(), QString(), QString()), u"Type what you are looking for and press Search."_s);
    EXPECT_EQ(lexi::quizlet::noResultsText(QString(), u"  "_s, QString()), u"No sets found."_s);
    EXPECT_EQ(lexi::quizlet::noResultsText(QString(), QString(), u"Löffel"_s), u"No sets found."_s);
}

TEST_F(QuizletSearchTest, ASearchAndItsOtherPagesLoadWithTheirFoundText)
{
    m_service.server.enqueue({200, {}, lexi::test::searchReply(1, 3, 237, 100)});
    m_service.server.enqueue({200, {}, lexi::test::searchReply(3, 3, 237, 37, 201)});
    m_search.search(u" kitchen "_s, u"teacher"_s, QString());
    ASSERT_TRUE(waitForLoads(1));
    EXPECT_EQ(m_search.searchResults().sets().size(), 100);
    EXPECT_EQ(m_search.searchResults().pageSize(), 100);
    EXPECT_EQ(lexi::quizlet::foundText(m_search.searchResults()), u"Sets 1 to 100 of 237 found"_s);

    m_search.changePage(3);
    ASSERT_TRUE(waitForLoads(2));
    EXPECT_EQ(m_search.searchResults().page(), 3);
    EXPECT_EQ(m_search.searchResults().sets().first().title(), u"Set 201"_s);
    EXPECT_EQ(lexi::quizlet::foundText(m_search.searchResults()), u"Sets 201 to 237 of 237 found"_s);
    EXPECT_EQ(m_service.targets(), (QList<QByteArray>{searchWithoutParameters + "&q=kitchen&creator=teacher",
                                                      searchWithoutParameters + "&q=kitchen&creator=teacher&page=3"}));
}

TEST_F(QuizletSearchTest, AFailedConnectionIsToldAndLeavesNoResults)
{
    m_service.server.enqueue({200, {}, lexi::test::searchReply(1, 3, 237, 100)});
    HttpResponse dropped;
    dropped.dropConnection = true;
    m_service.server.setDefaultResponse(dropped);
    m_search.search(u"kitchen"_s, QString(), QString());
    ASSERT_TRUE(waitForLoads(1));

    for (const char *what : {"search", "page"}) {
        SCOPED_TRACE(what);
        const qsizetype loads = m_loaded.size();
        if (QByteArray(what) == "search")
            m_search.search(u"garden"_s, QString(), QString());
        else
            m_search.changePage(2);
        ASSERT_TRUE(waitForLoads(int(loads) + 1));
        EXPECT_EQ(m_failed.size(), loads);
        EXPECT_TRUE(m_search.searchResults().sets().isEmpty());
        EXPECT_EQ(m_search.searchResults().totalPages(), 0);
    }
}

// A reply that comes while a newer request is under way belongs to the request that was
// superseded: it never replaces the results, neither for a page nor for a new search.
TEST_F(QuizletSearchTest, AReplyToASupersededRequestIsDropped)
{
    m_service.server.enqueue({200, {}, lexi::test::searchReply(1, 3, 237, 100)});
    m_search.search(u"kitchen"_s, QString(), QString());
    ASSERT_TRUE(waitForLoads(1));

    m_service.server.enqueue(delayed(lexi::test::searchReply(2, 3, 237, 100, 101), 150ms));
    m_service.server.enqueue(delayed(lexi::test::searchReply(3, 3, 237, 37, 201), 600ms));
    m_search.changePage(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.server.requests().size() == 2; }));
    m_search.changePage(3);
    ASSERT_TRUE(waitForLoads(2));
    EXPECT_EQ(m_loaded.size(), 2);
    EXPECT_EQ(m_search.searchResults().page(), 3);

    m_service.server.enqueue(delayed(lexi::test::searchReply(1, 1, 1, 1, 500), 150ms));
    m_service.server.enqueue(delayed(lexi::test::searchReply(1, 1, 2, 2, 600), 600ms));
    m_search.search(u"garden"_s, QString(), QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.server.requests().size() == 4; }));
    m_search.search(u"kitchen garden"_s, QString(), QString());
    ASSERT_TRUE(waitForLoads(3));
    EXPECT_EQ(m_loaded.size(), 3);
    EXPECT_EQ(m_search.searchResults().totalCount(), 2);
    EXPECT_EQ(m_search.request(), u"/2.0/search/sets?client_id=QmTrvXapLe&whitespace=1&per_page=100&q=kitchen%20garden"_s);
}

} // namespace
