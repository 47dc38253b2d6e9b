#include "RatingDecision.h"

namespace lexi {

namespace {

constexpr double secondsPerDay = 86400.0;
constexpr double secondsPerWeek = 604800.0;

RatingDecision refuse(const QString &reason)
{
    return {false, reason, false};
}

QString numberText(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

double RatingHistory::usesPerWeek(Date now) const
{
    if (!firstUsed)
        return 0.0;
    const double weeks = now.secondsSince(*firstUsed) / secondsPerWeek;
    return weeks > 0.0 ? double(usesCount) / weeks : 0.0;
}

RatingDecision decideRatingPrompt(const RatingPolicy &policy, const RatingHistory &history, Date now)
{
    using namespace Qt::StringLiterals;

    if (policy.previewMode)
        return {true, u"QLXRate preview mode is enabled - make sure you disable this for release"_s, true};
    if (history.ratedAnyVersion())
        return refuse(u"QLXRate did not prompt for rating because the user has already rated the app"_s);
    if (history.declinedAnyVersion())
        return refuse(u"QLXRate did not prompt for rating because the user has declined to rate the app"_s);
    if ((policy.daysUntilPrompt > 0.0 || policy.usesPerWeekForPrompt != 0.0) && !history.firstUsed) {
        return refuse(u"QLXRate did not prompt for rating because this is the first time the app has been "
                      u"launched"_s);
    }
    if (history.firstUsed && policy.daysUntilPrompt * secondsPerDay > now.secondsSince(*history.firstUsed)) {
        return refuse(u"QLXRate did not prompt for rating because the app was first used less than %1 days ago"_s
                          .arg(numberText(policy.daysUntilPrompt)));
    }
    if (history.usesCount < policy.usesUntilPrompt && history.eventCount < policy.eventsUntilPrompt) {
        return refuse(u"QLXRate did not prompt for rating because the app has only been used %1 times and only "
                      u"%2 events have been logged"_s.arg(history.usesCount).arg(history.eventCount));
    }
    if (policy.usesPerWeekForPrompt > history.usesPerWeek(now)) {
        return refuse(u"QLXRate did not prompt for rating because the app has only been used %1 times per week "
                      u"on average since it was installed"_s.arg(numberText(history.usesPerWeek(now))));
    }
    if (!history.lastReminded)
        return {true, {}, false};
    if (policy.remindPeriod * secondsPerDay > now.secondsSince(*history.lastReminded)) {
        return refuse(u"QLXRate did not prompt for rating because the user last asked to be reminded less than "
                      u"%1 days ago"_s.arg(numberText(policy.remindPeriod)));
    }
    return {true, {}, false};
}

} // namespace lexi
