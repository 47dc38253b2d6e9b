#include "QuizResults.h"

using namespace Qt::StringLiterals;

namespace lexi {

QString QuizResults::introKey() const
{
    const double percent = correctPercent();
    if (percent < 20)
        return u"rehearseAgain"_s;
    if (percent < 60)
        return u"wellDone"_s;
    return u"congratulations"_s;
}

} // namespace lexi
