#include "EditorTestSupport.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace lexi::test {

EditorFixture::EditorFixture() : defaults(QDir(folder.path()).filePath(u"settings.conf"_s))
{
    // The layout the learner types in until a field switches it.
    inputSources.current = InputSource{u"us"_s, u"us"_s};
}

EditorFixture::~EditorFixture() = default;

QLXWordPopoverController::Services EditorFixture::popoverServices()
{
    return {keeper,
            fakes.alerts,
            inputSources,
            fakes.clock,
            scheduler,
            settings,
            u"English"_s};
}

std::unique_ptr<LexicartaController> EditorFixture::makeList()
{
    return std::make_unique<LexicartaController>(
        LexicartaController::Services{.popover = popoverServices(), .syncStatus = &sync});
}

std::shared_ptr<QLXWord> EditorFixture::addWord(Lexicarta &vocabulary, const QString &your, const QString &foreign,
                                                quint64 level, const QStringList &tags)
{
    auto word = std::make_shared<QLXWord>(your, foreign);
    word->setLevel(level);
    word->setTags(tags);
    vocabulary.addWord(word);
    return word;
}

std::shared_ptr<Lexicarta> EditorFixture::makeVocabulary(int count)
{
    static const QStringList english{u"house"_s, u"tree"_s,    u"water"_s, u"bread"_s,  u"window"_s, u"bicycle"_s,
                                     u"river"_s, u"mountain"_s, u"cheese"_s, u"kitchen"_s, u"summer"_s, u"friend"_s};
    static const QStringList german{u"das Haus"_s, u"der Baum"_s,  u"das Wasser"_s, u"das Brot"_s,
                                    u"das Fenster"_s, u"das Fahrrad"_s, u"der Fluss"_s, u"der Berg"_s,
                                    u"der Käse"_s, u"die Küche"_s, u"der Sommer"_s, u"der Freund"_s};
    static const QStringList topics{u"home"_s, u"nature"_s, u"food"_s, u"travel"_s, u"people"_s, u"seasons"_s};
    static const QStringList comments{QString(), u"n."_s, QString(), u"also figurative"_s};
    auto vocabulary = Lexicarta::create(services);
    vocabulary->setYourLanguageName(u"English"_s);
    vocabulary->setForeignLanguageName(u"German"_s);
    vocabulary->setForeignFacultativeWords({u"der"_s, u"die"_s, u"das"_s});
    lexi::WordList words;
    QList<int> uses(english.size(), 0);
    for (int i = 0; i < count; ++i) {
        // Spread evenly over the levels (i mod 6), the rest mixed by a hash of i.
        const quint32 mix = quint32(i) * 2654435761u >> 7;
        const int n = int(mix % quint32(english.size()));
        const int round = uses[n]++;
        const QString suffix = round == 0 ? QString() : u" %1"_s.arg(round + 1);
        auto word = std::make_shared<QLXWord>(english[n] + suffix, german[n] + suffix,
                                              comments[(mix >> 4) % quint32(comments.size())]);
        word->setLevel(quint64(i % 6));
        const QString topic = topics[(mix >> 8) % quint32(topics.size())];
        if ((mix >> 12) % 3 != 0)
            word->setTags((mix >> 14) % 4 == 0 ? QStringList{topic, u"common"_s} : QStringList{topic});
        if (i % 6 != 0)
            word->setLastAsked(fakes.clock.now().addingSeconds(-60.0 * double((mix >> 3) % 40000)));
        word->setDontAskAgain(i % 6 == 5 && (mix >> 16) % 3 == 0);
        word->setCreationID(-1);
        words.append(word);
    }
    vocabulary->batchAddWords(words);
    return vocabulary;
}

} // namespace lexi::test
