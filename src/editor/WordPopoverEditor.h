#pragma once

#include "model/QLXWord.h"

#include <QString>
#include <QStringList>

#include <optional>

class Lexicarta;

namespace lexi {

enum class CheckState { Off, On, Mixed };

// What the word popover's fields show and hold. Set up from the selected words, read back when
// the learner applies. The "various values" placeholders are flags here, never texts, so that a
// translated placeholder is never taken for what the learner typed.
struct WordPopoverForm
{
    QString yourLanguageName;
    QString foreignLanguageName;
    // Adding a new word: the add button shows, the delete button does not, and the OK button
    // adds more.
    bool isAdding = false;
    // Two or more words: the button that quizzes them shows.
    bool showsQuizSelected = false;
    // Off for several words: the word fields show the various-values placeholder instead.
    bool wordFieldsEnabled = true;
    // The don't-ask-again box is visible and enabled (only for native words).
    bool checkBoxShown = false;
    bool checkBoxAllowsMixed = false;

    QString yourWord;
    QString foreignWord;
    // None: the comment field shows the various-values placeholder, and each word keeps its own
    // comment.
    std::optional<QString> comment;
    QStringList tags;
    // The tags field holds the various-values token: each word keeps its tags and gets `tags`
    // added to them.
    bool keepsVariousTags = false;
    CheckState dontAskAgain = CheckState::Off;
};

// The word popover's rules, apart from its views: how the fields are set up for the selected
// words, and how applying or deleting changes the words and the vocabulary.
namespace WordPopoverEditor {

// The field separating alternatives in a word field: each your part pairs with each foreign part.
inline constexpr QChar alternativesSeparator = u'@';

WordPopoverForm setUp(const WordList &words, const Lexicarta &vocabulary, bool isAdding,
                      const QString &selectedLocaleName);

// The parts of a word field split at the separator, trimmed; blank ones make no word.
QStringList alternatives(const QString &field);

enum class Applied {
    // The words took the form's values (also words added through alternatives).
    Changed,
    // Adding a word the vocabulary already has: the new entry was removed instead.
    DuplicateRemoved,
};

// Applies the form to the selected words (the paths for one word, for alternatives and for
// several words), stamping edited words with `modificationID`. Derived data is not rebuilt and
// nothing is saved: see finishChange().
Applied apply(const WordPopoverForm &form, const WordList &words, Lexicarta &vocabulary, qint64 modificationID);

// Deleting asks first from this many words on.
constexpr qsizetype deleteQuestionThreshold = 2;
void deleteWords(const WordList &words, Lexicarta &vocabulary);

// After a change: the vocabulary marked for syncing (its synonyms and tag index are up to date).
void finishChange(Lexicarta &vocabulary);

// The selected words as found in `vocabulary`, a fresh load of the one they came from (by their
// texts); when none is found while adding one word, that new entry is added to `vocabulary` and
// carried on.
WordList carryOver(const WordList &words, Lexicarta &vocabulary, bool isAdding);

} // namespace WordPopoverEditor

} // namespace lexi
