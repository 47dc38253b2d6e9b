#include "SyncTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace lexi::test {

std::optional<QList<InputSource>> HookedInputSources::inputSourceList(bool)
{
    std::function<void()> block;
    {
        std::lock_guard lock(m_mutex);
        block = std::exchange(m_block, {});
    }
    if (block)
        block();
    return QList<InputSource>();
}

void HookedInputSources::runAtNextListing(std::function<void()> block)
{
    std::lock_guard lock(m_mutex);
    m_block = std::move(block);
}

SyncInstallation::SyncInstallation(const QString &cloudFolder, const QString &deviceName)
    : defaults(root.filePath(u"config/Lexicarta/Lexicarta.conf"_s)), folders(root.filePath(u"data"_s)),
      m_deviceName(deviceName)
{
    defaults.setString(lexi::Settings::cloudFolderPath.name, cloudFolder);
    defaults.setBool(lexi::Settings::enableDropbox.name, true);
    restart();
}

void SyncInstallation::restart()
{
    if (controller)
        controller->finishPendingWork();
    controller.reset();
    controller = std::make_unique<DropBoxController>(environment(m_deviceName));
    controller->setDelegate(&delegate);
    controller->setWindow(&chooser);
}

SyncInstallation::~SyncInstallation()
{
    controller->finishPendingWork();
    deliverMainThreadCalls();
}

DropBoxController::Environment SyncInstallation::environment(const QString &deviceName)
{
    DropBoxController::Environment environment;
    environment.folders = &folders;
    environment.defaults = &defaults;
    environment.cloudFolder = &cloud;
    environment.storage = &storage;
    environment.syncLog = &log;
    environment.scheduler = &scheduler;
    environment.network = &network;
    environment.clock = &clock;
    environment.deviceName = deviceName;
    environment.homeFolder = root.filePath(u"home"_s);
    return environment;
}

QStringList SyncInstallation::sync()
{
    clock.advance(std::chrono::seconds(31));
    const qsizetype before = log.fullLog().size();
    controller->syncWithDropboxBlocking();
    return recordLines().mid(before);
}

void SyncInstallation::deliverMainThreadCalls()
{
    QCoreApplication::processEvents();
}

std::shared_ptr<Lexicarta> SyncInstallation::french(const QList<TestWord> &words, qint64 version, bool needsSync)
{
    auto vocabulary = Lexicarta::create(services);
    vocabulary->setForeignLanguageName(u"French"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    for (const TestWord &word : words)
        addWord(*vocabulary, word);
    vocabulary->setVersion(version);
    vocabulary->setNeedsSync(needsSync);
    return vocabulary;
}

QByteArray SyncInstallation::fileOf(const Lexicarta &vocabulary)
{
    const QString path = root.filePath(u"file.qlxv"_s);
    storage.saveVocabularyToQLXVFile(&vocabulary, path);
    const QByteArray data = contents(path);
    QFile::remove(path);
    return data;
}

void SyncInstallation::addWord(Lexicarta &vocabulary, const TestWord &word)
{
    auto added = std::make_shared<QLXWord>(u"your "_s + word.foreign, word.foreign);
    vocabulary.addWord(added);
    if (word.creationID != 0)
        added->setCreationID(word.creationID);
}

void SyncInstallation::saveChanged(Lexicarta &vocabulary)
{
    vocabulary.setNeedsSync(true);
    controller->markFileAsNeedsSync(vocabulary);
    storage.saveVocabulary(&vocabulary);
    storage.flushSaves();
}

std::shared_ptr<Lexicarta> SyncInstallation::load(const QString &name) const
{
    return storage.vocabularyFromFile(vocabularyPath(name));
}

QStringList SyncInstallation::foreignWords(const QString &path) const
{
    const std::shared_ptr<Lexicarta> vocabulary = storage.vocabularyFromFile(path);
    if (!vocabulary)
        return {u"<no vocabulary>"_s};
    QStringList words;
    for (const auto &word : vocabulary->allWords())
        words.append(word->foreignWord());
    words.sort();
    return words;
}

QString SyncInstallation::vocabularyPath(const QString &name) const
{
    return folders.vocabularyFolderPath() + u'/' + name;
}

QStringList SyncInstallation::vocabularyFiles() const
{
    return QDir(folders.vocabularyFolderPath()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList SyncInstallation::backupFiles() const
{
    return QDir(folders.backupFolderPath()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList SyncInstallation::recordLines() const
{
    QStringList lines;
    for (const QLXSyncStatus &record : log.fullLog())
        lines.append(record.languageName() + u": "_s + record.error().value_or(record.message().value_or(QString())));
    return lines;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}

} // namespace lexi::test
