#include "StringTables.h"

#include "platform/ports/Console.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <mutex>
#include <optional>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

// A text and, for a text with plural forms, its form for exactly one thing.
struct Entry
{
    QString other;
    QString one;
};

using Table = QHash<QString, Entry>;

Table readTable(const QString &table)
{
    Table texts;
    QFile file(u":/strings/%1.json"_s.arg(table));
    if (!file.open(QIODevice::ReadOnly)) {
        Console::writeLine(u"strings > table %1 > not found"_s.arg(table));
        return texts;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject()) {
        Console::writeLine(u"strings > table %1 > not a JSON object: %2"_s.arg(table, error.errorString()));
        return texts;
    }
    const QJsonObject object = document.object();
    for (auto entry = object.begin(); entry != object.end(); ++entry) {
        if (entry.value().isString()) {
            texts.insert(entry.key(), {entry.value().toString(), {}});
        } else if (entry.value().isObject()) {
            const QJsonObject forms = entry.value().toObject();
            // Without an "other" form there is nothing to show for most numbers: the key shows.
            if (!forms.value(u"other").isString())
                continue;
            texts.insert(entry.key(), {forms.value(u"other").toString(), forms.value(u"one").toString()});
        }
    }
    return texts;
}

// The entry of `key`; none when the table lacks it.
std::optional<Entry> entryFor(const QString &key, const QString &table)
{
    static std::mutex mutex;
    static QHash<QString, Table> tables;

    std::lock_guard lock(mutex);
    auto found = tables.constFind(table);
    if (found == tables.constEnd())
        found = tables.insert(table, readTable(table));
    const auto entry = found->constFind(key);
    if (entry == found->constEnd())
        return std::nullopt;
    return *entry;
}

} // namespace

QString StringTables::text(const QString &key, const QString &table)
{
    const std::optional<Entry> entry = entryFor(key, table);
    return entry ? entry->other : key;
}

QString StringTables::pluralText(const QString &key, qint64 count, const QString &table)
{
    const std::optional<Entry> entry = entryFor(key, table);
    if (!entry)
        return key;
    return count == 1 && !entry->one.isEmpty() ? entry->one : entry->other;
}

} // namespace lexi
