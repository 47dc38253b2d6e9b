#include "TextVocabularyExporter.h"

#include "Lexicarta.h"

#include "logging/QLXLogMacros.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/StringTables.h"
#include "platform/values/Format.h"

#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

const QString importTable = u"Import"_s;

QString onOneLine(QString text)
{
    text.replace(u"\r\n"_s, u" "_s);
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

QString difficulty(const QLXWord &word)
{
    return QString::number(QLXWord::nativeLevel - word.effectiveLevel());
}

QString exportText(const Lexicarta &vocabulary, bool usingComma, bool includeComment, bool includeDifficulty,
                   bool direction)
{
    QString text = lexi::TextVocabularyExporter::headerLine;
    for (const auto &word : vocabulary.allWords()) {
        const QString first = onOneLine(direction ? word->yourWord() : word->foreignWord());
        const QString second = onOneLine(direction ? word->foreignWord() : word->yourWord());
        text += u'\n';
        if (usingComma) {
            text += quoted(QString(first).remove(u'"')) + u',' + quoted(QString(second).remove(u'"'));
            if (includeComment)
                text += u',' + quoted(onOneLine(word->comment()));
            if (includeDifficulty)
                text += u',' + quoted(difficulty(*word));
        } else {
            text += QString(first).replace(u'\t', u' ') + u'\t' + QString(second).replace(u'\t', u' ');
            if (includeComment)
                text += u'\t' + onOneLine(word->comment());
            if (includeDifficulty)
                text += u'\t' + difficulty(*word);
        }
    }
    return text;
}

} // namespace

namespace lexi {

bool TextVocabularyExporter::exportVocabulary(const Lexicarta &vocabulary, const QString &path, bool usingComma,
                                              bool includeComment, bool includeDifficulty, bool direction)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder.encode(exportText(vocabulary, usingComma, includeComment, includeDifficulty,
                                                       direction));
    const Result<> written = writeFileAtomically(path, bytes);
    if (written)
        return true;
    const QString &error = written.error();

    QLXLogError("exporter > writing %@ failed: %@", path, error);
    vocabulary.services().alertPresenter.runModal({StringTables::text(u"Error"_s, importTable),
                                                   format(StringTables::text(u"exportWriteErrorMsg"_s, importTable),
                                                          path, error),
                                                   {StringTables::text(u"OK"_s, importTable)},
                                                   0});
    return false;
}

} // namespace lexi
