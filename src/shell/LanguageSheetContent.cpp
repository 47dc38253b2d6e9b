#include "LanguageSheetContent.h"

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

qsizetype positionOf(const QList<InputSource> &sources, const QString &identifier)
{
    for (qsizetype index = 0; index < sources.size(); ++index) {
        if (sources[index].identifier == identifier)
            return index;
    }
    return -1;
}

KeyboardChoice currentKeyboardChoice(const QList<InputSource> &sources, const std::optional<InputSource> &current)
{
    return {std::nullopt, current ? std::max<qsizetype>(positionOf(sources, current->identifier), 0) : 0};
}

KeyboardChoice storedKeyboardChoice(const QList<InputSource> &sources, const std::optional<QString> &stored,
                                    const std::optional<InputSource> &current)
{
    // Files of older versions store an empty identifier for none.
    if (!stored || stored->isEmpty())
        return currentKeyboardChoice(sources, current);
    const qsizetype position = positionOf(sources, *stored);
    if (position < 0)
        return {stored, sources.size()};
    return {std::nullopt, position};
}

} // namespace

LanguageSheetContent contentForAdding(const QList<InputSource> &sources, const std::optional<InputSource> &current,
                                      const QString &newLanguageName, const QString &ownLanguageName)
{
    LanguageSheetContent content;
    content.isAdding = true;
    content.foreignName = newLanguageName;
    content.yourName = ownLanguageName;
    content.yourFacultativeWords = {u"to"_s, u"the"_s};
    content.foreignFacultativeWords = {u"il"_s, u"la"_s};
    content.sources = sources;
    content.yourKeyboard = currentKeyboardChoice(sources, current);
    content.foreignKeyboard = content.yourKeyboard;
    content.isAutoSelectInputSource = true;
    return content;
}

LanguageSheetContent contentForEditing(const QString &path, const VocabularySummary &summary,
                                       const QList<InputSource> &sources, const std::optional<InputSource> &current)
{
    LanguageSheetContent content;
    content.isAdding = false;
    content.editedPath = path;
    content.foreignName = summary.foreignLanguageName;
    content.yourName = summary.yourLanguageName;
    content.yourFacultativeWords = summary.yourFacultativeWords;
    content.foreignFacultativeWords = summary.foreignFacultativeWords;
    content.sources = sources;
    content.yourKeyboard = storedKeyboardChoice(sources, summary.yourTextInputSourceId, current);
    content.foreignKeyboard = storedKeyboardChoice(sources, summary.foreignTextInputSourceId, current);
    content.isAutoSelectInputSource = summary.isAutoSelectInputSource;
    return content;
}

std::optional<QString> chosenSourceId(const QList<InputSource> &sources, const KeyboardChoice &choice,
                                      const std::optional<QString> &stored)
{
    if (choice.selected < 0 || choice.selected >= sources.size())
        return stored;
    return sources[choice.selected].identifier;
}

} // namespace lexi
