#include "StringTables.h"

#include "platform/ports/Console.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <mutex>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

QHash<QString, QString> readTable(const QString &table)
{
    QHash<QString, QString> texts;
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
        if (entry.value().isString())
            texts.insert(entry.key(), entry.value().toString());
    }
    return texts;
}

} // namespace

QString StringTables::text(const QString &key, const QString &table)
{
    static std::mutex mutex;
    static QHash<QString, QHash<QString, QString>> tables;

    std::lock_guard lock(mutex);
    auto found = tables.constFind(table);
    if (found == tables.constEnd())
        found = tables.insert(table, readTable(table));
    return found->value(key, key);
}

} // namespace lexi
