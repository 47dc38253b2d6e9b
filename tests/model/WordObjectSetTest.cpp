#include "model/WordObjectSet.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Many words, so that addresses of words in the set and of words outside it share bits: the
// answer is exact all the same.
TEST(WordObjectSetTest, TellsExactlyWhichOfManyWordsAreInIt)
{
    std::vector<std::shared_ptr<QLXWord>> words;
    for (int i = 0; i < 20000; ++i)
        words.push_back(std::make_shared<QLXWord>());
    QSet<const QLXWord *> chosen;
    for (std::size_t i = 0; i < words.size(); i += 7)
        chosen.insert(words[i].get());
    const lexi::WordObjectSet set(chosen);

    EXPECT_FALSE(set.isEmpty());
    for (std::size_t i = 0; i < words.size(); ++i)
        ASSERT_EQ(set.contains(words[i].get()), i % 7 == 0) << "word " << i;
    EXPECT_FALSE(set.contains(nullptr));
    EXPECT_TRUE(lexi::WordObjectSet({}).isEmpty());
    EXPECT_FALSE(lexi::WordObjectSet({}).contains(words.front().get()));
}

} // namespace
