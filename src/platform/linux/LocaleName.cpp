#include "LocaleName.h"

using namespace Qt::StringLiterals;

namespace lexi {

QString selectedLocaleName(const QLocale &locale)
{
    QString displayName = QLocale::languageToString(locale.language());
    if (locale.territory() != QLocale::AnyTerritory)
        displayName += u" (%1)"_s.arg(QLocale::territoryToString(locale.territory()));
    return localeNameWithoutParenthesis(displayName);
}

QString localeNameWithoutParenthesis(const QString &displayName)
{
    const qsizetype parenthesis = displayName.indexOf(u'(');
    if (parenthesis < 0)
        return displayName;
    return displayName.left(parenthesis).trimmed();
}

} // namespace lexi
