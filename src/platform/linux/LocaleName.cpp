#include "LocaleName.h"

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

bool namesALanguage(const QLocale &locale)
{
    return locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage;
}

} // namespace

QString selectedLocaleName(const QLocale &locale)
{
    // The C or POSIX locale names no language: the first language the system lists for its
    // interface stands in, else English.
    QLocale named = locale;
    if (!namesALanguage(named)) {
        named = QLocale(QLocale::English);
        for (const QString &tag : locale.uiLanguages()) {
            if (const QLocale candidate(tag); namesALanguage(candidate)) {
                named = candidate;
                break;
            }
        }
    }
    QString displayName = QLocale::languageToString(named.language());
    if (named.territory() != QLocale::AnyTerritory)
        displayName += u" (%1)"_s.arg(QLocale::territoryToString(named.territory()));
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
