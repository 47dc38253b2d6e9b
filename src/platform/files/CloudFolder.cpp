#include "CloudFolder.h"

#include "RegularFile.h"
#include "StringTables.h"
#include "platform/ports/FolderChooser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

// Relative, and every part a name: no empty part, "." or "..".
bool staysInside(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QStringList parts = path.split(u'/');
    return std::none_of(parts.begin(), parts.end(), [](const QString &part) {
        return part.isEmpty() || part == u"."_s || part == u".."_s;
    });
}

} // namespace

CloudFolder::CloudFolder(Defaults &defaults, dispatch::Scheduler &scheduler)
    : m_settings(defaults), m_scheduler(scheduler)
{
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_watcher, [this] { folderChanged(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_watcher, [this] { folderChanged(); });
}

bool CloudFolder::isLinked() const
{
    return folderPath().has_value();
}

std::optional<QString> CloudFolder::folderPath() const
{
    const QString path = m_settings.value(Settings::cloudFolderPath);
    return path.isEmpty() ? std::nullopt : std::optional(path);
}

bool CloudFolder::link(FolderChooser &chooser, const QString &homeFolder)
{
    const QString suggested = homeFolder + u"/Dropbox/Apps/Lexicarta"_s;
    const std::optional<QString> chosen = chooser.chooseFolder(
        StringTables::text(u"chooseCloudFolder"_s),
        QFileInfo(suggested).isDir() ? std::optional(suggested) : std::nullopt);
    if (!chosen || !QFileInfo(*chosen).isDir())
        return false;
    m_settings.setValue(Settings::cloudFolderPath, QFileInfo(*chosen).absoluteFilePath());
    QMetaObject::invokeMethod(&m_watcher, [this] { watchFolder(); });
    return true;
}

void CloudFolder::unlink()
{
    m_settings.remove(Settings::cloudFolderPath);
    removeObserver();
    QMetaObject::invokeMethod(&m_watcher, [this] { watchFolder(); });
}

Result<QString> CloudFolder::absolutePath(const QString &path) const
{
    const std::optional<QString> root = folderPath();
    if (!root)
        return Result<QString>::failure(u"No cloud folder is linked."_s);
    if (!staysInside(path))
        return Result<QString>::failure(u"The path \"%1\" leads out of the cloud folder."_s.arg(path));
    return *root + u'/' + path;
}

Result<QList<CloudFolder::Entry>> CloudFolder::listFolder(const QString &path) const
{
    const std::optional<QString> root = folderPath();
    if (!root)
        return Result<QList<Entry>>::failure(u"No cloud folder is linked."_s);
    const Result<QString> folder = path.isEmpty() ? Result<QString>(*root) : absolutePath(path);
    if (!folder)
        return Result<QList<Entry>>::failure(folder.error());
    const QFileInfo info(*folder);
    if (!info.isDir())
        return Result<QList<Entry>>::failure(u"The folder %1 does not exist."_s.arg(*folder));
    if (!info.isReadable() || !info.isExecutable())
        return Result<QList<Entry>>::failure(u"The folder %1 cannot be read."_s.arg(*folder));
    QList<Entry> entries;
    const QFileInfoList found =
        QDir(*folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Unsorted);
    for (const QFileInfo &entry : found) {
        if (isTemporaryFileName(entry.fileName()))
            continue;
        Entry listed;
        listed.name = entry.fileName();
        listed.isFolder = entry.isDir();
        entries.append(listed);
    }
    return entries;
}

Result<FileStamp> CloudFolder::stampOfFile(const QString &path) const
{
    const Result<QString> file = absolutePath(path);
    if (!file)
        return Result<FileStamp>::failure(file.error());
    const std::optional<FileStamp> stamp = fileStamp(*file);
    if (!stamp)
        return Result<FileStamp>::failure(u"There is no file %1."_s.arg(*file));
    QFile opened(*file);
    if (!opened.open(QIODevice::ReadOnly))
        return Result<FileStamp>::failure(opened.errorString());
    return *stamp;
}

Result<QByteArray> CloudFolder::readFile(const QString &path) const
{
    const Result<QString> file = absolutePath(path);
    if (!file)
        return Result<QByteArray>::failure(file.error());
    // A FIFO or a device put there (by a sync client, or on purpose) is refused, never waited on.
    return readRegularFile(*file);
}

Result<> CloudFolder::createFile(const QString &path, const QByteArray &data)
{
    const Result<QString> file = absolutePath(path);
    if (!file)
        return Result<>::failure(file.error());
    const QString folder = QFileInfo(*file).absolutePath();
    if (!QFileInfo(folder).isDir())
        return Result<>::failure(u"The folder %1 does not exist."_s.arg(folder));
    Result<> written = writeFileAtomically(*file, data, NoFile());
    if (written)
        noteOwnChange(path, *file);
    return written;
}

Result<> CloudFolder::replaceFile(const QString &path, const QByteArray &data, const FileStamp &expected)
{
    const Result<QString> file = absolutePath(path);
    if (!file)
        return Result<>::failure(file.error());
    Result<> written = writeFileAtomically(*file, data, expected);
    if (written)
        noteOwnChange(path, *file);
    return written;
}

Result<> CloudFolder::createFolder(const QString &path) const
{
    const Result<QString> folder = absolutePath(path);
    if (!folder)
        return Result<>::failure(folder.error());
    if (!QDir().mkpath(*folder))
        return Result<>::failure(u"The folder %1 could not be made."_s.arg(*folder));
    return {};
}

Result<> CloudFolder::deletePath(const QString &path, const std::optional<FileStamp> &expected)
{
    const Result<QString> file = absolutePath(path);
    if (!file)
        return Result<>::failure(file.error());
    const QFileInfo info(*file);
    if (info.isDir())
        return Result<>::failure(u"%1 is a folder."_s.arg(*file));
    if (!info.exists() && !info.isSymLink())
        return Result<>::failure(u"There is no file %1."_s.arg(*file));
    if (expected && fileStamp(*file) != *expected)
        return Result<>::failure(u"The file was changed meanwhile."_s);
    QFile removed(*file);
    if (!removed.remove())
        return Result<>::failure(removed.errorString());
    noteOwnChange(path, *file);
    return {};
}

void CloudFolder::addObserver(dispatch::Block observer, NameFilter isWatched)
{
    {
        std::lock_guard lock(m_mutex);
        m_observer = std::move(observer);
        m_isWatched = std::move(isWatched);
        m_snapshot = takeSnapshot(m_isWatched);
    }
    QMetaObject::invokeMethod(&m_watcher, [this] { watchFolder(); });
}

void CloudFolder::removeObserver()
{
    std::lock_guard lock(m_mutex);
    m_observer = {};
    m_isWatched = {};
}

void CloudFolder::noteOwnChange(const QString &path, const QString &file)
{
    std::lock_guard lock(m_mutex);
    if (path.contains(u'/') || !m_isWatched || !m_isWatched(path))
        return;
    if (const std::optional<FileStamp> stamp = fileStamp(file))
        m_snapshot.insert(path, *stamp);
    else
        m_snapshot.remove(path);
}

CloudFolder::Snapshot CloudFolder::takeSnapshot(const NameFilter &isWatched) const
{
    Snapshot snapshot;
    const std::optional<QString> root = folderPath();
    if (!root || !isWatched)
        return snapshot;
    const QFileInfoList files = QDir(*root).entryInfoList(QDir::Files, QDir::Unsorted);
    for (const QFileInfo &file : files) {
        if (!isWatched(file.fileName()))
            continue;
        if (const std::optional<FileStamp> stamp = fileStamp(file.absoluteFilePath()))
            snapshot.insert(file.fileName(), *stamp);
    }
    return snapshot;
}

void CloudFolder::watchFolder()
{
    NameFilter isWatched;
    {
        std::lock_guard lock(m_mutex);
        isWatched = m_isWatched;
    }
    QSet<QString> wanted;
    if (const std::optional<QString> root = folderPath(); root && QFileInfo(*root).isDir()) {
        wanted.insert(*root);
        // Files are watched as well, so that a file written in place is noticed too.
        for (const QString &name : takeSnapshot(isWatched).keys())
            wanted.insert(*root + u'/' + name);
    }
    QStringList unwanted;
    for (const QString &path : m_watcher.files() + m_watcher.directories()) {
        if (!wanted.remove(path))
            unwanted.append(path);
    }
    if (!unwanted.isEmpty())
        m_watcher.removePaths(unwanted);
    if (!wanted.isEmpty())
        m_watcher.addPaths(QStringList(wanted.begin(), wanted.end()));
}

void CloudFolder::folderChanged()
{
    m_settling = m_scheduler.after(settleTime, [this] { changeSettled(); });
}

void CloudFolder::changeSettled()
{
    dispatch::Block observer;
    {
        std::lock_guard lock(m_mutex);
        if (m_observer) {
            Snapshot snapshot = takeSnapshot(m_isWatched);
            if (snapshot != m_snapshot) {
                m_snapshot = std::move(snapshot);
                observer = m_observer;
            }
        }
    }
    // Files that came in are watched from now on; files that went are dropped by the watcher.
    watchFolder();
    if (observer)
        observer();
}

} // namespace lexi
