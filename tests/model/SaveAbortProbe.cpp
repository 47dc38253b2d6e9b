#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"

#include "support/NullWorkspace.h"
#include "support/SilentAlertPresenter.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

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
// the middle of writing them. With "background" after the folder, it hands a save of 200,000
// words to the background saver instead, says "handed over" on its output and waits for the
// test to kill it.
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2)
        return 2;
    const lexi::ApplicationFolders folders(QString::fromLocal8Bit(argv[1]));
    lexi::test::SilentAlertPresenter alerts;
    lexi::NullInputSources inputSources;
    const lexi::VocabularyServices services{lexi::Clock::system(), alerts, inputSources};
    lexi::test::NullWorkspace workspace;
    QLXStorageManager store(folders, services, workspace);

    const auto vocabulary = Lexicarta::create(services);
    vocabulary->setForeignLanguageName(u"Probe"_s);
    vocabulary->setYourLanguageName(u"Test"_s);
    addWords(*vocabulary, 10);
    if (!store.saveVocabulary(vocabulary.get()))
        return 3;
    store.flushSaves();

    if (argc > 2 && qstrcmp(argv[2], "background") == 0) {
        addWords(*vocabulary, 200000);
        store.saveVocabulary(vocabulary.get());
        std::puts("handed over");
        std::fflush(stdout);
        store.flushSaves();
        return application.exec();
    }

    addWords(*vocabulary, 5000);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(QFileInfo(store.savePathForVocabulary(*vocabulary).value()).size());
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);
    store.saveVocabulary(vocabulary.get());
    store.flushSaves();
    return 4;
}
