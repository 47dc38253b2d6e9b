#include "TextImport.h"

#include "Lexicarta.h"
#include "TextVocabularyParser.h"
#include "CreationIdentifiers.h"
#include "WordEqualityIndex.h"

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

constexpr qsizetype previewLength = 3;

template<typename Side>
QString preview(const WordList &words, Side side)
{
    QString text;
    for (qsizetype index = 0; index < std::min(previewLength, words.size()); ++index)
        text += (*words[index].*side)() + u'\n';
    return text + u"..."_s;
}

} // namespace

TextImport::TextImport(WordList words, std::optional<QString> failure, bool invertDirection)
    : m_words(std::move(words)), m_failure(std::move(failure)), m_invertDirection(invertDirection)
{
}

TextImport TextImport::read(const QString &path, bool invertDirection, WorkProgress *progress)
{
    TextVocabularyParser parser;
    parser.setProgress(progress);
    TextVocabularyParser::Result result = parser.wordsFromCSVFile(path, invertDirection);
    return TextImport(std::move(result.words), std::move(result.failure), invertDirection);
}

void TextImport::setInvertDirection(bool invert)
{
    if (invert == m_invertDirection)
        return;
    m_invertDirection = invert;
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_words)) {
        const QString yourWord = word->yourWord();
        word->setYourWord(word->foreignWord());
        word->setForeignWord(yourWord);
    }
}

QString TextImport::foreignPreview() const
{
    return preview(m_words, &QLXWord::foreignWord);
}

QString TextImport::yourPreview() const
{
    return preview(m_words, &QLXWord::yourWord);
}

ImportCount TextImport::addNewWordsTo(Lexicarta &vocabulary)
{
    Lexicarta::PreparedAddition addition = vocabulary.prepareAddition();
    const ImportCount count = chooseNewWords(addition);
    // Nothing else changes the vocabulary in between.
    const WordList added = addition.appended();
    if (!vocabulary.addPrepared(std::move(addition)))
        vocabulary.batchAddWords(added);
    return count;
}

ImportCount TextImport::chooseNewWords(Lexicarta::PreparedAddition &addition) const
{
    const WordEqualityIndex present(addition.listedWords());
    WordList added;
    for (const std::shared_ptr<QLXWord> &word : std::as_const(m_words)) {
        if (!present.containsWordEqualTo(*word))
            added.append(word);
    }
    const ImportCount count{added.size(), m_words.size() - added.size()};
    if (added.isEmpty())
        return count;
    qint64 identifier =
        CreationIdentifierMaker::forIdentifiers(addition.listedIdentifiers(), addition.now()).nextRange(m_words.size());
    for (const std::shared_ptr<QLXWord> &word : std::as_const(added))
        word->setCreationID(identifier++);
    addition.append(added);
    return count;
}

} // namespace lexi
