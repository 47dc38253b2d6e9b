#include "VocabularyJsonReader.h"

#include "JsonText.h"
#include "Lexicarta.h"
#include "StoredFormKeys.h"
#include "VocabularySnapshot.h"

#include "platform/files/StringTables.h"

#include <rapidjson/reader.h>

#include <QHash>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

using jsonText::decodedText;
using jsonText::Scalar;

constexpr size_t levelCount = VocabularySnapshot::levelCount;
// Words below this level never keep a don't-ask-again mark in the stored forms.
constexpr size_t firstLevelKeepingDontAskAgain = 4;

// The text of a source, piece by piece, as the parser reads it: one character at a time.
class PieceStream
{
public:
    using Ch = char;

    explicit PieceStream(const VocabularyJsonReader::Source &source) : m_source(source)
    {
        // A byte order mark before the text, as QJsonDocument allows. Anything else beginning
        // with its first byte is no JSON anyway.
        for (const char mark : {'\xEF', '\xBB', '\xBF'}) {
            if (Peek() != mark)
                break;
            Take();
        }
    }

    Ch Peek() { return m_position != m_end || nextPiece() ? *m_position : '\0'; }
    Ch Take() { return m_position != m_end || nextPiece() ? *m_position++ : '\0'; }
    size_t Tell() const { return m_before + size_t(m_position - m_piece.constData()); }

    // Only for parsing in place, which is not done here.
    Ch *PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    size_t PutEnd(Ch *) { return 0; }

private:
    bool nextPiece()
    {
        if (m_ended)
            return false;
        m_before += size_t(m_piece.size());
        m_piece = m_source();
        m_position = m_piece.constData();
        m_end = m_position + m_piece.size();
        m_ended = m_piece.isEmpty();
        return !m_ended;
    }

    const VocabularyJsonReader::Source &m_source;
    QByteArray m_piece;
    const char *m_position = nullptr;
    const char *m_end = nullptr;
    size_t m_before = 0;
    bool m_ended = false;
};

// The keys the reader knows, of every kind of object in the document.
enum class Key {
    other,
    // The document.
    levelList0, levelList1, levelList2, levelList3, levelList4, levelList5,
    language, foreignLanguageName, yourLanguageName, yourFacultativeWords, foreignFacultativeWords, statistics,
    yourTextInputSourceName, foreignTextInputSourceName, isAutoSelectInputSource, isDisableMisspellRecognition,
    isDirty, version, lineage,
    // A level list.
    words,
    // A word.
    yourWord, foreignWord, comment, dontAskAgain, lastAsked, tags, modificationID, creationID, fallenDownCounter,
    level,
    // The statistics.
    dailySnapshots,
    // A daily snapshot.
    day, count0, count1, count2, count3, count4, count5,
};

struct KeyName
{
    QLatin1StringView name;
    Key key;
};

constexpr KeyName documentKeys[] = {
    {storedKey::levelLists[0], Key::levelList0},
    {storedKey::levelLists[1], Key::levelList1},
    {storedKey::levelLists[2], Key::levelList2},
    {storedKey::levelLists[3], Key::levelList3},
    {storedKey::levelLists[4], Key::levelList4},
    {storedKey::levelLists[5], Key::levelList5},
    {storedKey::language, Key::language},
    {storedKey::foreignLanguageName, Key::foreignLanguageName},
    {storedKey::yourLanguageName, Key::yourLanguageName},
    {storedKey::yourFacultativeWords, Key::yourFacultativeWords},
    {storedKey::foreignFacultativeWords, Key::foreignFacultativeWords},
    {storedKey::statistics, Key::statistics},
    {storedKey::yourTextInputSourceName, Key::yourTextInputSourceName},
    {storedKey::foreignTextInputSourceName, Key::foreignTextInputSourceName},
    {storedKey::isAutoSelectInputSource, Key::isAutoSelectInputSource},
    {storedKey::isDisableMisspellRecognition, Key::isDisableMisspellRecognition},
    {storedKey::isDirty, Key::isDirty},
    {storedKey::version, Key::version},
    {storedKey::lineage, Key::lineage},
};
constexpr KeyName levelListKeys[] = {{storedKey::words, Key::words}};
constexpr KeyName wordKeys[] = {
    {storedKey::yourWord, Key::yourWord},
    {storedKey::foreignWord, Key::foreignWord},
    {storedKey::comment, Key::comment},
    {storedKey::dontAskAgain, Key::dontAskAgain},
    {storedKey::lastAsked, Key::lastAsked},
    {storedKey::tags, Key::tags},
    {storedKey::modificationID, Key::modificationID},
    {storedKey::creationID, Key::creationID},
    {storedKey::fallenDownCounter, Key::fallenDownCounter},
    {storedKey::level, Key::level},
};
constexpr KeyName statisticsKeys[] = {{storedKey::dailySnapshots, Key::dailySnapshots}};
constexpr KeyName snapshotKeys[] = {
    {storedKey::day, Key::day},
    {storedKey::levelCounts[0], Key::count0},
    {storedKey::levelCounts[1], Key::count1},
    {storedKey::levelCounts[2], Key::count2},
    {storedKey::levelCounts[3], Key::count3},
    {storedKey::levelCounts[4], Key::count4},
    {storedKey::levelCounts[5], Key::count5},
};

template <size_t size>
Key keyNamed(const KeyName (&keys)[size], QLatin1StringView name)
{
    for (const KeyName &key : keys) {
        if (key.name == name)
            return key.key;
    }
    return Key::other;
}

// What the document says, gathered while it is parsed.
struct Document
{
    struct LevelList
    {
        bool present = false;
        // An object holding an array "words", as a level list must be.
        bool wellFormed = false;
        WordList words;
        // What the array of words holds, words or not.
        qsizetype elements = 0;
    };

    // As Lexicarta::isVocabularyDocument() decides.
    bool isVocabularyDocument() const
    {
        bool holdsAList = false;
        qsizetype elements = 0;
        qsizetype words = 0;
        for (const LevelList &list : levels) {
            if (list.present && !list.wellFormed)
                return false;
            holdsAList = holdsAList || list.present;
            elements += list.elements;
            words += list.words.size();
        }
        return holdsAList && (elements == 0 || words > 0);
    }

    std::array<LevelList, levelCount> levels;
    std::optional<QString> language;
    std::optional<QString> foreignLanguageName;
    std::optional<QString> yourLanguageName;
    QStringList yourFacultativeWords;
    QStringList foreignFacultativeWords;
    QList<QLXDailyStatisticsSnapshot> dailySnapshots;
    std::optional<QString> yourTextInputSourceName;
    std::optional<QString> foreignTextInputSourceName;
    bool isAutoSelectInputSource = false;
    bool isDisableMisspellRecognition = false;
    bool isDirty = false;
    qint64 version = 0;
    QStringList lineage;
};

// The parser's events, turned into the document's values. Containers the document does not
// define are skipped whole; a container where a scalar belongs makes that value missing.
class DocumentHandler
{
public:
    using Ch = char;
    using SizeType = rapidjson::SizeType;

    DocumentHandler(Document &document, qsizetype countLimit) : m_document(document), m_countLimit(countLimit) {}

    bool rootIsObject() const { return m_rootIsObject; }
    // Whether the parse stopped at a word or a daily snapshot beyond the limit.
    bool isOverLimit() const { return m_wordsRead > m_countLimit || m_snapshotsRead > m_countLimit; }

    bool Null() { return scalar({Scalar::Type::null, {}, false}); }
    bool Bool(bool value) { return scalar({Scalar::Type::boolean, {}, value}); }
    bool RawNumber(const Ch *text, SizeType length, bool)
    {
        return scalar({Scalar::Type::number, std::string_view(text, length), false});
    }
    bool String(const Ch *text, SizeType length, bool)
    {
        return scalar({Scalar::Type::string, std::string_view(text, length), false});
    }
    // Numbers arrive as their text (RawNumber); these are never called.
    bool Int(int) { return true; }
    bool Uint(unsigned) { return true; }
    bool Int64(int64_t) { return true; }
    bool Uint64(uint64_t) { return true; }
    bool Double(double) { return true; }

    bool StartObject() { return startContainer(true); }
    bool EndObject(SizeType) { return endContainer(); }
    bool StartArray() { return startContainer(false); }
    bool EndArray(SizeType) { return endContainer(); }

    bool Key(const Ch *text, SizeType length, bool)
    {
        if (m_skipped > 0)
            return true;
        Frame &frame = m_frames.back();
        const QLatin1StringView name(text, qsizetype(length));
        switch (frame.kind) {
        case Kind::document: frame.key = keyNamed(documentKeys, name); break;
        case Kind::levelList: frame.key = keyNamed(levelListKeys, name); break;
        case Kind::word: frame.key = keyNamed(wordKeys, name); break;
        case Kind::statistics: frame.key = keyNamed(statisticsKeys, name); break;
        case Kind::snapshot: frame.key = keyNamed(snapshotKeys, name); break;
        default: frame.key = Key::other; break;
        }
        return true;
    }

private:
    enum class Kind { document, levelList, wordList, word, tags, statistics, snapshots, snapshot, facultatives, lineage };

    struct Frame
    {
        Kind kind;
        // Of a level list and the list of its words: the level; of facultative words: 0 yours,
        // 1 foreign.
        size_t index = 0;
        // Of an object: the key whose value comes next.
        lexi::Key key = lexi::Key::other;
    };

    bool scalar(const Scalar &value)
    {
        if (m_skipped > 0)
            return true;
        if (m_frames.empty())
            return false;
        Frame &frame = m_frames.back();
        switch (frame.kind) {
        case Kind::tags:
            if (value.type == Scalar::Type::string)
                m_word.tags.append(tag(value.text));
            break;
        case Kind::facultatives:
            if (value.type == Scalar::Type::string)
                facultatives(frame.index).append(value.string());
            break;
        case Kind::lineage:
            if (value.type == Scalar::Type::string)
                m_document.lineage.append(value.string());
            break;
        case Kind::wordList:
            ++m_document.levels[frame.index].elements;
            break;
        case Kind::snapshots:
            break;
        default:
            assign(frame, value);
            break;
        }
        return true;
    }

    bool startContainer(bool isObject)
    {
        if (m_skipped > 0) {
            ++m_skipped;
            return true;
        }
        if (m_frames.empty()) {
            m_rootIsObject = isObject;
            if (!isObject)
                return false;
            m_frames.push_back({Kind::document});
            return true;
        }
        Frame &frame = m_frames.back();
        if (frame.kind == Kind::wordList)
            ++m_document.levels[frame.index].elements;
        const std::optional<Frame> inner = isObject ? objectIn(frame) : arrayIn(frame);
        // Whatever else stands where a known key's value belongs makes that value missing.
        if (!inner && frame.kind != Kind::wordList && frame.kind != Kind::snapshots && frame.kind != Kind::tags
            && frame.kind != Kind::facultatives && frame.kind != Kind::lineage)
            assign(frame, {Scalar::Type::container, {}, false});
        if (!inner) {
            ++m_skipped;
            return true;
        }
        m_frames.push_back(*inner);
        return true;
    }

    bool endContainer()
    {
        if (m_skipped > 0) {
            --m_skipped;
            return true;
        }
        const Frame frame = m_frames.back();
        m_frames.pop_back();
        switch (frame.kind) {
        case Kind::word:
            // The list decides the level and whether the mark is kept (see takeStoredWords()),
            // set here while the word is at hand.
            m_word.level = frame.index;
            m_word.dontAskAgain = m_word.dontAskAgain && frame.index >= firstLevelKeepingDontAskAgain;
            if (++m_wordsRead > m_countLimit)
                return false;
            m_document.levels[frame.index].words.append(QLXWord::fromStoredWord(std::move(m_word)));
            break;
        case Kind::snapshot:
            if (++m_snapshotsRead > m_countLimit)
                return false;
            m_document.dailySnapshots.append(m_snapshot);
            break;
        case Kind::tags:
            m_word.tags.removeDuplicates();
            break;
        case Kind::facultatives:
            facultatives(frame.index).removeDuplicates();
            break;
        case Kind::lineage:
            m_document.lineage.removeDuplicates();
            break;
        default:
            break;
        }
        return true;
    }

    // The frame of an object met as the value of `frame`'s key or as its element; none when the
    // object is skipped.
    std::optional<Frame> objectIn(const Frame &frame)
    {
        switch (frame.kind) {
        case Kind::document:
            if (const std::optional<size_t> level = levelOf(frame.key)) {
                Document::LevelList &list = m_document.levels[*level];
                list = {true, false, {}};
                return Frame{Kind::levelList, *level};
            }
            if (frame.key == lexi::Key::statistics) {
                m_document.dailySnapshots.clear();
                return Frame{Kind::statistics};
            }
            return std::nullopt;
        case Kind::wordList:
            m_word = StoredWord();
            return Frame{Kind::word, frame.index};
        case Kind::snapshots:
            m_snapshot = QLXDailyStatisticsSnapshot(QLXDailyStatisticsSnapshot::missingDay);
            return Frame{Kind::snapshot};
        default:
            return std::nullopt;
        }
    }

    std::optional<Frame> arrayIn(const Frame &frame)
    {
        switch (frame.kind) {
        case Kind::document:
            if (frame.key == lexi::Key::yourFacultativeWords || frame.key == lexi::Key::foreignFacultativeWords) {
                const size_t which = frame.key == lexi::Key::yourFacultativeWords ? 0 : 1;
                facultatives(which).clear();
                return Frame{Kind::facultatives, which};
            }
            if (frame.key == lexi::Key::lineage) {
                m_document.lineage.clear();
                return Frame{Kind::lineage};
            }
            return std::nullopt;
        case Kind::levelList:
            if (frame.key == lexi::Key::words) {
                Document::LevelList &list = m_document.levels[frame.index];
                list.wellFormed = true;
                list.words.clear();
                list.elements = 0;
                return Frame{Kind::wordList, frame.index};
            }
            return std::nullopt;
        case Kind::word:
            if (frame.key == lexi::Key::tags) {
                m_word.tags.clear();
                return Frame{Kind::tags};
            }
            return std::nullopt;
        case Kind::statistics:
            if (frame.key == lexi::Key::dailySnapshots) {
                m_document.dailySnapshots.clear();
                return Frame{Kind::snapshots};
            }
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }

    // A scalar (or a container, standing for a value of the wrong type) as the value of
    // `frame`'s key.
    void assign(const Frame &frame, const Scalar &value)
    {
        switch (frame.kind) {
        case Kind::document: assignToDocument(frame.key, value); break;
        case Kind::levelList:
            // "words" of another type makes the list no level list.
            if (frame.key == lexi::Key::words) {
                m_document.levels[frame.index].wellFormed = false;
                m_document.levels[frame.index].words.clear();
                m_document.levels[frame.index].elements = 0;
            }
            break;
        case Kind::word: assignToWord(frame.key, value); break;
        case Kind::statistics:
            if (frame.key == lexi::Key::dailySnapshots)
                m_document.dailySnapshots.clear();
            break;
        case Kind::snapshot: assignToSnapshot(frame.key, value); break;
        default: break;
        }
    }

    void assignToDocument(lexi::Key key, const Scalar &value)
    {
        Document &document = m_document;
        if (const std::optional<size_t> level = levelOf(key)) {
            document.levels[*level] = {true, false, {}};
            return;
        }
        switch (key) {
        case lexi::Key::language: document.language = value.optionalString(); break;
        case lexi::Key::foreignLanguageName: document.foreignLanguageName = value.optionalString(); break;
        case lexi::Key::yourLanguageName: document.yourLanguageName = value.optionalString(); break;
        case lexi::Key::yourFacultativeWords: document.yourFacultativeWords.clear(); break;
        case lexi::Key::foreignFacultativeWords: document.foreignFacultativeWords.clear(); break;
        case lexi::Key::statistics: document.dailySnapshots.clear(); break;
        case lexi::Key::yourTextInputSourceName: document.yourTextInputSourceName = value.optionalString(); break;
        case lexi::Key::foreignTextInputSourceName:
            document.foreignTextInputSourceName = value.optionalString();
            break;
        case lexi::Key::isAutoSelectInputSource: document.isAutoSelectInputSource = value.boolValue(); break;
        case lexi::Key::isDisableMisspellRecognition:
            document.isDisableMisspellRecognition = value.boolValue();
            break;
        case lexi::Key::isDirty: document.isDirty = value.boolValue(); break;
        case lexi::Key::version: document.version = value.counter(); break;
        case lexi::Key::lineage: document.lineage.clear(); break;
        default: break;
        }
    }

    void assignToWord(lexi::Key key, const Scalar &value)
    {
        StoredWord &word = m_word;
        switch (key) {
        case lexi::Key::yourWord: word.yourWord = value.string(); break;
        case lexi::Key::foreignWord: word.foreignWord = value.string(); break;
        case lexi::Key::comment: word.comment = value.string(); break;
        case lexi::Key::dontAskAgain: word.dontAskAgain = value.boolValue(); break;
        case lexi::Key::lastAsked: word.lastAsked = value.date(); break;
        case lexi::Key::tags: word.tags.clear(); break;
        case lexi::Key::modificationID: word.modificationID = value.counter(); break;
        case lexi::Key::creationID: word.creationID = value.counter(); break;
        case lexi::Key::fallenDownCounter: word.fallenDownCounter = quint64(value.counter()); break;
        case lexi::Key::level: word.level = quint64(value.counter()); break;
        default: break;
        }
    }

    void assignToSnapshot(lexi::Key key, const Scalar &value)
    {
        if (key == lexi::Key::day) {
            m_snapshot.setDay(value.date().value_or(QLXDailyStatisticsSnapshot::missingDay));
            return;
        }
        if (key >= lexi::Key::count0 && key <= lexi::Key::count5)
            m_snapshot.setNumberOfWordsInLevel(quint64(key) - quint64(lexi::Key::count0), value.counter());
    }

    static std::optional<size_t> levelOf(lexi::Key key)
    {
        if (key < lexi::Key::levelList0 || key > lexi::Key::levelList5)
            return std::nullopt;
        return size_t(key) - size_t(lexi::Key::levelList0);
    }

    QStringList &facultatives(size_t which)
    {
        return which == 0 ? m_document.yourFacultativeWords : m_document.foreignFacultativeWords;
    }

    // Tags repeat from word to word: each text is kept once and shared by the words.
    QString tag(std::string_view text)
    {
        const QByteArray bytes = QByteArray::fromRawData(text.data(), qsizetype(text.size()));
        const auto known = m_tags.constFind(bytes);
        if (known != m_tags.cend())
            return *known;
        const QString tag = decodedText(text);
        m_tags.insert(QByteArray(text.data(), qsizetype(text.size())), tag);
        return tag;
    }

    Document &m_document;
    // Counted as they are read, also those a later list of the same key replaces, since each
    // took its time and memory.
    qsizetype m_countLimit;
    qsizetype m_wordsRead = 0;
    qsizetype m_snapshotsRead = 0;
    std::vector<Frame> m_frames;
    // How deep the parser is inside a container that is skipped.
    size_t m_skipped = 0;
    bool m_rootIsObject = false;
    StoredWord m_word;
    QLXDailyStatisticsSnapshot m_snapshot{QLXDailyStatisticsSnapshot::missingDay};
    QHash<QByteArray, QString> m_tags;
};

// Parsing without recursion, so that deep nesting cannot exhaust the stack; numbers as their
// text, so that those too large for a double read as missing instead of failing the whole text.
constexpr unsigned parseFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;

std::shared_ptr<Lexicarta> vocabularyOf(Document &document, const VocabularyServices &services)
{
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(services);
    const QString language = document.language.value_or(u"No name"_s);
    vocabulary->setForeignLanguageName(document.foreignLanguageName.value_or(language));
    vocabulary->setYourLanguageName(
        document.yourLanguageName.value_or(StringTables::text(u"yourLanguageName"_s)));
    std::array<WordList, levelCount> levels;
    for (size_t level = 0; level < levelCount; ++level)
        levels[level] = std::move(document.levels[level].words);
    vocabulary->takeStoredWords(levels);
    QLXStatistics statistics;
    statistics.setDailySnapshots(document.dailySnapshots);
    vocabulary->setStatistics(statistics);
    vocabulary->setYourFacultativeWords(document.yourFacultativeWords);
    vocabulary->setForeignFacultativeWords(document.foreignFacultativeWords);
    vocabulary->setYourTextInputSourceId(document.yourTextInputSourceName);
    vocabulary->setForeignTextInputSourceId(document.foreignTextInputSourceName);
    vocabulary->setIsAutoSelectInputSource(document.isAutoSelectInputSource);
    vocabulary->setIsDisableMisspellRecognition(document.isDisableMisspellRecognition);
    vocabulary->setNeedsSync(document.isDirty);
    vocabulary->setVersion(document.version);
    vocabulary->setLineage(document.lineage);
    return vocabulary;
}

} // namespace

namespace {

struct Parsed
{
    VocabularyJsonReader::Result result;
    rapidjson::ParseErrorCode error = rapidjson::kParseErrorNone;
};

Parsed parse(const VocabularyJsonReader::Source &source, const VocabularyServices &services, qsizetype countLimit)
{
    Document document;
    DocumentHandler handler(document, countLimit);
    PieceStream stream(source);
    rapidjson::Reader reader;
    const rapidjson::ParseResult parsed = reader.Parse<parseFlags>(stream, handler);
    if (!parsed && handler.isOverLimit())
        return {{VocabularyJsonReader::Outcome::tooLarge, nullptr}, parsed.Code()};
    if (!parsed) {
        // The handler stops at a root that is no object: JSON, but no vocabulary's.
        const bool noObject = !handler.rootIsObject() && parsed.Code() == rapidjson::kParseErrorTermination;
        return {{noObject ? VocabularyJsonReader::Outcome::notAVocabulary : VocabularyJsonReader::Outcome::refused,
                 nullptr},
                parsed.Code()};
    }
    if (!document.isVocabularyDocument())
        return {{VocabularyJsonReader::Outcome::notAVocabulary, nullptr}};
    return {{VocabularyJsonReader::Outcome::read, vocabularyOf(document, services)}};
}

VocabularyJsonReader::Source wholeText(const QByteArray &json)
{
    return [json, given = false]() mutable {
        if (given)
            return QByteArray();
        given = true;
        return json;
    };
}

} // namespace

VocabularyJsonReader::Result VocabularyJsonReader::read(const Source &source, const VocabularyServices &services,
                                                       qsizetype countLimit)
{
    return parse(source, services, countLimit).result;
}

VocabularyJsonReader::Result VocabularyJsonReader::read(const QByteArray &json, const VocabularyServices &services,
                                                       qsizetype countLimit)
{
    const Parsed parsed = parse(wholeText(json), services, countLimit);
    if (parsed.error != rapidjson::kParseErrorNumberTooBig)
        return parsed.result;
    return parse(wholeText(jsonText::withOversizedNumbersAsNull(json)), services, countLimit).result;
}

} // namespace lexi
