#pragma once

#include <QString>

// What the preferences tell the main window about the vocabulary files they changed.
class QLXPreferencesDelegate
{
public:
    virtual ~QLXPreferencesDelegate() = default;

    // The file at `path` was changed (renamed, given other settings): the current vocabulary is
    // reloaded, or the file at `path` opened when the current one has no file any more.
    virtual void preferencesDidChangeVocabularyAtPath(const QString &path) = 0;
    // The file at `path` was deleted.
    virtual void preferencesDidDeleteVocabularyAtPath(const QString &path) = 0;
    virtual void preferencesDidClose() = 0;
};
