#pragma once

#include "platform/values/Date.h"

#include <QVariantMap>

#include <optional>

// Where the machine was when an event happened, in degrees.
struct ANLocation
{
    double longitude = 0.0;
    double latitude = 0.0;
};

// The properties the analytics client gives every event under "analytics": when it happened
// and, when known, where.
class ANProperties
{
public:
    explicit ANProperties(lexi::Date timestamp) : m_timestamp(timestamp) {}

    lexi::Date timestamp() const { return m_timestamp; }
    std::optional<ANLocation> location() const { return m_location; }
    void setLocation(std::optional<ANLocation> location) { m_location = location; }

    // {"timestamp": the date, "location": {"coordinates": [longitude, latitude]}}, the location
    // only when there is one. The date stays a date until the event is turned into JSON.
    QVariantMap jsonForm() const;

private:
    lexi::Date m_timestamp;
    std::optional<ANLocation> m_location;
};
