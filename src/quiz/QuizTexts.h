#pragma once

#include "platform/files/StringTables.h"

#include <QString>

namespace lexi {

// A text of the quiz pages' string table.
inline QString quizText(const QString &key)
{
    using namespace Qt::StringLiterals;
    return StringTables::text(key, u"Quiz"_s);
}

} // namespace lexi
