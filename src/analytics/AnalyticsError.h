#pragma once

#include <QString>

#include <memory>

using namespace Qt::StringLiterals;

namespace lexi {

// Why the analytics client refused an event: its error domain, code 1 and a message, with the
// error that caused it when there is one.
struct AnalyticsError
{
    static inline const QString domain = u"org.lexicarta.analytics.client"_s;
    static constexpr int code = 1;

    QString message;
    std::shared_ptr<const AnalyticsError> underlyingError;
};

} // namespace lexi
