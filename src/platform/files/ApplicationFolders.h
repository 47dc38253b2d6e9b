#pragma once

#include <QString>

#include <optional>

namespace lexi {

class AlertPresenter;

// The application's folder and its subfolders, under the user's data folder
// ($XDG_DATA_HOME, ~/.local/share by default):
//
//   Lexicarta/               applicationSupportFolder
//   Lexicarta/Vocabularies   vocabulary files
//   Lexicarta/Logs           synchronisation logs
//   Lexicarta/Upload         (kept for the layout; nothing uses it)
//   Lexicarta/Download       downloaded cloud files
//   Lexicarta/Backups        backup copies
//
// The paths are fixed when the object is made; each getter creates its folder when it is
// missing (private to the user), so a folder deleted while the program runs comes back. Several
// objects with other roots can live in one process, as two installations do in tests.
class ApplicationFolders
{
public:
    explicit ApplicationFolders(const QString &userDataFolder);

    // $XDG_DATA_HOME, else ~/.local/share; nothing when neither can be worked out.
    static std::optional<QString> standardUserDataFolder();

    // The folders under `userDataFolder`, once the application folder exists (it is created with
    // any missing parents). When there is no data folder or the application folder cannot be
    // made, tells the learner "Can't find application support folder" and gives nothing: the
    // program cannot run.
    static std::optional<ApplicationFolders> open(const std::optional<QString> &userDataFolder,
                                                  AlertPresenter &alerts);

    QString applicationSupportFolder() const;
    QString vocabularyFolderPath() const;
    QString backupFolderPath() const;
    QString logsFolderPath() const;
    QString downloadFolderPath() const;
    QString uploadFolderPath() const;

private:
    QString m_applicationSupportFolder;
};

} // namespace lexi
