#pragma once

#include "QLXDailyStatisticsSnapshot.h"
#include "StoredWordList.h"

#include "platform/values/Date.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class Lexicarta;
class QLXWord;

namespace lexi {

// What the own file format stores of one word.
struct StoredWord
{
    StoredWord() = default;
    explicit StoredWord(const QLXWord &word);

    QString yourWord;
    QString foreignWord;
    QString comment;
    QStringList tags;
    std::optional<Date> lastAsked;
    qint64 creationID = 0;
    qint64 modificationID = 0;
    quint64 fallenDownCounter = 0;
    quint64 level = 0;
    bool dontAskAgain = false;

    bool operator==(const StoredWord &) const = default;
};

// What the own file format stores of a vocabulary, taken so that another thread can write it
// while the vocabulary goes on changing. The stored form of each word is shared with the word
// until it changes (QLXWord::storedForm()), and the vocabulary keeps the stored forms of each
// level in a list whose chunks every snapshot shares (Lexicarta::storedWordLists()): a snapshot
// copies a reference for each chunk, and the words changed since the last one.
struct VocabularySnapshot
{
    static constexpr size_t levelCount = 6;

    explicit VocabularySnapshot(const Lexicarta &vocabulary);

    // The words of each level list, in stored order; the last holds level 5 and above.
    std::array<StoredWordList, levelCount> levels;
    QString language;
    QString foreignLanguageName;
    QString yourLanguageName;
    QStringList yourFacultativeWords;
    QStringList foreignFacultativeWords;
    QList<QLXDailyStatisticsSnapshot> dailySnapshots;
    QString yourTextInputSourceName;
    QString foreignTextInputSourceName;
    bool isAutoSelectInputSource = false;
    bool isDisableMisspellRecognition = false;
    bool isDirty = false;
    qint64 version = 0;
    QStringList lineage;

    // The same values, and the same chunks of stored words: a word that changed has a new stored
    // form, in a new chunk.
    bool operator==(const VocabularySnapshot &) const = default;
};

} // namespace lexi
