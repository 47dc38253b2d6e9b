#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;

namespace lexi {

// What an open or a save panel asks: its title, the text of its accepting button, a line telling
// what to choose, the extensions of the files it offers (without the dot), and the name a save
// panel proposes.
struct FilePanel
{
    QString title;
    QString prompt;
    QString message;
    QStringList extensions;
    QString suggestedName;

    friend bool operator==(const FilePanel &, const FilePanel &) = default;
};

// `path` when its extension is one of `extensions` (in any case), else `path` with the first of
// them added: the name a save panel answers with, so that what it writes can be opened again.
QString withAllowedExtension(const QString &path, const QStringList &extensions);

// Asks the learner for a file to read or to write: file dialogs in the program, a scripted fake
// in tests. A panel is shown over the main window, modal to it only, and the call returns at once;
// `answer` runs later on the main thread with the chosen path, or with nothing when the learner
// cancelled. `receiver` is the object the answer is for (never none): when it is gone by then,
// nothing runs. Main thread only.
class FileChooser
{
public:
    using Answer = std::function<void(const std::optional<QString> &path)>;

    virtual ~FileChooser() = default;

    // One existing file with one of the panel's extensions.
    virtual void chooseFileToOpen(const FilePanel &panel, QObject *receiver, Answer answer) = 0;
    // A file to write, starting at the panel's proposed name; the path always ends in one of the
    // panel's extensions (see withAllowedExtension).
    virtual void chooseFileToSave(const FilePanel &panel, QObject *receiver, Answer answer) = 0;
};

} // namespace lexi
