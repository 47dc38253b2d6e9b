#pragma once

#include <QByteArrayView>
#include <QString>

namespace lexi {

// How a file chosen for import is read.
enum class ImportFileFormat {
    // The own vocabulary format (".qlxv").
    ownFormat,
    // The older product's keyed archive (".tbf").
    olderArchive,
    // Comma-, semicolon- or tab-separated text.
    text,
};

// By what the file begins with: a bzip2 stream is the own format, a binary or XML property list
// the older product's archive. Any other file by its extension, in any case: ".qlxv" and ".tbf"
// are those formats (their readers then tell what is wrong with the file), anything else text.
ImportFileFormat importFileFormatOf(QByteArrayView firstBytes, const QString &path);
// The same for the file at `path`, reading its first bytes; a file that cannot be opened is
// known by its extension alone.
ImportFileFormat importFileFormat(const QString &path);

} // namespace lexi
