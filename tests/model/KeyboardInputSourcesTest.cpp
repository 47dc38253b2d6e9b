#include "logging/QLXLog.h"
#include "model/KeyboardInputSources.h"

#include "support/RecordingLogger.h"
#include "support/ScriptedInputSources.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(KeyboardInputSourcesTest, KeepsTheSelectableSourcesAndNamesThemInOrder)
{
    lexi::test::ScriptedInputSources platform;
    platform.sources = {{u"xkb:us"_s, u"English (US)"_s, true},
                        {u"ime:palette"_s, u"Palette"_s, false},
                        {u"xkb:de"_s, u"German"_s, true}};
    const auto sources = lexi::allInputSources(platform, true);
    EXPECT_TRUE(platform.includedAllInstalled);
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(sources[1].identifier, u"xkb:de"_s);
    EXPECT_EQ(lexi::namesForInputSources(sources), (QStringList{u"English (US)"_s, u"German"_s}));
    EXPECT_EQ(lexi::namesForInputSources(platform.sources), lexi::namesForInputSources(sources));
}

TEST(KeyboardInputSourcesTest, NoListFromThePlatformIsAnErrorAndEmpty)
{
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    lexi::test::ScriptedInputSources platform;
    platform.listUnavailable = true;
    EXPECT_TRUE(lexi::allInputSources(platform, false).isEmpty());
    EXPECT_EQ(logger->texts(), QStringList{u"AppDelegate > allInputSources > NO SOURCES"_s});
    QLXLog::removeAllLoggers();
}

} // namespace
