#include "LocaleName.h"

namespace lexi {

QString selectedLocaleName(const QLocale &locale)
{
    QString displayName = QLocale::languageToString(locale.language());
    if (locale.territory() != QLocale::AnyTerritory)
        displayName += QStringLiteral(" (%1)").arg(QLocale::territoryToString(locale.territory()));
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
