#pragma once

#include "platform/ports/FolderChooser.h"

#include <QStringList>

#include <optional>

namespace lexi::test {

// A folder chooser that answers with a folder chosen by the test (nothing: the learner
// cancelled) and remembers what it was asked.
class ScriptedFolderChooser final : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const QString &title, const std::optional<QString> &suggestion) override
    {
        titles.append(title);
        suggestions.append(suggestion);
        return answer;
    }

    std::optional<QString> answer;
    QStringList titles;
    QList<std::optional<QString>> suggestions;
};

} // namespace lexi::test
