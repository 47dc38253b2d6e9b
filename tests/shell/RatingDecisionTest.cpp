#include "shell/RatingDecision.h"

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

constexpr double day = 86400.0;
const Date now = Date::fromSecondsSinceReferenceDate(800000000.0);

// The program's own thresholds: five days, and ten uses or ten events.
RatingPolicy programPolicy()
{
    RatingPolicy policy;
    policy.daysUntilPrompt = 5;
    return policy;
}

RatingHistory usedFor(double days, quint64 uses, quint64 events)
{
    RatingHistory history;
    history.applicationVersion = u"1.2"_s;
    history.firstUsed = now.addingSeconds(-days * day);
    history.usesCount = uses;
    history.eventCount = events;
    return history;
}

struct DecisionCase
{
    const char *name;
    RatingHistory history;
    bool shouldPrompt;
    const char *reasonStart;
};

TEST(RatingDecision, DecidesInTheOrderOfItsTests)
{
    RatingHistory rated = usedFor(30, 50, 50);
    rated.ratedVersion = u"1.0"_s;
    RatingHistory declined = usedFor(30, 50, 50);
    declined.declinedVersion = u"1.1"_s;
    RatingHistory firstLaunch;
    RatingHistory remindedRecently = usedFor(30, 50, 50);
    remindedRecently.lastReminded = now.addingSeconds(-day + 1);
    RatingHistory remindedLongAgo = usedFor(30, 50, 50);
    remindedLongAgo.lastReminded = now.addingSeconds(-day - 1);

    const DecisionCase cases[] = {
        {"rated any version", rated, false, "QLXRate did not prompt for rating because the user has already rated"},
        {"declined any version", declined, false, "QLXRate did not prompt for rating because the user has declined"},
        {"first launch", firstLaunch, false, "QLXRate did not prompt for rating because this is the first time"},
        {"four days", usedFor(4, 50, 50), false, "QLXRate did not prompt for rating because the app was first used less than 5 days ago"},
        {"9 uses, 9 events, 6 days", usedFor(6, 9, 9), false, "QLXRate did not prompt for rating because the app has only been used 9 times and only 9 events"},
        {"10 uses, no event", usedFor(6, 10, 0), true, ""},
        {"no use, 10 events", usedFor(6, 0, 10), true, ""},
        {"reminded within the period", remindedRecently, false, "QLXRate did not prompt for rating because the user last asked to be reminded less than 1 days ago"},
        {"reminded before the period", remindedLongAgo, true, ""},
    };
    for (const DecisionCase &c : cases) {
        const RatingDecision decision = decideRatingPrompt(programPolicy(), c.history, now);
        EXPECT_EQ(decision.shouldPrompt, c.shouldPrompt) << c.name;
        const QString expected = QString::fromUtf8(c.reasonStart);
        EXPECT_TRUE(expected.isEmpty() ? decision.reason.isEmpty() : decision.reason.startsWith(expected))
            << c.name << ": " << decision.reason.toStdString();
        EXPECT_FALSE(decision.isAlwaysLogged) << c.name;
    }
}

TEST(RatingDecision, PreviewPromptsAlwaysAndSaysSo)
{
    RatingPolicy preview = programPolicy();
    preview.previewMode = true;
    RatingHistory rated = usedFor(0, 0, 0);
    rated.ratedVersion = u"1.2"_s;

    const RatingDecision decision = decideRatingPrompt(preview, rated, now);

    EXPECT_TRUE(decision.shouldPrompt);
    EXPECT_TRUE(decision.isAlwaysLogged);
    EXPECT_EQ(decision.reason, u"QLXRate preview mode is enabled - make sure you disable this for release"_s);
}

TEST(RatingDecision, UsesPerWeekThreshold)
{
    RatingPolicy policy = programPolicy();
    policy.usesPerWeekForPrompt = 3;

    EXPECT_FALSE(decideRatingPrompt(policy, usedFor(14, 5, 10), now).shouldPrompt); // 2.5 a week
    EXPECT_TRUE(decideRatingPrompt(policy, usedFor(14, 6, 10), now).shouldPrompt);  // 3 a week
    EXPECT_DOUBLE_EQ(usedFor(14, 6, 10).usesPerWeek(now), 3.0);
}

} // namespace
} // namespace lexi
