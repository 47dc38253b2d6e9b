#include "ExportCopy.h"

#include "Lexicarta.h"

#include "platform/files/StringTables.h"

using namespace Qt::StringLiterals;

namespace lexi {

ExportCopy::ExportCopy(const Lexicarta &vocabulary, const ExportSelection &selection)
    : m_copy(Lexicarta::create(vocabulary.services()))
{
    m_copy->setForeignLanguageName(vocabulary.foreignLanguageName());
    m_copy->setStatistics(vocabulary.statistics());
    m_copy->setYourFacultativeWords(vocabulary.yourFacultativeWords());
    m_copy->setForeignFacultativeWords(vocabulary.foreignFacultativeWords());
    m_copy->setYourTextInputSourceId(vocabulary.yourTextInputSourceId());
    m_copy->setForeignTextInputSourceId(vocabulary.foreignTextInputSourceId());

    const QStringList tags = selection.tags.contains(StringTables::text(u"all"_s)) ? QStringList() : selection.tags;
    for (quint64 level = 0; level < selection.levels.size(); ++level) {
        if (!selection.levels[level])
            continue;
        for (const std::shared_ptr<QLXWord> &word :
             Lexicarta::filteredWords(vocabulary.wordsInLevel(level), tags, selection.mustHaveAll)) {
            // Linked to no vocabulary until the copy takes it, so that nothing done to it on
            // another thread reaches the open vocabulary.
            const std::shared_ptr<QLXWord> copied = word->copy();
            copied->setWeakVocForSort({});
            m_words.append(copied);
        }
    }
}

std::shared_ptr<Lexicarta> ExportCopy::take() &&
{
    m_copy->batchAddWords(m_words);
    m_words.clear();
    return std::move(m_copy);
}

} // namespace lexi
