#include "platform/linux/X11InputSources.h"
#include "platform/ports/InputSources.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using lexi::InputSource;
using lexi::X11InputSources;

TEST(InputSourcesTest, OnlyXcbGetsTheX11Backend)
{
    auto sources = lexi::inputSourcesForQtPlatform(u"offscreen"_s);
    ASSERT_TRUE(sources);
    EXPECT_EQ(sources->inputSourceList(true), QList<InputSource>());
    EXPECT_FALSE(sources->currentKeyboardInputSource());
    EXPECT_FALSE(sources->selectInputSource(u"xkb:us"_s));
}

TEST(InputSourcesTest, ReadsTheGroupsOfTheXkbRulesNames)
{
    const struct
    {
        QString layouts;
        QString variants;
        QStringList groups;
    } cases[] = {
        {u"us,de"_s, u""_s, {u"us"_s, u"de"_s}},
        {u"us,ru,fr"_s, u"intl,,bepo"_s, {u"us(intl)"_s, u"ru"_s, u"fr(bepo)"_s}},
        {u"gb"_s, u""_s, {u"gb"_s}},
        {u""_s, u""_s, {}},
        {u""_s, u"intl"_s, {}},
        // X11 keeps four groups at most.
        {u"us,de,fr,ru,gr"_s, u""_s, {u"us"_s, u"de"_s, u"fr"_s, u"ru"_s}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(X11InputSources::layoutsFromRulesNames(c.layouts, c.variants), c.groups) << c.layouts.toStdString();
}

// Runs a private X server for the test; skipped where the machine has none.
class XvfbInputSourcesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty()
            || QStandardPaths::findExecutable(u"setxkbmap"_s).isEmpty())
            GTEST_SKIP() << "Xvfb and setxkbmap are needed";
        // The server picks a free display itself and writes its number once it takes connections.
        m_server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s});
        QByteArray number;
        while (!number.endsWith('\n') && m_server.waitForReadyRead(20000))
            number += m_server.readAllStandardOutput();
        ASSERT_TRUE(number.endsWith('\n')) << "Xvfb named no display";
        m_display = ':' + number.trimmed();
        m_sources = X11InputSources::open(m_display);
        ASSERT_TRUE(m_sources) << "no X server on " << m_display.constData();
    }
    void TearDown() override
    {
        m_sources.reset();
        m_server.terminate();
        m_server.waitForFinished();
    }

    bool setLayouts(const char *layouts)
    {
        return QProcess::execute(u"setxkbmap"_s,
                                 {u"-display"_s, QString::fromLatin1(m_display), u"-layout"_s,
                                  QString::fromLatin1(layouts)})
            == 0;
    }

    QProcess m_server;
    QByteArray m_display;
    std::unique_ptr<X11InputSources> m_sources;
};

TEST_F(XvfbInputSourcesTest, ListsAndSelectsTheConfiguredLayouts)
{
    ASSERT_TRUE(setLayouts("us,de"));
    const auto sources = m_sources->inputSourceList(false);
    ASSERT_TRUE(sources);
    ASSERT_EQ(sources->size(), 2);
    EXPECT_EQ(sources->at(0).identifier, u"xkb:us"_s);
    EXPECT_EQ(sources->at(0).localizedName, u"English (US)"_s);
    EXPECT_EQ(sources->at(1).identifier, u"xkb:de"_s);
    EXPECT_EQ(sources->at(1).localizedName, u"German"_s);

    EXPECT_TRUE(m_sources->selectInputSource(u"xkb:de"_s));
    EXPECT_EQ(m_sources->currentKeyboardInputSource(), sources->at(1));
    EXPECT_TRUE(m_sources->selectInputSource(u"xkb:us"_s));
    EXPECT_EQ(m_sources->currentKeyboardInputSource(), sources->at(0));
    EXPECT_FALSE(m_sources->selectInputSource(u"com.apple.keylayout.German"_s));
}
