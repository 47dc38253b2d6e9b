#include "MainWindowTestSupport.h"

#include "editor/LexicartaController.h"
#include "editor/WordTableModel.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "shell/MainInterface.h"
#include "views/QLXPopover.h"

#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi::test {
namespace {

TEST(MainInterfaceTest, TheWordPopoversQuizButtonQuizzesTheSelectedWords)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 40);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelpKey, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    test.scheduler.advance(500ms);
    ASSERT_EQ(window.selectedTab(), QLXMainWindowController::vocabularyTab);

    LexicartaController &list = interface.vocabularyPage().controller();
    list.tableView()->selectionModel()->select(
        QItemSelection(list.tableModel()->index(2, 0), list.tableModel()->index(4, WordTableModel::ColumnCount - 1)),
        QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(list.popover()->isVisible());
    QPushButton *quizButton = list.popoverController()->quizSelectedButton();
    ASSERT_TRUE(quizButton->isVisible());
    const WordList selected = list.getSelectedWordsArray();
    ASSERT_EQ(selected.size(), 3);

    QTest::mouseClick(quizButton, Qt::LeftButton);

    EXPECT_EQ(window.selectedTab(), QLXMainWindowController::quizTab);
    EXPECT_FALSE(list.popover()->isVisible());
    EXPECT_TRUE(list.getSelectedWordsArray().isEmpty());
    QLXQuizSetupController &setup = interface.quizPage().setup();
    const auto setupShowsTheSelection = [&] {
        EXPECT_EQ(static_cast<QuizPages *>(interface.quizPage().view())->currentPage(), QuizPages::Setup);
        EXPECT_EQ(setup.numberField().value(), 3) << "30 of the 40 due words without the selection";
    };
    setupShowsTheSelection();
    // The set-up is shown once more a moment later; the selection still holds.
    test.scheduler.advance(500ms);
    setupShowsTheSelection();
}

TEST(MainInterfaceTest, TheSynonymsMenuItemTogglesTheListAndLeadsBackToAllWords)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 10);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelpKey, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    test.scheduler.advance(500ms);
    QMenu *viewMenu = nullptr;
    for (QAction *menu : interface.mainWindowController().mainWindow()->menuBar()->actions()) {
        if (menu->text() == StringTables::text(u"view"_s, u"MainWindow"_s))
            viewMenu = menu->menu();
    }
    ASSERT_NE(viewMenu, nullptr);
    QAction *synonyms = viewMenu->actions().last();
    LexicartaController &list = interface.vocabularyPage().controller();

    synonyms->trigger();
    EXPECT_TRUE(list.isSynonymsActive());
    emit viewMenu->aboutToShow();
    EXPECT_EQ(synonyms->text(), StringTables::text(u"showAllWords"_s, u"Vocabulary"_s));

    synonyms->trigger();
    EXPECT_FALSE(list.isSynonymsActive());
    emit viewMenu->aboutToShow();
    EXPECT_EQ(synonyms->text(), StringTables::text(u"showSynonyms"_s, u"MainWindow"_s));
}

} // namespace
} // namespace lexi::test
