#include "SheetsTestSupport.h"

#include "model/sheets/BusySheet.h"
#include "model/sheets/TextImportPanel.h"
#include "model/sheets/VocabularyFileImportPanel.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/linux/LocaleName.h"
#include "platform/values/Format.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace lexi::test {
namespace {

class ImporterTest : public SheetsTest
{
protected:
    // Starts an import and answers the open panel with `path`; the file is read.
    void importFile(const QString &path)
    {
        importer.showOpenSheetWithVocabulary(vocabulary, this);
        ASSERT_TRUE(files.isOpen());
        files.answer(path);
        importer.finishPendingWork();
    }

    QString textFile(const QByteArray &contents)
    {
        const QString path = elsewhere(u"words.csv"_s);
        writeFile(path, contents);
        return path;
    }

    // A vocabulary file of "Italian - Deutsch" with two words, one of them in the open vocabulary.
    QString vocabularyFile(const QString &name = u"Italian.qlxv"_s)
    {
        const std::shared_ptr<Lexicarta> other = Lexicarta::create(fakes.services);
        other->setForeignLanguageName(u"Italian"_s);
        other->setYourLanguageName(u"Deutsch"_s);
        addWord(*other, u"house"_s, u"maison"_s, 3, {});
        addWord(*other, u"book"_s, u"libro"_s, 4, {u"school"_s});
        const QString path = elsewhere(name);
        EXPECT_TRUE(store.saveVocabularyToQLXVFile(other.get(), path));
        return path;
    }

    QString newLanguagePath(const QString &foreign) const
    {
        return folders.vocabularyFolderPath() + u'/' + foreign + u" - "_s + selectedLocaleName() + u".qlxv"_s;
    }

    TextImportPanel &textPanel() { return *importer.textPanel(); }
    VocabularyFileImportPanel &vocabularyPanel() { return *importer.vocabularyPanel(); }

    QLXImporter importer{this, {files, fakes.alerts, store, folders, defaults, sync}};
};

TEST_F(ImporterTest, TheOpenPanelOffersTheFourTypesAndItsCancelEndsTheImport)
{
    importer.showOpenSheetWithVocabulary(vocabulary, this);
    const FilePanel &panel = files.lastRequest().panel;
    EXPECT_EQ(files.lastRequest().kind, ScriptedFileChooser::Kind::open);
    EXPECT_EQ(panel.title, u"Import"_s);
    EXPECT_EQ(panel.prompt, u"Import"_s);
    EXPECT_EQ(panel.message, StringTables::text(u"openPanelInfoMsg"_s, u"Import"_s));
    EXPECT_EQ(panel.extensions, (QStringList{u"txt"_s, u"csv"_s, u"tbf"_s, u"qlxv"_s}));
    files.cancel();
    EXPECT_EQ(importEnds, 1);
    EXPECT_EQ(console.lines().mid(0, 2), (QStringList{u"import > init"_s, u"import > awakeFromNib"_s}));
}

TEST_F(ImporterTest, ATextFileIsPreviewedAndItsNewWordsAdded)
{
    importFile(textFile("house,maison\nbook,livre\n"));
    ASSERT_TRUE(textPanel().isVisible());
    EXPECT_EQ(textPanel().windowModality(), Qt::WindowModal);
    EXPECT_EQ(textPanel().directionPopUp()->itemText(0), u"French - English"_s);
    EXPECT_EQ(textPanel().directionPopUp()->itemText(1), u"English - French"_s);
    EXPECT_EQ(textPanel().foreignName()->text(), u"French"_s);
    EXPECT_EQ(textPanel().yourName()->text(), u"English"_s);
    EXPECT_EQ(textPanel().foreignPreview()->text(), u"maison\nlivre\n..."_s);
    EXPECT_EQ(textPanel().yourPreview()->text(), u"house\nbook\n..."_s);
    EXPECT_EQ(importEnds, 0);

    QTest::mouseClick(textPanel().importButton(), Qt::LeftButton);
    EXPECT_FALSE(textPanel().isVisible());
    // The words to add are chosen off the main thread.
    ASSERT_TRUE(importer.busySheet()->isVisible());
    EXPECT_EQ(importEnds, 0);
    importer.finishPendingWork();
    EXPECT_FALSE(importer.busySheet()->isVisible());
    EXPECT_EQ(importEnds, 1);
    EXPECT_EQ(vocabulary->countAllWords(), 5);
    EXPECT_TRUE(vocabulary->containsWordEqualTo(QLXWord(u"book"_s, u"livre"_s)));
    EXPECT_TRUE(console.lines().contains(u"import > added 1 words, 1 were there already"_s));
}

// The words are chosen off the main thread from what the open vocabulary was; one that changed
// meanwhile has them chosen anew, so a word added there in between is not added twice.
TEST_F(ImporterTest, WordsChosenBeforeTheVocabularyChangedAreChosenAnew)
{
    importFile(textFile("house,maison\nbook,livre\nbird,oiseau\n"));
    QTest::mouseClick(textPanel().importButton(), Qt::LeftButton);
    vocabulary->addWord(std::make_shared<QLXWord>(u"book"_s, u"livre"_s));
    importer.finishPendingWork();
    EXPECT_EQ(importEnds, 1);
    EXPECT_EQ(vocabulary->countAllWords(), 6);
    EXPECT_EQ(vocabulary->allWords().last()->yourWord(), u"bird"_s);
    EXPECT_TRUE(console.lines().contains(u"import > added 1 words, 2 were there already"_s));
}

TEST_F(ImporterTest, TheDirectionIsTheChosenRowAndSurvivesIntoTheNextImport)
{
    const QString path = textFile("house,maison\nbook,livre\n");
    importFile(path);
    QComboBox *popUp = textPanel().directionPopUp();
    QTest::keyClick(popUp, Qt::Key_Down);
    EXPECT_TRUE(importer.invertImportDirection());
    EXPECT_EQ(textPanel().foreignPreview()->text(), u"house\nbook\n..."_s);
    // The same row again keeps the direction; the first row gives the first reading back.
    QTest::keyClick(popUp, Qt::Key_Down);
    EXPECT_TRUE(importer.invertImportDirection());
    QTest::keyClick(popUp, Qt::Key_Up);
    EXPECT_FALSE(importer.invertImportDirection());
    EXPECT_EQ(textPanel().foreignPreview()->text(), u"maison\nlivre\n..."_s);
    QTest::keyClick(popUp, Qt::Key_Down);
    QTest::mouseClick(textPanel().cancelButton(), Qt::LeftButton);
    EXPECT_EQ(importEnds, 1);
    EXPECT_EQ(vocabulary->countAllWords(), 4);

    importFile(path);
    EXPECT_EQ(popUp->currentIndex(), 1) << "the pop-up shows the direction the words are read in";
    EXPECT_EQ(textPanel().foreignPreview()->text(), u"house\nbook\n..."_s);
    QTest::mouseClick(textPanel().importButton(), Qt::LeftButton);
    importer.finishPendingWork();
    EXPECT_TRUE(vocabulary->containsWordEqualTo(QLXWord(u"maison"_s, u"house"_s)));
    EXPECT_EQ(importEnds, 2);
}

TEST_F(ImporterTest, AFileThatIsNoTextAndNoVocabularyIsToldNotPreviewed)
{
    importFile(textFile(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    EXPECT_FALSE(textPanel().isVisible());
    ASSERT_TRUE(fakes.alerts.isSheetOpen());
    EXPECT_EQ(fakes.alerts.alerts.last().title, StringTables::text(u"alertUnreadableTitle"_s, u"Import"_s));
    EXPECT_EQ(importEnds, 0);
    fakes.alerts.answerSheet(0);
    EXPECT_EQ(importEnds, 1);
}

TEST_F(ImporterTest, AVocabularyFileIsKnownByItsContentWhateverItsName)
{
    const QString own = vocabularyFile();
    const QString upperCase = elsewhere(u"Italian.QLXV"_s);
    const QString text = elsewhere(u"Italian.txt"_s);
    ASSERT_TRUE(QFile::copy(own, upperCase));
    ASSERT_TRUE(QFile::copy(own, text));
    for (const QString &path : {upperCase, text}) {
        importFile(path);
        ASSERT_TRUE(vocabularyPanel().isVisible()) << path.toStdString();
        EXPECT_FALSE(textPanel().isVisible());
        EXPECT_EQ(vocabularyPanel().nameField()->text(), u"Italian"_s);
        EXPECT_TRUE(vocabularyPanel().newLanguageRow()->isChecked());
        EXPECT_EQ(vocabularyPanel().joinRow()->text(),
                  format(StringTables::text(u"joinWordsWithVocabulary"_s, u"Import"_s), u"French"_s));
        QTest::mouseClick(vocabularyPanel().cancelButton(), Qt::LeftButton);
    }
    EXPECT_EQ(importEnds, 2);
}

TEST_F(ImporterTest, ADamagedVocabularyFileGetsTheReadersAlertAndEndsTheImport)
{
    const QString path = elsewhere(u"Italian.qlxv"_s);
    writeFile(path, "BZh91AY&SY damaged");
    importFile(path);
    ASSERT_EQ(fakes.alerts.alerts.size(), 1);
    EXPECT_EQ(fakes.alerts.alerts[0].buttons.size(), 2) << "the load alert offers the backups";
    EXPECT_FALSE(vocabularyPanel().isVisible());
    EXPECT_EQ(importEnds, 1);
}

TEST_F(ImporterTest, ANewLanguageIsSavedMarkedForSynchronisationAndNoLongerDeleted)
{
    const QString path = newLanguagePath(u"Italiano"_s);
    Settings(defaults).setLanguageDeleted(QFileInfo(path).completeBaseName(), true);
    importFile(vocabularyFile());
    vocabularyPanel().nameField()->setText(u" Italiano "_s);
    clickChoice(vocabularyPanel().markAllAsUnknown());
    QTest::mouseClick(vocabularyPanel().importButton(), Qt::LeftButton);
    EXPECT_FALSE(vocabularyPanel().isVisible());
    ASSERT_TRUE(importer.busySheet()->isVisible());
    importer.finishPendingWork();

    EXPECT_EQ(importEnds, 1);
    const std::shared_ptr<Lexicarta> saved = store.vocabularyFromQLXVFile(path);
    ASSERT_TRUE(saved) << path.toStdString();
    EXPECT_EQ(saved->foreignLanguageName(), u"Italiano"_s);
    EXPECT_EQ(saved->yourLanguageName(), selectedLocaleName());
    EXPECT_TRUE(saved->needsSync());
    EXPECT_EQ(saved->level0Words().size(), 2) << "marked as unknown";
    EXPECT_EQ(sync.marks, 1);
    EXPECT_FALSE(Settings(defaults).isLanguageDeleted(QFileInfo(path).completeBaseName()));
    EXPECT_EQ(vocabulary->countAllWords(), 4) << "the open vocabulary is left alone";
}

TEST_F(ImporterTest, AnExistingNameAsksAndChangeNameGoesBackToTheNameField)
{
    const QString existing = newLanguagePath(u"Italian"_s);
    writeFile(QFileInfo(existing).path() + u"/ITALIAN - "_s + selectedLocaleName() + u".qlxv"_s, "there");
    importFile(vocabularyFile());
    QTest::mouseClick(vocabularyPanel().importButton(), Qt::LeftButton);
    ASSERT_TRUE(fakes.alerts.isSheetOpen());
    const Alert &alert = fakes.alerts.alerts.last();
    EXPECT_EQ(alert.title, StringTables::text(u"alertAlreadyExistsTitle"_s, u"Import"_s));
    EXPECT_EQ(alert.buttons.size(), 3);
    EXPECT_EQ(alert.cancelButton, 2);

    fakes.alerts.answerSheet(0);
    EXPECT_TRUE(vocabularyPanel().isVisible());
    EXPECT_EQ(vocabularyPanel().focusWidget(), vocabularyPanel().nameField());
    EXPECT_EQ(vocabularyPanel().nameField()->selectedText(), u"Italian"_s);
    EXPECT_EQ(importEnds, 0);

    vocabularyPanel().nameField()->setText(u"Latin"_s);
    QTest::mouseClick(vocabularyPanel().importButton(), Qt::LeftButton);
    importer.finishPendingWork();
    EXPECT_TRUE(QFile::exists(newLanguagePath(u"Latin"_s)));
    EXPECT_EQ(importEnds, 1);
}

TEST_F(ImporterTest, AnExistingNameAnsweredWithCancelImportOrAddWords)
{
    writeFile(newLanguagePath(u"Italian"_s), "there");
    for (const int answer : {2, 1}) {
        importFile(vocabularyFile());
        QTest::mouseClick(vocabularyPanel().importButton(), Qt::LeftButton);
        fakes.alerts.answerSheet(answer);
        EXPECT_FALSE(vocabularyPanel().isVisible());
        importer.finishPendingWork();
    }
    EXPECT_EQ(importEnds, 2);
    EXPECT_EQ(readFile(newLanguagePath(u"Italian"_s)), "there");
    EXPECT_EQ(vocabulary->countAllWords(), 5) << "Add Words joins the file into the open vocabulary";
    EXPECT_TRUE(vocabulary->containsWordEqualTo(QLXWord(u"book"_s, u"libro"_s)));
}

TEST_F(ImporterTest, ANameTheLanguageSheetWouldRefuseGoesBackToTheNameField)
{
    for (const QString &name : {u"../Italian"_s, u"It/alian"_s, u".hidden"_s, selectedLocaleName().toUpper()}) {
        importFile(vocabularyFile());
        vocabularyPanel().nameField()->setText(name);
        QTest::mouseClick(vocabularyPanel().importButton(), Qt::LeftButton);
        ASSERT_TRUE(fakes.alerts.isSheetOpen()) << name.toStdString();
        fakes.alerts.answerSheet(0);
        EXPECT_TRUE(vocabularyPanel().isVisible());
        QTest::mouseClick(vocabularyPanel().cancelButton(), Qt::LeftButton);
    }
    EXPECT_EQ(importEnds, 4);
    EXPECT_TRUE(QDir(folders.vocabularyFolderPath()).isEmpty());
}

TEST_F(ImporterTest, JoiningWithMarkAllAsUnknownAddsTheNewWordsAtLevelZero)
{
    importFile(vocabularyFile());
    clickChoice(vocabularyPanel().joinRow());
    EXPECT_FALSE(vocabularyPanel().nameField()->isEnabled());
    vocabularyPanel().markAllAsUnknown()->setChecked(true);
    QTest::mouseClick(vocabularyPanel().importButton(), Qt::LeftButton);
    importer.finishPendingWork();
    EXPECT_EQ(importEnds, 1);
    ASSERT_EQ(vocabulary->countAllWords(), 5);
    EXPECT_EQ(vocabulary->findWordEqualTo(QLXWord(u"book"_s, u"libro"_s))->level(), 0u);
    EXPECT_EQ(vocabulary->findWordEqualTo(QLXWord(u"house"_s, u"maison"_s))->level(), 2u);
    EXPECT_EQ(sync.marks, 0) << "the open vocabulary is marked by the delegate";
}

// The busy sheet's bar shows how far the work has come once it tells, and only that it goes on
// before.
TEST_F(ImporterTest, TheBusyBarFollowsWhatTheWorkTells)
{
    BusySheet &busy = *importer.busySheet();
    busy.start(u"Reading"_s);
    EXPECT_EQ(busy.progressBar()->maximum(), 0);
    auto progress = std::make_shared<WorkProgress>();
    busy.follow(progress);
    EXPECT_EQ(busy.progressBar()->maximum(), 0);
    progress->set(1, 4);
    busy.updateProgress();
    EXPECT_EQ(busy.progressBar()->maximum(), 1000);
    EXPECT_EQ(busy.progressBar()->value(), 250);
    busy.finish();
}

TEST_F(ImporterTest, CancellingTheBusySheetEndsTheImportAndDropsWhatWasRead)
{
    importer.showOpenSheetWithVocabulary(vocabulary, this);
    files.answer(vocabularyFile());
    ASSERT_TRUE(importer.busySheet()->isVisible());
    EXPECT_TRUE(importer.busySheet()->textLabel()->text().contains(u"Italian.qlxv"_s));
    QTest::keyClick(importer.busySheet(), Qt::Key_Escape);
    EXPECT_EQ(importEnds, 1);
    importer.finishPendingWork();
    EXPECT_FALSE(vocabularyPanel().isVisible());
    EXPECT_EQ(importEnds, 1);
}

} // namespace
} // namespace lexi::test
