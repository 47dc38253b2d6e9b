#include "EditorTestSupport.h"

#include "support/Screenshots.h"

#include "editor/QLXTokenCloud.h"
#include "editor/WordTableModel.h"
#include "views/QLXPopover.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class EditorScreenshotsTest : public testing::Test, protected lexi::test::EditorFixture
{
protected:
    EditorScreenshotsTest()
    {
        vocabulary = makeVocabulary(300);
        list = makeList();
        list->view()->resize(1180, 720);
        list->view()->show();
        keeper.setVocabulary(vocabulary);
        list->showVocabulary(&sync);
    }

    void selectRows(int first, int last)
    {
        QTableView *table = list->tableView();
        table->selectionModel()->select(QItemSelection(list->tableModel()->index(first, 0),
                                                       list->tableModel()->index(last, WordTableModel::ColumnCount - 1)),
                                        QItemSelectionModel::ClearAndSelect);
    }

    std::shared_ptr<Lexicarta> vocabulary;
    std::unique_ptr<LexicartaController> list;
};

TEST_F(EditorScreenshotsTest, TheListAtEachLevel)
{
    const char *names[] = {"unknown", "ultra-short", "short", "mid", "long", "native", "all"};
    for (quint64 level = 0; level <= LexicartaController::allWordsLevel; ++level) {
        QTest::mouseClick(list->levelButton(level), Qt::LeftButton);
        EXPECT_EQ(list->currentWordsToShow().size(), level == LexicartaController::allWordsLevel ? 300 : 50);
        EXPECT_TRUE(lexi::test::saveScreenshot(*list->view(), u"vocabulary-list-"_s + QString::fromUtf8(names[level])));
    }
}

TEST_F(EditorScreenshotsTest, SearchingAndAnEmptyLevel)
{
    list->searchField()->setText(u"Käse"_s);
    list->search();
    EXPECT_EQ(list->helpPage(), lexi::VocabularyListTexts::HelpPage::SearchBackground);
    EXPECT_TRUE(lexi::test::saveScreenshot(*list->view(), u"vocabulary-list-search"_s));

    list->searchField()->setText(u"zebra"_s);
    list->search();
    EXPECT_EQ(list->helpPage(), lexi::VocabularyListTexts::HelpPage::NoWordsInLevel);
    EXPECT_TRUE(lexi::test::saveScreenshot(*list->view(), u"vocabulary-list-nothing-found"_s));
}

TEST_F(EditorScreenshotsTest, ThePopoverForOneWordAndForSeveral)
{
    selectRows(3, 3);
    ASSERT_TRUE(list->popover()->isVisible());
    EXPECT_TRUE(lexi::test::saveScreenshot(*list->view(), u"word-popover-one-word"_s));

    selectRows(2, 6);
    EXPECT_EQ(list->popoverController()->selectedWords().size(), 5);
    EXPECT_TRUE(lexi::test::saveScreenshot(*list->view(), u"word-popover-several-words"_s));

    list->popoverController()->closeWordPanel(QLXWordPopoverController::Sender::Cancel);
    list->showAddWordPanel();
    EXPECT_TRUE(lexi::test::saveScreenshot(*list->view(), u"word-popover-adding"_s));
}

TEST_F(EditorScreenshotsTest, TheTagCloud)
{
    QLXTokenCloud cloud;
    cloud.resize(230, 120);
    cloud.setTokens({u"home"_s, u"nature"_s, u"food"_s, u"travel"_s, u"people"_s, u"seasons"_s, u"common"_s,
                     u"verbs"_s, u"adjectives"_s, u"irregular"_s, u"A1"_s, u"B2"_s});
    cloud.setSelectedTokenNames({u"food"_s, u"verbs"_s});
    cloud.setAutoFillBackground(true);
    cloud.show();
    EXPECT_TRUE(lexi::test::saveScreenshot(cloud, u"tag-cloud"_s));
}

} // namespace
