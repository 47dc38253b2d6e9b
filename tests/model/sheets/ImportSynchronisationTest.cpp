#include "sync/SyncTestSupport.h"
#include "support/ScriptedFileChooser.h"

#include "model/sheets/QLXImporter.h"
#include "model/sheets/QLXImporterDelegate.h"
#include "model/sheets/VocabularyFileImportPanel.h"
#include "platform/linux/LocaleName.h"

#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lexi::test {
namespace {

// Two installations sharing a cloud folder; on the first, a vocabulary file is imported as a new
// language that the cloud already holds an older copy of.
class ImportSynchronisationTest : public testing::Test, public QLXImporterDelegate
{
protected:
    QWidget *mainWindow() const override { return const_cast<QMainWindow *>(&window); }
    void importDidEnd(QLXImporter *) override { ++importEnds; }

    // "Italian - <the locale's language>" with one word, as a file that is no vocabulary of
    // either installation.
    QString vocabularyFile(SyncInstallation &installation, const QString &foreignWord, qint64 version)
    {
        auto vocabulary = Lexicarta::create(installation.services);
        vocabulary->setForeignLanguageName(u"Italian"_s);
        vocabulary->setYourLanguageName(selectedLocaleName());
        SyncInstallation::addWord(*vocabulary, {foreignWord});
        vocabulary->setVersion(version);
        const QString path = files.filePath(foreignWord + u".qlxv"_s);
        EXPECT_TRUE(installation.storage.saveVocabularyToQLXVFile(vocabulary.get(), path));
        return path;
    }

    QTemporaryDir cloud;
    QTemporaryDir files;
    QMainWindow window;
    SyncInstallation here{cloud.path(), u"machine-a"_s};
    SyncInstallation there{cloud.path(), u"machine-b"_s};
    ScriptedFileChooser chooser;
    int importEnds = 0;
};

TEST_F(ImportSynchronisationTest, ALanguageImportedAsNewSurvivesTheNextSynchronisationAgainstAnOlderCloudCopy)
{
    const QString name = u"Italian - "_s + selectedLocaleName() + u".qlxv"_s;
    // The other machine put its Italian into the cloud long ago, and it was deleted here since.
    const auto older = there.storage.vocabularyFromQLXVFile(vocabularyFile(there, u"vecchio"_s, 4));
    older->setNeedsSync(true);
    there.saveChanged(*older);
    there.sync();
    here.settings().setLanguageDeleted(QFileInfo(name).completeBaseName(), true);

    // The learner imports a file of that language, of an older version, as a new language.
    const auto open = here.french({{u"chat"_s}}, 0, false);
    QLXImporter importer(this, {chooser, here.alerts, here.storage, here.folders, here.defaults, *here.controller});
    importer.showOpenSheetWithVocabulary(open, this);
    chooser.answer(vocabularyFile(here, u"nuovo"_s, 0));
    importer.finishPendingWork();
    ASSERT_TRUE(importer.vocabularyPanel()->isVisible());
    EXPECT_EQ(importer.vocabularyPanel()->nameField()->text(), u"Italian"_s);
    QTest::mouseClick(importer.vocabularyPanel()->importButton(), Qt::LeftButton);
    importer.finishPendingWork();
    ASSERT_EQ(importEnds, 1);

    here.sync();
    EXPECT_TRUE(here.foreignWords(here.vocabularyPath(name)).contains(u"nuovo"_s));
    EXPECT_TRUE(here.foreignWords(cloud.filePath(name)).contains(u"nuovo"_s));
    there.sync();
    EXPECT_TRUE(there.foreignWords(there.vocabularyPath(name)).contains(u"nuovo"_s));
}

} // namespace
} // namespace lexi::test
