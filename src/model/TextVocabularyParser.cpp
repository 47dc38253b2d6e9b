#include "TextVocabularyParser.h"

#include "DelimitedRecordReader.h"
#include "TextVocabularyExporter.h"

#include "logging/QLXLogMacros.h"
#include "platform/ports/Console.h"
#include "platform/values/Format.h"

#include <QFile>
#include <QSet>
#include <QStringConverter>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

qsizetype codeUnitSize(std::optional<QStringConverter::Encoding> encoding)
{
    switch (encoding.value_or(QStringConverter::Utf8)) {
    case QStringConverter::Utf16:
    case QStringConverter::Utf16LE:
    case QStringConverter::Utf16BE:
        return 2;
    case QStringConverter::Utf32:
    case QStringConverter::Utf32LE:
    case QStringConverter::Utf32BE:
        return 4;
    default:
        return 1;
    }
}

// The encoding comes from the byte-order mark, UTF-8 without one. Text that does not decode
// without errors, or holds NUL characters (UTF-16 without a mark, a binary file), is no text.
std::optional<QString> decodedText(const QByteArray &bytes)
{
    const std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8), QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.size() % codeUnitSize(encoding) != 0 || text.contains(QChar(u'\0')))
        return std::nullopt;
    return text;
}

// The alternatives of one side that make words: neither empty nor a single blank.
QStringList alternatives(const QString &side)
{
    QStringList alternatives = side.split(u'@');
    alternatives.removeIf([](const QString &alternative) { return alternative.isEmpty() || alternative == u" "_s; });
    return alternatives;
}

// The distinct tags of the fields from the fourth on, in order of appearance.
QStringList tagsOfFields(const QStringList &fields)
{
    QStringList tags;
    QSet<QString> seen;
    for (qsizetype column = 3; column < fields.size(); ++column) {
        for (QStringView piece : QStringView(fields[column]).tokenize(u',')) {
            const QString tag = piece.trimmed().toString();
            if (!tag.isEmpty() && !seen.contains(tag)) {
                seen.insert(tag);
                tags.append(tag);
            }
        }
    }
    return tags;
}

// The exporter's header line is no data: split at the delimiter it would make a word of its
// titles, and its commas would outvote the tabs of a short tab-separated export.
QStringView withoutHeaderLine(QStringView text)
{
    const QString &header = lexi::TextVocabularyExporter::headerLine;
    if (text == header)
        return {};
    if (text.startsWith(header) && text[header.size()] == u'\n')
        return text.sliced(header.size() + 1);
    return text;
}

lexi::TextVocabularyParser::Result failed(const QString &reason)
{
    QLXLogError("StorageM > wordsFromCSVFile > %@", reason);
    return {{}, reason};
}

} // namespace

namespace lexi {

TextVocabularyParser::Result TextVocabularyParser::wordsFromCSVFile(const QString &path, bool invertDirection)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(format(u"can't open %@: %@", path, file.errorString()));
    const QString tooLarge = format(u"%@ is larger than %ld bytes", path, maximumFileSize);
    if (!file.isSequential() && file.size() > maximumFileSize)
        return failed(tooLarge);
    // A device without a size is read up to one byte more than allowed.
    const QByteArray bytes = file.isSequential() ? file.read(maximumFileSize + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(format(u"can't read %@: %@", path, file.errorString()));
    if (bytes.size() > maximumFileSize)
        return failed(tooLarge);
    std::optional<QString> text = decodedText(bytes);
    if (!text)
        return failed(format(u"%@ is no UTF-8 text, nor UTF-16 or UTF-32 with a byte-order mark", path));
    text->replace(u"\r\n"_s, u"\n"_s);
    text->replace(u'\r', u'\n');
    const QStringView lines = withoutHeaderLine(*text);
    findDelimiter(lines);
    std::optional<WordList> words = wordsFromText(lines, invertDirection);
    if (!words)
        return failed(format(u"%@ gives more than %ld words", path, maximumWordCount));
    return {*std::move(words), std::nullopt};
}

void TextVocabularyParser::findDelimiter(QStringView text)
{
    qsizetype lines = 1;
    qsizetype doubleQuotes = 0;
    qsizetype singleQuotes = 0;
    qsizetype commas = 0;
    qsizetype semicolons = 0;
    qsizetype tabs = 0;
    for (const QChar character : text) {
        switch (character.unicode()) {
        case u'\n': ++lines; break;
        case u'"': ++doubleQuotes; break;
        case u'\'': ++singleQuotes; break;
        case u',': ++commas; break;
        case u';': ++semicolons; break;
        case u'\t': ++tabs; break;
        default: break;
        }
    }

    m_csvDelimiter = u',';
    if (tabs > commas && tabs > semicolons)
        m_csvDelimiter = u'\t';
    if (semicolons > tabs && semicolons > commas)
        m_csvDelimiter = u';';
    m_csvQuotation.reset();
    if (doubleQuotes >= lines)
        m_csvQuotation = u'"';
    if (singleQuotes >= lines && singleQuotes > doubleQuotes)
        m_csvQuotation = u'\'';

    Console::writeLine(format(u"finding DElimiters in %ld lines:\n \" %ld   ' %ld   t %ldld   , %ld\nchosen: %@ %@",
                              lines, doubleQuotes, singleQuotes, tabs, commas,
                              m_csvQuotation ? QString(*m_csvQuotation) : u"(null)"_s, QString(m_csvDelimiter)));
}

std::optional<WordList> TextVocabularyParser::wordsFromText(QStringView text, bool invertDirection) const
{
    WordList words;
    words.reserve(10);
    DelimitedRecordReader reader(text, m_csvDelimiter, m_csvQuotation);
    while (!reader.atEnd()) {
        const QStringList fields = reader.nextRecord();
        if (fields.size() < 2)
            continue;
        const QStringList yourAlternatives = alternatives(fields[invertDirection ? 1 : 0]);
        const QStringList foreignAlternatives = alternatives(fields[invertDirection ? 0 : 1]);
        if (yourAlternatives.size() * foreignAlternatives.size() > maximumWordCount - words.size())
            return std::nullopt;
        const QString comment = fields.size() > 2 ? fields[2] : QString();
        const QStringList tags = tagsOfFields(fields);
        for (const QString &yourWord : yourAlternatives) {
            for (const QString &foreignWord : foreignAlternatives) {
                auto word = std::make_shared<QLXWord>(yourWord, foreignWord, comment);
                word->setTags(tags);
                words.append(std::move(word));
            }
        }
    }
    return words;
}

} // namespace lexi
