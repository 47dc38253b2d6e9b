#pragma once

#include "QLXRandom.h"
#include "QLXStatistics.h"
#include "QLXWord.h"
#include "StoredWordList.h"
#include "TagIndex.h"
#include "VocabularyServices.h"
#include "WordPositions.h"
#include "WordTextIndex.h"

#include "platform/ports/InputSources.h"

#include <QHash>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <array>
#include <memory>
#include <optional>
#include <vector>

// One vocabulary: the words of one language pair, the names and facultative (optional leading)
// words of both languages, their keyboard input sources, the learning statistics and the sync
// state. It owns the level scheme the program learns by: six levels, from 0 unknown over
// 1 ultra-short, 2 short, 3 mid and 4 long term to 5 native (a stored level above 5 counts as 5,
// see QLXWord::effectiveLevel());
// a word is due again when more than its level's rest time has passed since it was last asked.
// Used on one thread; it owns its words, which link back to it weakly.
class Lexicarta : public std::enable_shared_from_this<Lexicarta>
{
    struct LevelLists
    {
        std::array<lexi::WordList, QLXWord::nativeLevel + 1> levels;
        lexi::WordList nativeWithoutDontAsk;
        // The stored forms of `levels`, once asked for, less those of the words changed since.
        std::optional<std::array<lexi::StoredWordList, QLXWord::nativeLevel + 1>> stored;
        std::vector<const QLXWord *> storedFormsChanged;
    };

    // The synonyms: the words grouped by each exact side, so that a word shares a side when its
    // group holds another listing, and a change of one word moves that word alone.
    struct Synonyms
    {
        using Group = QVarLengthArray<std::shared_ptr<QLXWord>, 1>;

        void add(const std::shared_ptr<QLXWord> &word);
        // Takes one listing of `word`, which held these sides, out of their groups.
        void remove(const QLXWord &word, const QString &yourWord, const QString &foreignWord);
        bool sharesASide(const QLXWord &word) const;
        // The listed word object itself, found in the group of its your word `yourWord`.
        std::shared_ptr<QLXWord> listed(const QLXWord &word, const QString &yourWord) const;

        QHash<QString, Group> yourWords;
        QHash<QString, Group> foreignWords;
    };

public:
    static constexpr const char *archiveClassName = "Lexicarta";

    // An empty vocabulary of unknown languages, whose statistics hold one snapshot of today.
    static std::shared_ptr<Lexicarta> create(const lexi::VocabularyServices &services);

    // The document of the own file format: the words of each level in a list of their own, the
    // names, facultative words, statistics, input source identifiers and settings. A word's level
    // is the level of the list that holds it, and only words of levels 4 and 5 keep their
    // don't-ask-again mark. Values of the wrong type read as missing; a missing language name as
    // "No name".
    static std::shared_ptr<Lexicarta> initWithDictionary(const QJsonObject &dictionary,
                                                         const lexi::VocabularyServices &services);
    QJsonObject dictionaryRepresentation() const;
    // Whether `document` is one of a vocabulary: it holds at least one of the level lists, each
    // list it holds is an object with an array of words, and when those arrays hold anything, some
    // of it is a word. Any other object, read as a vocabulary, would be an empty one saved over
    // the file it came from.
    static bool isVocabularyDocument(const QJsonObject &document);
    // The older product's keyed-archive form, with the same rules for levels and marks.
    static std::shared_ptr<Lexicarta> initWithCoder(const lexi::KeyedDecoder &coder,
                                                    const lexi::VocabularyServices &services);
    void encodeWithCoder(lexi::KeyedEncoder &coder) const;
    // Makes the words of the six level lists of a stored form this vocabulary's words, in level
    // order: each word gets its list's level, only those of levels 4 and 5 keep a don't-ask-again
    // mark, and words without an identifier get one derived from their text (see
    // lexi::derivedCreationID()), the same on every installation.
    void takeStoredWords(const std::array<lexi::WordList, 6> &levels);

    Lexicarta(const Lexicarta &) = delete;
    Lexicarta &operator=(const Lexicarta &) = delete;

    static constexpr qint64 rehearseTimeInSecLevel0() { return 0; }
    static constexpr qint64 rehearseTimeInSecLevel1() { return 900; }
    static constexpr qint64 rehearseTimeInSecLevel2() { return 10800; }
    static constexpr qint64 rehearseTimeInSecLevel3() { return 86400; }
    static constexpr qint64 rehearseTimeInSecLevel4() { return 259200; }
    static constexpr qint64 rehearseTimeInSecLevel5() { return 604800; }

    const lexi::VocabularyServices &services() const { return m_services; }

    // `language` always equals the foreign language name; either setter changes both.
    const QString &language() const { return m_language; }
    void setLanguage(const QString &language);
    const QString &foreignLanguageName() const { return m_foreignLanguageName; }
    void setForeignLanguageName(const QString &name);
    const QString &yourLanguageName() const { return m_yourLanguageName; }
    void setYourLanguageName(const QString &name) { m_yourLanguageName = name; }
    const std::optional<QString> &fileNameWhereLoadedFrom() const { return m_fileNameWhereLoadedFrom; }
    void setFileNameWhereLoadedFrom(const std::optional<QString> &name) { m_fileNameWhereLoadedFrom = name; }

    bool isAutoSelectInputSource() const { return m_isAutoSelectInputSource; }
    void setIsAutoSelectInputSource(bool autoSelect) { m_isAutoSelectInputSource = autoSelect; }
    bool isDisableMisspellRecognition() const { return m_isDisableMisspellRecognition; }
    void setIsDisableMisspellRecognition(bool disable) { m_isDisableMisspellRecognition = disable; }
    // Changed since the last synchronisation; set by whoever changes the vocabulary, cleared
    // only by the synchronisation.
    bool needsSync() const { return m_needsSync; }
    void setNeedsSync(bool needsSync) { m_needsSync = needsSync; }
    qint64 version() const { return m_version; }
    // Each synchronisation adds one to the version: what is kept leaves room for that, however
    // large a number a file gave (1e308 reads as the largest 64-bit number).
    static constexpr qint64 largestVersion = std::numeric_limits<qint64>::max() - 1;
    void setVersion(qint64 version) { m_version = std::clamp<qint64>(version, 0, largestVersion); }
    // The versions this one was made from, as the synchronisation marked them; stored and read
    // back unchanged, and read by the synchronisation only.
    const QStringList &lineage() const { return m_lineage; }
    void setLineage(const QStringList &lineage) { m_lineage = lineage; }

    QLXStatistics &statistics() { return m_statistics; }
    const QLXStatistics &statistics() const { return m_statistics; }
    void setStatistics(const QLXStatistics &statistics) { m_statistics = statistics; }

    // Distinct strings, in the order given (the order in which they are tried).
    const QStringList &yourFacultativeWords() const { return m_yourFacultativeWords; }
    void setYourFacultativeWords(const QStringList &words);
    const QStringList &foreignFacultativeWords() const { return m_foreignFacultativeWords; }
    void setForeignFacultativeWords(const QStringList &words);

    // The identifiers are stored as given; a new one also selects the first selectable input
    // source of that identifier, when there is one (the source stays as it was otherwise).
    const std::optional<QString> &yourTextInputSourceId() const { return m_yourTextInputSourceId; }
    void setYourTextInputSourceId(const std::optional<QString> &identifier);
    const std::optional<QString> &foreignTextInputSourceId() const { return m_foreignTextInputSourceId; }
    void setForeignTextInputSourceId(const std::optional<QString> &identifier);
    const std::optional<lexi::InputSource> &yourTextInputSource() const { return m_yourTextInputSource; }
    void setYourTextInputSource(const std::optional<lexi::InputSource> &source) { m_yourTextInputSource = source; }
    const std::optional<lexi::InputSource> &foreignTextInputSource() const { return m_foreignTextInputSource; }
    void setForeignTextInputSource(const std::optional<lexi::InputSource> &source)
    {
        m_foreignTextInputSource = source;
    }

    QLXRandom &random() { return m_random; }
    void setRandom(QLXRandom random) { m_random = std::move(random); }

    // Every word, in stored order. Lists are returned as copies (cheap, shared until changed), so
    // they stay valid while the vocabulary changes.
    lexi::WordList allWords() const { return m_allWords; }
    // Takes the list as it is, without null entries, links the words back here and drops the
    // cached lists, the tag index and the synonyms.
    void setAllWords(const lexi::WordList &words);
    qsizetype countAllWords() const { return m_allWords.size(); }
    // A number that grows along the stored order, for telling which of two words comes first
    // without a pass over the words; none for a word not listed here.
    std::optional<qint64> storedPositionOf(const QLXWord &word) const { return positions().positionOf(word); }
    // How often the word object is listed here.
    qsizetype listingsOf(const QLXWord &word) const { return positions().listings(word); }

    // The words of one level, in stored order, cached until the next invalidation; level 5 (and
    // anything above) holds every word of level 5 or more.
    lexi::WordList wordsInLevel(quint64 level) const;
    lexi::WordList level0Words() const { return wordsInLevel(0); }
    lexi::WordList level1Words() const { return wordsInLevel(1); }
    lexi::WordList level2Words() const { return wordsInLevel(2); }
    lexi::WordList level3Words() const { return wordsInLevel(3); }
    lexi::WordList level4Words() const { return wordsInLevel(4); }
    lexi::WordList level5Words() const { return wordsInLevel(5); }
    // Native words not marked don't-ask-again.
    lexi::WordList nativeWithoutDontAsk() const;
    // Drops the cached lists. The vocabulary's own operations keep them up to date, and so do the
    // words' level and don't-ask-again setters (see wordLevelChanged()); code that changes the
    // words otherwise must call it.
    void invalidateCachedWordLists();
    // Drop the tag index and the synonyms, which are found anew when next asked for.
    void invalidateTagIndex();
    void invalidateSynonyms();
    // What a word of this vocabulary tells of its own changes, so that the per-level lists, the
    // tag index and the synonyms follow that word alone (with the same result as building them
    // anew). A word not listed here changes nothing.
    void wordLevelChanged(const QLXWord &word, quint64 previousLevel, bool previousDontAskAgain);
    void wordSidesChanged(const QLXWord &word, const QString &previousYourWord, const QString &previousForeignWord);
    void wordTagsChanged(const QLXWord &word, const QStringList &previousTags);
    // Any change of a word here that changes its stored form.
    void wordStoredFormChanged(const QLXWord &word);
    // A point in the history of the changes of this vocabulary's words.
    struct WordChangeMark
    {
        quint64 vocabulary = 0;
        quint64 changes = 0;

        bool operator==(const WordChangeMark &) const = default;
    };
    WordChangeMark wordChangeMark() const { return {m_identity, m_storedFormChanges}; }
    // A mark that moves with every change of the list of words (and of what is derived from
    // them): while it stays, the list is the same.
    WordChangeMark wordListMark() const { return {m_identity, m_wordChanges}; }
    // The words whose stored form changed since `mark`, so that what is derived from them can
    // follow those alone: a word may be listed more than once, and may be one removed since (its
    // address is listed, never to be followed). None when `mark` is another vocabulary's, or so
    // long ago that the changes since are no longer known.
    std::optional<std::vector<const QLXWord *>> wordsChangedSince(const WordChangeMark &mark) const;
    // The stored forms of the words of each level, in stored order, as the per-level lists hold
    // them. Kept with those lists: each change of a word replaces its stored form alone, and the
    // lists returned share their chunks with those kept, so taking them copies next to nothing.
    std::array<lexi::StoredWordList, QLXWord::nativeLevel + 1> storedWordLists() const;
    // Makes, a part at a time, what the first answer and the first save after the vocabulary was
    // set would otherwise make at once: the words' positions, the per-level lists, and every
    // word's stored form in the lists storedWordLists() returns. Each call makes that of
    // `wordCount` words; false once everything is made. A change of the words between two calls
    // drops the positions and lists made so far, which are then made when next asked for, as
    // without preparing; the stored forms made stay, each word's own until that word changes.
    // Moves no mark: what was prepared elsewhere is still taken.
    bool prepareDerivedData(qsizetype wordCount);

    // Appends `word` (none is ignored), links it back here and gives it a new creationID (see
    // lexi::CreationIdentifierMaker), one no word here has. Updates the synonyms with it.
    void addWord(const std::shared_ptr<QLXWord> &word);
    // The same with the creationID given.
    void addWord(const std::shared_ptr<QLXWord> &word, qint64 creationID);
    // Appends the words (none are skipped) and links them back here. Words with a negative
    // creationID get new ones (see lexi::CreationIdentifierMaker) that no word has. The derived
    // data that is kept (level lists, tag index, synonyms) takes them in, the words already here
    // keeping their order.
    void batchAddWords(const lexi::WordList &words);
    // Words appended on another thread: what the vocabulary's words and the derived data it keeps
    // were when taken (shared with the vocabulary until either changes), grown there by the new
    // words, so that taking them in costs this vocabulary's thread nothing that grows with the
    // words.
    class PreparedAddition
    {
    public:
        // What a word listed when the addition was taken was: what equality and new identifiers
        // are told by on the other thread, which never reads the listed words themselves.
        struct ListedWord
        {
            QString foreignWord;
            QString yourWord;
            qint64 creationID;
        };

        const std::vector<ListedWord> &listedWords() const { return m_listed; }
        // The word objects listed, then those appended.
        const lexi::WordList &words() const { return m_allWords; }
        // The identifiers of the words listed, and the vocabulary's time when the addition was
        // taken: what new identifiers are made from.
        QList<qint64> listedIdentifiers() const;
        lexi::Date now() const { return m_now; }
        // Appends the words (null entries are passed over) with the creationIDs they have, and
        // what is derived from them; any thread.
        void append(const lexi::WordList &words);
        const lexi::WordList &appended() const { return m_appended; }

    private:
        friend class Lexicarta;

        quint64 m_wordChanges = 0;
        lexi::Date m_now;
        lexi::WordList m_allWords;
        std::optional<lexi::WordPositions> m_positions;
        std::optional<LevelLists> m_levelLists;
        std::optional<lexi::TagIndex> m_tagIndex;
        std::optional<Synonyms> m_synonyms;
        std::vector<ListedWord> m_listed;
        lexi::WordList m_appended;
    };
    // Takes what an addition prepared on another thread starts from; cheap but for the words'
    // texts and identifiers.
    PreparedAddition prepareAddition() const;
    // Takes the prepared words in, as batchAddWords() would (they keep their creationIDs), with
    // the derived data prepared for them. False, with nothing changed, when the words here or
    // what is derived from them changed since the addition was taken: the caller decides anew.
    bool addPrepared(PreparedAddition &&addition);

    // A merge with another version made on another thread: the stored forms of the words here and
    // the statistics as they were when it was taken, merged there as mergeWithOtherVersion() merges,
    // with the derived data built for the result, so that taking it in costs this vocabulary's
    // thread nothing that grows with the words but linking them here.
    class PreparedMerge
    {
    public:
        // Makes the words anew from their stored forms and merges `other` into them, leaving
        // `other` and its words as they are, then builds the level lists with their stored
        // forms, the tag index and the synonyms; any thread.
        void merge(const Lexicarta &other);

    private:
        friend class Lexicarta;

        quint64 m_wordChanges = 0;
        WordChangeMark m_mark;
        QLXStatistics m_statistics;
        std::shared_ptr<Lexicarta> m_merged;
        std::array<lexi::StoredWordList, QLXWord::nativeLevel + 1> m_storedWords;
        // The level of each word, in the order listed.
        std::vector<quint8> m_levels;
        bool m_isMerged = false;
    };
    // Takes what a merge prepared on another thread starts from; cheap but for each word's level.
    PreparedMerge prepareMerge() const;
    // Takes the merged words, their derived data and the merged statistics in; the word objects
    // here are replaced by those made anew, and no longer link here. False, with nothing
    // changed, when any word here, the derived data or the statistics changed since the merge
    // was taken, or it was never merged: the caller merges here instead.
    bool takePreparedMerge(PreparedMerge &&merge);

    // Removes every occurrence of that word object, also from the synonyms, together with the
    // words that were synonyms through it alone.
    void removeWord(const std::shared_ptr<QLXWord> &word);
    // The same for all of `words` at once (null entries are passed over), in one pass over the
    // words.
    void removeWords(const lexi::WordList &words);
    // Whole seconds since 2001-01-01 00:00:00 UTC.
    qint64 currentTime() const;
    // The first of `count` creationIDs for a batch of words, numbered from it in order: new
    // identifiers (see lexi::CreationIdentifierMaker) that no word here has.
    qint64 batchImportIdForRange(qint64 count) const;

    // The first word with the same foreign and your word (exactly).
    std::shared_ptr<QLXWord> findWordEqualTo(const QLXWord &word) const;
    // Whether a word has the same foreign and your word (exactly): looked up in the synonyms'
    // groups of words by side while they are kept, else in the words' text index.
    bool containsWordEqualTo(const QLXWord &word) const;
    std::shared_ptr<QLXWord> findWordByID(qint64 creationID) const;
    bool containsWordWithID(qint64 creationID) const { return findWordByID(creationID) != nullptr; }
    lexi::WordList wordsWithTags(const QStringList &tags, bool mustHaveAll) const;

    // Every tag of the words, once, in the order first met. The tag index is built when there is
    // none, and dropped by every change of the words here that can affect it.
    QStringList allTags() const;
    void buildTagsIndex();
    // The tags longer than `prefix` that begin with it, the most used first; none when there are
    // none. Writes the prefix to the console.
    std::optional<QStringList> completionTagsForPrefix(const QString &prefix) const;

    // The words that share their exact your word or foreign word with another word, in stored
    // order; found first when they are not known.
    lexi::WordList synonyms();
    // Finds the synonyms anew. Leaves the words stored in the order of their foreign words, then
    // their your words (both without facultatives, ignoring case).
    void buildSynonyms();
    // Adds `word`, one of the words here, and the words that share a side with it.
    void updateSynonymsWithWord(const std::shared_ptr<QLXWord> &word);
    // The synonyms with the same your word or foreign word as `word`, except those equal to it,
    // in stored order. Asked of a word listed here while the synonyms are not known, they are
    // found without finding all synonyms, and so without sorting the words.
    lexi::WordList synonymsForWord(const QLXWord &word);

    // Removes all but one of each set of words with the same foreign and your word: the highest
    // level stays; of equal levels one with a comment or tags wins over one without, else the one
    // stored first. A word object listed more than once stays listed once. Returns by how many
    // the words' count fell.
    qsizetype deleteDuplicates();
    // Takes over the changes of another version of this vocabulary, word by word: each of its
    // words stands for the word here with its creationID (of several, the one equal in text;
    // none when that cannot be told). One without a counterpart is added; one edited later or of
    // a higher level replaces its counterpart; at the same level the counterpart takes its
    // don't-ask-again mark and its later lastAsked. Words only here stay. The word objects taken
    // move here; those replaced no longer link here. Merging a vocabulary with itself changes
    // nothing. Two words that merely share an identifier (different texts, neither ever edited)
    // are both kept: the other version's word comes in under the identifier derived from its own
    // and its text (lexi::derivedCreationID()), which every installation derives alike, and a word
    // that came in so elsewhere is recognised here by it. The statistics keep every day either
    // version recorded (of a day both recorded, the snapshot of the one whose history goes on past
    // it, else this one's), and today's counts the merged words. Whether any word here was added,
    // replaced or changed, or a day of statistics came in.
    bool mergeWithOtherVersion(Lexicarta &other);
    // Adds the words of `other` that have no equal word here (same foreign and your word), as a
    // batch with new creationIDs, as batchAddWords() takes them in; `addAllToUnknown` first sets
    // every word of `other` to level 0. The word objects move here. Joining a vocabulary with
    // itself changes nothing.
    void joinWithVocabulary(Lexicarta &other, bool addAllToUnknown);
    // The same work on another thread, which `other` must be used on meanwhile: appends the words
    // of `other` to join to `addition`.
    static void prepareJoin(PreparedAddition &addition, Lexicarta &other, bool addAllToUnknown);

    // Records a quiz answer on `word` (whichever vocabulary it is in): 1 right, -1 wrong, any
    // other value neither. Stamps lastAsked, moves the level, refreshes today's snapshot.
    void answeredWord(QLXWord &word, int correct);
    void makeDailyStatisticsSnapshot();
    // The words of `level` carrying the tags that are due: never asked first, then the longest
    // waiting; words not to be asked again are left out.
    lexi::WordList wordsOverDueFromLevel(quint64 level, const QStringList &tags, bool mustHaveAll) const;
    // Whether `word` is due at `now`: never asked, or asked longer ago than its level's rest time;
    // never a word not to be asked again, nor one whose date is not a number.
    static bool isDue(const QLXWord &word, const lexi::Date &now);
    // Up to `count` different words of `level` carrying the tags, drawn at random, due or not.
    lexi::WordList randomlyPick(qint64 count, quint64 level, const QStringList &tags, bool mustHaveAll);

    // The words matching `term` (QLXWord::matchesSearchTerm), in order; all of them for none or
    // an empty term.
    static lexi::WordList filterWords(const lexi::WordList &words, const std::optional<QString> &term);
    // The words carrying every tag (mustHaveAll) or at least one of them, in order; all of them
    // for no tags. Tags match exactly.
    static lexi::WordList filteredWords(const lexi::WordList &words, const QStringList &tags, bool mustHaveAll);

private:
    explicit Lexicarta(const lexi::VocabularyServices &services);


    const LevelLists &levelLists() const;
    const lexi::WordPositions &positions() const;
    // Inserts the word into `list`, which is in stored order, where it stands in that order; its
    // index there, none when the order is not known.
    std::optional<qsizetype> insertInStoredOrder(lexi::WordList &list, const std::shared_ptr<QLXWord> &word) const;
    // Where the word stands in `list`, which is in stored order, found by its position; none when
    // it is not there or the order is not known. Needs the positions.
    std::optional<qsizetype> indexInStoredOrder(const lexi::WordList &list, const QLXWord &word) const;
    // The stored forms of the words changed since the last snapshot take the places of theirs in
    // the lists of stored forms: each found where it stands (false when that cannot be told, no
    // positions or a word listed twice, perhaps after some were replaced), or by a pass over all.
    bool replaceStoredFormsInPlace(LevelLists &lists) const;
    void replaceStoredFormsByPass(LevelLists &lists) const;
    // What derived data was kept follows these words added at the end, or these words removed.
    void derivedDataAdd(const std::shared_ptr<QLXWord> &word);
    static void derivedDataAdd(const std::shared_ptr<QLXWord> &word, std::optional<lexi::WordPositions> &positions,
                               std::optional<LevelLists> &levelLists, std::optional<lexi::TagIndex> &tagIndex,
                               std::optional<Synonyms> &synonyms);
    // Trades the words and what is derived from them for those given, which take what was here.
    void swapWordsAndDerivedData(lexi::WordList &words, std::optional<lexi::WordPositions> &positions,
                                 std::optional<LevelLists> &levelLists, std::optional<lexi::TagIndex> &tagIndex,
                                 std::optional<Synonyms> &synonyms);
    // The words here or what is derived from them changed: an addition prepared before is
    // decided anew.
    void wordsChanged() { ++m_wordChanges; }
    void derivedDataRemove(const lexi::WordList &removed);
    // Drops every derived list and index, also the words' positions and what was prepared of them.
    void dropDerivedData();
    static qint64 rehearseTimeInSec(quint64 level);
    // Links the word back here and appends it.
    void adopt(const std::shared_ptr<QLXWord> &word);
    const QSet<qint64> &takenIdentifiers() const;
    // The word's identifier is one a new word must not have.
    void takeIdentifier(const QLXWord &word) const;
    // Drops what bulk changes of the words leave out of date and finds the synonyms anew.
    void rebuildDerivedData();
    const lexi::TagIndex &tagIndex() const;
    const lexi::WordTextIndex &wordTexts() const;
    const Synonyms &synonymGroups();
    // The synonyms of `word` found in one pass over the words, when it is listed here; none when
    // it is not (whether its partners are synonyms then depends on the other words).
    std::optional<lexi::WordList> partnersOfListedWord(const QLXWord &word) const;
    void sortByForeignThenYourWord();
    void removeWordObjects(const QSet<const QLXWord *> &objects);
    // Takes the first selectable source with `identifier` into `source`; none found leaves it.
    void selectInputSource(const std::optional<QString> &identifier, std::optional<lexi::InputSource> &source) const;

    lexi::VocabularyServices m_services;
    // Tells this vocabulary's marks of word changes from another's.
    const quint64 m_identity;
    quint64 m_storedFormChanges = 0;
    // The words of the latest changes, the first of them change number m_firstLoggedChange.
    std::vector<const QLXWord *> m_changedWords;
    quint64 m_firstLoggedChange = 0;
    lexi::WordList m_allWords;
    quint64 m_wordChanges = 0;
    mutable std::optional<lexi::WordPositions> m_positions;
    // What prepareDerivedData() made so far: the stored forms of `words` up to `next`, and while
    // the words do not change (no mark moved since `wordChanges`), their positions and per-level
    // lists with the stored forms.
    struct Preparation
    {
        lexi::WordList words;
        qsizetype next = 0;
        quint64 wordChanges = 0;
        std::optional<lexi::WordPositions> positions;
        std::optional<LevelLists> levelLists;
    };
    std::optional<Preparation> m_preparation;
    mutable std::optional<LevelLists> m_levelLists;
    mutable std::optional<lexi::TagIndex> m_tagIndex;
    std::optional<Synonyms> m_synonyms;
    // The words by their texts, built when first needed, then kept by the words' changes.
    mutable std::optional<lexi::WordTextIndex> m_wordTexts;
    // Every identifier in the range new ones are made in that a word here has, and perhaps some
    // that words had before (a word that goes or takes another leaves its own): what a new word's
    // identifier must not be. Built when first needed, then kept by the words' changes.
    mutable std::optional<QSet<qint64>> m_takenIdentifiers;
    QLXRandom m_random;
    bool m_needsSync = false;
    bool m_isDisableMisspellRecognition = false;
    bool m_isAutoSelectInputSource = true;
    qint64 m_version = 0;
    QStringList m_lineage;
    QString m_language;
    QString m_foreignLanguageName;
    QString m_yourLanguageName;
    std::optional<QString> m_fileNameWhereLoadedFrom;
    QLXStatistics m_statistics;
    std::optional<QString> m_yourTextInputSourceId;
    std::optional<QString> m_foreignTextInputSourceId;
    QStringList m_foreignFacultativeWords;
    QStringList m_yourFacultativeWords;
    std::optional<lexi::InputSource> m_yourTextInputSource;
    std::optional<lexi::InputSource> m_foreignTextInputSource;
};
