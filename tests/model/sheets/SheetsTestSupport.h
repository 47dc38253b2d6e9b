#pragma once

#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"
#include "support/RecordingKeeper.h"
#include "support/RecordingWorkspace.h"
#include "support/ScriptedFileChooser.h"

#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "model/sheets/QLXExportController.h"
#include "model/sheets/QLXExporterDelegate.h"
#include "model/sheets/QLXImporter.h"
#include "model/sheets/QLXImporterDelegate.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Defaults.h"

#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace lexi::test {

using namespace Qt::StringLiterals;

// A shown main window over an installation's folders and store in a temporary folder, the
// sheets' delegate counting how often each sheet ended, and the open vocabulary, French -
// English, with words at several levels and tags.
class SheetsTest : public testing::Test, public QLXExporterDelegate, public QLXImporterDelegate
{
protected:
    SheetsTest()
    {
        window.resize(1000, 700);
        window.show();
        vocabulary->setForeignLanguageName(u"French"_s);
        vocabulary->setYourLanguageName(u"English"_s);
        addWord(*vocabulary, u"house"_s, u"maison"_s, 2, {u"home"_s});
        addWord(*vocabulary, u"dog"_s, u"chien"_s, 4, {u"animals"_s, u"home"_s});
        addWord(*vocabulary, u"cat"_s, u"chat"_s, 0, {u"animals"_s});
        addWord(*vocabulary, u"the sea"_s, u"la mer"_s, 5, {});
    }

    QWidget *mainWindow() const override { return const_cast<QMainWindow *>(&window); }
    void exportDidEnd(QLXExportController *) override { ++exportEnds; }
    void importDidEnd(QLXImporter *) override { ++importEnds; }

    static std::shared_ptr<QLXWord> addWord(Lexicarta &to, const QString &yourWord, const QString &foreignWord,
                                            quint64 level, const QStringList &tags)
    {
        auto word = std::make_shared<QLXWord>(yourWord, foreignWord);
        word->setLevel(level);
        word->setTags(tags);
        to.addWord(word);
        return word;
    }

    QString elsewhere(const QString &name) const { return root.filePath(name); }

    // Clicks a check box or a choice on its box, as the learner does: a click on the empty
    // part of a wide one changes nothing.
    static void clickChoice(QWidget *choice)
    {
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
    }

    static void writeFile(const QString &path, const QByteArray &contents)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ConsoleCapture console;
    QMainWindow window;
    QTemporaryDir root;
    ApplicationFolders folders{root.path() + u"/data"_s};
    FakeVocabularyServices fakes;
    RecordingWorkspace workspace;
    QLXStorageManager store{folders, fakes.services, workspace};
    Defaults defaults{root.path() + u"/Lexicarta.conf"_s};
    RecordingSyncRequests sync;
    ScriptedFileChooser files;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
    int exportEnds = 0;
    int importEnds = 0;
};

} // namespace lexi::test
