#pragma once

#include "sync/SyncTestSupport.h"

#include "shell/LanguageEditor.h"
#include "shell/QLXPreferencesController.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace lexi::test {

// An installation with a cloud folder, synchronisation switched on, and the languages page's
// rules working on it.
class LanguagesInstallation
{
public:
    LanguagesInstallation();

    // Saves "foreign - your" with the words `foreignWords` and gives its path.
    QString addVocabulary(const QString &foreign, const QString &your, const QStringList &foreignWords = {});
    // The foreign words of the vocabulary file `name`, in order; {"<no vocabulary>"} when it does
    // not load.
    QStringList wordsOf(const QString &name) const;
    // Puts a copy of the vocabulary file `name` into the cloud folder.
    void copyToCloud(const QString &name);
    QStringList cloudFiles() const;
    // What the preferences need, from this installation, with `keyboards` and `theme`; no
    // analytics and no browser.
    QLXPreferencesController::Environment preferencesEnvironment(InputSources &keyboards, QLXColorTheme &theme);

    QTemporaryDir cloudFolder;
    SyncInstallation here{cloudFolder.path(), u"machine"_s};
    LanguageEditor editor{
        {&here.folders, &here.storage, &here.services, &here.defaults, here.controller.get(), &here.alerts}};
};

} // namespace lexi::test
