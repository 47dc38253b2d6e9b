#include "VocabularyExport.h"

#include "Lexicarta.h"
#include "QLXStorageManager.h"
#include "TextVocabularyExporter.h"
#include "VocabularySnapshot.h"

#include "logging/QLXLogMacros.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/StringTables.h"
#include "platform/plist/KeyedArchive.h"
#include "platform/values/Format.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

const QString importTable = u"Import"_s;

ExportResult failed(const QString &path, const QString &reason)
{
    QLXLogError("exporter > writing %@ failed: %@", path, reason);
    return {false, Alert{StringTables::text(u"Error"_s, importTable),
                         format(StringTables::text(u"exportWriteErrorMsg"_s, importTable), path, reason),
                         {StringTables::text(u"OK"_s, importTable)},
                         0}};
}

std::optional<QByteArray> fileContents(const Lexicarta &vocabulary, ExportFormat format,
                                       const TextExportOptions &options, WorkProgress *progress)
{
    switch (format) {
    case ExportFormat::ownFormat:
        return QLXStorageManager::ownFormatData(VocabularySnapshot(vocabulary));
    case ExportFormat::olderArchive:
        return KeyedArchive::archivedData(vocabulary);
    case ExportFormat::text:
        return TextVocabularyExporter::fileContents(vocabulary, options.usingComma, options.includeComment,
                                                    options.includeDifficulty, options.yourWordFirst, progress);
    }
    return std::nullopt;
}

// The folder itself with links followed, or the path as it is while it does not exist.
QString resolvedFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

bool isInFolder(const QString &folder, const QString &ancestor)
{
    return folder == ancestor || folder.startsWith(ancestor + u'/');
}

} // namespace

ExportResult writeExport(const Lexicarta &vocabulary, const QString &path, ExportFormat format,
                         const TextExportOptions &options, const std::atomic<bool> &cancelled,
                         WorkProgress *progress)
{
    const std::optional<QByteArray> contents = fileContents(vocabulary, format, options, progress);
    if (cancelled)
        return {};
    if (!contents)
        return failed(path, u"the vocabulary is too large for its file"_s);
    if (const Result<> written = writeFileAtomically(path, *contents); !written)
        return failed(path, written.error());
    return {true, std::nullopt};
}

bool isInProgramFolders(const QString &path, const ApplicationFolders &folders)
{
    const QString target = resolvedFolder(QFileInfo(path).absolutePath());
    for (const QString &folder :
         {folders.vocabularyFolderPath(), folders.backupFolderPath(), folders.downloadFolderPath()}) {
        if (isInFolder(target, resolvedFolder(folder)))
            return true;
    }
    return false;
}

} // namespace lexi
