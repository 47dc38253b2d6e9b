#pragma once

#include "platform/files/StringTables.h"

namespace lexi {

// The statistics tab's texts: the "Statistics" string table.
inline QString statisticsText(const QString &key)
{
    return StringTables::text(key, u"Statistics"_s);
}

} // namespace lexi
