#include "VocabularyJsonWriter.h"

#include "StoredFormKeys.h"
#include "VocabularySnapshot.h"

#include "platform/values/WholeNumbers.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <string>

namespace lexi {

namespace {

// Doubles hold every whole number up to this exactly.
constexpr double largestExactWholeNumber = 0x1p53;

// The size of the pieces handed on while writing.
constexpr size_t pieceSize = 1 << 18;

class DocumentWriter
{
public:
    using Take = std::function<bool(QByteArray piece)>;

    // With `take`, the text goes to it in pieces (see handOnIfFull()); without, all of it stays
    // in `buffer`.
    explicit DocumentWriter(rapidjson::StringBuffer &buffer, const Take *take = nullptr)
        : m_buffer(buffer), m_writer(buffer), m_take(take)
    {
    }

    // Hands the rest of the text on.
    bool finish() { return !m_take || handOn(); }

    void write(const VocabularySnapshot &snapshot)
    {
        m_writer.StartObject();
        key(storedKey::foreignFacultativeWords);
        strings(snapshot.foreignFacultativeWords);
        key(storedKey::foreignLanguageName);
        string(snapshot.foreignLanguageName);
        key(storedKey::foreignTextInputSourceName);
        string(snapshot.foreignTextInputSourceName);
        key(storedKey::isAutoSelectInputSource);
        m_writer.Bool(snapshot.isAutoSelectInputSource);
        key(storedKey::isDirty);
        m_writer.Bool(snapshot.isDirty);
        key(storedKey::isDisableMisspellRecognition);
        m_writer.Bool(snapshot.isDisableMisspellRecognition);
        key(storedKey::language);
        string(snapshot.language);
        if (!snapshot.lineage.isEmpty()) {
            key(storedKey::lineage);
            strings(snapshot.lineage);
        }
        // The level lists in the sorted order of their keys.
        for (const size_t level : {4, 3, 5, 2}) {
            key(storedKey::levelLists[level]);
            words(snapshot.levels[level]);
        }
        key(storedKey::statistics);
        statistics(snapshot.dailySnapshots);
        for (const size_t level : {1, 0}) {
            key(storedKey::levelLists[level]);
            words(snapshot.levels[level]);
        }
        key(storedKey::version);
        m_writer.Int64(snapshot.version);
        key(storedKey::yourFacultativeWords);
        strings(snapshot.yourFacultativeWords);
        key(storedKey::yourLanguageName);
        string(snapshot.yourLanguageName);
        key(storedKey::yourTextInputSourceName);
        string(snapshot.yourTextInputSourceName);
        m_writer.EndObject();
    }

private:
    // Between two values the writer keeps no text of its own, so the buffer can be handed on and
    // emptied. Once `take` said NO, the rest is written and dropped.
    bool handOnIfFull() { return !m_take || m_buffer.GetSize() < pieceSize || handOn(); }
    bool handOn()
    {
        if (m_taking && m_buffer.GetSize() > 0)
            m_taking = (*m_take)(QByteArray(m_buffer.GetString(), qsizetype(m_buffer.GetSize())));
        m_buffer.Clear();
        return m_taking;
    }

    void key(QLatin1StringView name) { m_writer.Key(name.data(), rapidjson::SizeType(name.size())); }

    // The text in UTF-8; a lone surrogate becomes the replacement character.
    void string(const QString &text)
    {
        m_utf8.clear();
        const QChar *characters = text.constData();
        const qsizetype length = text.size();
        for (qsizetype i = 0; i < length; ++i) {
            char32_t code = characters[i].unicode();
            if (code < 0x80) {
                m_utf8.push_back(char(code));
                continue;
            }
            if (QChar::isHighSurrogate(code) && i + 1 < length && characters[i + 1].isLowSurrogate())
                code = QChar::surrogateToUcs4(char16_t(code), characters[++i].unicode());
            else if (QChar::isSurrogate(code))
                code = QChar::ReplacementCharacter;
            if (code < 0x800) {
                m_utf8.push_back(char(0xC0 | (code >> 6)));
            } else if (code < 0x10000) {
                m_utf8.push_back(char(0xE0 | (code >> 12)));
                m_utf8.push_back(char(0x80 | ((code >> 6) & 0x3F)));
            } else {
                m_utf8.push_back(char(0xF0 | (code >> 18)));
                m_utf8.push_back(char(0x80 | ((code >> 12) & 0x3F)));
                m_utf8.push_back(char(0x80 | ((code >> 6) & 0x3F)));
            }
            m_utf8.push_back(char(0x80 | (code & 0x3F)));
        }
        m_writer.String(m_utf8.data(), rapidjson::SizeType(m_utf8.size()));
    }

    void strings(const QStringList &texts)
    {
        m_writer.StartArray();
        for (const QString &text : texts)
            string(text);
        m_writer.EndArray();
    }

    // Whole numbers as integers, so that every reader gets them back exactly.
    void number(double value)
    {
        if (std::trunc(value) == value && std::abs(value) <= largestExactWholeNumber)
            m_writer.Int64(qint64(value));
        else
            m_writer.Double(value);
    }

    void words(const StoredWordList &list)
    {
        m_writer.StartObject();
        key(storedKey::words);
        m_writer.StartArray();
        for (const std::shared_ptr<const StoredWord> &word : list) {
            this->word(*word);
            handOnIfFull();
        }
        m_writer.EndArray();
        m_writer.EndObject();
    }

    void word(const StoredWord &word)
    {
        m_writer.StartObject();
        if (!word.comment.isEmpty()) {
            key(storedKey::comment);
            string(word.comment);
        }
        if (word.creationID > 0) {
            key(storedKey::creationID);
            m_writer.Int64(word.creationID);
        }
        if (word.dontAskAgain) {
            key(storedKey::dontAskAgain);
            m_writer.Bool(true);
        }
        key(storedKey::foreignWord);
        string(word.foreignWord);
        if (word.level != 0) {
            key(storedKey::level);
            m_writer.Int64(lexi::clampedToInt64(word.level));
        }
        // Whole seconds since 1970, signed so that dates before 1970 keep their value.
        if (word.lastAsked && word.lastAsked->isPlausible()) {
            key(storedKey::lastAsked);
            m_writer.Int64(truncatedToInt64(word.lastAsked->secondsSince1970()));
        }
        if (word.modificationID > 0) {
            key(storedKey::modificationID);
            m_writer.Int64(word.modificationID);
        }
        if (!word.tags.isEmpty()) {
            key(storedKey::tags);
            strings(word.tags);
        }
        if (word.fallenDownCounter != 0) {
            key(storedKey::fallenDownCounter);
            m_writer.Int64(lexi::clampedToInt64(word.fallenDownCounter));
        }
        key(storedKey::yourWord);
        string(word.yourWord);
        m_writer.EndObject();
    }

    void statistics(const QList<QLXDailyStatisticsSnapshot> &snapshots)
    {
        m_writer.StartObject();
        key(storedKey::dailySnapshots);
        m_writer.StartArray();
        for (const QLXDailyStatisticsSnapshot &snapshot : snapshots) {
            m_writer.StartObject();
            key(storedKey::day);
            number(snapshot.storedDay().secondsSince1970());
            // The counts in the sorted order of their keys: noLT, noMT, noN, noST, noU, noUST.
            for (const quint64 level : {4, 3, 5, 2, 0, 1}) {
                const qint64 count = snapshot.numberOfWordsInLevel(level);
                if (count > 0) {
                    key(storedKey::levelCounts[level]);
                    m_writer.Int64(count);
                }
            }
            m_writer.EndObject();
        }
        m_writer.EndArray();
        m_writer.EndObject();
    }

    rapidjson::StringBuffer &m_buffer;
    rapidjson::Writer<rapidjson::StringBuffer> m_writer;
    const Take *m_take = nullptr;
    bool m_taking = true;
    std::string m_utf8;
};

} // namespace

QByteArray VocabularyJsonWriter::json(const VocabularySnapshot &snapshot)
{
    rapidjson::StringBuffer buffer;
    DocumentWriter(buffer).write(snapshot);
    return QByteArray(buffer.GetString(), qsizetype(buffer.GetSize()));
}

void VocabularyJsonWriter::write(const VocabularySnapshot &snapshot, const std::function<bool(QByteArray piece)> &take)
{
    rapidjson::StringBuffer buffer;
    DocumentWriter writer(buffer, &take);
    writer.write(snapshot);
    writer.finish();
}

} // namespace lexi
