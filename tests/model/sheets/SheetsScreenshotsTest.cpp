#include "SheetsTestSupport.h"

#include "support/Screenshots.h"

#include "model/sheets/ExportSheet.h"
#include "model/sheets/TextImportPanel.h"
#include "model/sheets/VocabularyFileImportPanel.h"

#include <QTabWidget>

namespace lexi::test {
namespace {

class SheetsScreenshotsTest : public SheetsTest
{
};

TEST_F(SheetsScreenshotsTest, TheExportSheetsThreePages)
{
    QLXExportController exporter(this, {files, fakes.alerts, folders});
    exporter.showExportWithVocabulary(vocabulary);
    const char *names[] = {"export-sheet-own-format", "export-sheet-older-format", "export-sheet-text"};
    for (int page = 0; page < ExportSheet::pageCount; ++page) {
        exporter.sheet()->formats()->setCurrentIndex(page);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(exporter.sheet()));
        EXPECT_TRUE(saveScreenshot(*exporter.sheet(), QString::fromUtf8(names[page])));
    }
}

TEST_F(SheetsScreenshotsTest, TheTextImportPanelWithItsPreview)
{
    QLXImporter importer(this, {files, fakes.alerts, store, folders, defaults, sync});
    const QString path = elsewhere(u"words.csv"_s);
    writeFile(path, "the apple,la pomme,fruit\nthe pear,la poire\nthe plum,la prune\nthe cherry,la cerise\n");
    importer.showOpenSheetWithVocabulary(vocabulary, this);
    files.answer(path);
    importer.finishPendingWork();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(importer.textPanel()));
    EXPECT_TRUE(saveScreenshot(*importer.textPanel(), u"import-text-panel"_s));
}

TEST_F(SheetsScreenshotsTest, TheVocabularyFilePanel)
{
    QLXImporter importer(this, {files, fakes.alerts, store, folders, defaults, sync});
    const std::shared_ptr<Lexicarta> other = Lexicarta::create(fakes.services);
    other->setForeignLanguageName(u"Italian"_s);
    other->setYourLanguageName(u"English"_s);
    addWord(*other, u"the book"_s, u"il libro"_s, 1, {});
    const QString path = elsewhere(u"Italian - English.qlxv"_s);
    ASSERT_TRUE(store.saveVocabularyToQLXVFile(other.get(), path));
    importer.showOpenSheetWithVocabulary(vocabulary, this);
    files.answer(path);
    importer.finishPendingWork();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(importer.vocabularyPanel()));
    EXPECT_TRUE(saveScreenshot(*importer.vocabularyPanel(), u"import-vocabulary-panel"_s));
}

} // namespace
} // namespace lexi::test
