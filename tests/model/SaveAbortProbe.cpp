#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

class SilentAlerts final : public lexi::AlertPresenter
{
public:
    int runModal(const lexi::Alert &) override { return 0; }
};

class NoWorkspace final : public lexi::Workspace
{
public:
    void openFolder(const QString &) override {}
};

void addWords(Lexicarta &vocabulary, int count)
{
    lexi::WordList words = vocabulary.allWords();
    for (int i = 0; i < count; ++i)
        words.append(std::make_shared<QLXWord>(u"word %1"_s.arg(i), u"Wort %1"_s.arg(i)));
    vocabulary.setAllWords(words);
}

} // namespace

// Saves a vocabulary of 10 words into the vocabularies folder under the data folder given, then
// limits the size of files to that save's and saves 5000 words: the system ends the process in
// the middle of writing them.
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2)
        return 2;
    const lexi::ApplicationFolders folders(QString::fromLocal8Bit(argv[1]));
    SilentAlerts alerts;
    lexi::NullInputSources inputSources;
    const lexi::VocabularyServices services{lexi::Clock::system(), alerts, inputSources};
    NoWorkspace workspace;
    QLXStorageManager store(folders, services, workspace);

    const auto vocabulary = Lexicarta::create(services);
    vocabulary->setForeignLanguageName(u"Probe"_s);
    vocabulary->setYourLanguageName(u"Test"_s);
    addWords(*vocabulary, 10);
    if (!store.saveVocabulary(vocabulary.get()))
        return 3;

    addWords(*vocabulary, 5000);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(QFileInfo(store.savePathForVocabulary(*vocabulary).value()).size());
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);
    store.saveVocabulary(vocabulary.get());
    return 4;
}
