#include "TextVocabularyExporter.h"

#include "Lexicarta.h"

#include "platform/dispatch/WorkProgress.h"

#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace {

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
                   bool direction, lexi::WorkProgress *progress)
{
    QString text = lexi::TextVocabularyExporter::headerLine;
    const lexi::WordList words = vocabulary.allWords();
    qsizetype written = 0;
    for (const auto &word : words) {
        if (progress && ++written % 1024 == 0)
            progress->set(written, words.size());
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

QByteArray TextVocabularyExporter::fileContents(const Lexicarta &vocabulary, bool usingComma, bool includeComment,
                                               bool includeDifficulty, bool direction, WorkProgress *progress)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder.encode(exportText(vocabulary, usingComma, includeComment, includeDifficulty, direction, progress));
}

} // namespace lexi
