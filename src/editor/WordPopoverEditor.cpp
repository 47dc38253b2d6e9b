#include "WordPopoverEditor.h"

#include "model/Lexicarta.h"

#include <QHash>

#include <algorithm>

namespace lexi::WordPopoverEditor {

namespace {

QStringList tagsInCommon(const WordList &words, bool &same)
{
    QStringList common = words.first()->tagsSorted();
    same = true;
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (word->tags().size() != common.size()
            || !std::all_of(common.cbegin(), common.cend(),
                            [&word](const QString &tag) { return word->tags().contains(tag); })) {
            same = false;
            return {};
        }
    }
    return common;
}

void applyToOneWord(const WordPopoverForm &form, QLXWord &word, qint64 modificationID)
{
    word.setModificationID(modificationID);
    word.setYourWord(form.yourWord);
    word.setForeignWord(form.foreignWord);
    word.setComment(form.comment.value_or(QString()));
    word.setTags(form.tags);
    word.setDontAskAgain(form.dontAskAgain == CheckState::On);
}

void applyAlternatives(const WordPopoverForm &form, const std::shared_ptr<QLXWord> &selected, Lexicarta &vocabulary)
{
    const QString comment = form.comment.value_or(QString());
    bool selectedMatched = false;
    WordList added;
    for (const QString &yourPart : alternatives(form.yourWord)) {
        for (const QString &foreignPart : alternatives(form.foreignWord)) {
            if (selected->yourWord() == yourPart && selected->foreignWord() == foreignPart) {
                selected->setComment(comment);
                selected->setTags(form.tags);
                selected->setDontAskAgain(form.dontAskAgain == CheckState::On);
                selectedMatched = true;
                continue;
            }
            auto word = std::make_shared<QLXWord>(yourPart, foreignPart, comment);
            word->setTags(form.tags);
            added.append(word);
        }
    }
    // One batch of new identifiers, numbered in the order of the pairs.
    if (!added.isEmpty()) {
        qint64 next = vocabulary.batchImportIdForRange(added.size());
        for (const std::shared_ptr<QLXWord> &word : added)
            word->setCreationID(next++);
        vocabulary.batchAddWords(added);
    }
    if (!selectedMatched)
        vocabulary.removeWord(selected);
}

void applyToSeveralWords(const WordPopoverForm &form, const WordList &words, qint64 modificationID)
{
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (form.dontAskAgain != CheckState::Mixed)
            word->setDontAskAgain(form.dontAskAgain == CheckState::On);
        if (form.comment)
            word->setComment(*form.comment);
        if (!form.keepsVariousTags) {
            word->setTags(form.tags);
        } else {
            for (const QString &tag : form.tags)
                word->addTag(tag);
        }
        word->setModificationID(modificationID);
    }
}

} // namespace

WordPopoverForm setUp(const WordList &words, const Lexicarta &vocabulary, bool isAdding,
                      const QString &selectedLocaleName)
{
    WordPopoverForm form;
    form.isAdding = isAdding;
    form.showsQuizSelected = words.size() >= 2;
    form.yourLanguageName = vocabulary.yourLanguageName().isEmpty() ? selectedLocaleName
                                                                    : vocabulary.yourLanguageName();
    form.foreignLanguageName = vocabulary.foreignLanguageName();
    form.checkBoxShown = std::all_of(words.cbegin(), words.cend(), [](const std::shared_ptr<QLXWord> &word) {
        return word->effectiveLevel() == QLXWord::nativeLevel;
    });

    if (words.size() < 2) {
        form.comment = QString();
        if (words.isEmpty())
            return form;
        const QLXWord &word = *words.last();
        form.yourWord = word.yourWord();
        form.foreignWord = word.foreignWord();
        form.comment = word.comment();
        form.tags = word.tagsSorted();
        form.dontAskAgain = word.dontAskAgain() ? CheckState::On : CheckState::Off;
        return form;
    }

    const auto marked = std::count_if(words.cbegin(), words.cend(),
                                      [](const std::shared_ptr<QLXWord> &word) { return word->dontAskAgain(); });
    const bool someComment = std::any_of(words.cbegin(), words.cend(), [](const std::shared_ptr<QLXWord> &word) {
        return !word->comment().isEmpty();
    });
    form.checkBoxAllowsMixed = true;
    form.dontAskAgain = marked == words.size() ? CheckState::On : marked == 0 ? CheckState::Off : CheckState::Mixed;
    form.wordFieldsEnabled = false;
    form.comment = someComment ? std::nullopt : std::optional<QString>(QString());
    bool sameTags = false;
    form.tags = tagsInCommon(words, sameTags);
    form.keepsVariousTags = !sameTags;
    return form;
}

QStringList alternatives(const QString &field)
{
    QStringList parts;
    for (const QString &part : field.split(alternativesSeparator)) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            parts.append(trimmed);
    }
    return parts;
}

Applied apply(const WordPopoverForm &form, const WordList &words, Lexicarta &vocabulary, qint64 modificationID)
{
    if (words.size() >= 2) {
        applyToSeveralWords(form, words, modificationID);
        return Applied::Changed;
    }
    if (words.isEmpty())
        return Applied::Changed;
    const std::shared_ptr<QLXWord> &selected = words.last();
    if (form.yourWord.contains(alternativesSeparator) || form.foreignWord.contains(alternativesSeparator)) {
        applyAlternatives(form, selected, vocabulary);
        return Applied::Changed;
    }
    const QLXWord candidate(form.yourWord, form.foreignWord, form.comment.value_or(QString()));
    if (form.isAdding && vocabulary.containsWordEqualTo(candidate)) {
        vocabulary.removeWord(selected);
        return Applied::DuplicateRemoved;
    }
    applyToOneWord(form, *selected, modificationID);
    return Applied::Changed;
}

void deleteWords(const WordList &words, Lexicarta &vocabulary)
{
    vocabulary.removeWords(words);
}

void finishChange(Lexicarta &vocabulary)
{
    // The vocabulary's synonyms and tag index have followed each word's change already.
    vocabulary.setNeedsSync(true);
}

WordList carryOver(const WordList &words, Lexicarta &vocabulary, bool isAdding)
{
    QHash<std::pair<QString, QString>, std::shared_ptr<QLXWord>> byText;
    const WordList all = vocabulary.allWords();
    byText.reserve(all.size());
    // The first of equal words, as a lookup from the front would find.
    for (auto it = all.crbegin(); it != all.crend(); ++it)
        byText.insert({(*it)->yourWord(), (*it)->foreignWord()}, *it);

    WordList found;
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (const auto match = byText.constFind({word->yourWord(), word->foreignWord()}); match != byText.cend())
            found.append(*match);
    }
    if (found.isEmpty() && isAdding && words.size() == 1) {
        vocabulary.addWord(words.first());
        found.append(words.first());
    }
    return found;
}

} // namespace lexi::WordPopoverEditor
