#include "editor/QLXTokenCloud.h"
#include "editor/QLXTokenCloudDelegate.h"
#include "views/QLXTokenButton.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct RecordingCloudDelegate final : QLXTokenCloudDelegate
{
    void tokenCloudDidClickToken(QLXTokenCloud *, const QString &token, bool enabled) override
    {
        clicks.append(token + (enabled ? u" on"_s : u" off"_s));
    }
    void tokenCloudDidChangePreferredHeightTo(QLXTokenCloud *, double height) override { heights.append(height); }

    QStringList clicks;
    QList<double> heights;
};

TEST(QLXTokenCloudTest, ButtonsFollowTheTokensAndTheSelectionOutlivesThem)
{
    QLXTokenCloud cloud;
    RecordingCloudDelegate delegate;
    cloud.setDelegate(&delegate);
    cloud.resize(300, 100);
    cloud.show();
    cloud.setTokens({u"banana"_s, u"Apple"_s, u"cherry"_s, QString()});
    EXPECT_EQ(cloud.buttonForToken(QString()), nullptr) << "an empty name gets no button";
    // Sorted ignoring case, in one row.
    EXPECT_LT(cloud.buttonForToken(u"Apple"_s)->x(), cloud.buttonForToken(u"banana"_s)->x());
    EXPECT_LT(cloud.buttonForToken(u"banana"_s)->x(), cloud.buttonForToken(u"cherry"_s)->x());

    QTest::mouseClick(cloud.buttonForToken(u"cherry"_s), Qt::LeftButton);
    QTest::mouseClick(cloud.buttonForToken(u"Apple"_s), Qt::LeftButton);
    QTest::mouseClick(cloud.buttonForToken(u"Apple"_s), Qt::LeftButton);
    EXPECT_EQ(delegate.clicks, (QStringList{u"cherry on"_s, u"Apple on"_s, u"Apple off"_s}));
    EXPECT_EQ(cloud.selectedTokenNames(), QSet<QString>{u"cherry"_s});

    cloud.setTokens({u"banana"_s});
    EXPECT_EQ(cloud.selectedTokenNames(), QSet<QString>{u"cherry"_s});
    EXPECT_TRUE(cloud.visibleSelectedTokenNames().isEmpty());
    EXPECT_TRUE(cloud.addTokenWithString(u"cherry"_s));
    EXPECT_FALSE(cloud.buttonForToken(u"cherry"_s)->isChecked()) << "a new button starts off";
    EXPECT_EQ(cloud.visibleSelectedTokenNames(), QStringList{u"cherry"_s});
    EXPECT_FALSE(cloud.addTokenWithString(u"cherry"_s));
    EXPECT_FALSE(cloud.addTokenWithString(QString()));
    cloud.removeTokenWithString(u"cherry"_s);
    EXPECT_EQ(cloud.buttonForToken(u"cherry"_s), nullptr);
    EXPECT_FALSE(cloud.tokens().contains(u"cherry"_s));

    // Heights are reported from the second layout on.
    EXPECT_FALSE(delegate.heights.isEmpty());
    EXPECT_EQ(delegate.heights.last(), 24);
    cloud.resize(40, 100);
    cloud.setTokens({u"banana"_s, u"kiwi"_s, u"lime"_s});
    EXPECT_EQ(cloud.preferredHeight(), 72);
}

TEST(QLXTokenCloudTest, TabReachesTheTagsInTheirShownOrderAndSpaceTogglesThem)
{
    QWidget window;
    auto *before = new QLineEdit(&window);
    auto *cloud = new QLXTokenCloud(&window);
    // Made before the tags are: they still come between the field before the cloud and this one.
    auto *after = new QLineEdit(&window);
    after->setGeometry(0, 130, 300, 20);
    RecordingCloudDelegate delegate;
    cloud->setDelegate(&delegate);
    cloud->setGeometry(0, 30, 300, 100);
    cloud->setTokens({u"banana"_s, u"Apple"_s, u"cherry"_s});
    window.resize(300, 160);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();

    for (const QString &tag : {u"Apple"_s, u"banana"_s, u"cherry"_s}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), cloud->buttonForToken(tag)) << tag.toStdString();
    }
    QLXTokenButton *cherry = cloud->buttonForToken(u"cherry"_s);
    const QColor highlight = cherry->palette().color(QPalette::Highlight);
    const QImage focused = cherry->grab().toImage();
    EXPECT_EQ(focused.pixelColor(cherry->width() / 2, 1), highlight);

    QTest::keyClick(cherry, Qt::Key_Space);
    EXPECT_EQ(delegate.clicks, QStringList{u"cherry on"_s});
    EXPECT_EQ(cloud->selectedTokenNames(), QSet<QString>{u"cherry"_s});
    QTest::keyClick(cherry, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);

    // A tag added later takes its place in the order.
    cloud->addTokenWithString(u"date"_s);
    cloud->buttonForToken(u"banana"_s)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), cloud->buttonForToken(u"date"_s));

    before->setFocus();
    EXPECT_NE(cherry->grab().toImage().pixelColor(cherry->width() / 2, 1), highlight);
}

} // namespace
