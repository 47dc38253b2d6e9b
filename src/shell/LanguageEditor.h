#pragma once

#include "LanguageSheetContent.h"

#include "model/LanguageNames.h"
#include "model/VocabularyServices.h"
#include "platform/values/Result.h"

#include <QString>

#include <optional>

class DropBoxController;
class QLXFile;
class QLXStorageManager;

namespace lexi {

class AlertPresenter;
class ApplicationFolders;
class Defaults;

// The rules of the languages page: whether the language sheet's names can be saved, saving what
// the sheet describes, and deleting a vocabulary. Each vocabulary's deleted flag (a setting named
// by its display name) tells the synchronisation not to bring back the cloud copy of a
// vocabulary deleted or renamed here.
class LanguageEditor
{
public:
    struct Environment
    {
        // All of them must outlive the editor; `sync` may be none.
        const ApplicationFolders *folders = nullptr;
        QLXStorageManager *storage = nullptr;
        const VocabularyServices *services = nullptr;
        Defaults *defaults = nullptr;
        DropBoxController *sync = nullptr;
        AlertPresenter *alerts = nullptr;
    };

    enum class Removal { cancelled, deleted };

    explicit LanguageEditor(Environment environment);

    // The names the sheet's fields give, when they can name its vocabulary: two different names,
    // none unusable, and no other vocabulary file of that display name here (ignoring case, as
    // the cloud does). Otherwise the learner is told why and nothing is returned: the sheet stays
    // open. Main thread.
    std::optional<LanguageNames> checkSheet(const LanguageSheetContent &content) const;

    // Saves the vocabulary the sheet describes under `names`: a new one when adding, else the
    // edited file's vocabulary with the sheet's changes, marked for the next synchronisation.
    // A vocabulary that got another name leaves its old file (and, when the name changed more
    // than in letter case, its cloud copy, with its deleted flag set). The save path, or why
    // nothing was saved. Loads and saves a whole vocabulary: not on the main thread.
    Result<QString> saveSheet(const LanguageSheetContent &content, const LanguageNames &names) const;

    // Asks the learner whether to delete the vocabulary file (also from the cloud, while
    // synchronisation is on) and does so. Main thread.
    Removal removeLanguage(const QLXFile &file) const;

    // Tells the learner that the sheet's changes could not be saved.
    void showCouldNotSave() const;

    bool isDeletedFlagSet(const QString &displayName) const;

private:
    void setDeletedFlag(const QString &displayName, bool deleted) const;
    bool isSyncEnabled() const;

    const Environment m_environment;
};

} // namespace lexi
