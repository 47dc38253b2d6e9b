#include "QuizletTestSupport.h"

#include "flashcard-service/QuizletResultsModel.h"
#include "flashcard-service/QuizletTermsModel.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::QuizletResultsModel;
using lexi::QuizletTermsModel;

namespace {

TEST(QuizletTablesTest, TheResultsShowTitleAuthorAndKeywordsOfEachSet)
{
    QuizletResultsModel model;
    EXPECT_EQ(model.rowCount(), 0);
    model.setSearchResults(
        QLXQuizletSearchResults::quizletSearchResultsWithJsonData(lexi::test::searchReply(1, 1, 2, 2)));

    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.data(model.index(1, QuizletResultsModel::Title)), u"Set 2"_s);
    EXPECT_EQ(model.data(model.index(1, QuizletResultsModel::Author)), u"author2"_s);
    EXPECT_EQ(model.data(model.index(1, QuizletResultsModel::Keywords)), u"topic, topic2"_s);
    EXPECT_FALSE(model.data(model.index(2, QuizletResultsModel::Title)).isValid());
    EXPECT_EQ(model.set(2), nullptr);
    EXPECT_EQ(model.set(0)->identifier(), u"1"_s);
    EXPECT_EQ(model.headerData(QuizletResultsModel::Title, Qt::Horizontal), u"Title"_s);
    EXPECT_EQ(model.headerData(QuizletResultsModel::Author, Qt::Horizontal), u"Author"_s);
    EXPECT_EQ(model.headerData(QuizletResultsModel::Keywords, Qt::Horizontal), u"Keywords"_s);
}

// The first column holds what an import makes the foreign word, the second your word.
TEST(QuizletTablesTest, TheTermsSwapTheirColumnsWithTheDirection)
{
    QuizletTermsModel model;
    const QList<QLXQuizletTerm> terms{QLXQuizletTerm::quizletTermWithYourWord(u"spoon"_s, u"Löffel"_s)};
    model.setTerms(terms, false);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, QuizletTermsModel::Term)), u"Löffel"_s);
    EXPECT_EQ(model.data(model.index(0, QuizletTermsModel::Definition)), u"spoon"_s);
    model.setTerms(terms, true);
    EXPECT_EQ(model.data(model.index(0, QuizletTermsModel::Term)), u"spoon"_s);
    EXPECT_EQ(model.data(model.index(0, QuizletTermsModel::Definition)), u"Löffel"_s);
    EXPECT_FALSE(model.data(model.index(1, QuizletTermsModel::Term)).isValid());
}

} // namespace
