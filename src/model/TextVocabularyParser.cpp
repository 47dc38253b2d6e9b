#include "TextVocabularyParser.h"

#include "platform/dispatch/WorkProgress.h"

#include "DelimitedRecordReader.h"
#include "TextVocabularyExporter.h"

#include "logging/QLXLogMacros.h"
#include "platform/files/RegularFile.h"
#include "platform/ports/Console.h"

#include <QHash>
#include <QSet>
#include <QStringConverter>
#include <QStringDecoder>

#include <algorithm>
#include <array>

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
// titles. Nothing when the text does not start with it.
std::optional<QStringView> afterHeaderLine(QStringView text)
{
    const QString &header = lexi::TextVocabularyExporter::headerLine;
    if (text == header)
        return QStringView();
    if (text.startsWith(header) && text[header.size()] == u'\n')
        return text.sliced(header.size() + 1);
    return std::nullopt;
}

lexi::TextVocabularyParser::Result failed(const QString &reason)
{
    QLXLogError("StorageM > wordsFromCSVFile > %@", reason);
    return {{}, reason};
}

// The quote that fields split at `delimiter` are quoted with, as spreadsheets quote them; the
// double quote when both are used as often; none when no field is quoted.
std::optional<QChar> quoteOfFields(QStringView text, QChar delimiter)
{
    const qsizetype doubleQuoted = lexi::DelimitedRecordReader::countQuotedFields(text, delimiter, u'"');
    const qsizetype singleQuoted = lexi::DelimitedRecordReader::countQuotedFields(text, delimiter, u'\'');
    if (doubleQuoted == 0 && singleQuoted == 0)
        return std::nullopt;
    return singleQuoted > doubleQuoted ? u'\'' : u'"';
}

// How well a delimiter splits a text into words: the lines that give at least two fields, and of
// those the most that give the same number of fields.
struct Fit
{
    qsizetype lines = 0;
    qsizetype linesOfOneShape = 0;

    friend auto operator<=>(const Fit &, const Fit &) = default;
};

Fit fitOf(QStringView text, QChar delimiter, std::optional<QChar> quote)
{
    Fit fit;
    QHash<qsizetype, qsizetype> linesByFieldCount;
    lexi::DelimitedRecordReader reader(text, delimiter, quote);
    while (!reader.atEnd()) {
        const qsizetype fields = reader.nextRecord().size();
        if (fields < 2)
            continue;
        ++fit.lines;
        fit.linesOfOneShape = std::max(fit.linesOfOneShape, ++linesByFieldCount[fields]);
    }
    return fit;
}

} // namespace

namespace lexi {

TextVocabularyParser::Result TextVocabularyParser::wordsFromCSVFile(const QString &path, bool invertDirection)
{
    const auto file = openRegularFile(path);
    if (!file)
        return failed(u"can't open %1: %2"_s.arg(path, file.error()));
    const std::optional<QByteArray> bytes = readWithin(**file, maximumFileSize);
    if ((*file)->error() != QFileDevice::NoError)
        return failed(u"can't read %1: %2"_s.arg(path, (*file)->errorString()));
    if (!bytes)
        return failed(u"%1 is larger than %2 bytes"_s.arg(path, QString::number(maximumFileSize)));
    std::optional<QString> text = decodedText(*bytes);
    if (!text)
        return failed(u"%1 is no UTF-8 text, nor UTF-16 or UTF-32 with a byte-order mark"_s.arg(path));
    text->replace(u"\r\n"_s, u"\n"_s);
    text->replace(u'\r', u'\n');
    const std::optional<QStringView> afterHeader = afterHeaderLine(*text);
    const QStringView lines = afterHeader.value_or(*text);
    findDelimiter(lines, afterHeader.has_value());
    std::variant<WordList, QString> words = wordsFromText(lines, invertDirection);
    if (const QString *reason = std::get_if<QString>(&words))
        return failed(u"%1 %2"_s.arg(path, *reason));
    return {std::get<WordList>(std::move(words)), std::nullopt};
}

// The delimiter is the one that splits the most lines into words, and of those the one that gives
// the most lines the same number of fields, counting only delimiters outside quoted fields; the
// quote is the one the fields split at that delimiter are quoted with. So quoted cells, and
// comments full of another delimiter, do not sway the choice. Only where that leaves a tie do the
// character counts decide: "\t" or ";" when there are more of it than of each other delimiter,
// else ",". Text after the exporter's header line is read as the exporter writes it: its comma
// form with every field in double quotes (inner quotes not doubled), its tab form unquoted.
void TextVocabularyParser::findDelimiter(QStringView text, bool isOwnExport)
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

    // The exporter's comma form starts every line with a double quote; its tab form quotes nothing.
    const bool readAsExported = isOwnExport && !text.isEmpty();
    m_isOwnCommaForm = readAsExported
        && std::ranges::all_of(text.tokenize(u'\n'), [](QStringView line) { return line.startsWith(u'"'); });
    if (readAsExported) {
        m_csvDelimiter = m_isOwnCommaForm ? u',' : u'\t';
        m_csvQuotation = m_isOwnCommaForm ? std::optional<QChar>(u'"') : std::nullopt;
    } else {
        QChar byCount = u',';
        if (tabs > commas && tabs > semicolons)
            byCount = u'\t';
        if (semicolons > tabs && semicolons > commas)
            byCount = u';';
        constexpr std::array<QChar, 3> delimiters = {u',', u'\t', u';'};
        std::array<std::optional<QChar>, 3> quotes;
        std::optional<Fit> best;
        int bestOnes = 0;
        for (std::size_t index = 0; index < delimiters.size(); ++index) {
            quotes[index] = quoteOfFields(text, delimiters[index]);
            const Fit fit = fitOf(text, delimiters[index], quotes[index]);
            if (!best || fit > *best) {
                best = fit;
                bestOnes = 1;
                m_csvDelimiter = delimiters[index];
            } else if (fit == *best) {
                ++bestOnes;
            }
        }
        if (bestOnes > 1)
            m_csvDelimiter = byCount;
        const auto chosen = std::find(delimiters.cbegin(), delimiters.cend(), m_csvDelimiter);
        m_csvQuotation = quotes[std::size_t(chosen - delimiters.cbegin())];
    }

    Console::writeLine(u"finding DElimiters in %1 lines:\n \" %2   ' %3   t %4ld   , %5\nchosen: %6 %7"_s.arg(
        QString::number(lines), QString::number(doubleQuotes), QString::number(singleQuotes), QString::number(tabs),
        QString::number(commas), m_csvQuotation ? QString(*m_csvQuotation) : u"(null)"_s, QString(m_csvDelimiter)));
}

std::variant<WordList, QString> TextVocabularyParser::wordsFromText(QStringView text, bool invertDirection) const
{
    WordList words;
    words.reserve(10);
    qsizetype tagCount = 0;
    DelimitedRecordReader reader(text, m_csvDelimiter, m_csvQuotation,
                                 m_isOwnCommaForm ? DelimitedRecordReader::Quoting::everyField
                                                  : DelimitedRecordReader::Quoting::asNeeded);
    qsizetype records = 0;
    while (!reader.atEnd()) {
        const QStringList fields = reader.nextRecord();
        if (m_progress && ++records % 1024 == 0)
            m_progress->set(reader.position(), text.size());
        if (fields.size() < 2)
            continue;
        const QStringList yourAlternatives = alternatives(fields[invertDirection ? 1 : 0]);
        const QStringList foreignAlternatives = alternatives(fields[invertDirection ? 0 : 1]);
        const qsizetype lineWords = yourAlternatives.size() * foreignAlternatives.size();
        if (lineWords == 0)
            continue;
        if (lineWords > maximumWordCount - words.size())
            return u"gives more than %1 words"_s.arg(maximumWordCount);
        const QStringList tags = tagsOfFields(fields);
        // Checked before any word is made: the product of a line can be far beyond the limit.
        if (tags.size() > (maximumTagCount - tagCount) / lineWords)
            return u"gives more than %1 tags on its words in all"_s.arg(maximumTagCount);
        tagCount += lineWords * tags.size();
        const QString comment = fields.size() > 2 ? fields[2] : QString();
        const qsizetype firstOfLine = words.size();
        for (const QString &yourWord : yourAlternatives) {
            for (const QString &foreignWord : foreignAlternatives) {
                auto word = std::make_shared<QLXWord>(yourWord, foreignWord, comment);
                if (words.size() == firstOfLine)
                    word->setTags(tags);
                else
                    word->setTagsOf(*words[firstOfLine]);
                words.append(std::move(word));
            }
        }
    }
    return words;
}

} // namespace lexi
