#include "ApplicationFolders.h"

#include "StringTables.h"
#include "platform/ports/AlertPresenter.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

constexpr QFileDevice::Permissions privateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

// Creates `path` and any missing parents; the folders made are private to the user. Failure is
// left for the caller to notice when it uses the folder.
QString ensureFolder(const QString &path)
{
    if (QFileInfo(path).isDir())
        return path;
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path)
        ensureFolder(parent);
    QDir().mkdir(path, privateFolder);
    return path;
}

} // namespace

ApplicationFolders::ApplicationFolders(const QString &userDataFolder)
    : m_applicationSupportFolder(QDir(userDataFolder).filePath(u"Lexicarta"_s))
{
}

std::optional<QString> ApplicationFolders::standardUserDataFolder()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(dataHome))
        return dataHome;
    const QString home = qEnvironmentVariable("HOME");
    if (QDir::isAbsolutePath(home))
        return QDir(home).filePath(u".local/share"_s);
    return std::nullopt;
}

std::optional<ApplicationFolders> ApplicationFolders::open(const std::optional<QString> &userDataFolder,
                                                           AlertPresenter &alerts)
{
    if (userDataFolder && !userDataFolder->isEmpty()) {
        ApplicationFolders folders(*userDataFolder);
        ensureFolder(folders.m_applicationSupportFolder);
        if (QFileInfo(folders.m_applicationSupportFolder).isDir())
            return folders;
    }
    alerts.runModal({StringTables::text(u"Alert"_s),
                     StringTables::text(u"Can't find application support folder"_s),
                     {StringTables::text(u"Quit"_s)},
                     0});
    return std::nullopt;
}

QString ApplicationFolders::applicationSupportFolder() const
{
    return ensureFolder(m_applicationSupportFolder);
}

QString ApplicationFolders::vocabularyFolderPath() const
{
    return ensureFolder(QDir(m_applicationSupportFolder).filePath(u"Vocabularies"_s));
}

QString ApplicationFolders::backupFolderPath() const
{
    return ensureFolder(QDir(m_applicationSupportFolder).filePath(u"Backups"_s));
}

QString ApplicationFolders::logsFolderPath() const
{
    return ensureFolder(QDir(m_applicationSupportFolder).filePath(u"Logs"_s));
}

QString ApplicationFolders::downloadFolderPath() const
{
    return ensureFolder(QDir(m_applicationSupportFolder).filePath(u"Download"_s));
}

QString ApplicationFolders::uploadFolderPath() const
{
    return ensureFolder(QDir(m_applicationSupportFolder).filePath(u"Upload"_s));
}

} // namespace lexi
