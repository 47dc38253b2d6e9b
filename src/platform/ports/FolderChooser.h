#pragma once

#include <QString>

#include <optional>

namespace lexi {

// Asks the learner to choose a folder: a folder dialog in the program, a scripted fake in tests.
class FolderChooser
{
public:
    virtual ~FolderChooser() = default;

    // The folder chosen, the dialog opening at `suggestion` when there is one; nothing when the
    // learner cancels. Main thread only: the dialog is modal.
    virtual std::optional<QString> chooseFolder(const QString &title, const std::optional<QString> &suggestion) = 0;
};

} // namespace lexi
