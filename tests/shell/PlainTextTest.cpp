#include "MainWindowTestSupport.h"

#include "editor/LexicartaController.h"
#include "editor/WordTableModel.h"
#include "model/QLXStorageManager.h"
#include "model/QLXWord.h"
#include "quiz/QLXFlashCardQuizController.h"
#include "quiz/QLXPopupQuizController.h"
#include "quiz/QLXQuizSetupController.h"
#include "quiz/QLXTypingQuizController.h"
#include "shell/MainInterface.h"
#include "shell/QLXLanguageSheet.h"
#include "shell/QLXPreferencesController.h"
#include "shell/QtAlertPresenter.h"
#include "views/QLXPopover.h"

#include "platform/files/Settings.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi::test {
namespace {

// Markup as a vocabulary, a file or a server may carry it. Shown as rich text, an image like this
// one is read from the file system: /dev/zero ends the program, /etc/hostname is read.
const QString image = u"<img src=\"hostile.png\">"_s;

// Whether `text`, shown by Qt in `format`, would be read as markup carrying the image.
bool rendersImage(const QString &text, Qt::TextFormat format)
{
    if (!text.contains(image))
        return false;
    return format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
}

// Every label, tool tip (of widgets, their actions and the cells of their item views) that would
// render the image, named by where it is.
QStringList markupShown()
{
    QStringList found;
    for (QWidget *widget : QApplication::allWidgets()) {
        const QString where = QString::fromUtf8(widget->metaObject()->className()) + u' ' + widget->objectName();
        if (auto *label = qobject_cast<QLabel *>(widget); label && rendersImage(label->text(), label->textFormat()))
            found.append(where + u" text: "_s + label->text());
        if (rendersImage(widget->toolTip(), Qt::AutoText))
            found.append(where + u" tool tip: "_s + widget->toolTip());
        for (QAction *action : widget->actions()) {
            if (rendersImage(action->toolTip(), Qt::AutoText))
                found.append(where + u" action tool tip: "_s + action->toolTip());
        }
        // A header shows its table's model.
        auto *view = qobject_cast<QAbstractItemView *>(widget);
        if (!view || !view->model() || qobject_cast<QHeaderView *>(view))
            continue;
        const QAbstractItemModel &model = *view->model();
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column) {
                const QString tip = model.index(row, column).data(Qt::ToolTipRole).toString();
                if (rendersImage(tip, Qt::AutoText))
                    found.append(where + u" cell tool tip: "_s + tip);
            }
        }
    }
    return found;
}

// Whether a shown label holds the markup, as text.
bool labelShowsTheMarkupAsText()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        auto *label = qobject_cast<QLabel *>(widget);
        if (label && label->isVisible() && label->text().contains(image) && label->textFormat() == Qt::PlainText)
            return true;
    }
    return false;
}

// A vocabulary whose every text carries markup, open in the whole program, and seen on every page
// that shows it: nowhere is it read as markup.
class PlainTextTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(test.installation->services());
        vocabulary->setForeignLanguageName(image + u"Foreign"_s);
        vocabulary->setYourLanguageName(image + u"Own"_s);
        for (int index = 0; index < 3; ++index) {
            auto word =
                std::make_shared<QLXWord>(image + QString::number(index), image + u"mot"_s + QString::number(index));
            word->setComment(image + u"comment"_s);
            word->setTags({image + u"tag"_s});
            vocabulary->addWord(word);
        }
        test.installation->storage().saveVocabulary(vocabulary.get());
        test.installation->storage().flushSaves();
        test.saveVocabulary(u"Spanish"_s, u"English"_s);
        Defaults &defaults = test.installation->defaults();
        defaults.setBool(Settings::hasShownVocabularyHelp.name, true);
        defaults.setBool(Settings::hasShownQuizHelpQuestion.name, true);
        Settings(defaults).setValue(Settings::lastActiveLanguage,
                                    QLXStorageManager::displayNameForVocabulary(*vocabulary));
        interface.awakeFromNib();
        window().mainWindow()->show();
        test.scheduler.advance(500ms);
        ASSERT_EQ(window().currentVocabulary()->foreignLanguageName(), image + u"Foreign"_s);
    }

    QLXMainWindowController &window() { return interface.mainWindowController(); }

    // Starts a quiz of `mode` from the set-up page.
    void startQuiz(QLXQuizSetupController::Mode mode)
    {
        window().showQuiz();
        test.scheduler.advance(500ms);
        QLXQuizSetupController &setup = interface.quizPage().setup();
        QTest::mouseClick(setup.modeControl().button(mode), Qt::LeftButton);
        QTest::mouseClick(&setup.startButton(), Qt::LeftButton);
        test.scheduler.advance(1s);
    }

    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
    MainInterface interface{*test.installation, moveOffer};
};

TEST_F(PlainTextTest, NoPageRendersTheTextsOfAVocabulary)
{
    QLXMainWindowController &window = this->window();

    // The list, its tag cloud and the popover over a selected word.
    LexicartaController &list = interface.vocabularyPage();
    const QAbstractItemModel &words = *list.tableModel();
    list.tableView()->selectionModel()->select(
        QItemSelection(words.index(0, 0), words.index(0, WordTableModel::ColumnCount - 1)),
        QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(list.popover()->isVisible());
    EXPECT_EQ(markupShown(), QStringList()) << "the list and the popover";
    list.popover()->hide();

    // A typing quiz: the question, then the answer judged wrong with the expected one and the comment.
    window.showQuiz();
    test.scheduler.advance(500ms);
    EXPECT_EQ(markupShown(), QStringList()) << "the quiz set-up";
    startQuiz(QLXQuizSetupController::Typing);
    QLXTypingQuizController &quiz = interface.quizPage().typingQuiz();
    ASSERT_TRUE(quiz.isRunInProgress());
    EXPECT_EQ(markupShown(), QStringList()) << "the question";
    quiz.answerField().setText(u"wrong"_s);
    quiz.next();
    test.scheduler.advance(1s);
    EXPECT_EQ(markupShown(), QStringList()) << "the judged answer";

    window.showStatistics();
    EXPECT_EQ(markupShown(), QStringList()) << "the statistics";

    // The languages table and the sheet that edits a language.
    auto *preferences = window.mainWindow()->findChild<QLXPreferencesController *>();
    ASSERT_TRUE(preferences);
    window.showPreferences();
    preferences->showLanguages();
    preferences->finishPendingWork();
    EXPECT_EQ(markupShown(), QStringList()) << "the languages table";
    QTableView *table = preferences->vocabulariesTableView();
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (table->model()->index(row, 0).data().toString().startsWith(image))
            table->selectRow(row);
    }
    QTest::mouseClick(preferences->editShowButton(), Qt::LeftButton);
    preferences->finishPendingWork();
    ASSERT_TRUE(preferences->editLangPanel()->isVisible());
    EXPECT_EQ(markupShown(), QStringList()) << "the language sheet";
}

TEST_F(PlainTextTest, TheFlashCardsAndThePopupQuizShowTheirWordsAsTheyAre)
{
    startQuiz(QLXQuizSetupController::FlashCards);
    QLXFlashCardQuizController &cards = interface.quizPage().flashCards();
    ASSERT_TRUE(cards.isRunInProgress());
    EXPECT_TRUE(labelShowsTheMarkupAsText());
    EXPECT_EQ(markupShown(), QStringList()) << "a card";
    QTest::mouseClick(&cards.showAnswerButton(), Qt::LeftButton);
    test.scheduler.advance(1s);
    EXPECT_EQ(markupShown(), QStringList()) << "a card turned";
    QTest::mouseClick(&cards.newQuizButton(), Qt::LeftButton);
    test.scheduler.advance(1s);

    startQuiz(QLXQuizSetupController::Popup);
    QLXPopupQuizController &popup = interface.quizPage().popupQuiz();
    ASSERT_TRUE(popup.isRunInProgress());
    EXPECT_TRUE(labelShowsTheMarkupAsText());
    EXPECT_EQ(markupShown(), QStringList()) << "the pop-up question";
    popup.answerField().setText(u"wrong"_s);
    popup.checkWord();
    EXPECT_EQ(markupShown(), QStringList()) << "the pop-up answer";
}

// An alert that names a vocabulary or a file shows the name as it is.
TEST(PlainTextAlertTest, AlertsShowNamesAsTheyAre)
{
    QtAlertPresenter alerts;
    QStringList found;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        found = markupShown();
        box->close();
    });
    alerts.runModal({image + u"Title"_s, image + u"Message"_s, {u"OK"_s}, 0});
    EXPECT_EQ(found, QStringList());
}

} // namespace
} // namespace lexi::test
