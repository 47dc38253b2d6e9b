#include "shell/QLXColorButton.h"
#include "shell/QLXHelpController.h"

#include <QImage>
#include <QStackedWidget>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(QLXColorButtonTest, DrawsABlackFrameAroundItsColour)
{
    QLXColorButton button;
    EXPECT_EQ(button.color(), QColor(Qt::green));
    button.setColor(QColor(200, 30, 90));
    button.resize(10, 10);
    const QImage image = button.grab().toImage();
    ASSERT_EQ(image.size(), QSize(10, 10));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool isFrame = x == 0 || y == 0 || x == 9 || y == 9;
            EXPECT_EQ(image.pixelColor(x, y), isFrame ? QColor(Qt::black) : QColor(200, 30, 90)) << x << "," << y;
        }
    }
}

TEST(QLXHelpControllerTest, TheOverlayCoversItsParentUntilClosed)
{
    QWidget parent;
    parent.resize(640, 480);
    auto *list = new QWidget(&parent);
    list->setGeometry(0, 0, 640, 480);
    parent.show();
    QLXHelpController help;
    help.setParentView(&parent);
    help.awakeFromNib();

    help.closeHelp();
    EXPECT_FALSE(help.isShown());
    EXPECT_EQ(parent.children().size(), 1);

    help.showVocabularyHelp();
    ASSERT_TRUE(help.isShown());
    EXPECT_EQ(help.tabView()->parentWidget(), &parent);
    EXPECT_EQ(help.tabView()->geometry(), parent.rect());
    EXPECT_EQ(parent.childAt(320, 240)->window(), &parent);
    EXPECT_TRUE(help.tabView()->isAncestorOf(parent.childAt(320, 240)) || parent.childAt(320, 240) == help.tabView());
    parent.resize(800, 600);
    EXPECT_EQ(help.tabView()->geometry(), parent.rect());

    help.closeHelp();
    EXPECT_FALSE(help.isShown());
    EXPECT_EQ(help.tabView()->parentWidget(), nullptr);
    help.closeHelp();
    EXPECT_FALSE(help.isShown());
}

} // namespace
