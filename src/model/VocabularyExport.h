#pragma once

#include "platform/ports/AlertPresenter.h"

#include <QString>

#include <atomic>
#include <optional>

class Lexicarta;

namespace lexi {

class ApplicationFolders;
class WorkProgress;

// The three kinds of file a vocabulary is exported to.
enum class ExportFormat {
    // The own vocabulary format, ".qlxv".
    ownFormat,
    // The older product's keyed archive, ".tbf".
    olderArchive,
    // Comma- or tab-separated text, ".csv" or ".txt" (see TextVocabularyExporter).
    text,
};

// How the text form is laid out.
struct TextExportOptions
{
    bool usingComma = true;
    bool includeComment = false;
    bool includeDifficulty = false;
    // Your word in the first column, else the foreign word.
    bool yourWordFirst = true;
};

// What an export's write came to.
struct ExportResult
{
    bool written = false;
    // Why nothing was written, to be shown to the learner; none when written or cancelled.
    std::optional<Alert> failure;
};

// Writes `vocabulary` to `path` in `format`. The file is encoded whole first and then put in
// place in one step (a failed write leaves what was at `path` as it was); when `cancelled` is set
// by then, nothing is written. The text form tells `progress`, when there is one, how far it has
// come. A failure is logged. Any thread.
ExportResult writeExport(const Lexicarta &vocabulary, const QString &path, ExportFormat format,
                         const TextExportOptions &options, const std::atomic<bool> &cancelled,
                         WorkProgress *progress = nullptr);

// Whether `path` lies in one of the program's own folders (vocabularies, backups, downloads),
// links followed. An export there would be taken for one of the program's files: one over the
// open vocabulary's file would be loaded at the next synchronisation, and every word not
// exported would be lost.
bool isInProgramFolders(const QString &path, const ApplicationFolders &folders);

} // namespace lexi
