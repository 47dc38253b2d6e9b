#include "VocabularyKeeper.h"

#include "Lexicarta.h"
#include "SyncRequests.h"

namespace lexi {

VocabularyKeeper::VocabularyKeeper(Save save, SyncRequests &sync, QObject *parent)
    : QObject(parent), m_save(std::move(save)), m_sync(sync)
{
    m_preparation.setInterval(0);
    connect(&m_preparation, &QTimer::timeout, this, &VocabularyKeeper::prepareSome);
}

void VocabularyKeeper::setVocabulary(std::shared_ptr<Lexicarta> vocabulary)
{
    m_vocabulary = std::move(vocabulary);
    if (m_vocabulary)
        m_preparation.start();
    emit vocabularyReplaced();
}

void VocabularyKeeper::prepareSome()
{
    if (!m_vocabulary || !m_vocabulary->prepareDerivedData(wordsPreparedAtOnce))
        m_preparation.stop();
}

bool VocabularyKeeper::recordChange()
{
    if (!m_vocabulary)
        return false;
    m_vocabulary->setNeedsSync(true);
    m_sync.markFileAsNeedsSync(*m_vocabulary);
    const bool saved = m_save(*m_vocabulary);
    emit wordsChanged();
    return saved;
}

bool VocabularyKeeper::save()
{
    return m_vocabulary && m_save(*m_vocabulary);
}

void VocabularyKeeper::requestSync()
{
    m_sync.syncWithDropbox();
}

} // namespace lexi
