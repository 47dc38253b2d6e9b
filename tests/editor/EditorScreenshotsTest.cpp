#include "EditorTestSupport.h"

#include "support/ContrastRatio.h"
#include "support/Screenshots.h"

#include "editor/QLXTokenCloud.h"
#include "editor/WordTableModel.h"
#include "views/QLXPopover.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>
#include <string>

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
        list->showVocabulary();
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

// The ordinary rows' words and comments against both row backgrounds, at least 4.5:1 (the
// guidelines' figure for body text): in a list made under the light and under the dark palette,
// and in the light one after the desktop switched to the dark theme.
TEST_F(EditorScreenshotsTest, TheTablesTextKeepsItsContrastInALightAndADarkPalette)
{
    const auto expectReadableRows = [](LexicartaController &shown, const char *when) {
        SCOPED_TRACE(when);
        QTableView &table = *shown.tableView();
        const QPalette palette = table.palette();
        std::optional<double> lowest;
        std::string lowestPair;
        for (int row = 0; row < table.model()->rowCount(); ++row) {
            if (shown.tableModel()->rows().at(row)->dontAskAgain())
                continue;
            for (const int column : {WordTableModel::YourWordColumn, WordTableModel::ForeignWordColumn,
                                     WordTableModel::CommentColumn}) {
                const QVariant foreground = table.model()->index(row, column).data(Qt::ForegroundRole);
                const QColor text = foreground.isValid() ? foreground.value<QColor>() : palette.color(QPalette::Text);
                for (const QPalette::ColorRole background : {QPalette::Base, QPalette::AlternateBase}) {
                    const double ratio = lexi::test::contrastRatio(text, palette.color(background));
                    if (!lowest || ratio < *lowest) {
                        lowest = ratio;
                        lowestPair = (text.name() + u" on "_s + palette.color(background).name()).toStdString();
                    }
                }
            }
        }
        ASSERT_TRUE(lowest.has_value()) << "no ordinary row shown";
        EXPECT_GE(*lowest, 4.5) << lowestPair;
    };
    lexi::test::inLightAndDarkPalette([&](const QString &prefix) {
        auto made = makeList();
        made->view()->resize(1180, 720);
        made->view()->show();
        made->showVocabulary();
        expectReadableRows(*made, prefix.isEmpty() ? "made under the light palette" : "made under the dark palette");
    });
    const QPalette light = QApplication::palette();
    QApplication::setPalette(lexi::test::darkPalette());
    QApplication::processEvents();
    expectReadableRows(*list, "switched to the dark palette");
    QApplication::setPalette(light);
}

// The list's texts, the help over an empty list and the popover's hint below the tags included, read
// at the 4.5:1 of body text in the light palette and after the desktop switched to a dark one.
TEST_F(EditorScreenshotsTest, EveryTextOfTheListAndThePopoverReadsAsBodyText)
{
    const auto expectReadable = [this](const char *when) {
        const QPalette light = QApplication::palette();
        for (const auto &[palette, name] : {std::pair{light, "light"}, std::pair{lexi::test::darkPalette(), "dark"}}) {
            QApplication::setPalette(palette);
            QApplication::processEvents();
            const auto least = lexi::test::leastReadableLabel(*list->view());
            EXPECT_GE(least.ratio, 4.5) << when << ", " << name << ": " << qPrintable(least.text);
        }
        QApplication::setPalette(light);
    };
    list->searchField()->setText(u"zebra"_s);
    list->search();
    ASSERT_EQ(list->helpPage(), lexi::VocabularyListTexts::HelpPage::NoWordsInLevel);
    expectReadable("nothing found");

    list->searchField()->clear();
    list->search();
    selectRows(3, 3);
    ASSERT_TRUE(list->popover()->isVisible());
    expectReadable("popover open");
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
