#include "MainWindowTestSupport.h"

#include "model/QLXStorageManager.h"
#include "model/QLXWord.h"
#include "sync/DropBoxController.h"

using namespace Qt::StringLiterals;

namespace lexi::test {

TestInstallation::TestInstallation(AlertPresenter *shownAlerts)
{
    network.setFlags(0);
    installation = std::make_unique<Installation>(
        ApplicationFolders(folder.path() + u"/data"_s), folder.path() + u"/config/Lexicarta.conf"_s,
        InstallationPorts{clock, scheduler, shownAlerts ? *shownAlerts : alerts, fileChooser, folderChooser,
                          workspace, inputSources, network});
}

std::shared_ptr<Lexicarta> TestInstallation::makeVocabulary(const QString &foreign, const QString &own,
                                                            int wordCount) const
{
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(installation->services());
    vocabulary->setForeignLanguageName(foreign);
    vocabulary->setYourLanguageName(own);
    for (int index = 0; index < wordCount; ++index)
        vocabulary->addWord(std::make_shared<QLXWord>(u"%1 word %2"_s.arg(own).arg(index),
                                                      u"%1 word %2"_s.arg(foreign).arg(index)));
    return vocabulary;
}

QString TestInstallation::saveVocabulary(const QString &foreign, const QString &own, int wordCount)
{
    const std::shared_ptr<Lexicarta> vocabulary = makeVocabulary(foreign, own, wordCount);
    installation->storage().saveVocabulary(vocabulary.get());
    installation->storage().flushSaves();
    return *installation->storage().savePathForVocabulary(*vocabulary);
}

RecordingPages::RecordingPages(Installation &installation)
    : vocabulary(new Vocabulary(log, installation)),
      quiz(new Quiz(log)),
      flashCards(new FlashCards(log)),
      statistics(new Statistics(log)),
      preferences(new Preferences(log))
{
}

MainWindowPages RecordingPages::pages()
{
    return {vocabulary, quiz, flashCards, statistics, preferences};
}

RecordingPages::Vocabulary::Vocabulary(QStringList &log, Installation &installation)
    : m_log(log),
      m_keeper([&storage = installation.storage()](const Lexicarta &vocabulary) {
          return storage.saveVocabulary(&vocabulary);
      }, installation.dropboxController())
{
    QObject::connect(&m_keeper, &VocabularyKeeper::vocabularyReplaced, [this] {
        m_log.append(u"vocabulary.setVocabulary"_s);
    });
}

TestMainWindow::TestMainWindow() = default;

} // namespace lexi::test
