#include "DateDescription.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace lexi {

QString dateDescription(Date date)
{
    if (!date.isPlausible())
        return u"(null)"_s;
    return date.toDateTime().toUTC().toString(u"yyyy-MM-dd HH:mm:ss +0000"_s);
}

} // namespace lexi
