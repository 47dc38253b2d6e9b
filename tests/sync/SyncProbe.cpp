#include "sync/DropBoxController.h"
#include "sync/QLXSyncLog.h"

#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "platform/dispatch/QtScheduler.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/CloudFolder.h"
#include "platform/files/Defaults.h"

#include "support/NullWorkspace.h"
#include "support/SilentAlertPresenter.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The cloud folder is on this machine; the run must not depend on the test machine's network.
class AlwaysReachable final : public lexi::NetworkReachability
{
public:
    std::optional<quint32> flags(Target) const override { return reachable; }
};

} // namespace

// One start of Lexicarta that synchronises once, for the test with two processes. Its data and
// settings are those of XDG_DATA_HOME and XDG_CONFIG_HOME. Arguments: the cloud folder, then words
// to add to "French - English" as "<creationID>:<foreign word>". Prints the vocabulary's foreign
// words after the run, sorted, one a line.
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.isEmpty())
        return 2;
    lexi::test::SilentAlertPresenter alerts;
    const std::optional<lexi::ApplicationFolders> folders =
        lexi::ApplicationFolders::open(lexi::ApplicationFolders::standardUserDataFolder(), alerts);
    if (!folders)
        return 3;
    lexi::Defaults defaults(lexi::Defaults::standardFilePath());
    defaults.setString(lexi::Settings::cloudFolderPath.name, arguments[0]);
    defaults.setBool(lexi::Settings::enableDropbox.name, true);

    lexi::NullInputSources inputSources;
    const lexi::VocabularyServices services{lexi::Clock::system(), alerts, inputSources};
    lexi::test::NullWorkspace workspace;
    QLXStorageManager storage(*folders, services, workspace);
    lexi::dispatch::QtScheduler scheduler;
    lexi::CloudFolder cloud(defaults, scheduler);
    QLXSyncLog log({&*folders, &lexi::Clock::system()});
    const AlwaysReachable network;
    DropBoxController::Environment environment;
    environment.folders = &*folders;
    environment.defaults = &defaults;
    environment.cloudFolder = &cloud;
    environment.storage = &storage;
    environment.syncLog = &log;
    environment.scheduler = &scheduler;
    environment.network = &network;
    DropBoxController controller(environment);

    const QString path = folders->vocabularyFolderPath() + u"/French - English.qlxv"_s;
    std::shared_ptr<Lexicarta> vocabulary = storage.vocabularyFromFile(path);
    if (!vocabulary) {
        vocabulary = Lexicarta::create(services);
        vocabulary->setForeignLanguageName(u"French"_s);
        vocabulary->setYourLanguageName(u"English"_s);
    }
    for (const QString &argument : arguments.mid(1)) {
        auto word = std::make_shared<QLXWord>(u"your "_s + argument.section(u':', 1), argument.section(u':', 1));
        vocabulary->addWord(word);
        word->setCreationID(argument.section(u':', 0, 0).toLongLong());
    }
    if (arguments.size() > 1) {
        vocabulary->setNeedsSync(true);
        controller.markFileAsNeedsSync(*vocabulary);
        storage.saveVocabulary(vocabulary.get());
    }

    controller.syncWithDropboxBlocking();
    controller.finishPendingWork();

    QStringList words;
    if (const std::shared_ptr<Lexicarta> synced = storage.vocabularyFromFile(path)) {
        for (const auto &word : synced->allWords())
            words.append(word->foreignWord());
    }
    words.sort();
    QTextStream(stdout) << words.join(u'\n') << Qt::endl;
    return 0;
}
