#include "MainWindowTestSupport.h"

#include "shell/FirstLanguageNames.h"
#include "shell/FirstStartPage.h"
#include "shell/MenuMnemonics.h"
#include "shell/QLXHelpController.h"
#include "support/ConsoleCapture.h"
#include "support/ContrastRatio.h"
#include "support/Screenshots.h"

#include "model/QLXStorageManager.h"
#include "model/sheets/ExportSheet.h"
#include "model/sheets/QLXExportController.h"
#include "model/sheets/QLXImporter.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/CloudFolder.h"
#include "platform/linux/LocaleName.h"
#include "platform/files/StringTables.h"

#include "platform/files/Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <thread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi::test {
namespace {

using Tab = QLXMainWindowController::Tab;

QString displayName(const std::shared_ptr<Lexicarta> &vocabulary)
{
    return vocabulary ? QLXStorageManager::displayNameForVocabulary(*vocabulary) : QString();
}

void setModificationTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

QStringList popupItems(QComboBox *popup)
{
    QStringList items;
    for (int index = 0; index < popup->count(); ++index)
        items.append(popup->itemText(index));
    return items;
}

// A synchronisation's result replaces the file, as its run writes it.
void writeResult(const QString &path, const Lexicarta &result)
{
    ASSERT_TRUE(writeFileAtomically(path, *QLXStorageManager::ownFormatData(VocabularySnapshot(result))));
}

// Every word of a vocabulary as it is stored, one line each ("word ..."), sorted.
QStringList everythingOf(const Lexicarta &vocabulary)
{
    QStringList lines;
    for (const auto &word : vocabulary.allWords()) {
        lines.append(u"word "_s
                     + QString::fromUtf8(QJsonDocument(word->dictionaryRepresentation()).toJson(QJsonDocument::Compact))
                     + u" level "_s + QString::number(word->effectiveLevel()));
    }
    lines.sort();
    return lines;
}

class MainWindowTest : public ::testing::Test
{
protected:
    Defaults &defaults() { return window.test.installation->defaults(); }
    QLXMainWindowController &controller() { return window.controller; }
    QString lastActive() { return defaults().stringForKey(Settings::lastActiveLanguage.name); }
    // A synchronisation ends, and the read of the current file it started, if any, is taken in.
    void finishSync()
    {
        controller().dropboxControllerDidFinishSync();
        controller().finishSynchronisedFileRead();
    }
    // How often the open vocabulary was handed to the list.
    int replacements() const { return window.pages.log.count(u"vocabulary.setVocabulary"_s); }
    QStringList yourWords()
    {
        QStringList words;
        for (const auto &word : controller().currentVocabulary()->allWords())
            words.append(word->yourWord());
        return words;
    }

    TestMainWindow window;
};

TEST_F(MainWindowTest, StartUpOpensTheLastLanguageOrAnotherThatLoads)
{
    const struct
    {
        const char *name;
        std::optional<QString> lastActiveLanguage;
        bool damageSpanish;
        QString expected;
    } cases[] = {
        {"unset", std::nullopt, false, u"?"_s},
        {"existing", u"Spanish - English"_s, false, u"Spanish - English"_s},
        {"missing", u"Italian - English"_s, false, u"?"_s},
        {"outside the folder", u"../Spanish - English"_s, false, u"?"_s},
        {"unloadable", u"Spanish - English"_s, true, u"French - English"_s},
    };
    for (const auto &testCase : cases) {
        TestMainWindow window;
        window.test.saveVocabulary(u"French"_s, u"English"_s);
        const QString spanish = window.test.saveVocabulary(u"Spanish"_s, u"English"_s);
        if (testCase.damageSpanish) {
            QFile file(spanish);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("not a vocabulary");
        }
        Defaults &defaults = window.test.installation->defaults();
        if (testCase.lastActiveLanguage)
            defaults.setString(Settings::lastActiveLanguage.name, *testCase.lastActiveLanguage);
        window.controller.awakeFromNib();

        const QString opened = displayName(window.controller.currentVocabulary());
        if (testCase.expected == u"?"_s)
            EXPECT_TRUE(opened == u"French - English"_s || opened == u"Spanish - English"_s) << testCase.name;
        else
            EXPECT_EQ(opened, testCase.expected) << testCase.name;
        EXPECT_EQ(defaults.stringForKey(Settings::lastActiveLanguage.name), opened) << testCase.name;
        EXPECT_FALSE(window.controller.isInFirstSetupMode()) << testCase.name;
        EXPECT_EQ(window.test.alerts.alerts.size(), testCase.damageSpanish ? 1 : 0) << testCase.name;

        window.test.scheduler.advance(500ms);
        EXPECT_EQ(window.controller.selectedTab(), Tab::vocabularyTab) << testCase.name;
        EXPECT_EQ(window.controller.languagesPopUp()->currentText(), opened) << testCase.name;
    }
}

TEST_F(MainWindowTest, StartsOnTheFirstStartPageWhenNoVocabularyLoads)
{
    const QString ownName = firstLanguageNames(selectedLocaleName(), u"French"_s).yourLanguageName;
    const QString damaged = window.test.vocabularyFolder() + u"/French - "_s + ownName + u".qlxv"_s;
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("damaged");
    file.close();

    controller().awakeFromNib();
    EXPECT_TRUE(controller().isInFirstSetupMode());
    EXPECT_EQ(controller().selectedTab(), Tab::firstStartTab);
    EXPECT_EQ(controller().currentVocabulary(), nullptr);

    // No tab can be opened until a vocabulary exists.
    controller().toolbarItem(Tab::quizTab)->trigger();
    EXPECT_EQ(controller().selectedTab(), Tab::firstStartTab);

    // Naming that language opens nothing and leaves the damaged file for the learner to restore.
    controller().createFirstLanguageWithName(u"French"_s);
    EXPECT_EQ(controller().currentVocabulary(), nullptr);
    QFile check(damaged);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), "damaged");
}

// The cloud side's steps, the current one and the one still ahead, stay readable on the page and
// set apart from each other when the desktop switches to a dark theme and back.
TEST_F(MainWindowTest, TheFirstStartPagesStepsStayReadableWhenTheDesktopSwitchesTheme)
{
    controller().awakeFromNib();
    ASSERT_TRUE(controller().isInFirstSetupMode());
    controller().mainWindow()->show();
    FirstStartPage &page = *controller().firstStartPage();
    const QPalette light = QApplication::palette();
    for (const auto &[name, palette] : {std::pair{"dark", lexi::test::darkPalette()}, std::pair{"light", light}}) {
        SCOPED_TRACE(name);
        QApplication::setPalette(palette);
        QApplication::processEvents();
        const auto onPage = [&page](const QLabel *step) {
            return lexi::test::contrastRatio(step->palette().color(QPalette::WindowText),
                                             page.palette().color(QPalette::Window));
        };
        const double current = onPage(page.firstSyncStep2Label);
        const double ahead = onPage(page.firstSyncStep3Label);
        EXPECT_GE(ahead, 4.5);
        EXPECT_GT(current, ahead + 1.0);
    }
    QApplication::setPalette(light);
}

TEST_F(MainWindowTest, TheFirstLanguageOpensAFileThatExistsInsteadOfSavingOverIt)
{
    controller().awakeFromNib();
    ASSERT_TRUE(controller().isInFirstSetupMode());
    // The first synchronisation brought the language meanwhile.
    const QString ownName = firstLanguageNames(selectedLocaleName(), u"French"_s).yourLanguageName;
    window.test.saveVocabulary(u"French"_s, ownName, 7);

    FirstStartPage *page = controller().firstStartPage();
    EXPECT_FALSE(page->getStartedButton->isEnabled());
    QTest::keyClicks(page->firstLanguageField, u" French"_s);
    ASSERT_TRUE(page->getStartedButton->isEnabled());
    QTest::mouseClick(page->getStartedButton, Qt::LeftButton);

    ASSERT_NE(controller().currentVocabulary(), nullptr);
    EXPECT_EQ(controller().currentVocabulary()->countAllWords(), 7);
    EXPECT_FALSE(controller().isInFirstSetupMode());
    EXPECT_EQ(controller().selectedTab(), Tab::vocabularyTab);
    EXPECT_TRUE(controller().areToolbarItemsEnabled());
    const auto reloaded = window.test.installation->storage().vocabularyFromFile(
        *window.test.installation->storage().savePathForVocabulary(*controller().currentVocabulary()));
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->countAllWords(), 7);
}

TEST_F(MainWindowTest, AFirstLanguageIsSavedEmptyAndNamesThatAreNoFileNameAreRefused)
{
    controller().awakeFromNib();
    for (const QString &name : {u"../French"_s, u"French/Swiss"_s, u".French"_s}) {
        controller().createFirstLanguageWithName(name);
        EXPECT_EQ(controller().currentVocabulary(), nullptr) << name.toStdString();
        EXPECT_TRUE(controller().isInFirstSetupMode()) << name.toStdString();
    }
    ASSERT_EQ(window.test.alerts.alerts.size(), 3);
    EXPECT_EQ(window.test.alerts.alerts[0].title, StringTables::text(u"invalidLanguageName"_s, u"MainWindow"_s));
    EXPECT_TRUE(window.test.alerts.alerts[0].message.contains(u"../French"_s));
    EXPECT_TRUE(QDir(window.test.vocabularyFolder()).isEmpty());

    controller().createFirstLanguageWithName(u"Italian"_s);
    ASSERT_NE(controller().currentVocabulary(), nullptr);
    EXPECT_EQ(controller().currentVocabulary()->foreignLanguageName(), u"Italian"_s);
    window.test.installation->storage().flushSaves();
    EXPECT_TRUE(QFileInfo::exists(
        *window.test.installation->storage().savePathForVocabulary(*controller().currentVocabulary())));
    EXPECT_EQ(popupItems(controller().languagesPopUp()).first(),
              displayName(controller().currentVocabulary()));
}

TEST_F(MainWindowTest, LanguagePopUpListsYoungestFirstAndManageLanguagesKeepsTheSelection)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    const QString spanish = window.test.saveVocabulary(u"Spanish"_s, u"English"_s);
    setModificationTime(french, QDateTime::currentDateTime().addDays(-2));
    setModificationTime(spanish, QDateTime::currentDateTime().addDays(-1));
    defaults().setString(Settings::lastActiveLanguage.name, u"French - English"_s);
    controller().awakeFromNib();

    QComboBox *popup = controller().languagesPopUp();
    const QString manage = StringTables::text(u"Manage Languages..."_s, u"MainWindow"_s);
    EXPECT_EQ(popupItems(popup), (QStringList{u"Spanish - English"_s, u"French - English"_s, QString(), manage}));
    EXPECT_EQ(popup->currentText(), u"French - English"_s);

    window.pages.log.clear();
    popup->setCurrentIndex(popup->count() - 1);
    emit popup->activated(popup->count() - 1);
    EXPECT_EQ(popup->currentText(), u"French - English"_s);
    EXPECT_EQ(controller().selectedTab(), Tab::settingsTab);
    EXPECT_TRUE(window.pages.log.contains(u"preferences.showLanguages"_s));
    EXPECT_EQ(displayName(controller().currentVocabulary()), u"French - English"_s);

    // Choosing another language opens it and remembers it.
    window.pages.log.clear();
    popup->setCurrentIndex(0);
    emit popup->activated(0);
    EXPECT_EQ(displayName(controller().currentVocabulary()), u"Spanish - English"_s);
    EXPECT_EQ(lastActive(), u"Spanish - English"_s);
    EXPECT_TRUE(window.pages.log.contains(u"vocabulary.setVocabulary"_s)) << "every page hears of it from the keeper";
}

TEST_F(MainWindowTest, KeysAndTheWheelOnTheClosedLanguagePopUpNeverSwitchTheVocabulary)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    window.test.saveVocabulary(u"Spanish"_s, u"English"_s);
    controller().awakeFromNib();
    controller().mainWindow()->show();
    QComboBox *popup = controller().languagesPopUp();
    const QString before = displayName(controller().currentVocabulary());
    popup->setFocus();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home, Qt::Key_S, Qt::Key_F}) {
        QTest::keyClick(popup, key);
        popup->hidePopup();
        EXPECT_EQ(displayName(controller().currentVocabulary()), before) << key;
    }
    QWheelEvent wheel(QPointF(5, 5), popup->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(popup, &wheel);
    EXPECT_EQ(displayName(controller().currentVocabulary()), before);
}

TEST_F(MainWindowTest, ALanguageThatFailsToLoadLeavesTheCurrentOne)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    const QString spanish = window.test.saveVocabulary(u"Spanish"_s, u"English"_s);
    defaults().setString(Settings::lastActiveLanguage.name, u"French - English"_s);
    controller().awakeFromNib();
    QFile file(spanish);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("damaged");
    file.close();

    ConsoleCapture console;
    QComboBox *popup = controller().languagesPopUp();
    const int index = popup->findText(u"Spanish - English"_s);
    popup->setCurrentIndex(index);
    emit popup->activated(index);
    EXPECT_EQ(displayName(controller().currentVocabulary()), u"French - English"_s);
    EXPECT_EQ(popup->currentText(), u"French - English"_s);
    EXPECT_EQ(lastActive(), u"French - English"_s);
    EXPECT_EQ(window.test.alerts.alerts.size(), 1);
    EXPECT_TRUE(console.lines().join(u'\n').contains(u"could not be loaded"_s));
}

TEST_F(MainWindowTest, TabSwitchesRunTheirStepsAndADisabledToolbarIgnoresClicks)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    controller().mainWindow()->show();
    window.test.scheduler.advance(500ms);
    const auto clickTab = [&](Tab tab) {
        QWidget *button = controller().toolbar()->widgetForAction(controller().toolbarItem(tab));
        QTest::mouseClick(button, Qt::LeftButton);
    };

    window.pages.log.clear();
    clickTab(Tab::quizTab);
    EXPECT_EQ(controller().selectedTab(), Tab::quizTab);
    EXPECT_EQ(window.pages.log, (QStringList{u"quiz.setPreSelectedWords 0"_s, u"vocabulary.closeAddWordPopover"_s,
                                             u"vocabulary.deselectWords"_s, u"vocabulary.closeHelp"_s,
                                             u"quiz.showQuiz"_s}));
    window.test.scheduler.advance(500ms);
    EXPECT_EQ(window.pages.log.last(), u"quiz.showQuiz"_s);
    EXPECT_EQ(window.pages.log.count(u"quiz.showQuiz"_s), 2);

    // The menu items that act on the vocabulary follow the toolbar.
    const QStringList vocabularyItems{u"addWord"_s, u"deleteDuplicateWords"_s, u"showSynonyms"_s};
    controller().disableAllToolbarItems();
    clickTab(Tab::statisticsTab);
    EXPECT_EQ(controller().selectedTab(), Tab::quizTab);
    EXPECT_FALSE(controller().languagesPopUp()->isEnabled());
    for (const QString &key : vocabularyItems) {
        ASSERT_NE(controller().menuItem(key), nullptr) << key.toStdString();
        EXPECT_FALSE(controller().menuItem(key)->isEnabled()) << key.toStdString();
    }

    controller().enableAllToolbarItems();
    clickTab(Tab::statisticsTab);
    EXPECT_EQ(controller().selectedTab(), Tab::statisticsTab);
    EXPECT_TRUE(controller().languagesPopUp()->isEnabled());
    for (const QString &key : vocabularyItems)
        EXPECT_TRUE(controller().menuItem(key)->isEnabled()) << key.toStdString();
}

TEST_F(MainWindowTest, TheVocabularyHelpIsShownOnceAndClosedByATabSwitch)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    controller().mainWindow()->show();
    window.test.scheduler.advance(500ms);
    QLXHelpController *help = controller().helpController();
    EXPECT_TRUE(help->isShown());
    EXPECT_TRUE(defaults().boolForKey(Settings::hasShownVocabularyHelp.name));

    controller().showQuiz();
    EXPECT_FALSE(help->isShown());
    controller().showVocabulary();
    EXPECT_FALSE(help->isShown());
}

TEST_F(MainWindowTest, ASynchronisationReloadsOnlyAFileThatChangedElsewhere)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    setModificationTime(french, QDateTime::currentDateTime().addSecs(-100));
    controller().awakeFromNib();
    const int opened = replacements();

    finishSync();
    EXPECT_EQ(replacements(), opened);
    EXPECT_TRUE(window.pages.log.contains(u"quiz.quizListsToAskChanged"_s));
    EXPECT_TRUE(window.pages.log.contains(u"preferences.cloudControllerDidSync"_s));

    // The program's own saves (answers in a running quiz) are no reason to reload.
    for (int answer = 0; answer < 3; ++answer) {
        controller().currentVocabulary()->setNeedsSync(true);
        window.test.installation->storage().saveVocabulary(controller().currentVocabulary().get());
        window.test.installation->storage().flushSaves();
        finishSync();
    }
    EXPECT_EQ(replacements(), opened);

    // The synchronisation wrote the file: it is read off the main thread, and the result comes
    // through the event loop.
    const auto merged = window.test.makeVocabulary(u"French"_s, u"English"_s, 5);
    ASSERT_TRUE(window.test.installation->storage().saveVocabularyToQLXVFile(merged.get(), french));
    setModificationTime(french, QDateTime::currentDateTime().addSecs(-50));
    controller().dropboxControllerDidFinishSync();
    EXPECT_EQ(replacements(), opened);
    controller().finishSynchronisedFileRead();
    EXPECT_EQ(replacements(), opened + 1);
    EXPECT_EQ(controller().currentVocabulary()->countAllWords(), 5);
    finishSync();
    EXPECT_EQ(replacements(), opened + 1);
}

TEST_F(MainWindowTest, AFileASynchronisationWroteInTheSecondOfTheLastSaveIsReloaded)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    controller().currentVocabulary()->setNeedsSync(true);
    window.test.installation->storage().saveVocabulary(controller().currentVocabulary().get());
    window.test.installation->storage().flushSaves();

    writeResult(french, *window.test.makeVocabulary(u"French"_s, u"English"_s, 5));
    finishSync();
    EXPECT_EQ(controller().currentVocabulary()->countAllWords(), 5);
}

TEST_F(MainWindowTest, AChangeTheFileDoesNotHoldYetIsMergedWithTheSynchronisationsResult)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    setModificationTime(french, QDateTime::currentDateTime().addSecs(-100));
    controller().awakeFromNib();
    QLXStorageManager &storage = window.test.installation->storage();

    const auto read = storage.vocabularyFromFile(french);
    // The learner adds a word while a synchronisation runs: its save is written, but the main
    // thread has not heard of it yet when the run's result replaces the file.
    controller().currentVocabulary()->addWord(std::make_shared<QLXWord>(u"late"_s, u"sp\u00e4t"_s));
    window.pages.vocabulary->keeper().recordChange();
    std::thread([&storage] { storage.flushSaves(); }).join();
    // The run's result: the file as it read it, with two words from another machine.
    const auto &result = read;
    for (const QString &word : {u"from there"_s, u"also from there"_s})
        result->addWord(std::make_shared<QLXWord>(word, word));
    result->setVersion(4);
    writeResult(french, *result);
    finishSync();

    const auto open = controller().currentVocabulary();
    EXPECT_TRUE(yourWords().contains(u"late"_s)) << yourWords().join(u", "_s).toStdString();
    EXPECT_EQ(open->countAllWords(), 6);
    EXPECT_EQ(open->version(), 4);
    EXPECT_TRUE(open->needsSync());
    // What the file holds once the saves are written.
    QCoreApplication::processEvents();
    storage.flushSaves();
    EXPECT_EQ(storage.vocabularyFromFile(french)->countAllWords(), 6);
}

TEST_F(MainWindowTest, AChangeMadeWhileTheSynchronisedFileIsReadIsKept)
{
    // The result is read, and waits for the learner's quiz to end; meanwhile an answer changes
    // the vocabulary, and its save is written over the result or is still on its way.
    for (const bool answerSaved : {true, false}) {
        SCOPED_TRACE(answerSaved ? "the answer's save is written" : "the answer's save is on its way");
        TestMainWindow window;
        const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
        window.controller.awakeFromNib();
        QLXStorageManager &storage = window.test.installation->storage();
        const auto result = storage.vocabularyFromFile(french);
        for (const QString &word : {u"from there"_s, u"also from there"_s})
            result->addWord(std::make_shared<QLXWord>(word, word));
        result->setVersion(4);
        writeResult(french, *result);

        window.controller.dropboxControllerDidFinishSync();
        window.pages.quiz->isRunning = true;
        window.controller.finishSynchronisedFileRead();
        window.controller.currentVocabulary()->addWord(std::make_shared<QLXWord>(u"late"_s, u"sp\u00e4t"_s));
        window.pages.vocabulary->keeper().recordChange();
        if (answerSaved)
            storage.flushSaves();
        window.pages.quiz->endRun();

        const auto open = window.controller.currentVocabulary();
        QStringList words;
        for (const auto &word : open->allWords())
            words.append(word->yourWord());
        for (const QString &word : {u"late"_s, u"from there"_s, u"also from there"_s})
            EXPECT_TRUE(words.contains(word)) << word.toStdString() << " in " << words.join(u", "_s).toStdString();
        EXPECT_EQ(open->countAllWords(), 6);
        EXPECT_TRUE(open->needsSync());
        QCoreApplication::processEvents();
        storage.flushSaves();
        EXPECT_EQ(storage.vocabularyFromFile(french)->countAllWords(), 6);
    }
}

TEST_F(MainWindowTest, AChangeMadeAfterTheResultWasMergedOffTheMainThreadIsKept)
{
    // The vocabulary changed before the synchronisation ended, so its result is merged into a copy
    // of it on the worker; that merge is done while a quiz runs, and the learner's answer then
    // changes the vocabulary before the result is taken in.
    const auto word = [](const Lexicarta &vocabulary, const QString &yourWord) {
        for (const auto &candidate : vocabulary.allWords()) {
            if (candidate->yourWord() == yourWord)
                return candidate;
        }
        return std::shared_ptr<QLXWord>();
    };
    const std::vector<std::pair<const char *, std::function<void(Lexicarta &)>>> changes = {
        {"a word added", [](Lexicarta &open) { open.addWord(std::make_shared<QLXWord>(u"later"_s, u"sp\u00e4ter"_s)); }},
        {"a word deleted", [&](Lexicarta &open) { open.removeWord(word(open, u"late"_s)); }},
        {"an answer", [&](Lexicarta &open) { open.answeredWord(*word(open, u"late"_s), 1); }},
        {"a comment", [&](Lexicarta &open) { word(open, u"late"_s)->setComment(u"not early"_s); }},
    };
    for (const auto &[name, change] : changes) {
        SCOPED_TRACE(name);
        TestMainWindow window;
        const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
        window.controller.awakeFromNib();
        QLXStorageManager &storage = window.test.installation->storage();
        const auto result = storage.vocabularyFromFile(french);
        for (const QString &fromThere : {u"from there"_s, u"also from there"_s})
            result->addWord(std::make_shared<QLXWord>(fromThere, fromThere));
        result->setVersion(4);
        // The learner's word is saved, but the main thread has not heard of it yet when the run's
        // result replaces the file.
        const auto open = window.controller.currentVocabulary();
        open->addWord(std::make_shared<QLXWord>(u"late"_s, u"sp\u00e4t"_s));
        window.pages.vocabulary->keeper().recordChange();
        std::thread([&storage] { storage.flushSaves(); }).join();
        writeResult(french, *result);

        window.controller.dropboxControllerDidFinishSync();
        window.pages.quiz->isRunning = true;
        window.controller.finishSynchronisedFileRead();
        change(*open);
        window.pages.vocabulary->keeper().recordChange();
        const QStringList changed = everythingOf(*open);
        window.pages.quiz->endRun();

        ASSERT_EQ(window.controller.currentVocabulary(), open);
        // Merged here instead: what the learner changed stays as it was, with the result's words.
        QStringList expected = changed;
        expected.removeIf([](const QString &line) { return !line.startsWith(u"word "_s); });
        QStringList now = everythingOf(*open);
        now.removeIf([](const QString &line) { return !line.startsWith(u"word "_s); });
        for (const QString &line : std::as_const(expected))
            EXPECT_TRUE(now.contains(line)) << line.toStdString();
        for (const QString &fromThere : {u"from there"_s, u"also from there"_s})
            EXPECT_TRUE(word(*open, fromThere)) << fromThere.toStdString();
        EXPECT_EQ(now.size(), expected.size() + 2);
        EXPECT_EQ(open->version(), 4);
        EXPECT_TRUE(open->needsSync());
        // The file holds the same once the saves are written.
        QCoreApplication::processEvents();
        storage.flushSaves();
        const auto saved = storage.vocabularyFromFile(french);
        QStringList savedWords = everythingOf(*saved);
        savedWords.removeIf([](const QString &line) { return !line.startsWith(u"word "_s); });
        EXPECT_EQ(savedWords, now);
    }
}

TEST_F(MainWindowTest, AnOlderReadIsNeverTakenInOverANewerFile)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    int taken = replacements();

    // Two synchronisations end before the first one's read is taken in: only the newer file comes in.
    writeResult(french, *window.test.makeVocabulary(u"French"_s, u"English"_s, 5));
    controller().dropboxControllerDidFinishSync();
    writeResult(french, *window.test.makeVocabulary(u"French"_s, u"English"_s, 7));
    controller().dropboxControllerDidFinishSync();
    controller().finishSynchronisedFileRead();
    EXPECT_EQ(replacements(), taken + 1);
    EXPECT_EQ(controller().currentVocabulary()->countAllWords(), 7);
    taken = replacements();

    // A read waits for a quiz to end, and the file is written again before it does: what was
    // read is out of date, and the file is read anew.
    writeResult(french, *window.test.makeVocabulary(u"French"_s, u"English"_s, 8));
    controller().dropboxControllerDidFinishSync();
    window.pages.quiz->isRunning = true;
    controller().finishSynchronisedFileRead();
    writeResult(french, *window.test.makeVocabulary(u"French"_s, u"English"_s, 9));
    window.pages.quiz->endRun();
    controller().finishSynchronisedFileRead();
    EXPECT_EQ(replacements(), taken + 1);
    EXPECT_EQ(controller().currentVocabulary()->countAllWords(), 9);
}

TEST_F(MainWindowTest, ADamagedSynchronisedFileLeavesTheOpenVocabularyAndIsToldOnce)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    const auto open = controller().currentVocabulary();
    ASSERT_TRUE(lexi::writeFileAtomically(french, QByteArray("BZh9 damaged")));

    finishSync();
    EXPECT_EQ(controller().currentVocabulary(), open);
    EXPECT_EQ(open->countAllWords(), 3);
    EXPECT_EQ(window.test.alerts.alerts.size(), 1);
    finishSync();
    EXPECT_EQ(window.test.alerts.alerts.size(), 1) << "the same damaged file is not read again";
}

TEST_F(MainWindowTest, AChangedFileIsTakenInOnlyAfterARunningQuizEnds)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    setModificationTime(french, QDateTime::currentDateTime().addSecs(-100));
    controller().awakeFromNib();
    const int opened = replacements();

    window.pages.quiz->isRunning = true;
    const auto merged = window.test.makeVocabulary(u"French"_s, u"English"_s, 5);
    ASSERT_TRUE(window.test.installation->storage().saveVocabularyToQLXVFile(merged.get(), french));
    setModificationTime(french, QDateTime::currentDateTime().addSecs(-50));
    finishSync();
    EXPECT_EQ(replacements(), opened) << "the quiz keeps the words it asks";
    EXPECT_TRUE(window.pages.log.contains(u"quiz.quizListsToAskChanged"_s));

    window.pages.quiz->endRun();
    controller().finishSynchronisedFileRead();
    EXPECT_EQ(replacements(), opened + 1);
    EXPECT_EQ(controller().currentVocabulary()->countAllWords(), 5);
}

TEST_F(MainWindowTest, ASynchronisationResultWaitsWhileADialogIsOpen)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    controller().mainWindow()->show();
    setModificationTime(french, QDateTime::currentDateTime().addSecs(-50));
    const int opened = replacements();

    QDialog sheet(controller().mainWindow());
    sheet.open();
    ASSERT_TRUE(ModalWatch::isModalOpen());
    finishSync();
    EXPECT_EQ(replacements(), opened);
    window.test.scheduler.advance(1s);
    controller().finishSynchronisedFileRead();
    EXPECT_EQ(replacements(), opened);

    sheet.close();
    window.test.scheduler.advance(ModalWatch::retryInterval);
    controller().finishSynchronisedFileRead();
    EXPECT_EQ(replacements(), opened + 1);
}

TEST_F(MainWindowTest, LinkingOnTheFirstStartPageStartsASynchronisationAndGetStartedOpensItsFirstFile)
{
    controller().awakeFromNib();
    FirstStartPage *page = controller().firstStartPage();
    EXPECT_TRUE(page->firstSyncLinkDBButton->isEnabled());
    EXPECT_TRUE(page->firstSyncGetStartedButton->isHidden());

    controller().dropboxControllerDidLinkSuccessfully();
    EXPECT_FALSE(page->firstSyncLinkDBButton->isEnabled());
    EXPECT_FALSE(page->firstSyncStep2Check->isHidden());

    // Nothing came: the learner is told, and can link again.
    controller().dropboxControllerDidFinishSync();
    EXPECT_FALSE(page->firstSyncGetStartedButton->isHidden());
    controller().getStartedAfterSync();
    ASSERT_EQ(window.test.alerts.alerts.size(), 1);
    EXPECT_EQ(window.test.alerts.alerts[0].title, StringTables::text(u"noLangsOnDB"_s, u"MainWindow"_s));
    EXPECT_TRUE(page->firstSyncLinkDBButton->isEnabled());
    EXPECT_TRUE(controller().isInFirstSetupMode());

    window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().getStartedAfterSync();
    EXPECT_EQ(displayName(controller().currentVocabulary()), u"French - English"_s);
    EXPECT_FALSE(controller().isInFirstSetupMode());
    EXPECT_EQ(controller().selectedTab(), Tab::vocabularyTab);
}

TEST_F(MainWindowTest, HelpMenuOpensTheSupportPageAndTheDataFolder)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    controller().visitSupport();
    controller().goToAppSupportFolder();
    ASSERT_EQ(window.test.workspace.openedAddresses.size(), 1);
    EXPECT_EQ(window.test.workspace.openedAddresses[0].scheme(), u"https"_s);
    EXPECT_EQ(window.test.workspace.openedFolders,
              QStringList{window.test.installation->folders().applicationSupportFolder()});
}

TEST_F(MainWindowTest, EveryTextComesFromTheStringTables)
{
    controller().awakeFromNib();
    const auto isKey = [](const QString &text) {
        return !text.isEmpty() && !text.contains(u' ') && text.front().isLower();
    };
    for (QAction *item : controller().mainWindow()->findChildren<QAction *>()) {
        if (!item->isSeparator() && !item->text().isEmpty()) {
            EXPECT_FALSE(isKey(item->text())) << item->text().toStdString();
        }
    }
    for (QLabel *label : controller().firstStartPage()->findChildren<QLabel *>()) {
        if (label->pixmap().isNull()) {
            EXPECT_FALSE(label->text().isEmpty() || isKey(label->text())) << label->text().toStdString();
        }
    }
}

TEST_F(MainWindowTest, ImportAndExportShowWithTheVocabularyPageAndHaveTheirShortcuts)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    EXPECT_FALSE(controller().importButton()->isVisible());
    EXPECT_FALSE(controller().exportButton()->isVisible());
    EXPECT_FALSE(controller().importMenuItem()->isEnabled());
    EXPECT_FALSE(controller().exportMenuItem()->isEnabled());
    EXPECT_EQ(controller().importMenuItem()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_EQ(controller().exportMenuItem()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(controller().importMenuItem()->text(), StringTables::text(u"import…"_s, u"MainWindow"_s));
    EXPECT_EQ(controller().exportButton()->text(), StringTables::text(u"export"_s, u"MainWindow"_s));
    for (QAction *button : {controller().importButton(), controller().exportButton()})
        EXPECT_FALSE(button->icon().pixmap(32).isNull()) << "the toolbar button shows its picture";

    window.test.scheduler.advance(500ms);
    for (QAction *item : {controller().importButton(), controller().exportButton(), controller().importMenuItem(),
                          controller().exportMenuItem()}) {
        EXPECT_TRUE(item->isVisible());
        EXPECT_TRUE(item->isEnabled());
    }
}

TEST_F(MainWindowTest, AnImportIsMarkedSavedAndSynchronisedAndANewLanguageJoinsThePopUp)
{
    const QString french = window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    window.test.scheduler.advance(500ms);
    controller().mainWindow()->show();
    const QString text = window.test.folder.filePath(u"words.csv"_s);
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("dog,chien\n");
    file.close();

    controller().importMenuItem()->trigger();
    ASSERT_TRUE(window.test.fileChooser.isOpen());
    window.test.fileChooser.answer(text);
    controller().importer()->finishPendingWork();
    ASSERT_TRUE(controller().importer()->textPanel()->isVisible());
    window.pages.log.clear();
    QTest::mouseClick(controller().importer()->textPanel()->importButton(), Qt::LeftButton);
    controller().importer()->finishPendingWork();
    EXPECT_TRUE(window.pages.log.contains(u"vocabulary.showVocabulary"_s));
    window.test.installation->storage().flushSaves();
    const std::shared_ptr<Lexicarta> saved = window.test.installation->storage().vocabularyFromFile(french);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->containsWordEqualTo(QLXWord(u"dog"_s, u"chien"_s)));
    EXPECT_TRUE(saved->needsSync());

    const std::shared_ptr<Lexicarta> italian = window.test.makeVocabulary(u"Italian"_s, u"English"_s, 2);
    const QString file2 = window.test.folder.filePath(u"Italian.qlxv"_s);
    ASSERT_TRUE(window.test.installation->storage().saveVocabularyToQLXVFile(italian.get(), file2));
    controller().importButton()->trigger();
    window.test.fileChooser.answer(file2);
    controller().importer()->finishPendingWork();
    ASSERT_TRUE(controller().importer()->vocabularyPanel()->isVisible());
    QTest::mouseClick(controller().importer()->vocabularyPanel()->importButton(), Qt::LeftButton);
    controller().importer()->finishPendingWork();
    EXPECT_TRUE(popupItems(controller().languagesPopUp()).contains(u"Italian - "_s + selectedLocaleName()));
    EXPECT_EQ(displayName(controller().currentVocabulary()), u"French - English"_s);
}

TEST_F(MainWindowTest, TheExportSheetIsMadeAtItsFirstUse)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    window.test.scheduler.advance(500ms);
    controller().mainWindow()->show();
    EXPECT_FALSE(controller().exporter());
    controller().exportMenuItem()->trigger();
    ASSERT_TRUE(controller().exporter());
    EXPECT_TRUE(controller().exporter()->sheet()->isVisible());
    EXPECT_TRUE(ModalWatch::isModalOpen());
    controller().exporter()->cancel();
    EXPECT_FALSE(ModalWatch::isModalOpen());
}

} // namespace
TEST(MenuMnemonicsTest, EachTitleTakesItsFirstLetterNoEarlierTitleTook)
{
    const struct
    {
        QStringList titles, marked;
    } cases[] = {
        {{u"File"_s, u"Edit"_s, u"View"_s, u"Window"_s, u"Help"_s},
         {u"&File"_s, u"&Edit"_s, u"&View"_s, u"&Window"_s, u"&Help"_s}},
        {{u"Fichier"_s, u"Fenêtre"_s, u"Format"_s, u"aide"_s}, {u"&Fichier"_s, u"F&enêtre"_s, u"F&ormat"_s, u"&aide"_s}},
        {{u"Tools & More"_s, u"T"_s, u"…"_s}, {u"&Tools && More"_s, u"T"_s, u"…"_s}},
    };
    for (const auto &test : cases)
        EXPECT_EQ(lexi::withMnemonics(test.titles), test.marked) << test.titles.join(u", "_s).toStdString();
}

TEST_F(MainWindowTest, AltAndTheFirstLetterOpensAMenu)
{
    window.test.saveVocabulary(u"French"_s, u"English"_s);
    controller().awakeFromNib();
    QMainWindow *mainWindow = controller().mainWindow();
    mainWindow->show();
    mainWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow));
    QMenu *file = nullptr;
    for (QAction *menu : mainWindow->menuBar()->actions()) {
        if (menu->menu() && menu->text() == u"&File"_s)
            file = menu->menu();
    }
    ASSERT_NE(file, nullptr);
    QTest::keyClick(mainWindow, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    EXPECT_FALSE(file->isVisible());
}

} // namespace
