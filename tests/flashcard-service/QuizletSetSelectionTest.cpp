#include "QuizletTestSupport.h"

#include "support/ConsoleCapture.h"

#include "flashcard-service/QuizletSetSelection.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::QuizletSetSelection;
using lexi::test::HttpResponse;

namespace {

QLXQuizletSet summary(const QString &identifier, const QString &title)
{
    QLXQuizletSet set;
    set.setIdentifier(identifier);
    set.setTitle(title);
    return set;
}

class QuizletSetSelectionTest : public testing::Test
{
protected:
    bool waitForDetails(int count)
    {
        return m_arrived.size() >= count || QTest::qWaitFor([&] { return m_arrived.size() >= count; });
    }

    lexi::test::QuizletService m_service;
    lexi::test::ConsoleCapture m_console;
    QuizletSetSelection m_selection{m_service.client()};
    QSignalSpy m_arrived{&m_selection, &QuizletSetSelection::detailsArrived};
};

TEST_F(QuizletSetSelectionTest, TheSelectedSetIsReplacedByItsDetails)
{
    m_service.server.enqueue({200, {}, lexi::test::setReply(415, u"Kitchen"_s, {{u"spoon"_s, u"Löffel"_s}})});
    m_selection.select(summary(u"415"_s, u"Kitchen"_s));
    ASSERT_TRUE(m_selection.selectedSet());
    EXPECT_FALSE(m_selection.hasDetails());

    ASSERT_TRUE(waitForDetails(1));
    EXPECT_TRUE(m_selection.hasDetails());
    ASSERT_EQ(m_selection.selectedSet()->terms().size(), 1);
    EXPECT_EQ(m_selection.selectedSet()->terms()[0].foreignLangWord(), u"Löffel"_s);
    EXPECT_EQ(m_service.targets(), QList<QByteArray>{"/2.0/sets?client_id=QmTrvXapLe&set_ids=415"});
}

TEST_F(QuizletSetSelectionTest, DetailsThatCannotBeReadGiveThePlaceholderSet)
{
    HttpResponse dropped;
    dropped.dropConnection = true;
    const std::pair<const char *, HttpResponse> cases[] = {
        {"not JSON", {200, {{"Content-Type", "text/html"}}, "<html>Sign in</html>"}},
        {"an empty array", {200, {}, "[]"}},
        {"an empty object", {200, {}, "{}"}},
        {"a failed connection", dropped},
    };
    int identifier = 0;
    for (const auto &[what, response] : cases) {
        SCOPED_TRACE(what);
        if (response.dropConnection)
            m_service.server.setDefaultResponse(response);
        else
            m_service.server.enqueue(response);
        // Each its own set, so that no reply comes from the client's memory.
        m_selection.select(summary(QString::number(++identifier), u"Kitchen"_s));
        ASSERT_TRUE(waitForDetails(identifier));
        EXPECT_TRUE(m_selection.hasDetails());
        EXPECT_EQ(m_selection.selectedSet()->title(), u"Could not load"_s);
        EXPECT_EQ(m_selection.selectedSet()->createdBy(), u"please try again"_s);
        EXPECT_TRUE(m_selection.selectedSet()->terms().isEmpty());
    }
}

// The details of a set chosen before never stand in for the set chosen since, even when they
// arrive first.
TEST_F(QuizletSetSelectionTest, DetailsOfAnEarlierChoiceAreDropped)
{
    HttpResponse first{200, {}, lexi::test::setReply(1, u"First"_s, {{u"a"_s, u"b"_s}})};
    first.delay = 150ms;
    HttpResponse second{200, {}, lexi::test::setReply(2, u"Second"_s, {{u"c"_s, u"d"_s}})};
    second.delay = 600ms;
    m_service.server.enqueue(first);
    m_service.server.enqueue(second);

    m_selection.select(summary(u"1"_s, u"First"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.server.requests().size() == 1; }));
    m_selection.select(summary(u"2"_s, u"Second"_s));
    ASSERT_TRUE(waitForDetails(1));
    EXPECT_EQ(m_arrived.size(), 1);
    EXPECT_EQ(m_selection.selectedSet()->identifier(), u"2"_s);
    EXPECT_EQ(m_selection.selectedSet()->title(), u"Second"_s);

    m_selection.clear();
    EXPECT_FALSE(m_selection.selectedSet());
}

} // namespace
