#include "FuzzedVocabularies.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace lexi::fuzz {

FuzzedVocabularies::FuzzedVocabularies(const QString &inputName)
    : m_inputPath(QDir(m_folder.path()).filePath(inputName))
{
    if (!m_folder.isValid())
        std::abort();
    m_inputSources.sources = {{u"xkb:us"_s, u"English (US)"_s, true}};
    m_inputSources.current = m_inputSources.sources.front();
}

const QString &FuzzedVocabularies::writeInput(const uint8_t *data, size_t size)
{
    QFile file(m_inputPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return m_inputPath;
}

void FuzzedVocabularies::checkLoaded(const std::shared_ptr<Lexicarta> &vocabulary)
{
    if (!vocabulary)
        return;
    quint64 previousLevel = 0;
    for (const std::shared_ptr<QLXWord> &word : vocabulary->allWords()) {
        const bool ordered = word->level() >= previousLevel && word->level() <= 5;
        const bool marked = !word->dontAskAgain() || word->level() >= 4;
        if (!ordered || !marked || word->weakVocForSort().lock() != vocabulary)
            std::abort();
        previousLevel = word->level();
    }
}

} // namespace lexi::fuzz
