#pragma once

#include <QString>

using namespace Qt::StringLiterals;

namespace lexi {

// The texts shown to the learner, looked up by key in named tables. Each table is the resource
// ":/strings/<table>.json", a JSON object from key to text. A key without a text shows as itself.
class StringTables
{
public:
    // The table that texts without a table of their own come from.
    static inline const QString defaultTable = u"Localizable"_s;

    static QString text(const QString &key, const QString &table = defaultTable);
};

} // namespace lexi
