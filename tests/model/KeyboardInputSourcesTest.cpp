#include "logging/QLXLog.h"
#include "model/KeyboardInputSources.h"

#include "support/RecordingLogger.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ScriptedInputSources final : public lexi::InputSources
{
public:
    std::optional<QList<lexi::InputSource>> inputSourceList(bool includeAllInstalled) override
    {
        lastIncludeAll = includeAllInstalled;
        return list;
    }
    std::optional<lexi::InputSource> currentKeyboardInputSource() override { return std::nullopt; }
    bool selectInputSource(const QString &) override { return false; }

    std::optional<QList<lexi::InputSource>> list;
    bool lastIncludeAll = false;
};

TEST(KeyboardInputSourcesTest, KeepsTheSelectableSourcesAndNamesThemInOrder)
{
    ScriptedInputSources platform;
    platform.list = QList<lexi::InputSource>{{u"xkb:us"_s, u"English (US)"_s, true},
                                             {u"ime:palette"_s, u"Palette"_s, false},
                                             {u"xkb:de"_s, u"German"_s, true}};
    const auto sources = lexi::allInputSources(platform, true);
    EXPECT_TRUE(platform.lastIncludeAll);
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(sources[1].identifier, u"xkb:de"_s);
    EXPECT_EQ(lexi::namesForInputSources(sources), (QStringList{u"English (US)"_s, u"German"_s}));
    EXPECT_EQ(lexi::namesForInputSources(*platform.list), lexi::namesForInputSources(sources));
}

TEST(KeyboardInputSourcesTest, NoListFromThePlatformIsAnErrorAndEmpty)
{
    auto logger = std::make_shared<RecordingLogger>();
    QLXLog::addLogger(logger);
    ScriptedInputSources platform;
    EXPECT_TRUE(lexi::allInputSources(platform, false).isEmpty());
    EXPECT_EQ(logger->texts(), QStringList{u"AppDelegate > allInputSources > NO SOURCES"_s});
    QLXLog::removeAllLoggers();
}

} // namespace
