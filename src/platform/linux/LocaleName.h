#pragma once

#include <QLocale>
#include <QString>

namespace lexi {

// The name of the user's locale without its parenthesised part ("English (United Kingdom)" gives
// "English"): the default name of the learner's own language. A locale that names no language (C,
// POSIX) is named by the first interface language the system lists, else "English".
QString selectedLocaleName(const QLocale &locale = QLocale::system());

// `displayName` cut before its first "(" and trimmed; unchanged when it has no "(".
QString localeNameWithoutParenthesis(const QString &displayName);

} // namespace lexi
