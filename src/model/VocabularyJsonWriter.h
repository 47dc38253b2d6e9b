#pragma once

#include <QByteArray>

#include <functional>

namespace lexi {

struct VocabularySnapshot;

// Writes the JSON text of the own file format straight from a snapshot, without building a
// document first: compact UTF-8, the keys of each object in the sorted order QJsonDocument writes
// them, whole numbers as integers and other numbers in their shortest form that reads back to the
// same value.
class VocabularyJsonWriter
{
public:
    static QByteArray json(const VocabularySnapshot &snapshot);
    // The same text in pieces of some hundred kilobytes, handed to `take` as they are written;
    // stops early when `take` returns NO.
    static void write(const VocabularySnapshot &snapshot, const std::function<bool(QByteArray piece)> &take);
};

} // namespace lexi
