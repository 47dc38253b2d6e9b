#include "model/TagIndex.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Enough words to be counted in slices at once: tags met first late in the words, tags used in
// every part of them, and equal tags that share no text.
TEST(TagIndexTest, ALargeVocabularyKeepsTheOrderFirstMetAndCountsEveryUse)
{
    constexpr qsizetype count = 40000;
    const QString common = u"co-common"_s;
    lexi::WordList words;
    for (qsizetype i = 0; i < count; ++i) {
        auto word = std::make_shared<QLXWord>(u"w"_s, u"w"_s, QString());
        QStringList tags;
        if (i % 5000 == 0)
            tags.append(common);
        if (i < 3)
            tags.append(u"co-early"_s);
        if (i == count - 1)
            tags.append(u"co-last"_s);
        if (i % 7000 == 1)
            tags.append(QString(u"co-"_s).append(u"made"_s));
        word->setTags(tags);
        words.append(word);
    }

    const lexi::TagIndex index(words);
    EXPECT_EQ(index.allTags(), (QStringList{u"co-common"_s, u"co-early"_s, u"co-made"_s, u"co-last"_s}));
    // Used by 8, 6, 3 and 1 words.
    EXPECT_EQ(index.completions(u"co-"_s),
              (QStringList{u"co-common"_s, u"co-made"_s, u"co-early"_s, u"co-last"_s}));
}

} // namespace
