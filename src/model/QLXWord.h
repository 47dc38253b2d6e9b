#pragma once

#include "platform/plist/KeyedDecoder.h"
#include "platform/plist/KeyedEncoder.h"
#include "platform/ports/Clock.h"
#include "platform/values/Date.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <compare>
#include <memory>
#include <optional>

class Lexicarta;
class QLXWord;

namespace lexi {
struct StoredWord;
// Words are handled by identity: a list of words holds the word objects themselves.
using WordList = QList<std::shared_ptr<QLXWord>>;
} // namespace lexi

// One vocabulary entry: a word in the learner's own language ("your word"), its counterpart in
// the foreign language, a comment, topic tags and the learning state. Words have no value
// equality: lists and sets of words work by identity; isEqualToWord() and isAllPropertiesEqual()
// compare values explicitly. A word belongs to one vocabulary, which it links back to weakly.
class QLXWord
{
public:
    static constexpr const char *archiveClassName = "QLXWord";
    // The highest level of the level scheme; any level above it counts as it.
    static constexpr quint64 nativeLevel = 5;

    // Empty sides and comment, never asked, level 0. A word takes memory for tags only when it
    // has some.
    QLXWord();
    // The sides are trimmed as by their setters; the comment is kept as it is.
    QLXWord(const QString &yourWord, const QString &foreignWord, const QString &comment = QString());
    QLXWord(const QLXWord &) = delete;
    QLXWord &operator=(const QLXWord &) = delete;

    // The element of a word list in the own file format. Values of the wrong type read as missing,
    // negative counters and identifiers as 0, implausible dates as never asked.
    static std::shared_ptr<QLXWord> initWithDictionary(const QJsonObject &dictionary);
    QJsonObject dictionaryRepresentation() const;
    // The word of values read from a stored form: the sides trimmed, the tags made distinct.
    static std::shared_ptr<QLXWord> fromStoredWord(lexi::StoredWord &&word);
    // The older product's keyed-archive form.
    static std::shared_ptr<QLXWord> initWithCoder(const lexi::KeyedDecoder &coder);
    void encodeWithCoder(lexi::KeyedEncoder &coder) const;

    // A new word with the same properties and the same vocabulary link.
    std::shared_ptr<QLXWord> copy() const;

    const QString &yourWord() const { return m_yourWord; }
    // Stores the text trimmed of white space and newlines at both ends. The sides decide which
    // words are synonyms, so a change is told to the vocabulary, whose synonyms follow.
    void setYourWord(const QString &yourWord);
    const QString &foreignWord() const { return m_foreignWord; }
    void setForeignWord(const QString &foreignWord);
    // A hash of both sides, taken when they are set (while their texts are at hand), so that
    // indexing many words by their texts reads the words alone.
    size_t sidesHash() const { return m_sidesHash; }
    static size_t sidesHash(const QString &foreignWord, const QString &yourWord);
    const QString &comment() const { return m_comment; }
    void setComment(const QString &comment)
    {
        m_comment = comment;
        dropStoredForm();
    }

    const std::optional<lexi::Date> &lastAsked() const { return m_lastAsked; }
    void setLastAsked(const std::optional<lexi::Date> &lastAsked)
    {
        m_lastAsked = lastAsked;
        dropStoredForm();
    }
    qint64 creationID() const { return m_creationID; }
    void setCreationID(qint64 creationID)
    {
        m_creationID = creationID;
        dropStoredForm();
    }
    qint64 modificationID() const { return m_modificationID; }
    void setModificationID(qint64 modificationID)
    {
        m_modificationID = modificationID;
        dropStoredForm();
    }
    quint64 fallenDownCounter() const { return m_fallenDownCounter; }
    void setFallenDownCounter(quint64 counter)
    {
        m_fallenDownCounter = counter;
        dropStoredForm();
    }

    // Both decide which of the vocabulary's per-level lists the word is in, so a change is told to
    // the vocabulary, whose lists follow. Any level is stored; above nativeLevel counts as nativeLevel.
    quint64 level() const { return m_level; }
    quint64 effectiveLevel() const { return effectiveLevel(m_level); }
    static constexpr quint64 effectiveLevel(quint64 level) { return std::min(level, nativeLevel); }
    void setLevel(quint64 level);
    bool dontAskAgain() const { return m_dontAskAgain; }
    void setDontAskAgain(bool dontAskAgain);

    const std::weak_ptr<Lexicarta> &weakVocForSort() const { return m_weakVocForSort; }
    void setWeakVocForSort(const std::weak_ptr<Lexicarta> &vocabulary) { m_weakVocForSort = vocabulary; }

    // Distinct, exact (case-sensitive) strings in the order they were added.
    const QStringList &tags() const { return m_tags; }
    // The tags sorted case-insensitively (ties in exact order).
    const QStringList &tagsSorted() const { return m_tagsSorted; }
    // Takes the distinct strings of `tags`; a list with the same strings changes nothing. A change
    // of the tags is told to the vocabulary, whose tag index follows.
    void setTags(const QStringList &tags);
    // Adds `tag` trimmed of white space and newlines, unless that leaves nothing or the word has it.
    void addTag(const QString &tag);
    // Takes the tags of `word`, sharing their storage with it: the many words made from one line
    // of text hold one copy of the line's tags.
    void setTagsOf(const QLXWord &word);

    // YES when `term` occurs, ignoring case, in either side, the comment or a tag. None is logged
    // to the console and matches nothing.
    bool matchesSearchTerm(const std::optional<QString> &term) const;

    // The side without a leading facultative word of its language (see below); unchanged when
    // the word belongs to no vocabulary.
    QString yourWordWithoutFacultatives() const;
    QString foreignWordWithoutFacultatives() const;
    // `word` without the first facultative of `facultatives` it begins with, a facultative
    // counting only when a blank follows it (case-sensitive); the rest is trimmed of blanks.
    static QString wordByRemovingFacultatives(const QStringList &facultatives, const QString &word);

    // Orderings to sort words by; each is a strict weak ordering.
    // Case-insensitive, by the sides without facultative words.
    std::weak_ordering compareYourLang(const QLXWord &other) const;
    std::weak_ordering compareForeignLang(const QLXWord &other) const;
    // Case-insensitive.
    std::weak_ordering compareComment(const QLXWord &other) const;
    // Never asked first, then from the earliest.
    std::weak_ordering compareLastAsked(const QLXWord &other) const;
    // Fewer tags first; with as many, the sorted tags compared position by position, ignoring case.
    std::weak_ordering compareTags(const QLXWord &other) const;

    // Same foreign and your word, exactly.
    bool isEqualToWord(const QLXWord &other) const;
    // Same sides, comment, tags, lastAsked (two never-asked words agree), flags, identifiers,
    // fall count and level.
    bool isAllPropertiesEqual(const QLXWord &other) const;

    // "level <foreign = your> comment age  ", the age worded by lexi::timeSinceDate().
    QString description(const lexi::Clock &clock) const;

    // What the own file format stores of the word: made when first asked for, then shared by
    // every snapshot of the vocabulary until the word changes, so that a save copies only the
    // words that changed since the last one.
    std::shared_ptr<const lexi::StoredWord> storedForm() const;

private:
    // Drops the stored form, which is made anew when next asked for, and tells the vocabulary.
    void dropStoredForm();
    // Sorts the tags anew and tells the vocabulary, whose tag index follows.
    void tagsChanged(const QStringList &previousTags);
    // Stores `text` trimmed in `side`, one of the two sides.
    void setSide(QString &side, const QString &text);
    // The vocabulary this word links to, when it still exists.
    std::shared_ptr<Lexicarta> vocabulary() const { return m_weakVocForSort.lock(); }

    bool m_dontAskAgain = false;
    qint64 m_creationID = 0;
    qint64 m_modificationID = 0;
    QStringList m_tagsSorted;
    QString m_yourWord;
    QString m_foreignWord;
    size_t m_sidesHash = sidesHash({}, {});
    QString m_comment;
    std::optional<lexi::Date> m_lastAsked;
    QStringList m_tags;
    std::weak_ptr<Lexicarta> m_weakVocForSort;
    quint64 m_fallenDownCounter = 0;
    quint64 m_level = 0;
    mutable std::shared_ptr<const lexi::StoredWord> m_storedForm;
};
