#pragma once

#include <QLocale>
#include <QString>

namespace lexi {

// The name of the user's locale without its parenthesised part ("English (United Kingdom)" gives
// "English"): the default name of the learner's own language.
QString selectedLocaleName(const QLocale &locale = QLocale::system());

// `displayName` cut before its first "(" and trimmed; unchanged when it has no "(".
QString localeNameWithoutParenthesis(const QString &displayName);

} // namespace lexi
