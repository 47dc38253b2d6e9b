#include "support/FakeVocabularyServices.h"

#include "quiz/AnswerJudging.h"
#include "quiz/InfoMessage.h"
#include "quiz/QuizResults.h"
#include "quiz/QuizSetupCheck.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(AnswerJudgingTest, DistanceAndVerdict)
{
    const struct
    {
        QString expected, answer;
        bool misspellingDisabled;
        qint64 distance;
        lexi::AnswerVerdict verdict;
    } cases[] = {
        {u"Haus"_s, u"Haus"_s, false, 0, lexi::AnswerVerdict::Correct},
        {u"Haus"_s, u"haus"_s, false, 1, lexi::AnswerVerdict::Misspelled},
        {u"Haus"_s, u"haus"_s, true, 1, lexi::AnswerVerdict::Wrong},
        {u"Haus"_s, u"Haus "_s, false, 1, lexi::AnswerVerdict::Misspelled},
        {u"Haus"_s, u"Hasu"_s, false, 1, lexi::AnswerVerdict::Misspelled},
        {u"Haus"_s, u"Hose"_s, false, 3, lexi::AnswerVerdict::Wrong},
        {u"Haus"_s, u""_s, false, 8, lexi::AnswerVerdict::Wrong},
        {u"Haus"_s, u" "_s, false, 8, lexi::AnswerVerdict::Wrong},
        {u"a"_s, u" "_s, false, 8, lexi::AnswerVerdict::Wrong},
        {u"Haus"_s, u"  "_s, false, 4, lexi::AnswerVerdict::Wrong},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::Message() << '"' << test.answer.toStdString() << '"');
        const qint64 distance = lexi::answerDistance(test.expected, test.answer);
        EXPECT_EQ(distance, test.distance);
        EXPECT_EQ(lexi::verdictForDistance(distance, test.misspellingDisabled), test.verdict);
    }
}

TEST(AnswerJudgingTest, SynonymsOfTheRunAreTakenOnlyWhenNotYetAsked)
{
    lexi::test::FakeVocabularyServices fakes;
    const auto big = std::make_shared<QLXWord>(u"big"_s, u"groß"_s);
    const auto large = std::make_shared<QLXWord>(u"large"_s, u"groß"_s);
    const auto outside = std::make_shared<QLXWord>(u"tall"_s, u"groß"_s);
    const lexi::WordList synonyms = {large, outside};
    const lexi::WordList run = {big, large};
    // Asking for the own word: the expected side is yourWord.
    EXPECT_EQ(lexi::acceptedSynonym(synonyms, u"large"_s, false, run, 0), large) << "later in the run";
    EXPECT_EQ(lexi::acceptedSynonym(synonyms, u"large"_s, false, {large, big}, 1), nullptr) << "asked already";
    EXPECT_EQ(lexi::acceptedSynonym(synonyms, u"tall"_s, false, run, 0), outside) << "outside the run";
    EXPECT_EQ(lexi::acceptedSynonym(synonyms, u"Large"_s, false, run, 0), nullptr) << "only exactly";
    EXPECT_EQ(lexi::acceptedSynonym(synonyms, u"large"_s, true, run, 0), nullptr) << "the other side";
    const auto blank = std::make_shared<QLXWord>(u" "_s, u"leer"_s);
    EXPECT_EQ(lexi::acceptedSynonym({blank}, u" "_s, false, run, 0), nullptr);
    EXPECT_EQ(lexi::acceptedSynonym({blank}, u""_s, false, run, 0), nullptr);
}

TEST(QuizResultsTest, IntroThresholdsAndEmptyRuns)
{
    const struct
    {
        qint64 correct, total;
        QString key;
        double shown;
    } cases[] = {
        {199, 1000, u"rehearseAgain"_s, 19}, {1, 5, u"wellDone"_s, 20},        {599, 1000, u"wellDone"_s, 59},
        {3, 5, u"congratulations"_s, 60},    {5, 5, u"congratulations"_s, 100}, {0, 0, u"rehearseAgain"_s, 0},
        {2, 3, u"congratulations"_s, 66},
    };
    for (const auto &test : cases) {
        const lexi::QuizResults results{test.correct, 0, test.total - test.correct, test.total};
        EXPECT_EQ(results.introKey(), test.key) << test.correct << " of " << test.total;
        EXPECT_EQ(results.shownCorrectPercent(), test.shown) << test.correct << " of " << test.total;
    }
    const lexi::QuizResults none{};
    EXPECT_EQ(none.correctPercent(), 0.0);
    EXPECT_EQ(none.misspelledPercent(), 0.0);
}

class QuizSetupCheckTest : public testing::Test
{
protected:
    std::shared_ptr<QLXWord> add(quint64 level, const QStringList &tags = {}, bool dontAskAgain = false)
    {
        auto word = std::make_shared<QLXWord>(u"w%1"_s.arg(vocabulary->countAllWords()), u"x"_s);
        word->setLevel(level);
        word->setTags(tags);
        word->setDontAskAgain(dontAskAgain);
        vocabulary->addWord(word);
        return word;
    }

    lexi::test::FakeVocabularyServices fakes;
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(fakes.services);
};

TEST_F(QuizSetupCheckTest, FaultsInOrderAndWhichLeaveStartEnabled)
{
    add(1, {u"animals"_s});
    add(5, {}, true);
    const std::array<bool, 6> none{};
    const std::array<bool, 6> levelOne{false, true, false, false, false, false};
    const std::array<bool, 6> levelThree{false, false, false, true, false, false};
    const std::array<bool, 6> nativeOnly{false, false, false, false, false, true};
    const std::array<qint64, 6> due{0, 1, 0, 0, 0, 0};
    const std::array<qint64, 6> nothingDue{};
    const struct
    {
        const char *what;
        lexi::QuizSetupChoice choice;
        std::optional<QString> error;
        bool startEnabled;
    } cases[] = {
        {"no level, words due", {none, due, 10, {}, true}, u"nothingSelected"_s, false},
        {"no level, nothing due", {none, nothingDue, 10, {}, true}, u"noWordsOverDue"_s, false},
        {"no level comes before a zero", {none, due, 0, {}, true}, u"nothingSelected"_s, false},
        {"no words in the levels", {levelThree, due, 10, {}, true}, u"noWordsInList"_s, false},
        {"native words not to be asked", {nativeOnly, due, 10, {}, true}, u"noWordsInList"_s, false},
        {"zero", {levelOne, due, 0, {}, true}, u"zeroEntered"_s, true},
        {"negative", {levelOne, due, -3, {}, true}, u"zeroEntered"_s, true},
        {"zero comes before the tags", {levelOne, due, 0, {u"plants"_s}, true}, u"zeroEntered"_s, true},
        {"no word with the tags", {levelOne, due, 10, {u"plants"_s}, true}, u"noWordsWithTags"_s, true},
        {"all of two tags", {levelOne, due, 10, {u"animals"_s, u"plants"_s}, true}, u"noWordsWithTags"_s, true},
        {"any of two tags", {levelOne, due, 10, {u"animals"_s, u"plants"_s}, false}, std::nullopt, true},
        {"tags found outside the levels pass", {levelOne, due, 10, {u"animals"_s}, true}, std::nullopt, true},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.what);
        const lexi::QuizSetupVerdict verdict = lexi::checkQuizSetup(*vocabulary, test.choice);
        EXPECT_EQ(verdict.errorKey, test.error);
        EXPECT_EQ(verdict.isStartEnabled, test.startEnabled);
    }
    const auto empty = Lexicarta::create(fakes.services);
    EXPECT_EQ(lexi::checkQuizSetup(*empty, {levelOne, nothingDue, 10, {}, true}).errorKey, u"noWords"_s);
}

TEST_F(QuizSetupCheckTest, OverdueCountsAgreeWithTheDueLists)
{
    const lexi::Date now = fakes.clock.now();
    const struct
    {
        quint64 level;
        double askedSecondsAgo; // negative: never
        bool dontAskAgain;
    } words[] = {
        {0, -1, false},    {0, 1, false},      {1, 901, false},    {1, 899, false},     {2, 10801, false},
        {3, 86401, false}, {3, 86401, true},   {4, 259201, false}, {5, 604801, false},  {7, 604801, false},
        {5, 604799, false}, {2, -1, true},
    };
    for (const auto &entry : words) {
        const auto word = add(entry.level, {}, entry.dontAskAgain);
        if (entry.askedSecondsAgo >= 0)
            word->setLastAsked(now.addingSeconds(-entry.askedSecondsAgo));
    }
    const std::array<qint64, 6> counts = lexi::overdueCountsPerLevel(*vocabulary);
    for (quint64 level = 0; level < 6; ++level)
        EXPECT_EQ(counts[level], vocabulary->wordsOverDueFromLevel(level, {}, false).size()) << level;
    EXPECT_EQ(counts, (std::array<qint64, 6>{2, 1, 1, 1, 1, 2}));
}

QJsonObject message(const QString &json)
{
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

TEST(InfoMessageTest, ShownByItsRules)
{
    const auto isProgramKey = [](const QString &key) { return key == u"backgroundColor"_s; };
    const QString complete =
        uR"({"title":"New","message":"Text","validFrom":1000,"validTo":2000,"buttonTitle":"Open",
            "url":"https://example.org/a","alternateButtonTitle":"Later","alternateUrl":"http://example.org/b",
            "displayedIn":"direct","uuid":"message-1.2_x"})"_s;
    const auto with = [&](const QString &key, const QString &jsonValue) {
        QJsonObject object = message(complete);
        if (jsonValue.isEmpty())
            object.remove(key);
        else
            object.insert(key, QJsonDocument::fromJson(u"[%1]"_s.arg(jsonValue).toUtf8()).array().at(0));
        return object;
    };
    const struct
    {
        const char *what;
        QJsonObject object;
        double now;
        bool dismissed;
        bool parses;
        bool shown;
    } cases[] = {
        {"complete, valid", message(complete), 1500, false, true, true},
        {"first second", message(complete), 1000, false, true, true},
        {"second before", message(complete), 999, false, true, false},
        {"last second", message(complete), 2000.5, false, true, true},
        {"second after", message(complete), 2001, false, true, false},
        {"numeric texts", with(u"validFrom"_s, u"\" 1000 \""_s), 1000, false, true, true},
        {"text that is no number", with(u"validTo"_s, u"\"soon\""_s), 1500, false, false, false},
        {"missing title", with(u"title"_s, {}), 1500, false, false, false},
        {"missing uuid", with(u"uuid"_s, {}), 1500, false, false, false},
        {"title of a wrong type", with(u"title"_s, u"42"_s), 1500, false, false, false},
        {"url of a wrong type", with(u"url"_s, u"{}"_s), 1500, false, false, false},
        {"for the app store", with(u"displayedIn"_s, u"\"appstore\""_s), 1500, false, true, false},
        {"dismissed", message(complete), 1500, true, true, false},
        {"uuid with a slash", with(u"uuid"_s, u"\"a/b\""_s), 1500, false, true, false},
        {"uuid too long", with(u"uuid"_s, u"\"%1\""_s.arg(QString(65, u'a'))), 1500, false, true, false},
        {"uuid of 64", with(u"uuid"_s, u"\"%1\""_s.arg(QString(64, u'a'))), 1500, false, true, true},
        {"uuid is a program key", with(u"uuid"_s, u"\"backgroundColor\""_s), 1500, false, true, false},
        {"empty uuid", with(u"uuid"_s, u"\"\""_s), 1500, false, true, false},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.what);
        const std::optional<lexi::InfoMessage> parsed = lexi::InfoMessage::fromJson(test.object);
        ASSERT_EQ(parsed.has_value(), test.parses);
        if (parsed) {
            EXPECT_EQ(lexi::shouldShowInfoMessage(*parsed, test.dismissed, test.now, isProgramKey), test.shown);
        }
    }
}

TEST(InfoMessageTest, OnlyWebLinksOpen)
{
    for (const QString &link : {u"https://example.org/x"_s, u"http://example.org"_s, u"HTTPS://example.org"_s})
        EXPECT_TRUE(lexi::InfoMessage::isOpenableLink(QUrl(link))) << qPrintable(link);
    for (const QString &link : {u"file:///etc/passwd"_s, u"javascript:alert(1)"_s, u"mailto:a@b.c"_s, u""_s,
                                u"https://"_s, u"ftp://example.org"_s})
        EXPECT_FALSE(lexi::InfoMessage::isOpenableLink(QUrl(link))) << qPrintable(link);
}

} // namespace
