#include "MainWindowTestSupport.h"

#include "editor/LexicartaController.h"
#include "views/QLXPopover.h"
#include "editor/WordTableModel.h"
#include "model/QLXStorageManager.h"
#include "model/QLXWord.h"
#include "shell/MainInterface.h"
#include "shell/QLXPreferencesController.h"
#include "shell/QtAlertPresenter.h"
#include "shell/TerminationSignals.h"

#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi::test {
namespace {

// How the learner, or the system, ends an alert without clicking one of its buttons.
enum class Ending { Escape, Return, Closing, Quit };

std::string endingName(const testing::TestParamInfo<Ending> &info)
{
    switch (info.param) {
    case Ending::Escape:
        return "Escape";
    case Ending::Return:
        return "Return";
    case Ending::Closing:
        return "Closing";
    case Ending::Quit:
        return "Quit";
    }
    return {};
}

// The whole program over a test installation, its alerts shown as real message boxes. Each
// delete alert, ended without a click, deletes nothing: Escape, closing and a quit answer its
// cancel button, and Return its default button, which is the cancel button too.
class DeleteAlertsTest : public testing::TestWithParam<Ending>
{
protected:
    void SetUp() override
    {
        const std::shared_ptr<Lexicarta> vocabulary = test.makeVocabulary(u"Spanish"_s, u"English"_s, 4);
        vocabulary->addWord(std::make_shared<QLXWord>(u"English word 0"_s, u"Spanish word 0"_s));
        test.installation->storage().saveVocabulary(vocabulary.get());
        test.installation->storage().flushSaves();
        vocabularyPath = *test.installation->storage().savePathForVocabulary(*vocabulary);
        test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);

        interface = std::make_unique<MainInterface>(*test.installation, moveOffer);
        interface->awakeFromNib();
        alerts.setParentWindow(window());
        window()->show();
        test.scheduler.advance(500ms);
    }

    void TearDown() override { alerts.setParentWindow(nullptr); }

    QMainWindow *window() { return interface->mainWindowController().mainWindow(); }
    LexicartaController &list() { return interface->vocabularyPage(); }

    // Does `step` in the application's event loop, as the program does, and ends the alert it
    // shows the test's way, SIGTERM standing for the quit. Returns the alert's buttons. An alert
    // that stays open a few turns of the event loop later fails the test and is cancelled.
    QStringList endAlertOf(const std::function<void()> &step)
    {
        TerminationSignals terminationSignals;
        QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, qApp, &QApplication::quit);
        QStringList buttons;
        QPointer<QMessageBox> endedBox;
        int turnsSinceEnding = 0;
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (endedBox) {
                if (endedBox->isVisible() && ++turnsSinceEnding == 10) {
                    ADD_FAILURE() << "the alert stayed open";
                    endedBox->buttons().constFirst()->click();
                }
                return;
            }
            if (!box || !box->isVisible())
                return;
            endedBox = box;
            for (QAbstractButton *button : box->buttons())
                buttons.append(button->text());
            switch (GetParam()) {
            case Ending::Escape:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
            case Ending::Return:
                QTest::keyClick(box, Qt::Key_Return);
                break;
            case Ending::Closing:
                box->close();
                break;
            case Ending::Quit:
                ::raise(SIGTERM);
                break;
            }
        });
        QTimer::singleShot(0, [&] {
            watch.start();
            step();
            QCoreApplication::exit(0);
        });
        QApplication::exec();
        return buttons;
    }

    QtAlertPresenter alerts;
    TestInstallation test{&alerts};
    NoMoveToApplicationsOffer moveOffer;
    std::unique_ptr<MainInterface> interface;
    QString vocabularyPath;
};

TEST_P(DeleteAlertsTest, TheLanguageStaysHereAndInTheCloud)
{
    // The last language cannot be deleted.
    test.saveVocabulary(u"French"_s, u"English"_s);
    QTemporaryDir cloud;
    test.folderChooser.answer = cloud.path();
    ASSERT_TRUE(test.installation->cloudFolder().link(test.folderChooser, test.folder.path()));
    test.installation->dropboxController().setIsEnabled(true);
    ASSERT_TRUE(QFile::copy(vocabularyPath, cloud.filePath(QFileInfo(vocabularyPath).fileName())));
    auto *preferences = window()->findChild<QLXPreferencesController *>();
    ASSERT_TRUE(preferences);
    interface->mainWindowController().showPreferences();
    preferences->showLanguages();
    preferences->finishPendingWork();
    QTableView *table = preferences->vocabulariesTableView();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(0, 0)).center());
    ASSERT_TRUE(preferences->minusButton()->isEnabled());

    const QStringList buttons = endAlertOf([&] { QTest::mouseClick(preferences->minusButton(), Qt::LeftButton); });
    preferences->finishPendingWork();

    EXPECT_EQ(buttons.size(), 3);
    EXPECT_TRUE(QFile::exists(vocabularyPath));
    EXPECT_TRUE(QFile::exists(cloud.filePath(QFileInfo(vocabularyPath).fileName())));
    EXPECT_FALSE(Settings(test.installation->defaults()).isLanguageDeleted(u"Spanish - English"_s));
}

TEST_P(DeleteAlertsTest, TwoSelectedWordsStay)
{
    const QAbstractItemModel &words = *list().tableModel();
    list().tableView()->selectionModel()->select(
        QItemSelection(words.index(0, 0), words.index(1, WordTableModel::ColumnCount - 1)),
        QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(list().popover()->isVisible());
    QPushButton *deleteButton = nullptr;
    for (QPushButton *button : list().popover()->findChildren<QPushButton *>()) {
        if (button->text() == StringTables::text(u"delete"_s, u"Vocabulary"_s) && button->isVisible())
            deleteButton = button;
    }
    ASSERT_TRUE(deleteButton);

    const QStringList buttons = endAlertOf([&] { QTest::mouseClick(deleteButton, Qt::LeftButton); });

    EXPECT_EQ(buttons.size(), 2);
    EXPECT_EQ(list().vocabulary()->countAllWords(), 5);
    test.installation->storage().flushSaves();
    EXPECT_EQ(test.installation->storage().vocabularyFromFile(vocabularyPath)->countAllWords(), 5);
}

TEST_P(DeleteAlertsTest, TheDuplicatesStay)
{
    QAction *deleteDuplicates = nullptr;
    for (QAction *menu : window()->menuBar()->actions()) {
        if (!menu->menu())
            continue;
        for (QAction *item : menu->menu()->actions()) {
            if (item->text() == StringTables::text(u"deleteDuplicateWords"_s, u"MainWindow"_s))
                deleteDuplicates = item;
        }
    }
    ASSERT_TRUE(deleteDuplicates);

    const QStringList buttons = endAlertOf([&] { deleteDuplicates->trigger(); });

    EXPECT_EQ(buttons.size(), 2);
    EXPECT_EQ(list().vocabulary()->countAllWords(), 5);
    test.installation->storage().flushSaves();
    EXPECT_EQ(test.installation->storage().vocabularyFromFile(vocabularyPath)->countAllWords(), 5);
}

INSTANTIATE_TEST_SUITE_P(EndedWithoutAClick, DeleteAlertsTest,
                         testing::Values(Ending::Escape, Ending::Return, Ending::Closing, Ending::Quit), endingName);

} // namespace
} // namespace lexi::test
