#pragma once

#include "model/Lexicarta.h"

#include <QJsonArray>
#include <QJsonObject>

namespace lexi::test {

// A vocabulary as its document, without the identifiers given to words stored without one,
// which are new at every load: two loads of one text give equal documents.
inline QJsonObject comparable(const Lexicarta &vocabulary)
{
    using namespace Qt::StringLiterals;
    QJsonObject document = vocabulary.dictionaryRepresentation();
    for (const char *list :
         {"unknownWords", "ultraShortTermWords", "shortTermWords", "midTermWords", "longTermWords", "nativeWords"}) {
        QJsonArray words;
        for (const QJsonValue &word : document[QLatin1StringView(list)]["words"_L1].toArray()) {
            QJsonObject stored = word.toObject();
            stored.remove("cid"_L1);
            words.append(stored);
        }
        document[QLatin1StringView(list)] = QJsonObject{{"words"_L1, words}};
    }
    return document;
}

} // namespace lexi::test
