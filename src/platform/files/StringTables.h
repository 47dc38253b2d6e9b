#pragma once

#include <QString>

using namespace Qt::StringLiterals;

namespace lexi {

// The texts shown to the learner, looked up by key in named tables. Each table is the resource
// ":/strings/<table>.json", a JSON object from key to text. A key without a text shows as itself.
//
// A text that names a number of things may come in plural forms, an object from plural category
// to text ({"one": "%ld word", "other": "%ld words"}). The tables are English, whose rule is the
// category "one" for exactly one thing and "other" for every other number; a category a text
// lacks falls back to "other".
class StringTables
{
public:
    // The table that texts without a table of their own come from.
    static inline const QString defaultTable = u"Localizable"_s;

    // A text with plural forms gives its "other" form here.
    static QString text(const QString &key, const QString &table = defaultTable);
    // The form of `key` for `count` things (the format is filled by the caller).
    static QString pluralText(const QString &key, qint64 count, const QString &table = defaultTable);
};

} // namespace lexi
