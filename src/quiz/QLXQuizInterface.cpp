#include "QLXQuizInterface.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <numeric>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The order in which the levels are taken: native first, then from long term down, ultra-short
// before short term, unknown last.
constexpr std::array<quint64, 6> levelOrder = {5, 4, 3, 1, 2, 0};

// Takes a uniformly random word out of `words`; the last word moves into its place.
std::shared_ptr<QLXWord> takeRandomWord(lexi::WordList &words, QLXRandom &random)
{
    words.swapItemsAt(random.randomIntBetween(0, words.size() - 1), words.size() - 1);
    return words.takeLast();
}

// The words of a run as they are chosen: each word object once, in the order it came.
class ChosenWords
{
public:
    qint64 size() const { return m_words.size(); }
    bool contains(const QLXWord *word) const { return m_members.contains(word); }
    void add(const std::shared_ptr<QLXWord> &word)
    {
        if (!contains(word.get())) {
            m_members.insert(word.get());
            m_words.append(word);
        }
    }
    const lexi::WordList &words() const { return m_words; }

private:
    lexi::WordList m_words;
    QSet<const QLXWord *> m_members;
};


// What a run is chosen from: the levels switched on, in the order they are taken, and the tag
// filter.
struct Choice
{
    const Lexicarta &vocabulary;
    QList<quint64> levels;
    QStringList tags;
    bool mustHaveAll;
};

// Random words of the chosen levels, due or not, until the run holds `wanted` words or the levels
// have no more. Each round shares the missing number out among the levels (at least one word
// each, in their order). Words not to be asked again stay out.
void fillUp(ChosenWords &chosen, const Choice &choice, qint64 wanted, QLXRandom &random)
{
    std::vector<lexi::WordList> pools;
    for (const quint64 level : choice.levels) {
        lexi::WordList pool;
        for (const std::shared_ptr<QLXWord> &word :
             Lexicarta::filteredWords(choice.vocabulary.wordsInLevel(level), choice.tags, choice.mustHaveAll)) {
            if (!word->dontAskAgain() && !chosen.contains(word.get()))
                pool.append(word);
        }
        pools.push_back(std::move(pool));
    }
    const auto wordsLeft = [&pools] {
        return std::any_of(pools.cbegin(), pools.cend(), [](const lexi::WordList &pool) { return !pool.isEmpty(); });
    };
    // Every round takes at least one word out of a pool, so the rounds come to an end.
    while (chosen.size() < wanted && wordsLeft()) {
        const qint64 share = std::max<qint64>(1, (wanted - chosen.size()) / qint64(pools.size()));
        for (lexi::WordList &pool : pools) {
            for (qint64 taken = 0; taken < share && !pool.isEmpty(); ++taken)
                chosen.add(takeRandomWord(pool, random));
            if (chosen.size() >= wanted)
                break;
        }
    }
}

} // namespace

QLXQuizInterface::QLXQuizInterface(lexi::Defaults &defaults)
    : m_settings(defaults), m_isShowCommentWithQuestion(m_settings.value(lexi::Settings::showCommentWithQuestion))
{
}

void QLXQuizInterface::createWordsToAsk()
{
    setWordsToAsk(chooseWords());
}

lexi::WordList QLXQuizInterface::chooseWords()
{
    const qint64 wanted = m_numberOfWordsToAsk;
    if (!m_vocabulary || wanted <= 0)
        return {};
    Choice choice{*m_vocabulary, {}, QStringList(m_filterTags.cbegin(), m_filterTags.cend()),
                  m_isWordsMustMatchAllTags};
    for (const quint64 level : levelOrder) {
        if (m_askLevel[level])
            choice.levels.append(level);
    }
    if (choice.levels.isEmpty())
        return {};

    lexi::WordList due;
    for (const quint64 level : std::as_const(choice.levels)) {
        if (level != QLXWord::nativeLevel)
            due.append(choice.vocabulary.wordsOverDueFromLevel(level, choice.tags, choice.mustHaveAll));
    }
    ChosenWords chosen;
    if (due.size() <= wanted) {
        for (const std::shared_ptr<QLXWord> &word : std::as_const(due))
            chosen.add(word);
    } else {
        // The number wanted, drawn at random.
        while (chosen.size() < wanted && !due.isEmpty())
            chosen.add(takeRandomWord(due, m_random));
    }
    if (askNative()) {
        // The longest-due native words first.
        for (const std::shared_ptr<QLXWord> &word :
             choice.vocabulary.wordsOverDueFromLevel(QLXWord::nativeLevel, choice.tags, choice.mustHaveAll)) {
            if (chosen.size() >= wanted)
                break;
            chosen.add(word);
        }
    }
    if (chosen.size() < wanted)
        fillUp(chosen, choice, wanted, m_random);
    return chosen.words();
}

void QLXQuizInterface::setWordsToAsk(const lexi::WordList &words)
{
    m_isShowCommentWithQuestion = m_settings.value(lexi::Settings::showCommentWithQuestion);
    m_askIndex = -1;
    // A copy first: `words` may be this very list.
    lexi::WordList remaining = words;
    m_wordsToAsk.clear();
    m_wordsToAsk.reserve(remaining.size());
    while (!remaining.isEmpty())
        m_wordsToAsk.append(takeRandomWord(remaining, m_random));
    clusterTagsInArray(m_wordsToAsk);
    m_numberOfWordsToAsk = m_wordsToAsk.size();
}

void QLXQuizInterface::askInOrder(const lexi::WordList &words)
{
    m_wordsToAsk = words;
    m_askIndex = -1;
    m_numberOfWordsToAsk = m_wordsToAsk.size();
}

bool QLXQuizInterface::putInPlaceOfAskedWord(const std::shared_ptr<QLXWord> &word)
{
    const qint64 asked = std::clamp<qint64>(m_askIndex, 0, m_wordsToAsk.size());
    const qsizetype position = m_wordsToAsk.indexOf(word);
    const bool wasInRun = position >= 0;
    if (wasInRun)
        m_wordsToAsk.removeAt(position);
    m_wordsToAsk.insert(std::min<qint64>(asked, m_wordsToAsk.size()), word);
    return wasInRun;
}

void QLXQuizInterface::removeFromRestOfRun(const lexi::WordList &words)
{
    for (qsizetype position = m_wordsToAsk.size() - 1; position > m_askIndex; --position) {
        if (words.contains(m_wordsToAsk[position]))
            m_wordsToAsk.removeAt(position);
    }
}

void QLXQuizInterface::removeAskedWord()
{
    if (m_askIndex < 0 || m_askIndex >= m_wordsToAsk.size())
        return;
    m_wordsToAsk.removeAt(m_askIndex);
    --m_askIndex;
    m_numberOfWordsToAsk = std::max<qint64>(m_numberOfWordsToAsk - 1, 0);
}

std::shared_ptr<QLXWord> QLXQuizInterface::nextWordToAsk()
{
    // Whatever a caller set, the index stays between -1 and one past the last word, so that it
    // always names a place in the list.
    const qint64 count = m_wordsToAsk.size();
    m_askIndex = std::min(std::clamp<qint64>(m_askIndex, -1, count) + 1, count);
    return m_askIndex < count ? m_wordsToAsk[m_askIndex] : nullptr;
}

qint64 QLXQuizInterface::distanceBetween(const QString &a, const QString &b)
{
    if (a == b)
        return 0;
    // The distance is the same both ways round, so the rows run along the shorter text: a long
    // pasted answer costs memory only for the expected word's length.
    const bool aIsLonger = a.size() >= b.size();
    const QString &longer = aIsLonger ? a : b;
    const QString &shorter = aIsLonger ? b : a;
    const qsizetype columns = shorter.size();
    if (columns == 0)
        return longer.size();
    // The row being filled and the two before it, which a swap of neighbours reaches back to.
    std::vector<qint64> twoBefore(columns + 1), previous(columns + 1), current(columns + 1);
    std::iota(previous.begin(), previous.end(), qint64(0));
    for (qsizetype i = 1; i <= longer.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= columns; ++j) {
            const qint64 cost = longer[i - 1] == shorter[j - 1] ? 0 : 1;
            qint64 distance = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i >= 2 && j >= 2 && longer[i - 1] == shorter[j - 2] && longer[i - 2] == shorter[j - 1])
                distance = std::min(distance, twoBefore[j - 2] + cost);
            current[j] = distance;
        }
        std::swap(twoBefore, previous);
        std::swap(previous, current);
    }
    return previous[columns];
}

void QLXQuizInterface::clusterTagsInArray(lexi::WordList &words)
{
    // Untagged words share the group of this name.
    const QString noTagsSet = u"noTagsSet"_s;
    // The groups in the order their first word comes, so that one list always gives one order.
    QHash<QString, qsizetype> groupOfTag;
    QList<lexi::WordList> groups;
    const auto addToGroup = [&](const QString &tag, const std::shared_ptr<QLXWord> &word) {
        auto group = groupOfTag.constFind(tag);
        if (group == groupOfTag.constEnd()) {
            group = groupOfTag.insert(tag, groups.size());
            groups.append(lexi::WordList());
        }
        groups[*group].append(word);
    };
    for (const std::shared_ptr<QLXWord> &word : std::as_const(words)) {
        if (!word)
            continue;
        if (word->tags().isEmpty())
            addToGroup(noTagsSet, word);
        for (const QString &tag : word->tags())
            addToGroup(tag, word);
    }

    lexi::WordList clustered;
    QSet<const QLXWord *> placed;
    for (const lexi::WordList &group : std::as_const(groups)) {
        for (const std::shared_ptr<QLXWord> &word : group) {
            if (!placed.contains(word.get())) {
                placed.insert(word.get());
                clustered.append(word);
            }
        }
    }
    words = std::move(clustered);
}
