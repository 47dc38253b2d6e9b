#pragma once

#include <QString>

// What the preferences tell the main window about the vocabularies. Every call comes on the main
// thread.
class QLXPreferencesDelegate
{
public:
    virtual ~QLXPreferencesDelegate() = default;

    // A vocabulary was added or edited; `path` is where it is saved now.
    virtual void preferencesDidChangeVocabularyAtPath(const QString &path) = 0;
    // The vocabulary file at `path` was deleted.
    virtual void preferencesDidDeleteVocabularyAtPath(const QString &path) = 0;
};
