#include "Lexicarta.h"

#include "CreationIdentifiers.h"
#include "JsonValues.h"
#include "StoredFormKeys.h"

#include "platform/files/StringTables.h"
#include "platform/plist/KeyedDecoder.h"
#include "platform/plist/KeyedEncoder.h"

#include <QHash>
#include <QJsonArray>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;
namespace storedKey = lexi::storedKey;

// A vocabulary's two stored forms: the JSON dictionary of its own files and the keyed archive of
// the older product.

namespace {

// The archive's coder takes the level lists' keys as C strings.
constexpr std::array<const char *, 6> levelListKeys = [] {
    std::array<const char *, 6> keys{};
    for (size_t level = 0; level < keys.size(); ++level)
        keys[level] = storedKey::levelLists[level].data();
    return keys;
}();
// Words below this level never keep a don't-ask-again mark in the stored forms.
constexpr quint64 firstLevelKeepingDontAskAgain = 4;

} // namespace

std::shared_ptr<Lexicarta> Lexicarta::initWithDictionary(const QJsonObject &dictionary,
                                                         const lexi::VocabularyServices &services)
{
    using namespace lexi::json;
    std::shared_ptr<Lexicarta> vocabulary = create(services);
    std::array<lexi::WordList, 6> levels;
    for (size_t level = 0; level < levels.size(); ++level) {
        const QJsonArray words = dictionary[storedKey::levelLists[level]].toObject()[storedKey::words].toArray();
        levels[level].reserve(words.size());
        for (const QJsonValue &word : words) {
            if (word.isObject())
                levels[level].append(QLXWord::initWithDictionary(word.toObject()));
        }
    }
    const QString language = optionalStringValue(dictionary[storedKey::language]).value_or(u"No name"_s);
    vocabulary->setForeignLanguageName(
        optionalStringValue(dictionary[storedKey::foreignLanguageName]).value_or(language));
    vocabulary->setYourLanguageName(optionalStringValue(dictionary[storedKey::yourLanguageName])
                                        .value_or(lexi::StringTables::text(u"yourLanguageName"_s)));
    vocabulary->takeStoredWords(levels);
    vocabulary->m_statistics = QLXStatistics::initWithDictionary(dictionary[storedKey::statistics].toObject());
    vocabulary->setYourFacultativeWords(distinctStringsValue(dictionary[storedKey::yourFacultativeWords]));
    vocabulary->setForeignFacultativeWords(distinctStringsValue(dictionary[storedKey::foreignFacultativeWords]));
    vocabulary->setYourTextInputSourceId(optionalStringValue(dictionary[storedKey::yourTextInputSourceName]));
    vocabulary->setForeignTextInputSourceId(optionalStringValue(dictionary[storedKey::foreignTextInputSourceName]));
    vocabulary->m_isAutoSelectInputSource = boolValue(dictionary[storedKey::isAutoSelectInputSource]);
    vocabulary->m_isDisableMisspellRecognition = boolValue(dictionary[storedKey::isDisableMisspellRecognition]);
    vocabulary->m_needsSync = boolValue(dictionary[storedKey::isDirty]);
    vocabulary->setVersion(counterValue(dictionary[storedKey::version]));
    vocabulary->m_lineage = distinctStringsValue(dictionary[storedKey::lineage]);
    return vocabulary;
}

bool Lexicarta::isVocabularyDocument(const QJsonObject &document)
{
    bool holdsAList = false;
    qsizetype elements = 0;
    qsizetype words = 0;
    for (const QLatin1StringView key : storedKey::levelLists) {
        const auto list = document.constFind(key);
        if (list == document.constEnd())
            continue;
        const QJsonValue listed = list->toObject()[storedKey::words];
        if (!list->isObject() || !listed.isArray())
            return false;
        holdsAList = true;
        const QJsonArray array = listed.toArray();
        elements += array.size();
        words += std::count_if(array.cbegin(), array.cend(), [](const QJsonValue &word) { return word.isObject(); });
    }
    return holdsAList && (elements == 0 || words > 0);
}

QJsonObject Lexicarta::dictionaryRepresentation() const
{
    QJsonObject dictionary;
    for (size_t level = 0; level < storedKey::levelLists.size(); ++level) {
        QJsonArray words;
        for (const std::shared_ptr<QLXWord> &word : wordsInLevel(level))
            words.append(word->dictionaryRepresentation());
        dictionary[storedKey::levelLists[level]] = QJsonObject{{storedKey::words, words}};
    }
    dictionary[storedKey::language] = m_language;
    dictionary[storedKey::foreignLanguageName] = m_foreignLanguageName;
    dictionary[storedKey::yourLanguageName] = m_yourLanguageName;
    dictionary[storedKey::yourFacultativeWords] = QJsonArray::fromStringList(m_yourFacultativeWords);
    dictionary[storedKey::foreignFacultativeWords] = QJsonArray::fromStringList(m_foreignFacultativeWords);
    dictionary[storedKey::statistics] = m_statistics.dictionaryRepresentation();
    dictionary[storedKey::yourTextInputSourceName] = m_yourTextInputSourceId.value_or(QString());
    dictionary[storedKey::foreignTextInputSourceName] = m_foreignTextInputSourceId.value_or(QString());
    dictionary[storedKey::isAutoSelectInputSource] = m_isAutoSelectInputSource;
    dictionary[storedKey::isDisableMisspellRecognition] = m_isDisableMisspellRecognition;
    dictionary[storedKey::isDirty] = m_needsSync;
    dictionary[storedKey::version] = m_version;
    if (!m_lineage.isEmpty())
        dictionary[storedKey::lineage] = QJsonArray::fromStringList(m_lineage);
    return dictionary;
}

std::shared_ptr<Lexicarta> Lexicarta::initWithCoder(const lexi::KeyedDecoder &coder,
                                                    const lexi::VocabularyServices &services)
{
    std::shared_ptr<Lexicarta> vocabulary = create(services);
    std::array<lexi::WordList, 6> levels;
    for (size_t level = 0; level < levels.size(); ++level)
        levels[level] = coder.decodeObjectArray<QLXWord>(levelListKeys[level]).value_or(lexi::WordList());
    if (const std::optional<QString> language = coder.decodeString("language"))
        vocabulary->setLanguage(*language);
    if (const std::optional<QString> foreignLanguage = coder.decodeString("foreignLanguageName"))
        vocabulary->setForeignLanguageName(*foreignLanguage);
    vocabulary->setYourLanguageName(
        coder.decodeString("yourLanguageName").value_or(lexi::StringTables::text(u"yourLanguageName"_s)));
    vocabulary->takeStoredWords(levels);
    const std::shared_ptr<QLXStatistics> statistics = coder.decodeObject<QLXStatistics>("statistics");
    vocabulary->m_statistics = statistics ? *statistics : QLXStatistics();
    vocabulary->setYourFacultativeWords(coder.decodeStringSet("yourFacultativeWords").value_or(QStringList()));
    vocabulary->setForeignFacultativeWords(coder.decodeStringSet("foreignFacultativeWords").value_or(QStringList()));
    vocabulary->setYourTextInputSourceId(coder.decodeString("yourTextInputSourceName"));
    vocabulary->setForeignTextInputSourceId(coder.decodeString("foreignTextInputSourceName"));
    vocabulary->m_isAutoSelectInputSource = coder.decodeBool("isAutoSelectInputSource");
    vocabulary->m_isDisableMisspellRecognition = coder.decodeBool("isDisableMisspellRecognition");
    vocabulary->m_needsSync = coder.decodeBool("isDirty");
    vocabulary->setVersion(coder.decodeInt64("version"));
    return vocabulary;
}

void Lexicarta::encodeWithCoder(lexi::KeyedEncoder &coder) const
{
    for (size_t level = 0; level < levelListKeys.size(); ++level)
        coder.encodeObjectArray(levelListKeys[level], wordsInLevel(level));
    coder.encodeString("language", m_language);
    coder.encodeString("foreignLanguageName", m_foreignLanguageName);
    coder.encodeString("yourLanguageName", m_yourLanguageName);
    coder.encodeObject("statistics", m_statistics);
    coder.encodeStringSet("yourFacultativeWords", m_yourFacultativeWords);
    coder.encodeStringSet("foreignFacultativeWords", m_foreignFacultativeWords);
    coder.encodeString("yourTextInputSourceName", m_yourTextInputSourceId);
    coder.encodeString("foreignTextInputSourceName", m_foreignTextInputSourceId);
    coder.encodeBool("isAutoSelectInputSource", m_isAutoSelectInputSource);
    coder.encodeBool("isDisableMisspellRecognition", m_isDisableMisspellRecognition);
    coder.encodeBool("isDirty", m_needsSync);
    coder.encodeInt64("version", m_version);
}

void Lexicarta::takeStoredWords(const std::array<lexi::WordList, 6> &levels)
{
    qsizetype count = 0;
    for (const lexi::WordList &list : levels)
        count += list.size();
    lexi::WordList words;
    words.reserve(count);
    QSet<const QLXWord *> taken;
    taken.reserve(count);
    qint64 unnumbered = 0;
    for (size_t level = 0; level < levels.size(); ++level) {
        for (const std::shared_ptr<QLXWord> &word : levels[level]) {
            // An archive may refer to one word object from several places; it is one word.
            if (taken.contains(word.get()))
                continue;
            taken.insert(word.get());
            word->setLevel(level);
            if (level < firstLevelKeepingDontAskAgain)
                word->setDontAskAgain(false);
            if (word->creationID() < 1)
                ++unnumbered;
            words.append(word);
        }
    }
    // Words stored without an identifier get one derived from their text, in stored order, so
    // that every installation that loads the file, or another copy of it, gives them the same.
    if (unnumbered > 0) {
        QSet<qint64> taken;
        taken.reserve(words.size());
        for (const std::shared_ptr<QLXWord> &word : words)
            taken.insert(word->creationID());
        QHash<std::pair<QString, QString>, qint64> occurrences;
        for (const std::shared_ptr<QLXWord> &word : words) {
            if (word->creationID() >= 1)
                continue;
            qint64 &occurrence = occurrences[{word->foreignWord(), word->yourWord()}];
            qint64 identifier = 0;
            do
                identifier = lexi::derivedCreationID(0, word->foreignWord(), word->yourWord(), occurrence++);
            while (taken.contains(identifier));
            taken.insert(identifier);
            word->setCreationID(identifier);
        }
    }
    setAllWords(words);
}
