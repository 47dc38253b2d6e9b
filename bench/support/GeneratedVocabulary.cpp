#include "GeneratedVocabulary.h"

#include "platform/values/Dates.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <array>
#include <random>

using namespace Qt::StringLiterals;

namespace lexi::bench {

namespace {

const QStringList syllables = {u"ka"_s,  u"lo"_s,  u"mi"_s,  u"ne"_s,  u"ru"_s,  u"sa"_s,  u"te"_s,  u"vi"_s,
                               u"bra"_s, u"sch"_s, u"ung"_s, u"ter"_s, u"ei"_s,  u"au"_s,  u"ös"_s,  u"ür"_s,
                               u"pf"_s,  u"st"_s,  u"ch"_s,  u"li"_s,  u"gen"_s, u"mar"_s, u"hol"_s, u"zen"_s};
const QStringList articles = {u"der"_s, u"die"_s, u"das"_s};
const QStringList yourArticles = {u"the"_s, u"to"_s};
const QStringList commentStarts = {u"plural: "_s, u"informal, "_s, u"also "_s, u"see "_s, u"e.g. "_s};

// The share of words in each level, in per cent.
constexpr std::array<int, 6> levelShares = {20, 10, 12, 15, 18, 25};

class Generator
{
public:
    explicit Generator(unsigned seed) : m_random(seed) {}

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }
    bool chance(int percent) { return below(100) < percent; }

    QString pseudoWord(int minimumSyllables, int maximumSyllables)
    {
        QString text;
        const int count = minimumSyllables + below(maximumSyllables - minimumSyllables + 1);
        for (int i = 0; i < count; ++i)
            text += syllables[below(int(syllables.size()))];
        return text;
    }

    QString phrase(int maximumWords)
    {
        QStringList words;
        const int count = 1 + below(maximumWords);
        for (int i = 0; i < count; ++i)
            words.append(pseudoWord(1, 4));
        return words.join(u' ');
    }

    // A few topics are common, most are rare.
    QString topic()
    {
        const int index = chance(50) ? below(8) : below(150);
        return u"topic-"_s + QString::number(index);
    }

    quint64 level()
    {
        int roll = below(100);
        for (quint64 level = 0; level < levelShares.size(); ++level) {
            roll -= levelShares[level];
            if (roll < 0)
                return level;
        }
        return 5;
    }

private:
    std::mt19937 m_random;
};

std::shared_ptr<QLXWord> generateWord(Generator &generator, const Date &now, qint64 creationID)
{
    QString foreign = generator.phrase(2);
    if (generator.chance(40))
        foreign = articles[generator.below(int(articles.size()))] + u' ' + foreign;
    QString yours = generator.phrase(3);
    if (generator.chance(30))
        yours = yourArticles[generator.below(int(yourArticles.size()))] + u' ' + yours;
    const QString comment = generator.chance(25)
                                ? commentStarts[generator.below(int(commentStarts.size()))] + generator.phrase(4)
                                : QString();
    auto word = std::make_shared<QLXWord>(yours, foreign, comment);
    if (generator.below(3) < 2) {
        const int tagCount = 1 + generator.below(3);
        for (int i = 0; i < tagCount; ++i)
            word->addTag(generator.topic());
    }
    const quint64 level = generator.level();
    word->setLevel(level);
    word->setCreationID(creationID);
    if (level >= 4 && generator.chance(5))
        word->setDontAskAgain(true);
    if (level > 0 || generator.chance(40)) {
        // Higher levels were asked longer ago on average, so that every level has due and
        // waiting words.
        const int days = generator.below(int(10 + level * 20));
        word->setLastAsked(now.addingSeconds(-(days * 86400.0 + generator.below(86400))));
        word->setFallenDownCounter(quint64(generator.below(5)));
    }
    if (generator.chance(20))
        word->setModificationID(qint64(now.secondsSince1970()) - generator.below(365 * 86400));
    return word;
}

QLXStatistics generateYearOfSnapshots(const Lexicarta &vocabulary, const Clock &clock)
{
    const QDate today = clock.now().toDateTime().toLocalTime().date();
    const qsizetype finalCounts[] = {vocabulary.level0Words().size(), vocabulary.level1Words().size(),
                                     vocabulary.level2Words().size(), vocabulary.level3Words().size(),
                                     vocabulary.level4Words().size(), vocabulary.level5Words().size()};
    QList<QLXDailyStatisticsSnapshot> snapshots;
    constexpr int days = 365;
    for (int day = 0; day < days; ++day) {
        // The vocabulary grew and was learnt steadily over the year.
        QLXDailyStatisticsSnapshot snapshot(Date::fromDateTime(today.addDays(day - days + 1).startOfDay()));
        for (quint64 level = 0; level < 6; ++level)
            snapshot.setNumberOfWordsInLevel(level, finalCounts[level] * (day + 1) / days);
        snapshots.append(snapshot);
    }
    QLXStatistics statistics;
    statistics.setDailySnapshots(snapshots);
    return statistics;
}

} // namespace

BenchmarkServices::BenchmarkServices()
    : m_clock(Date::fromDateTime(QDateTime(QDate(2026, 1, 15), QTime(12, 0), QTimeZone::utc()))),
      m_services{m_clock, m_alerts, m_inputSources}
{
}

std::shared_ptr<Lexicarta> generateVocabulary(const VocabularyServices &services, int wordCount, unsigned seed)
{
    Generator generator(seed);
    const auto vocabulary = Lexicarta::create(services);
    vocabulary->setForeignLanguageName(u"German"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    vocabulary->setForeignFacultativeWords(articles);
    vocabulary->setYourFacultativeWords(yourArticles);

    const Date now = services.clock.now();
    const qint64 firstID = vocabulary->currentTime() * 100000;
    WordList words;
    words.reserve(wordCount);
    for (int i = 0; i < wordCount; ++i) {
        auto word = generateWord(generator, now, firstID + i);
        word->setWeakVocForSort(vocabulary);
        words.append(std::move(word));
    }
    vocabulary->setAllWords(words);
    vocabulary->setStatistics(generateYearOfSnapshots(*vocabulary, services.clock));
    return vocabulary;
}

} // namespace lexi::bench
