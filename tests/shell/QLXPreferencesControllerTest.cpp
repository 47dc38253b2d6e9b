#include "ShellTestSupport.h"

#include "support/ContrastRatio.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingKeeper.h"
#include "support/ScriptedInputSources.h"
#include "support/Screenshots.h"

#include "analytics/AnalyticsTestSupport.h"
#include "platform/files/Settings.h"
#include "shell/QLXColorButton.h"
#include "shell/QLXLanguageSheet.h"
#include "shell/QLXPreferencesController.h"
#include "shell/QLXPreferencesDelegate.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXColorTheme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class RecordingPreferencesDelegate final : public QLXPreferencesDelegate
{
public:
    void preferencesDidChangeVocabularyAtPath(const QString &path) override { calls.append(u"changed "_s + path); }
    void preferencesDidDeleteVocabularyAtPath(const QString &path) override { calls.append(u"deleted "_s + path); }

    QStringList calls;
};

class QLXPreferencesControllerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // This machine's keyboards: US English and French, the first one current.
        keyboards.sources = {{u"xkb:us"_s, u"English (US)"_s}, {u"xkb:fr"_s, u"French"_s}};
        keyboards.current = keyboards.sources.front();
        ASSERT_TRUE(client.initWithProjectId(u"project"_s, u"writeKey"_s, u"readKey"_s));
    }

    // The preferences as the main window shows them, once their table is read.
    QLXPreferencesController &show()
    {
        QLXPreferencesController::Environment environment = languages.preferencesEnvironment(keyboards, theme);
        environment.analytics = &client;
        environment.openUrl = [this](const QUrl &url) { openedUrls.append(url); };
        preferences = std::make_unique<QLXPreferencesController>(environment);
        preferences->setDelegate(&delegate);
        preferences->resize(820, 560);
        preferences->show();
        preferences->finishPendingWork();
        return *preferences;
    }

    QStringList tableRows() const
    {
        QStringList rows;
        const QAbstractItemModel &model = *preferences->vocabulariesTableView()->model();
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model.columnCount(); ++column)
                cells.append(model.index(row, column).data().toString());
            rows.append(cells.join(u" | "_s));
        }
        return rows;
    }

    // Clicks a check box or radio button where the learner does: on its box.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    void selectRow(int row)
    {
        QTableView *table = preferences->vocabulariesTableView();
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    QString cloudFolder() const { return languages.cloudFolder.path(); }

    QStringList alertTitles() const
    {
        QStringList titles;
        for (const lexi::Alert &alert : here.alerts.alerts)
            titles.append(alert.title);
        return titles;
    }

    lexi::test::LanguagesInstallation languages;
    lexi::test::SyncInstallation &here = languages.here;
    lexi::test::AnalyticsInstallation analytics;
    ANClient client{analytics.environment()};
    lexi::test::ScriptedInputSources keyboards;
    QLXColorTheme theme{here.defaults};
    RecordingPreferencesDelegate delegate;
    QList<QUrl> openedUrls;
    std::unique_ptr<QLXPreferencesController> preferences;
};

TEST_F(QLXPreferencesControllerTest, TheOptionsShowAndStoreTheSettings)
{
    lexi::Settings(here.defaults).setValue(lexi::Settings::switchKeyboardCommentToForeign, true);
    show();
    EXPECT_EQ(preferences->currentPage(), 0);
    EXPECT_TRUE(preferences->generalButton()->isChecked());
    EXPECT_FALSE(preferences->showCommentWithQuestionCheckBox()->isChecked());
    EXPECT_EQ(preferences->tagsKeyboardSwitchPopUp()->currentIndex(), 0);
    EXPECT_EQ(preferences->commentKeyboardSwitchPopUp()->currentIndex(), 1);
    EXPECT_FALSE(preferences->sendStatisticsCheckBox()->isChecked());

    click(preferences->showCommentWithQuestionCheckBox());
    QTest::keyClick(preferences->tagsKeyboardSwitchPopUp(), Qt::Key_Down);
    QTest::keyClick(preferences->commentKeyboardSwitchPopUp(), Qt::Key_Up);

    const lexi::Settings settings(here.defaults);
    EXPECT_TRUE(settings.value(lexi::Settings::showCommentWithQuestion));
    EXPECT_TRUE(settings.value(lexi::Settings::switchKeyboardTagsToForeign));
    EXPECT_FALSE(settings.value(lexi::Settings::switchKeyboardCommentToForeign));
}

TEST_F(QLXPreferencesControllerTest, TheColourChoiceIsKeptAndPaintsEveryBackground)
{
    show();
    QLXBookmarkView quizBackground(theme);
    quizBackground.resize(20, 20);
    for (qint64 index = 0; index < 6; ++index)
        EXPECT_EQ(preferences->colorButton(index)->color(), QLXColorTheme::standardColor(index)) << index;
    QTest::mouseClick(preferences->colorButton(3), Qt::LeftButton);

    EXPECT_EQ(lexi::Settings(here.defaults).value(lexi::Settings::backgroundColor), 3);
    const QPoint belowTheButtons(4, preferences->bookmarkView()->height() - 4);
    const QRgb green = QLXColorTheme::standardColor(3).rgb();
    EXPECT_EQ(preferences->bookmarkView()->grab().toImage().pixel(belowTheButtons), green);
    EXPECT_EQ(quizBackground.grab().toImage().pixel(10, 10), green);
}

TEST_F(QLXPreferencesControllerTest, TheStatisticsCheckBoxReportsEveryChange)
{
    show();
    click(preferences->sendStatisticsCheckBox());
    EXPECT_TRUE(lexi::Settings(here.defaults).isUsageStatisticsOptedIn());
    click(preferences->sendStatisticsCheckBox());
    EXPECT_FALSE(lexi::Settings(here.defaults).isUsageStatisticsOptedIn());

    lexi::test::SqliteFile events(analytics.databasePath());
    EXPECT_EQ(events.integer("SELECT count(*) FROM events WHERE collection = 'statisticsStatus';"), 2);

    // Shown again, the check box says what was chosen.
    preferences->showPreferences();
    EXPECT_FALSE(preferences->sendStatisticsCheckBox()->isChecked());
}

TEST_F(QLXPreferencesControllerTest, TheTableListsTheVocabulariesAndTheLastCannotBeDeleted)
{
    auto vocabulary = Lexicarta::create(here.services);
    vocabulary->setForeignLanguageName(u"French"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    vocabulary->addWord(std::make_shared<QLXWord>(u"cat"_s, u"chat"_s));
    vocabulary->setYourTextInputSourceId(u"xkb:us"_s);
    vocabulary->setForeignTextInputSourceId(u"xkb:fr"_s);
    here.storage.saveVocabulary(vocabulary.get());
    here.storage.flushSaves();
    show().showLanguages();

    EXPECT_EQ(preferences->currentPage(), 1);
    EXPECT_EQ(tableRows(), QStringList{u"French - English | 1 | English (US) | French"_s});
    EXPECT_FALSE(preferences->minusButton()->isEnabled());
    EXPECT_FALSE(preferences->editShowButton()->isEnabled());
    selectRow(0);
    EXPECT_FALSE(preferences->minusButton()->isEnabled());
    EXPECT_TRUE(preferences->editShowButton()->isEnabled());

    languages.addVocabulary(u"German"_s, u"English"_s, {u"Hund"_s, u"Katze"_s});
    preferences->showLanguages();
    preferences->finishPendingWork();
    EXPECT_EQ(tableRows(), (QStringList{u"French - English | 1 | English (US) | French"_s,
                                        u"German - English | 2 |  | "_s}));
    EXPECT_EQ(preferences->allVocsCountIncludingInvisibles(), 2);
    EXPECT_TRUE(preferences->minusButton()->isEnabled());
}

// The open vocabulary is listed as it is now, not as its file was saved; and a page that was
// never on screen reads no file.
TEST_F(QLXPreferencesControllerTest, TheOpenVocabularyIsListedAsItIsAndFilesAreReadOnlyOnScreen)
{
    languages.addVocabulary(u"German"_s, u"English"_s, {u"Hund"_s, u"Katze"_s});
    const auto open = Lexicarta::create(here.services);
    open->setForeignLanguageName(u"French"_s);
    open->setYourLanguageName(u"English"_s);
    open->addWord(std::make_shared<QLXWord>(u"cat"_s, u"chat"_s));
    here.storage.saveVocabulary(open.get());
    here.storage.flushSaves();
    open->addWord(std::make_shared<QLXWord>(u"dog"_s, u"chien"_s));
    lexi::test::RecordingKeeper keeping;
    keeping.keeper.setVocabulary(open);
    QLXPreferencesController::Environment environment = languages.preferencesEnvironment(keyboards, theme);
    environment.keeper = &keeping.keeper;
    preferences = std::make_unique<QLXPreferencesController>(environment);
    preferences->resize(820, 560);
    preferences->finishPendingWork();
    EXPECT_EQ(tableRows(), QStringList());

    preferences->show();
    preferences->finishPendingWork();
    preferences->showLanguages();
    EXPECT_EQ(tableRows(), (QStringList{u"French - English | 2 |  | "_s, u"German - English | 2 |  | "_s}));
}

TEST_F(QLXPreferencesControllerTest, TheSheetStaysOpenOnRefusedNamesAndClosesOnceSaved)
{
    languages.addVocabulary(u"French"_s, u"English"_s);
    show().showLanguages();

    QTest::mouseClick(preferences->plusButton(), Qt::LeftButton);
    QLXLanguageSheet *sheet = preferences->editLangPanel();
    ASSERT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->editLangNameTextField()->text(), u"New Language"_s);
    EXPECT_EQ(sheet->editButton()->text(), u"Add"_s);

    sheet->editLangNameTextField()->clear();
    sheet->editYourLangNameTextField()->clear();
    QTest::mouseClick(sheet->editButton(), Qt::LeftButton);
    preferences->finishPendingWork();
    EXPECT_EQ(alertTitles(), QStringList{u"Same language names"_s});
    EXPECT_TRUE(sheet->isVisible());

    QTest::keyClicks(sheet->editLangNameTextField(), u"Italian"_s);
    QTest::keyClicks(sheet->editYourLangNameTextField(), u"English"_s);
    sheet->editForeignKeyboardPopUp()->setCurrentIndex(1);
    QTest::mouseClick(sheet->editButton(), Qt::LeftButton);
    // While it is saved, the sheet cannot be cancelled.
    EXPECT_FALSE(sheet->editButton()->isEnabled());
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(sheet->isVisible());
    preferences->finishPendingWork();

    const QString saved = here.vocabularyPath(u"Italian - English.qlxv"_s);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(delegate.calls, QStringList{u"changed "_s + saved});
    EXPECT_EQ(here.storage.vocabularyFromFile(saved)->foreignTextInputSourceId(), u"xkb:fr"_s);
    EXPECT_EQ(tableRows().size(), 2);
}

TEST_F(QLXPreferencesControllerTest, ReturnInTheSheetConfirmsAndEscapeCancels)
{
    languages.addVocabulary(u"French"_s, u"English"_s);
    show().showLanguages();

    QTest::mouseClick(preferences->plusButton(), Qt::LeftButton);
    QLXLanguageSheet *sheet = preferences->editLangPanel();
    ASSERT_TRUE(sheet->isVisible());
    sheet->activateWindow();
    QTest::keyClick(sheet->editLangNameTextField(), Qt::Key_Escape);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(here.vocabularyFiles() == QStringList{u"French - English.qlxv"_s});

    QTest::mouseClick(preferences->plusButton(), Qt::LeftButton);
    ASSERT_TRUE(sheet->isVisible());
    sheet->activateWindow();
    sheet->editLangNameTextField()->clear();
    QTest::keyClicks(sheet->editLangNameTextField(), u"Italian"_s);
    // Tab to the next field as a learner does, then Return.
    QTest::keyClick(sheet->editLangNameTextField(), Qt::Key_Tab);
    ASSERT_EQ(sheet->focusWidget(), sheet->editYourLangNameTextField());
    sheet->editYourLangNameTextField()->selectAll();
    QTest::keyClicks(sheet->editYourLangNameTextField(), u"English"_s);
    QTest::keyClick(sheet->focusWidget(), Qt::Key_Return);
    preferences->finishPendingWork();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(here.vocabularyFiles().contains(u"Italian - English.qlxv"_s)) << here.vocabularyFiles().join(u", "_s).toStdString();
}

TEST_F(QLXPreferencesControllerTest, ASaveThatFailsIsShownAndReportsNoChange)
{
    languages.addVocabulary(u"French"_s, u"English"_s);
    show().showLanguages();
    preferences->showAddLangPanel();
    {
        const lexi::test::FileSizeLimit fullDisk(16);
        QTest::mouseClick(preferences->editLangPanel()->editButton(), Qt::LeftButton);
        preferences->finishPendingWork();
    }
    EXPECT_TRUE(alertTitles().contains(u"Could not save"_s)) << alertTitles().join(u", "_s).toStdString();
    EXPECT_FALSE(preferences->editLangPanel()->isVisible());
    EXPECT_EQ(delegate.calls, QStringList());
    EXPECT_EQ(here.vocabularyFiles(), QStringList{u"French - English.qlxv"_s});
}

TEST_F(QLXPreferencesControllerTest, EditingKeepsAKeyboardThisMachineLacks)
{
    auto vocabulary = Lexicarta::create(here.services);
    vocabulary->setForeignLanguageName(u"Czech"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    vocabulary->setForeignTextInputSourceId(u"com.apple.keylayout.Czech"_s);
    vocabulary->setIsAutoSelectInputSource(false);
    here.storage.saveVocabulary(vocabulary.get());
    here.storage.flushSaves();
    show().showLanguages();
    selectRow(0);

    QTest::mouseClick(preferences->editShowButton(), Qt::LeftButton);
    QLXLanguageSheet *sheet = preferences->editLangPanel();
    ASSERT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->editButton()->text(), u"Save"_s);
    EXPECT_EQ(sheet->editForeignKeyboardPopUp()->currentText(), u"(unchanged)"_s);
    EXPECT_EQ(sheet->editYourKeyboardPopUp()->currentText(), u"English (US)"_s);
    EXPECT_FALSE(sheet->editForeignKeyboardPopUp()->isEnabled());
    click(sheet->editEnableAutoInputCheckBox());
    EXPECT_TRUE(sheet->editForeignKeyboardPopUp()->isEnabled());

    QTest::mouseClick(sheet->editButton(), Qt::LeftButton);
    preferences->finishPendingWork();
    const auto edited = here.load(u"Czech - English.qlxv"_s);
    EXPECT_EQ(edited->foreignTextInputSourceId(), u"com.apple.keylayout.Czech"_s);
    EXPECT_EQ(edited->yourTextInputSourceId(), u"xkb:us"_s);
    EXPECT_TRUE(edited->isAutoSelectInputSource());
}

TEST_F(QLXPreferencesControllerTest, DeletingTellsTheMainWindowAndTheLastDeletionOpensTheSheet)
{
    const QString french = languages.addVocabulary(u"French"_s, u"English"_s);
    const QString german = languages.addVocabulary(u"German"_s, u"English"_s);
    show().showLanguages();
    selectRow(0);
    here.alerts.answers.push_back(2);
    QTest::mouseClick(preferences->minusButton(), Qt::LeftButton);
    preferences->finishPendingWork();

    EXPECT_EQ(delegate.calls, QStringList{u"deleted "_s + french});
    EXPECT_EQ(here.alerts.alerts.size(), 1);
    EXPECT_EQ(tableRows(), QStringList{u"German - English | 0 |  | "_s});
    EXPECT_FALSE(preferences->minusButton()->isEnabled());

    // When the last one goes (another one went behind the table's back), the sheet for a new
    // language follows a second later.
    const QString spanish = languages.addVocabulary(u"Spanish"_s, u"English"_s);
    preferences->showLanguages();
    preferences->finishPendingWork();
    selectRow(0);
    QFile::remove(spanish);
    here.alerts.answers.push_back(1);
    preferences->activateWindow();
    preferences->vocabulariesTableView()->setFocus();
    QTest::keyClick(preferences->vocabulariesTableView(), Qt::Key_Delete);
    EXPECT_EQ(delegate.calls.last(), u"deleted "_s + german);
    EXPECT_EQ(here.vocabularyFiles(), QStringList());
    here.scheduler.advance(std::chrono::milliseconds(999));
    EXPECT_FALSE(preferences->editLangPanel()->isVisible());
    here.scheduler.advance(std::chrono::milliseconds(1));
    EXPECT_TRUE(preferences->editLangPanel()->isVisible());
    EXPECT_EQ(preferences->editLangPanel()->editButton()->text(), u"Add"_s);
}

// A learner on the keyboard gets from the table to its buttons and back with Tab and Shift+Tab.
TEST_F(QLXPreferencesControllerTest, TabLeavesTheLanguagesTableForItsButtonsAndShiftTabComesBack)
{
    languages.addVocabulary(u"French"_s, u"English"_s);
    languages.addVocabulary(u"German"_s, u"English"_s);
    show().showLanguages();
    selectRow(0);
    preferences->activateWindow();
    QTableView *table = preferences->vocabulariesTableView();
    table->setFocus();
    ASSERT_TRUE(table->hasFocus());
    const struct
    {
        Qt::Key key;
        QWidget *focus;
        const char *name;
    } steps[] = {
        {Qt::Key_Tab, preferences->plusButton(), "add"},        {Qt::Key_Tab, preferences->minusButton(), "delete"},
        {Qt::Key_Tab, preferences->editShowButton(), "edit"},   {Qt::Key_Backtab, preferences->minusButton(), "delete"},
        {Qt::Key_Backtab, preferences->plusButton(), "add"},    {Qt::Key_Backtab, table, "table"},
    };
    for (const auto &step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_EQ(QApplication::focusWidget(), step.focus) << step.name;
    }
    EXPECT_EQ(table->currentIndex().row(), 0) << "Tab moves no selection inside the table";
}

// Every text of the three pages and of the language sheet, the greyed explanations included, reads
// at the 4.5:1 of body text, in the light palette and after the desktop switched to a dark one.
TEST_F(QLXPreferencesControllerTest, EveryTextReadsAsBodyTextInALightAndADarkPalette)
{
    languages.addVocabulary(u"French"_s, u"English"_s);
    show().showLanguages();
    selectRow(0);
    preferences->showEditLangPanel();
    ASSERT_TRUE(preferences->editLangPanel()->isVisible());
    const QPalette light = QApplication::palette();
    for (const auto &[palette, name] : {std::pair{light, "light"}, std::pair{lexi::test::darkPalette(), "dark"}}) {
        QApplication::setPalette(palette);
        QApplication::processEvents();
        const auto sheet = lexi::test::leastReadableLabel(*preferences->editLangPanel());
        EXPECT_GE(sheet.ratio, 4.5) << name << " sheet: " << qPrintable(sheet.text);
        for (const auto &[page, pageName] : {std::pair{&QLXPreferencesController::showGeneral, "general"},
                                             std::pair{&QLXPreferencesController::showLanguages, "languages"},
                                             std::pair{&QLXPreferencesController::showSyncing, "syncing"}}) {
            (preferences.get()->*page)();
            const auto least = lexi::test::leastReadableLabel(*preferences);
            EXPECT_GE(least.ratio, 4.5) << name << ' ' << pageName << ": " << qPrintable(least.text);
        }
    }
    QApplication::setPalette(light);
}

TEST_F(QLXPreferencesControllerTest, TheSyncingPageShowsTheStatusAndSwitchesOff)
{
    languages.addVocabulary(u"French"_s, u"English"_s);
    languages.here.sync();
    show().showSyncing();
    EXPECT_EQ(preferences->currentPage(), 2);
    EXPECT_TRUE(preferences->enableDropboxButton()->isChecked());
    EXPECT_TRUE(preferences->syncStatusTextView()->isVisible());
    EXPECT_TRUE(preferences->syncStatusTextView()->toPlainText().contains(u"French - English (pushed)"_s))
        << preferences->syncStatusTextView()->toPlainText().toStdString();

    click(preferences->disableDropboxButton());
    EXPECT_FALSE(here.controller->isEnabled());
    EXPECT_FALSE(here.controller->isLinked());
    EXPECT_FALSE(preferences->syncStatusTextView()->isVisible());

    QTest::mouseClick(preferences->dbGetIosAppButton(), Qt::LeftButton);
    EXPECT_EQ(openedUrls.size(), 1);
}

TEST_F(QLXPreferencesControllerTest, WhileSyncingIsOffThePagesControlsStayTogetherAtTheTop)
{
    here.controller->setIsEnabled(false);
    show().showSyncing();
    preferences->resize(820, 720);
    QCoreApplication::processEvents();
    ASSERT_FALSE(preferences->syncStatusTextView()->isVisible());
    QAbstractButton *on = preferences->enableDropboxButton();
    QAbstractButton *off = preferences->disableDropboxButton();
    QAbstractButton *app = preferences->dbGetIosAppButton();
    const auto top = [this](const QWidget *widget) { return widget->mapTo(preferences.get(), QPoint(0, 0)).y(); };
    EXPECT_LE(top(off) - (top(on) + on->height()), 12) << "the choice keeps together";
    EXPECT_LE(top(app) - (top(off) + off->height()), 100) << "the tips and the button follow it";
    EXPECT_LT(top(app) + app->height(), preferences->height() / 2);
}

TEST_F(QLXPreferencesControllerTest, SwitchingOnWithoutAFolderAsksForOne)
{
    here.controller->setIsEnabled(false);
    here.chooser.answer = cloudFolder();
    show().showSyncing();
    EXPECT_TRUE(preferences->disableDropboxButton()->isChecked());

    click(preferences->enableDropboxButton());
    QCoreApplication::processEvents();

    EXPECT_EQ(here.chooser.titles.size(), 1);
    EXPECT_TRUE(here.controller->isLinked());
    EXPECT_TRUE(here.controller->isEnabled());
    // The main window shows the page again once the folder is linked.
    preferences->showSyncing();
    EXPECT_TRUE(preferences->enableDropboxButton()->isChecked());
    EXPECT_TRUE(preferences->syncStatusTextView()->isVisible());
}

} // namespace
