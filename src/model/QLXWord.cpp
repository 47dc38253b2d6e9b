#include "QLXWord.h"

#include "JsonValues.h"
#include "Lexicarta.h"
#include "StoredFormKeys.h"
#include "VocabularySnapshot.h"

#include "platform/ports/Console.h"
#include "platform/values/Dates.h"
#include "platform/values/WholeNumbers.h"

#include <QJsonArray>
#include <QSet>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;
namespace storedKey = lexi::storedKey;

namespace {

// White space without newlines: tabs and the Unicode space separators.
bool isBlank(QChar character)
{
    return character == u'\t' || character.category() == QChar::Separator_Space;
}

QStringView trimmedOfBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

std::weak_ordering caseInsensitiveOrder(const QString &left, const QString &right)
{
    return QString::compare(left, right, Qt::CaseInsensitive) <=> 0;
}

bool sameStrings(const QStringList &left, const QStringList &right)
{
    return left.size() == right.size()
           && QSet<QString>(left.cbegin(), left.cend()) == QSet<QString>(right.cbegin(), right.cend());
}

} // namespace

QLXWord::QLXWord() = default;

QLXWord::QLXWord(const QString &yourWord, const QString &foreignWord, const QString &comment) : QLXWord()
{
    setYourWord(yourWord);
    setForeignWord(foreignWord);
    m_comment = comment;
}

std::shared_ptr<QLXWord> QLXWord::initWithDictionary(const QJsonObject &dictionary)
{
    using namespace lexi::json;
    auto word = std::make_shared<QLXWord>(stringValue(dictionary[storedKey::yourWord]),
                                          stringValue(dictionary[storedKey::foreignWord]),
                                          stringValue(dictionary[storedKey::comment]));
    word->m_dontAskAgain = boolValue(dictionary[storedKey::dontAskAgain]);
    word->m_lastAsked = dateValue(dictionary[storedKey::lastAsked]);
    word->setTags(distinctStringsValue(dictionary[storedKey::tags]));
    word->m_modificationID = counterValue(dictionary[storedKey::modificationID]);
    word->m_creationID = counterValue(dictionary[storedKey::creationID]);
    word->m_fallenDownCounter = quint64(counterValue(dictionary[storedKey::fallenDownCounter]));
    word->m_level = quint64(counterValue(dictionary[storedKey::level]));
    return word;
}

std::shared_ptr<QLXWord> QLXWord::fromStoredWord(lexi::StoredWord &&stored)
{
    auto word = std::make_shared<QLXWord>();
    word->m_yourWord = stored.yourWord.trimmed();
    word->m_foreignWord = stored.foreignWord.trimmed();
    word->m_sidesHash = sidesHash(word->m_foreignWord, word->m_yourWord);
    word->m_comment = std::move(stored.comment);
    word->m_dontAskAgain = stored.dontAskAgain;
    word->m_lastAsked = stored.lastAsked;
    word->m_modificationID = stored.modificationID;
    word->m_creationID = stored.creationID;
    word->m_fallenDownCounter = stored.fallenDownCounter;
    word->m_level = stored.level;
    if (!stored.tags.isEmpty()) {
        word->m_tags = std::move(stored.tags);
        word->m_tags.removeDuplicates();
        word->tagsChanged({});
    }
    return word;
}

QJsonObject QLXWord::dictionaryRepresentation() const
{
    QJsonObject dictionary;
    dictionary[storedKey::yourWord] = m_yourWord;
    dictionary[storedKey::foreignWord] = m_foreignWord;
    if (m_dontAskAgain)
        dictionary[storedKey::dontAskAgain] = true;
    if (!m_comment.isEmpty())
        dictionary[storedKey::comment] = m_comment;
    // Whole seconds since 1970, signed so that dates before 1970 keep their value.
    if (m_lastAsked && m_lastAsked->isPlausible())
        dictionary[storedKey::lastAsked] = lexi::truncatedToInt64(m_lastAsked->secondsSince1970());
    if (!m_tags.isEmpty())
        dictionary[storedKey::tags] = QJsonArray::fromStringList(m_tags);
    if (m_modificationID > 0)
        dictionary[storedKey::modificationID] = m_modificationID;
    if (m_creationID > 0)
        dictionary[storedKey::creationID] = m_creationID;
    if (m_fallenDownCounter != 0)
        dictionary[storedKey::fallenDownCounter] = lexi::clampedToInt64(m_fallenDownCounter);
    if (m_level != 0)
        dictionary[storedKey::level] = lexi::clampedToInt64(m_level);
    return dictionary;
}

std::shared_ptr<QLXWord> QLXWord::initWithCoder(const lexi::KeyedDecoder &coder)
{
    auto word = std::make_shared<QLXWord>(coder.decodeString("yourWord").value_or(QString()),
                                          coder.decodeString("foreignWord").value_or(QString()),
                                          coder.decodeString("comment").value_or(QString()));
    word->m_lastAsked = coder.decodeDate("lastAsked");
    word->setTags(coder.decodeStringSet("tags").value_or(QStringList()));
    word->m_dontAskAgain = coder.decodeBool("dontAskAgain");
    word->m_creationID = std::max<qint64>(0, coder.decodeInt64("creationID"));
    word->m_modificationID = std::max<qint64>(0, coder.decodeInt64("modificationID"));
    word->m_fallenDownCounter = quint64(std::max<qint64>(0, coder.decodeInt64("wrongAnswerCounter")));
    word->m_level = quint64(std::max<qint64>(0, coder.decodeInt64("level")));
    return word;
}

void QLXWord::encodeWithCoder(lexi::KeyedEncoder &coder) const
{
    coder.encodeString("yourWord", m_yourWord);
    coder.encodeString("foreignWord", m_foreignWord);
    coder.encodeString("comment", m_comment);
    coder.encodeDate("lastAsked", m_lastAsked);
    coder.encodeStringSet("tags", m_tags);
    coder.encodeBool("dontAskAgain", m_dontAskAgain);
    coder.encodeInt64("creationID", m_creationID);
    coder.encodeInt64("modificationID", m_modificationID);
    coder.encodeInt64("wrongAnswerCounter", lexi::clampedToInt64(m_fallenDownCounter));
    coder.encodeInt64("level", lexi::clampedToInt64(m_level));
}

std::shared_ptr<QLXWord> QLXWord::copy() const
{
    auto word = std::make_shared<QLXWord>(m_yourWord, m_foreignWord, m_comment);
    word->m_tags = m_tags;
    word->m_tagsSorted = m_tagsSorted;
    word->m_creationID = m_creationID;
    word->m_modificationID = m_modificationID;
    word->m_fallenDownCounter = m_fallenDownCounter;
    word->m_lastAsked = m_lastAsked;
    word->m_dontAskAgain = m_dontAskAgain;
    word->m_weakVocForSort = m_weakVocForSort;
    word->m_level = m_level;
    // What is stored of the copy is what is stored of this word, until either changes.
    word->m_storedForm = m_storedForm;
    return word;
}

size_t QLXWord::sidesHash(const QString &foreignWord, const QString &yourWord)
{
    // FNV-1a over the UTF-16 units, the foreign word's length between the two sides: a few
    // cycles a unit.
    constexpr quint64 prime = 0x100000001b3u;
    quint64 hash = 0xcbf29ce484222325u;
    for (const QChar unit : foreignWord)
        hash = (hash ^ unit.unicode()) * prime;
    hash = (hash ^ quint64(foreignWord.size())) * prime;
    for (const QChar unit : yourWord)
        hash = (hash ^ unit.unicode()) * prime;
    return size_t(hash);
}

void QLXWord::setYourWord(const QString &yourWord)
{
    setSide(m_yourWord, yourWord);
}

void QLXWord::setForeignWord(const QString &foreignWord)
{
    setSide(m_foreignWord, foreignWord);
}

void QLXWord::setSide(QString &side, const QString &text)
{
    QString trimmed = text.trimmed();
    if (trimmed == side)
        return;
    const QString previousYourWord = m_yourWord;
    const QString previousForeignWord = m_foreignWord;
    side = std::move(trimmed);
    m_sidesHash = sidesHash(m_foreignWord, m_yourWord);
    dropStoredForm();
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        vocabulary->wordSidesChanged(*this, previousYourWord, previousForeignWord);
}

void QLXWord::setLevel(quint64 level)
{
    if (level == m_level)
        return;
    const quint64 previousLevel = m_level;
    m_level = level;
    dropStoredForm();
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        vocabulary->wordLevelChanged(*this, previousLevel, m_dontAskAgain);
}

void QLXWord::setDontAskAgain(bool dontAskAgain)
{
    if (dontAskAgain == m_dontAskAgain)
        return;
    m_dontAskAgain = dontAskAgain;
    dropStoredForm();
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        vocabulary->wordLevelChanged(*this, m_level, !dontAskAgain);
}

void QLXWord::setTags(const QStringList &tags)
{
    QStringList distinctTags = tags;
    distinctTags.removeDuplicates();
    if (sameStrings(distinctTags, m_tags))
        return;
    const QStringList previousTags = std::exchange(m_tags, std::move(distinctTags));
    tagsChanged(previousTags);
}

void QLXWord::addTag(const QString &tag)
{
    const QString trimmed = tag.trimmed();
    if (trimmed.isEmpty() || m_tags.contains(trimmed))
        return;
    const QStringList previousTags = m_tags;
    m_tags.append(trimmed);
    tagsChanged(previousTags);
}

void QLXWord::setTagsOf(const QLXWord &word)
{
    if (sameStrings(word.m_tags, m_tags))
        return;
    const QStringList previousTags = std::exchange(m_tags, word.m_tags);
    m_tagsSorted = word.m_tagsSorted;
    dropStoredForm();
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        vocabulary->wordTagsChanged(*this, previousTags);
}

void QLXWord::tagsChanged(const QStringList &previousTags)
{
    const auto before = [](const QString &left, const QString &right) {
        const int order = QString::compare(left, right, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left < right;
    };
    // Tags in order already (one tag, or none) share the list instead of taking a copy.
    m_tagsSorted = m_tags;
    if (!std::is_sorted(m_tagsSorted.cbegin(), m_tagsSorted.cend(), before))
        std::sort(m_tagsSorted.begin(), m_tagsSorted.end(), before);
    dropStoredForm();
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        vocabulary->wordTagsChanged(*this, previousTags);
}

bool QLXWord::matchesSearchTerm(const std::optional<QString> &term) const
{
    if (!term) {
        lexi::Console::writeLine(u"QLXWord > matchesSearchTerm > searching NIL"_s);
        return false;
    }
    const auto matches = [&term](const QString &text) { return text.contains(*term, Qt::CaseInsensitive); };
    return matches(m_yourWord) || matches(m_foreignWord) || matches(m_comment)
           || std::any_of(m_tags.cbegin(), m_tags.cend(), matches);
}

QString QLXWord::yourWordWithoutFacultatives() const
{
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        return wordByRemovingFacultatives(vocabulary->yourFacultativeWords(), m_yourWord);
    return m_yourWord;
}

QString QLXWord::foreignWordWithoutFacultatives() const
{
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        return wordByRemovingFacultatives(vocabulary->foreignFacultativeWords(), m_foreignWord);
    return m_foreignWord;
}

QString QLXWord::wordByRemovingFacultatives(const QStringList &facultatives, const QString &word)
{
    for (const QString &facultative : facultatives) {
        const QStringView prefix = trimmedOfBlanks(facultative);
        if (word.size() > prefix.size() && word.startsWith(prefix) && word.at(prefix.size()) == u' ')
            return trimmedOfBlanks(QStringView(word).sliced(prefix.size() + 1)).toString();
    }
    return word;
}

std::weak_ordering QLXWord::compareYourLang(const QLXWord &other) const
{
    return caseInsensitiveOrder(yourWordWithoutFacultatives(), other.yourWordWithoutFacultatives());
}

std::weak_ordering QLXWord::compareForeignLang(const QLXWord &other) const
{
    return caseInsensitiveOrder(foreignWordWithoutFacultatives(), other.foreignWordWithoutFacultatives());
}

std::weak_ordering QLXWord::compareComment(const QLXWord &other) const
{
    return caseInsensitiveOrder(m_comment, other.m_comment);
}

std::weak_ordering QLXWord::compareLastAsked(const QLXWord &other) const
{
    if (!m_lastAsked || !other.m_lastAsked)
        return m_lastAsked.has_value() <=> other.m_lastAsked.has_value();
    return std::weak_order(m_lastAsked->secondsSinceReferenceDate(), other.m_lastAsked->secondsSinceReferenceDate());
}

std::weak_ordering QLXWord::compareTags(const QLXWord &other) const
{
    if (const auto order = m_tagsSorted.size() <=> other.m_tagsSorted.size(); order != 0)
        return order;
    for (qsizetype i = 0; i < m_tagsSorted.size(); ++i) {
        if (const auto order = caseInsensitiveOrder(m_tagsSorted[i], other.m_tagsSorted[i]); order != 0)
            return order;
    }
    return std::weak_ordering::equivalent;
}

bool QLXWord::isEqualToWord(const QLXWord &other) const
{
    return m_foreignWord == other.m_foreignWord && m_yourWord == other.m_yourWord;
}

bool QLXWord::isAllPropertiesEqual(const QLXWord &other) const
{
    return isEqualToWord(other) && m_comment == other.m_comment && sameStrings(m_tags, other.m_tags)
           && m_lastAsked == other.m_lastAsked && m_dontAskAgain == other.m_dontAskAgain
           && m_creationID == other.m_creationID && m_modificationID == other.m_modificationID
           && m_fallenDownCounter == other.m_fallenDownCounter && m_level == other.m_level;
}

QString QLXWord::description(const lexi::Clock &clock) const
{
    return u"%1 <%2 = %3> %4 %5  "_s.arg(QString::number(m_level), m_foreignWord, m_yourWord, m_comment,
                                       lexi::timeSinceDate(m_lastAsked, clock));
}

void QLXWord::dropStoredForm()
{
    m_storedForm.reset();
    if (const std::shared_ptr<Lexicarta> vocabulary = this->vocabulary())
        vocabulary->wordStoredFormChanged(*this);
}

std::shared_ptr<const lexi::StoredWord> QLXWord::storedForm() const
{
    if (!m_storedForm)
        m_storedForm = std::make_shared<const lexi::StoredWord>(*this);
    return m_storedForm;
}
