#pragma once

#include <QString>

class QLXTokenCloud;

// Hears of the tag cloud's clicks and of changes of the height it needs.
class QLXTokenCloudDelegate
{
public:
    virtual ~QLXTokenCloudDelegate() = default;
    virtual void tokenCloudDidClickToken(QLXTokenCloud *cloud, const QString &token, bool enabled) = 0;
    virtual void tokenCloudDidChangePreferredHeightTo(QLXTokenCloud *cloud, double height) = 0;
};
