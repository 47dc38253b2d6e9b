#include "flashcard-service/QuizletRequests.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(QuizletRequestsTest, SearchesAddOnlyTheFieldsThatHoldText)
{
    struct Case
    {
        QString keywords;
        QString author;
        QString term;
        QString query;
    };
    const Case cases[] = {
        {QString(), QString(), QString(), QString()},
        {u" \n\t"_s, u" "_s, u"\n"_s, QString()},
        {u"animals"_s, QString(), QString(), u"&q=animals"_s},
        {QString(), u"anna"_s, QString(), u"&creator=anna"_s},
        {QString(), QString(), u"Hund"_s, u"&term=Hund"_s},
        {u"animals"_s, QString(), u"Hund"_s, u"&q=animals&term=Hund"_s},
        {u" farm animals "_s, u"\tanna\n"_s, u" Hund "_s, u"&q=farm%20animals&creator=anna&term=Hund"_s},
        // Nothing the learner types can add a parameter or cut the request short.
        {u"a&per_page=1"_s, u"x#y"_s, u"1+1=2"_s, u"&q=a%26per_page%3D1&creator=x%23y&term=1%2B1%3D2"_s},
        {u"100% ?/;"_s, u"Größe"_s, u"日本"_s,
         u"&q=100%25%20%3F%2F%3B&creator=Gr%C3%B6%C3%9Fe&term=%E6%97%A5%E6%9C%AC"_s},
        {u"safe-._~"_s, QString(), QString(), u"&q=safe-._~"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.query.toStdString());
        EXPECT_EQ(lexi::quizlet::searchRequest(c.keywords, c.author, c.term),
                  u"/2.0/search/sets?client_id=QmTrvXapLe&whitespace=1&per_page=100"_s + c.query);
    }
}

TEST(QuizletRequestsTest, PagesAndSetDetails)
{
    const QString search = lexi::quizlet::searchRequest(u"a b"_s, QString(), QString());
    EXPECT_EQ(lexi::quizlet::pageRequest(search, 3),
              u"/2.0/search/sets?client_id=QmTrvXapLe&whitespace=1&per_page=100&q=a%20b&page=3"_s);
    EXPECT_EQ(lexi::quizlet::setDetailsRequest(u"415"_s), u"/2.0/sets?client_id=QmTrvXapLe&set_ids=415"_s);
    EXPECT_EQ(lexi::quizlet::setDetailsRequest(u"4&client_id=x"_s),
              u"/2.0/sets?client_id=QmTrvXapLe&set_ids=4%26client_id%3Dx"_s);
}

} // namespace
