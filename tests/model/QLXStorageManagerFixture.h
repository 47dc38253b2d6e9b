#pragma once

#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"
#include "support/RecordingWorkspace.h"

#include "model/Bzip2.h"
#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lexi::test {

// A store in a temporary folder and a vocabulary of one word, French - English.
class QLXStorageManagerTest : public testing::Test
{
protected:
    QLXStorageManagerTest()
    {
        using namespace Qt::StringLiterals;
        // 14:05:09 on 3 May 2015 where the test runs.
        fakes.clock.setNow(localTime(2015, 5, 3, 14, 5).addingSeconds(9));
        vocabulary->setForeignLanguageName(u"French"_s);
        vocabulary->setYourLanguageName(u"English"_s);
        addWord(u"house"_s, u"maison"_s, 2);
    }

    std::shared_ptr<QLXWord> addWord(const QString &yourWord, const QString &foreignWord, quint64 level = 0)
    {
        auto word = std::make_shared<QLXWord>(yourWord, foreignWord);
        word->setLevel(level);
        vocabulary->addWord(word);
        return word;
    }

    // Hands the save over and waits until the background saver has written it.
    bool saveAndWait()
    {
        const bool handedOver = store.saveVocabulary(vocabulary.get());
        store.flushSaves();
        return handedOver;
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void writeFile(const QString &path, const QByteArray &contents)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    static QByteArray compressed(const QByteArray &data) { return Bzip2::compressed(data).value(); }

    QString vocabularyFolder() const { return folders.vocabularyFolderPath(); }
    QString backupFolder() const { return folders.backupFolderPath(); }
    QString elsewhere(const QString &name) const { return QDir(root.path()).filePath(name); }

    QStringList backups() const
    {
        return QDir(backupFolder()).entryList(QDir::Files, QDir::Name);
    }

    ConsoleCapture console;
    QTemporaryDir root;
    ApplicationFolders folders{root.path()};
    FakeVocabularyServices fakes;
    RecordingWorkspace workspace;
    QLXStorageManager store{folders, fakes.services, workspace};
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
};

} // namespace lexi::test
