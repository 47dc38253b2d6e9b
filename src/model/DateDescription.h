#pragma once

#include "platform/values/Date.h"

#include <QString>

namespace lexi {

// A date as the program writes it into alerts and descriptions: "2015-05-03 12:00:00 +0000" (UTC).
QString dateDescription(Date date);

} // namespace lexi
