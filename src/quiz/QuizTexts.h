#pragma once

#include "QuizImages.h"

#include "platform/files/StringTables.h"

#include <QString>

namespace lexi {

// A text of the quiz pages' string table.
inline QString quizText(const QString &key)
{
    using namespace Qt::StringLiterals;
    return StringTables::text(key, u"Quiz"_s);
}

// The name of a memory level, as the list names it too ("Unknown words" ... "Native").
inline QString levelName(quint64 level)
{
    using namespace Qt::StringLiterals;
    return quizText(u"level_"_s + levelImageName(level));
}

} // namespace lexi
