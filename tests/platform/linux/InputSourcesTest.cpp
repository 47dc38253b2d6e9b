#include "platform/linux/X11InputSources.h"
#include "platform/ports/InputSources.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

using lexi::InputSource;
using lexi::X11InputSources;

TEST(InputSourcesTest, OnlyXcbGetsTheX11Backend)
{
    auto sources = lexi::inputSourcesForQtPlatform(QStringLiteral("offscreen"));
    ASSERT_TRUE(sources);
    EXPECT_EQ(sources->inputSourceList(true), QList<InputSource>());
    EXPECT_FALSE(sources->currentKeyboardInputSource());
    EXPECT_FALSE(sources->selectInputSource(QStringLiteral("xkb:us")));
}

TEST(InputSourcesTest, ReadsTheGroupsOfAnXkbSymbolsName)
{
    const std::pair<const char *, QStringList> cases[] = {
        {"pc+us+de:2+inet(evdev)", {QStringLiteral("us"), QStringLiteral("de")}},
        {"pc+us(intl)+ru:2+fr(bepo):3+inet(evdev)+group(alt_shift_toggle)",
         {QStringLiteral("us(intl)"), QStringLiteral("ru"), QStringLiteral("fr(bepo)")}},
        {"pc105+gb", {QStringLiteral("gb")}},
        {"", {}},
        {"pc+de:7", {}},
    };
    for (const auto &[symbols, layouts] : cases)
        EXPECT_EQ(X11InputSources::layoutsFromSymbolsName(QString::fromUtf8(symbols)), layouts) << symbols;
}

// Runs a private X server for the test; skipped where the machine has none.
class XvfbInputSourcesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("setxkbmap")).isEmpty())
            GTEST_SKIP() << "Xvfb and setxkbmap are needed";
        int number = 140;
        while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            ++number;
        m_display = ':' + QByteArray::number(number);
        m_server.start(QStringLiteral("Xvfb"),
                       {QString::fromLatin1(m_display), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QElapsedTimer patience;
        patience.start();
        while (!m_sources && patience.elapsed() < 20000) {
            QThread::msleep(50);
            m_sources = X11InputSources::open(m_display);
        }
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
        return QProcess::execute(QStringLiteral("setxkbmap"),
                                 {QStringLiteral("-display"), QString::fromLatin1(m_display), QStringLiteral("-layout"),
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
    EXPECT_EQ(sources->at(0).identifier, QStringLiteral("xkb:us"));
    EXPECT_EQ(sources->at(0).localizedName, QStringLiteral("English (US)"));
    EXPECT_EQ(sources->at(1).identifier, QStringLiteral("xkb:de"));
    EXPECT_EQ(sources->at(1).localizedName, QStringLiteral("German"));

    EXPECT_TRUE(m_sources->selectInputSource(QStringLiteral("xkb:de")));
    EXPECT_EQ(m_sources->currentKeyboardInputSource(), sources->at(1));
    EXPECT_TRUE(m_sources->selectInputSource(QStringLiteral("xkb:us")));
    EXPECT_EQ(m_sources->currentKeyboardInputSource(), sources->at(0));
    EXPECT_FALSE(m_sources->selectInputSource(QStringLiteral("com.apple.keylayout.German")));
}
