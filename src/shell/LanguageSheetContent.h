#pragma once

#include "VocabularySummary.h"

#include "platform/ports/InputSources.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace lexi {

// One keyboard pop-up of the language sheet: this machine's keyboard sources, and after them the
// entry "(unchanged)" when the vocabulary's stored source is none of them.
struct KeyboardChoice
{
    // The stored source's identifier when no source here has it. Other installations rely on it,
    // so the entry "(unchanged)" keeps it as it is.
    std::optional<QString> unlistedSourceId;
    // The position chosen: a source's index, or the number of sources for "(unchanged)".
    qsizetype selected = 0;

    friend bool operator==(const KeyboardChoice &, const KeyboardChoice &) = default;
};

// What the sheet for adding or editing a language shows and the learner changes.
struct LanguageSheetContent
{
    bool isAdding = true;
    // The file being edited; empty when adding.
    QString editedPath;
    QString foreignName;
    QString yourName;
    QStringList yourFacultativeWords;
    QStringList foreignFacultativeWords;
    // This machine's selectable keyboard sources, in the order both pop-ups list them.
    QList<InputSource> sources;
    KeyboardChoice yourKeyboard;
    KeyboardChoice foreignKeyboard;
    bool isAutoSelectInputSource = true;
};

// The sheet for a new language: `newLanguageName` as the foreign name, `ownLanguageName` as the
// own one, the facultative words "to", "the" and "il", "la", both pop-ups at the current keyboard
// (the first one when it is not listed), switching keyboards on.
LanguageSheetContent contentForAdding(const QList<InputSource> &sources, const std::optional<InputSource> &current,
                                      const QString &newLanguageName, const QString &ownLanguageName);

// The sheet for the vocabulary at `path`: its names, facultative words and keyboard switching; each
// pop-up at the vocabulary's source of that side, at the current keyboard when it has none, or at
// "(unchanged)" when its source is not listed here.
LanguageSheetContent contentForEditing(const QString &path, const VocabularySummary &summary,
                                       const QList<InputSource> &sources, const std::optional<InputSource> &current);

// The identifier a side stores after the sheet: the chosen source's; `stored` when "(unchanged)"
// is chosen or there is no source to choose.
std::optional<QString> chosenSourceId(const QList<InputSource> &sources, const KeyboardChoice &choice,
                                      const std::optional<QString> &stored);

} // namespace lexi
