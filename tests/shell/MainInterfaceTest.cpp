#include "MainWindowTestSupport.h"

#include "editor/LexicartaController.h"
#include "editor/WordTableModel.h"
#include "model/QLXStorageManager.h"
#include "quiz/QLXPopupQuizController.h"
#include "quiz/QLXTypingQuizController.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "flashcard-service/QLXQuizletPopupController.h"
#include "shell/MainInterface.h"
#include "statistics/QLXStatisticsController.h"
#include "views/QLXPopover.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
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
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    test.scheduler.advance(500ms);
    ASSERT_EQ(window.selectedTab(), QLXMainWindowController::vocabularyTab);

    LexicartaController &list = interface.vocabularyPage();
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

TEST(MainInterfaceTest, TheGetWordsTabIsTheFlashCardServicePageImportingThroughTheListsKeeper)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 10);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    test.scheduler.advance(500ms);

    window.showQuizlet();
    ASSERT_EQ(window.selectedTab(), QLXMainWindowController::quizletTab);
    QLXQuizletController &page = interface.flashCardServicePage();
    EXPECT_TRUE(page.isVisible());
    QLXQuizletSet set;
    set.setTitle(u"Cocina"_s);
    set.setTerms({QLXQuizletTerm::quizletTermWithYourWord(u"spoon"_s, u"la cuchara"_s)});
    page.popupController()->setQuizletSet(set, true);
    page.popupController()->import();
    EXPECT_EQ(interface.vocabularyPage().keeper().vocabulary()->countAllWords(), 11);
}

TEST(MainInterfaceTest, TheStatisticsTabShowsTheOpenVocabularyAsItIsWhenItShows)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 10);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    test.scheduler.advance(500ms);
    QLXStatisticsController &statistics = interface.statisticsPage();
    const auto learntTotal = [&] { return statistics.findChild<QLabel *>(u"learntTotal"_s)->text(); };
    VocabularyKeeper &keeper = interface.vocabularyPage().keeper();
    const auto answerRight = [&](qsizetype word) {
        keeper.vocabulary()->answeredWord(*keeper.vocabulary()->allWords()[word], 1);
        keeper.recordChange();
    };

    window.showStatistics();
    ASSERT_EQ(window.selectedTab(), QLXMainWindowController::statisticsTab);
    EXPECT_TRUE(statistics.isVisible());
    EXPECT_EQ(learntTotal(), u"0"_s);
    answerRight(0);
    EXPECT_EQ(learntTotal(), u"1"_s);

    window.showVocabulary();
    answerRight(1);
    EXPECT_EQ(learntTotal(), u"1"_s);
    window.showStatistics();
    EXPECT_EQ(learntTotal(), u"2"_s);
    EXPECT_EQ(statistics.currentPage(), QLXStatisticsController::overview);
}

TEST(MainInterfaceTest, AQuizStartedAfterASynchronisationsReloadRecordsIntoTheReloadedVocabulary)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    const QString path = test.saveVocabulary(u"Spanish"_s, u"English"_s, 10);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    test.installation->defaults().setBool(Settings::hasShownQuizHelpQuestion.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    test.scheduler.advance(500ms);
    window.showQuiz();
    test.scheduler.advance(500ms);

    // Another installation's word arrives: the synchronisation rewrote the file.
    QLXStorageManager &storage = test.installation->storage();
    storage.flushSaves();
    const std::shared_ptr<Lexicarta> elsewhere = storage.vocabularyFromFile(path);
    ASSERT_TRUE(elsewhere);
    elsewhere->addWord(std::make_shared<QLXWord>(u"added elsewhere"_s, u"añadido"_s));
    ASSERT_TRUE(storage.saveVocabularyToQLXVFile(elsewhere.get(), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    file.close();
    window.dropboxControllerDidFinishSync();
    window.finishSynchronisedFileRead();
    test.scheduler.advance(1s);
    ASSERT_EQ(window.currentVocabulary()->countAllWords(), 11);

    // The quiz page asks from the vocabulary open now and records into it.
    QLXQuizSetupController &setup = interface.quizPage().setup();
    QTest::mouseClick(&setup.startButton(), Qt::LeftButton);
    test.scheduler.advance(1s);
    QLXTypingQuizController &quiz = interface.quizPage().typingQuiz();
    ASSERT_TRUE(quiz.isRunInProgress());
    EXPECT_EQ(quiz.vocabulary(), window.currentVocabulary());
    const std::shared_ptr<QLXWord> asked = quiz.nextWord();
    quiz.answerField().setText(asked->foreignWord());
    quiz.next();
    test.scheduler.advance(1s);
    storage.flushSaves();

    const std::shared_ptr<Lexicarta> saved = storage.vocabularyFromFile(path);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->countAllWords(), 11) << "the word from elsewhere survives the quiz's save";
    const auto answered = std::find_if(saved->allWords().cbegin(), saved->allWords().cend(), [&](const auto &word) {
        return word->creationID() == asked->creationID();
    });
    ASSERT_NE(answered, saved->allWords().cend());
    EXPECT_TRUE((*answered)->lastAsked().has_value());
}

TEST(MainInterfaceTest, ChoosingAnotherLanguageDuringAQuizEndsTheRunAndShowsTheNewLanguagesSetUp)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 10);
    test.saveVocabulary(u"French"_s, u"English"_s, 10);
    test.installation->defaults().setString(Settings::lastActiveLanguage.name, u"Spanish - English"_s);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    test.scheduler.advance(500ms);
    window.showQuiz();
    test.scheduler.advance(500ms);
    QLXQuizSetupController &setup = interface.quizPage().setup();
    QTest::mouseClick(&setup.startButton(), Qt::LeftButton);
    test.scheduler.advance(1s);
    QLXTypingQuizController &quiz = interface.quizPage().typingQuiz();
    ASSERT_TRUE(quiz.isRunInProgress());
    quiz.answerField().setText(u"wrong"_s);
    quiz.next();
    test.scheduler.advance(1s);

    QComboBox *popup = window.languagesPopUp();
    const int french = popup->findText(u"French - English"_s);
    ASSERT_GE(french, 0);
    popup->setCurrentIndex(french);
    emit popup->activated(french);

    EXPECT_EQ(window.currentVocabulary()->foreignLanguageName(), u"French"_s);
    EXPECT_FALSE(quiz.isRunInProgress()) << "the old language's run ends";
    EXPECT_EQ(static_cast<QuizPages *>(interface.quizPage().view())->currentPage(), QuizPages::Setup);
    EXPECT_EQ(setup.directionPopup().itemText(0), u"French"_s);
    test.scheduler.advance(1s);
    EXPECT_EQ(static_cast<QuizPages *>(interface.quizPage().view())->currentPage(), QuizPages::Setup);
}

TEST(MainInterfaceTest, APopupQuizSwitchesTheMainWindowOffAndAsksOnWithoutIt)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 10);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    test.scheduler.advance(500ms);
    window.showQuiz();
    test.scheduler.advance(500ms);
    QLXQuizSetupController &setup = interface.quizPage().setup();
    QTest::mouseClick(setup.modeControl().button(QLXQuizSetupController::Popup), Qt::LeftButton);
    QTest::mouseClick(&setup.startButton(), Qt::LeftButton);
    test.scheduler.advance(1s);

    QLXPopupQuizController &quiz = interface.quizPage().popupQuiz();
    const auto quizPages = [&] { return static_cast<QuizPages *>(interface.quizPage().view())->currentPage(); };
    ASSERT_TRUE(quiz.isRunInProgress());
    EXPECT_TRUE(quiz.quizWindow().isVisible());
    EXPECT_EQ(quizPages(), QuizPages::PopupQuiz);
    EXPECT_FALSE(window.areToolbarItemsEnabled());
    EXPECT_FALSE(window.menuItem(u"deleteDuplicateWords"_s)->isEnabled());
    window.toolbarItem(QLXMainWindowController::vocabularyTab)->trigger();
    EXPECT_EQ(window.selectedTab(), QLXMainWindowController::quizTab);

    // Without the main window the quiz goes on asking; a new start brings the window back.
    quiz.answerField().setText(quiz.run().currentWord()->foreignWord());
    quiz.checkWord();
    // The word popover opens in the pop-up window; Next closes it.
    QTest::mouseClick(&quiz.editButton(), Qt::LeftButton);
    auto *editor = quiz.quizWindow().findChild<QLXPopover *>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(quiz.quizWindow().geometry().contains(editor->geometry().translated(quiz.quizWindow().pos())));
    quiz.next();
    EXPECT_FALSE(editor->isVisible());
    window.mainWindow()->close();
    test.scheduler.advance(std::chrono::minutes(quiz.run().questionIntervalMinutes()));
    EXPECT_TRUE(quiz.isRunInProgress());
    EXPECT_TRUE(quiz.quizWindow().isVisible());
    interface.appDelegate().applicationShouldHandleReopen();
    test.scheduler.advance(1s);
    EXPECT_TRUE(window.mainWindow()->isVisible());
    EXPECT_TRUE(quiz.isRunInProgress());
    EXPECT_EQ(quizPages(), QuizPages::PopupQuiz);

    // The results show: the main window is on again; closing them leads back to the set-up page.
    QTest::mouseClick(&quiz.stopButton(), Qt::LeftButton);
    EXPECT_TRUE(window.areToolbarItemsEnabled());
    EXPECT_TRUE(window.menuItem(u"deleteDuplicateWords"_s)->isEnabled());
    EXPECT_TRUE(quiz.quizWindow().close());
    EXPECT_EQ(quizPages(), QuizPages::Setup);
}

TEST(MainInterfaceTest, TheSynonymsMenuItemTogglesTheListAndLeadsBackToAllWords)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 10);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    test.scheduler.advance(500ms);
    QMenu *viewMenu = nullptr;
    for (QAction *menu : interface.mainWindowController().mainWindow()->menuBar()->actions()) {
        // The title carries its mnemonic.
        if (QString(menu->text()).remove(u'&') == StringTables::text(u"view"_s, u"MainWindow"_s))
            viewMenu = menu->menu();
    }
    ASSERT_NE(viewMenu, nullptr);
    QAction *synonyms = viewMenu->actions().last();
    LexicartaController &list = interface.vocabularyPage();

    synonyms->trigger();
    EXPECT_TRUE(list.isSynonymsActive());
    emit viewMenu->aboutToShow();
    EXPECT_EQ(synonyms->text(), StringTables::text(u"showAllWords"_s, u"Vocabulary"_s));

    synonyms->trigger();
    EXPECT_FALSE(list.isSynonymsActive());
    emit viewMenu->aboutToShow();
    EXPECT_EQ(synonyms->text(), StringTables::text(u"showSynonyms"_s, u"MainWindow"_s));
}

TEST(MainInterfaceTest, TheQuizSetUpTakesTheKeysEachTimeItShows)
{
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 3);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    test.installation->defaults().setBool(Settings::hasShownQuizHelpQuestion.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &window = interface.mainWindowController();
    window.mainWindow()->show();
    QApplication::setActiveWindow(window.mainWindow());
    test.scheduler.advance(500ms);
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        test.scheduler.advance(1500ms);
    };
    QLXQuizSetupController &setup = interface.quizPage().setup();
    QLXTypingQuizController &quiz = interface.quizPage().typingQuiz();

    // From the toolbar's language pop-up to the quiz tab.
    window.languagesPopUp()->setFocus();
    press(Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(setup.startButton().hasFocus());

    // A run to its end and a new quiz, by keys alone.
    press(Qt::Key_Return);
    ASSERT_TRUE(quiz.isRunInProgress());
    for (int word = 0; word < 3; ++word)
        press(Qt::Key_Return);
    press(Qt::Key_Return);
    ASSERT_TRUE(quiz.newQuizButton().hasFocus());
    press(Qt::Key_Return);
    EXPECT_TRUE(setup.startButton().hasFocus()) << "after a new quiz";

    // A run left for the list and the results left for it, then back to the quiz tab.
    for (const int answers : {1, 4}) {
        SCOPED_TRACE(answers);
        press(Qt::Key_Return);
        for (int answer = 0; answer < answers; ++answer)
            press(Qt::Key_Return);
        press(Qt::Key_1, Qt::ControlModifier);
        press(Qt::Key_2, Qt::ControlModifier);
        EXPECT_TRUE(setup.startButton().hasFocus());
    }
}

} // namespace
} // namespace lexi::test
