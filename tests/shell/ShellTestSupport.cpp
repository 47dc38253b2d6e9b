#include "ShellTestSupport.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace lexi::test {

LanguagesInstallation::LanguagesInstallation() = default;

QString LanguagesInstallation::addVocabulary(const QString &foreign, const QString &your,
                                             const QStringList &foreignWords)
{
    auto vocabulary = Lexicarta::create(here.services);
    vocabulary->setForeignLanguageName(foreign);
    vocabulary->setYourLanguageName(your);
    for (const QString &word : foreignWords)
        vocabulary->addWord(std::make_shared<QLXWord>(u"your "_s + word, word));
    here.storage.saveVocabulary(vocabulary.get());
    here.storage.flushSaves();
    return *here.storage.savePathForVocabulary(*vocabulary);
}

QStringList LanguagesInstallation::wordsOf(const QString &name) const
{
    const std::shared_ptr<Lexicarta> vocabulary = here.load(name);
    if (!vocabulary)
        return {u"<no vocabulary>"_s};
    QStringList words;
    for (const auto &word : vocabulary->allWords())
        words.append(word->foreignWord());
    return words;
}

void LanguagesInstallation::copyToCloud(const QString &name)
{
    QFile::copy(here.vocabularyPath(name), QDir(cloudFolder.path()).filePath(name));
}

QStringList LanguagesInstallation::cloudFiles() const
{
    return QDir(cloudFolder.path()).entryList(QDir::Files, QDir::Name);
}

QLXPreferencesController::Environment LanguagesInstallation::preferencesEnvironment(InputSources &keyboards,
                                                                                  QLXColorTheme &theme)
{
    QLXPreferencesController::Environment environment;
    environment.folders = &here.folders;
    environment.storage = &here.storage;
    environment.services = &here.services;
    environment.defaults = &here.defaults;
    environment.sync = here.controller.get();
    environment.syncLog = &here.log;
    environment.alerts = &here.alerts;
    environment.inputSources = &keyboards;
    environment.clock = &here.clock;
    environment.scheduler = &here.scheduler;
    environment.colorTheme = &theme;
    return environment;
}

} // namespace lexi::test
