#pragma once

#include "QLXWord.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>
#include <variant>

namespace lexi {

class WorkProgress;

// Turns comma-, semicolon- or tab-separated text, as spreadsheets and other trainers write it,
// into new words. Each line holds your word, the foreign word (the two swapped on request), an
// optional comment, and in every further column tags separated by commas. Either side may list
// alternatives separated by "@": each alternative of one side makes a word with each of the
// other side's. The delimiter and the quote character are found from the text itself.
class TextVocabularyParser
{
public:
    // Larger files are refused rather than read into memory.
    static constexpr qint64 maximumFileSize = 64 * 1024 * 1024;
    // Alternatives multiply, and every word of a line carries the line's tags: text that would
    // give more words, or more tags on its words in all, than these is refused whole.
    static constexpr qsizetype maximumWordCount = 500'000;
    static constexpr qsizetype maximumTagCount = 10'000'000;

    // What reading a file gave.
    struct Result
    {
        WordList words;
        // Why the file could not be read, to be logged or shown; none when it was read, also
        // when it held no words.
        std::optional<QString> failure;
    };

    // The words of the text file at `path`, in the order of its lines: new words of level 0 with
    // identifiers 0, in no vocabulary. The file is UTF-8, or UTF-16 or UTF-32 with a byte-order
    // mark; lines end in LF, CR LF or CR. The header line written by TextVocabularyExporter is
    // passed over; lines with fewer than two fields, and alternatives that are empty or a single
    // blank, give no words. The words of one line share one list of tags. A file that cannot be
    // read, is no regular file, is too large, is not text in one of those encodings or holds NUL
    // characters, or gives too many words or tags yields no words and the reason, which is also
    // logged as an error.
    Result wordsFromCSVFile(const QString &path, bool invertDirection);

    // Where reads tell how far their words have come; none by default.
    void setProgress(WorkProgress *progress) { m_progress = progress; }

    // What the last read found: ",", "\t" or ";"; the double or the single quote, or none.
    QChar csvDelimiter() const { return m_csvDelimiter; }
    std::optional<QChar> csvQuotation() const { return m_csvQuotation; }

private:
    // Chooses the delimiter and the quote for `text` (see the source), and writes the character
    // counts and the choice to the console. `isOwnExport`: the text followed the header line of
    // TextVocabularyExporter.
    void findDelimiter(QStringView text, bool isOwnExport);
    // The words, or why there are none.
    std::variant<WordList, QString> wordsFromText(QStringView text, bool invertDirection) const;

    WorkProgress *m_progress = nullptr;
    QChar m_csvDelimiter = u',';
    std::optional<QChar> m_csvQuotation;
    bool m_isOwnCommaForm = false;
};

} // namespace lexi
