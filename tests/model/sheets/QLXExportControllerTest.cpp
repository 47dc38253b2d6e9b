#include "SheetsTestSupport.h"

#include "model/TextVocabularyParser.h"
#include "model/sheets/BusySheet.h"
#include "model/sheets/ExportSheet.h"
#include "platform/files/StringTables.h"
#include "platform/linux/LocaleName.h"
#include "views/QLXLanguageTokenField.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTabBar>
#include <QTabWidget>

namespace lexi::test {
namespace {

class ExportControllerTest : public SheetsTest
{
protected:
    ExportSheet &sheet() { return *exporter.sheet(); }

    // Shows the sheet, chooses `page` and presses the export button.
    void exportFromPage(ExportSheet::Page page)
    {
        exporter.showExportWithVocabulary(vocabulary);
        ASSERT_TRUE(sheet().isVisible());
        QTest::mouseClick(sheet().formats()->tabBar(), Qt::LeftButton, {},
                          sheet().formats()->tabBar()->tabRect(page).center());
        ASSERT_EQ(sheet().formats()->currentIndex(), page);
        QTest::mouseClick(sheet().exportButton(), Qt::LeftButton);
    }

    // The learner saves as `path`, and the write runs.
    void saveAs(const QString &path)
    {
        ASSERT_TRUE(files.isOpen());
        files.answer(path);
        exporter.finishPendingWork();
    }

    QLXExportController exporter{this, {files, fakes.alerts, folders}};
};

TEST_F(ExportControllerTest, EachFormatsSavePanelWritesItsFileAndTheExportEndsOnceForOKAndCancel)
{
    const struct
    {
        ExportSheet::Page page;
        QString title;
        QStringList extensions;
        QString proposedName;
    } formats[] = {
        {ExportSheet::ownFormatPage, u"Export"_s, {u"qlxv"_s}, u"French.qlxv"_s},
        {ExportSheet::olderArchivePage, u"Export"_s, {u"tbf"_s}, u"French.tbf"_s},
        {ExportSheet::textPage, u"Select Export"_s, {u"csv"_s, u"txt"_s}, u"French.csv"_s},
    };
    int ends = 0;
    for (const auto &format : formats) {
        SCOPED_TRACE(format.proposedName.toStdString());
        exportFromPage(format.page);
        EXPECT_FALSE(sheet().isVisible()) << "the sheet closes for the save panel";
        const FilePanel &panel = files.lastRequest().panel;
        EXPECT_EQ(files.lastRequest().kind, ScriptedFileChooser::Kind::save);
        EXPECT_EQ(panel.title, format.title);
        EXPECT_EQ(panel.prompt, StringTables::text(u"Save"_s, u"Import"_s));
        EXPECT_EQ(panel.extensions, format.extensions);
        EXPECT_EQ(panel.suggestedName, format.proposedName);
        EXPECT_EQ(exportEnds, ends);
        saveAs(elsewhere(u"words"_s));
        EXPECT_EQ(exportEnds, ++ends);
        EXPECT_TRUE(QFile::exists(elsewhere(u"words."_s + format.extensions.first())));

        exportFromPage(format.page);
        files.cancel();
        exporter.finishPendingWork();
        EXPECT_EQ(exportEnds, ++ends);
    }
    EXPECT_EQ(console.lines().count(u"exporter > saving vocabulary successful"_s), 3);
    EXPECT_EQ(console.lines().count(u"exporter > filterdvoc French"_s), 3);
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());

    exporter.showExportWithVocabulary(vocabulary);
    QTest::mouseClick(sheet().cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(sheet().isVisible());
    EXPECT_EQ(exportEnds, ++ends);
    exporter.showExportWithVocabulary(vocabulary);
    QTest::keyClick(&sheet(), Qt::Key_Escape);
    EXPECT_EQ(exportEnds, ++ends);
    EXPECT_EQ(files.requests.size(), 6) << "a cancelled sheet asks for no file";
}

TEST_F(ExportControllerTest, TheFileHoldsTheChosenWordsAndTheOpenVocabularyStaysAsItWas)
{
    const WordList before = vocabulary->allWords();
    exporter.showExportWithVocabulary(vocabulary);
    sheet().levelBox(4)->setChecked(false);
    sheet().tagField()->setText(u"animals, home"_s);
    clickChoice(sheet().anyRow());
    QTest::mouseClick(sheet().exportButton(), Qt::LeftButton);
    saveAs(elsewhere(u"French.qlxv"_s));

    const std::shared_ptr<Lexicarta> written = store.vocabularyFromQLXVFile(elsewhere(u"French.qlxv"_s));
    ASSERT_TRUE(written);
    QStringList words;
    for (const std::shared_ptr<QLXWord> &word : written->allWords())
        words.append(word->yourWord());
    words.sort();
    EXPECT_EQ(words, (QStringList{u"cat"_s, u"house"_s}));
    EXPECT_EQ(written->foreignLanguageName(), u"French"_s);
    EXPECT_EQ(vocabulary->allWords(), before);
    for (const std::shared_ptr<QLXWord> &word : before)
        EXPECT_EQ(word->weakVocForSort().lock(), vocabulary);
}

TEST_F(ExportControllerTest, EveryLevelOffWritesNoWordsButTheNameAndStatistics)
{
    exporter.showExportWithVocabulary(vocabulary);
    for (int level = 0; level < 6; ++level)
        sheet().levelBox(level)->setChecked(false);
    QTest::mouseClick(sheet().exportButton(), Qt::LeftButton);
    saveAs(elsewhere(u"French.qlxv"_s));
    const std::shared_ptr<Lexicarta> written = store.vocabularyFromQLXVFile(elsewhere(u"French.qlxv"_s));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->countAllWords(), 0);
    EXPECT_EQ(written->foreignLanguageName(), u"French"_s);
    EXPECT_EQ(written->statistics().dailySnapshots(), vocabulary->statistics().dailySnapshots());
}

TEST_F(ExportControllerTest, TheTextPagesOptionsShapeTheFile)
{
    exportFromPage(ExportSheet::textPage);
    files.cancel();
    exporter.showExportWithVocabulary(vocabulary);
    QTest::mouseClick(sheet().formats()->tabBar(), Qt::LeftButton, {},
                      sheet().formats()->tabBar()->tabRect(ExportSheet::textPage).center());
    clickChoice(sheet().tabRow());
    clickChoice(sheet().includeComments());
    clickChoice(sheet().directionRow(1));
    EXPECT_EQ(sheet().directionRow(0)->text(), u"English - French"_s);
    EXPECT_EQ(sheet().directionRow(1)->text(), u"French - English"_s);
    QTest::mouseClick(sheet().exportButton(), Qt::LeftButton);
    saveAs(elsewhere(u"words.txt"_s));

    const QByteArray bytes = readFile(elsewhere(u"words.txt"_s));
    ASSERT_TRUE(bytes.startsWith("\xff\xfe"));
    const QString text = QStringDecoder(QStringConverter::Utf16LE).decode(bytes.sliced(2));
    EXPECT_TRUE(text.contains(u"\nchat\tcat\n"_s)) << text.toStdString();
}

TEST_F(ExportControllerTest, TheSecondShowingStartsOnTheFirstPageWithAllTagsAndKeepsTheBoxes)
{
    exporter.showExportWithVocabulary(vocabulary);
    EXPECT_EQ(sheet().tagField()->tokens(), QStringList{u"all"_s});
    QTest::mouseClick(sheet().formats()->tabBar(), Qt::LeftButton, {},
                      sheet().formats()->tabBar()->tabRect(ExportSheet::textPage).center());
    clickChoice(sheet().includeDifficulty());
    clickChoice(sheet().tabRow());
    clickChoice(sheet().directionRow(1));
    clickChoice(sheet().levelBox(3));
    clickChoice(sheet().anyRow());
    sheet().tagField()->setText(u"home"_s);
    QTest::mouseClick(sheet().cancelButton(), Qt::LeftButton);

    exporter.showExportWithVocabulary(vocabulary);
    EXPECT_EQ(sheet().formats()->currentIndex(), ExportSheet::ownFormatPage);
    EXPECT_EQ(sheet().tagField()->tokens(), QStringList{u"all"_s});
    EXPECT_TRUE(sheet().directionRow(0)->isChecked());
    EXPECT_TRUE(sheet().includeDifficulty()->isChecked());
    EXPECT_TRUE(sheet().includeComments()->isChecked());
    EXPECT_TRUE(sheet().tabRow()->isChecked());
    EXPECT_FALSE(sheet().levelBox(3)->isChecked());
    EXPECT_TRUE(sheet().levelBox(2)->isChecked());
    EXPECT_TRUE(sheet().anyRow()->isChecked());
}

TEST_F(ExportControllerTest, AVocabularyWithoutAnOwnLanguageNameShowsTheLocalesLanguage)
{
    vocabulary->setYourLanguageName(QString());
    exporter.showExportWithVocabulary(vocabulary);
    EXPECT_EQ(sheet().directionRow(0)->text(), selectedLocaleName() + u" - French"_s);
}

TEST_F(ExportControllerTest, AFileInTheProgramsOwnFoldersIsRefusedAndThePanelShownAgain)
{
    const QString target = *store.savePathForVocabulary(*vocabulary);
    store.saveVocabulary(vocabulary.get());
    store.flushSaves();
    const QByteArray before = readFile(target);
    exporter.showExportWithVocabulary(vocabulary);
    sheet().levelBox(0)->setChecked(false);
    QTest::mouseClick(sheet().exportButton(), Qt::LeftButton);
    files.answer(target);
    exporter.finishPendingWork();

    ASSERT_TRUE(fakes.alerts.isSheetOpen());
    EXPECT_EQ(fakes.alerts.alerts.last().title, StringTables::text(u"exportRefusedTitle"_s, u"Import"_s));
    EXPECT_EQ(readFile(target), before);
    EXPECT_EQ(exportEnds, 0);
    fakes.alerts.answerSheet(0);
    ASSERT_TRUE(files.isOpen()) << "the learner chooses again";
    EXPECT_EQ(files.requests.size(), 2);
    saveAs(elsewhere(u"French.qlxv"_s));
    EXPECT_EQ(exportEnds, 1);
    EXPECT_EQ(readFile(target), before);
    EXPECT_TRUE(QFile::exists(elsewhere(u"French.qlxv"_s)));
}

TEST_F(ExportControllerTest, AFailedWriteIsShownAndEndsTheExportOnceAnswered)
{
    exporter.showExportWithVocabulary(vocabulary);
    QTest::mouseClick(sheet().exportButton(), Qt::LeftButton);
    saveAs(elsewhere(u"missing/French.qlxv"_s));
    ASSERT_TRUE(fakes.alerts.isSheetOpen());
    EXPECT_EQ(exportEnds, 0);
    EXPECT_TRUE(console.lines().contains(u"exporter > saving vocabulary failed"_s));
    fakes.alerts.answerSheet(0);
    EXPECT_EQ(exportEnds, 1);
}

TEST_F(ExportControllerTest, TheBusySheetShowsWhileTheFileIsWrittenAndCancelsTheExport)
{
    exporter.showExportWithVocabulary(vocabulary);
    QTest::mouseClick(sheet().exportButton(), Qt::LeftButton);
    files.answer(elsewhere(u"French.qlxv"_s));
    ASSERT_TRUE(exporter.busySheet()->isVisible());
    EXPECT_EQ(exporter.busySheet()->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(exporter.busySheet()->textLabel()->text().contains(u"French.qlxv"_s));
    QTest::mouseClick(exporter.busySheet()->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(exporter.busySheet()->isVisible());
    EXPECT_EQ(exportEnds, 1);
    exporter.finishPendingWork();
    EXPECT_EQ(exportEnds, 1);
    EXPECT_FALSE(console.lines().contains(u"exporter > saving vocabulary successful"_s));
    EXPECT_TRUE(fakes.alerts.alerts.isEmpty());
}

} // namespace
} // namespace lexi::test
