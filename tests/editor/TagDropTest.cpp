#include "editor/TagDrop.h"
#include "model/QLXWord.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(TagDropTest, OnlyTextThatIsNotBlankDroppedOnARowTagsAWord)
{
    const struct
    {
        bool onRow;
        std::optional<QString> text;
        bool accepted;
    } cases[] = {
        {true, u"food"_s, true},
        {false, u"food"_s, false},
        {true, std::nullopt, false},
        {true, QString(), false},
        {true, u" \t\n "_s, false},
    };
    for (const auto &test : cases)
        EXPECT_EQ(lexi::TagDrop::accepts(test.onRow, test.text), test.accepted)
            << test.onRow << " " << test.text.value_or(u"(none)"_s).toStdString();

    QLXWord word(u"apple"_s, u"der Apfel"_s);
    word.setTags({u"fruit"_s});
    lexi::TagDrop::apply(word, u" food "_s, 42);
    EXPECT_EQ(word.tags(), (QStringList{u"fruit"_s, u"food"_s}));
    EXPECT_EQ(word.modificationID(), 42);
}

} // namespace
