#include "VocabularyFileImport.h"

#include "Lexicarta.h"
#include "VocabularyFileName.h"

namespace lexi {

VocabularyFileImport::VocabularyFileImport(std::shared_ptr<Lexicarta> imported) : m_imported(std::move(imported)) {}

LanguageNames VocabularyFileImport::newLanguageNames(const QString &nameField, const QString &localeName)
{
    return languageNamesFromFields(nameField, localeName);
}

std::optional<VocabularyFileImport::NameProblem>
VocabularyFileImport::problemWithNewLanguage(const LanguageNames &names, const QString &vocabularyFolder)
{
    if (const std::optional<LanguageNamesProblem> problem = problemWithLanguageNames(names))
        return *problem == LanguageNamesProblem::sameNames ? NameProblem::sameNames : NameProblem::unusableName;
    if (hasOtherVocabularyFile(vocabularyFolder, *vocabularyFileNameForName(names.displayName())))
        return NameProblem::exists;
    return std::nullopt;
}

void VocabularyFileImport::makeNewLanguage(const LanguageNames &names, bool markAllAsUnknown)
{
    m_imported->setForeignLanguageName(names.foreign);
    m_imported->setYourLanguageName(names.your);
    m_imported->setNeedsSync(true);
    if (!markAllAsUnknown)
        return;
    const WordList words = m_imported->allWords();
    m_imported->removeWords(words);
    qint64 identifier = m_imported->batchImportIdForRange(words.size());
    for (const std::shared_ptr<QLXWord> &word : words) {
        word->setLevel(0);
        word->setCreationID(identifier++);
    }
    m_imported->batchAddWords(words);
}

ImportCount VocabularyFileImport::joinInto(Lexicarta &open, bool markAllAsUnknown)
{
    const qsizetype before = open.countAllWords();
    const qsizetype offered = m_imported->countAllWords();
    open.joinWithVocabulary(*m_imported, markAllAsUnknown);
    const qsizetype added = open.countAllWords() - before;
    return {added, offered - added};
}

ImportCount VocabularyFileImport::chooseWordsToJoin(Lexicarta::PreparedAddition &addition, bool markAllAsUnknown)
{
    const qsizetype before = addition.appended().size();
    Lexicarta::prepareJoin(addition, *m_imported, markAllAsUnknown);
    const qsizetype added = addition.appended().size() - before;
    return {added, m_imported->countAllWords() - added};
}

} // namespace lexi
