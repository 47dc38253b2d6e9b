#include "shell/QLXColorButton.h"
#include "shell/QLXHelpController.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>
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

TEST(QLXColorButtonTest, TheFocusedButtonShowsARingInTheHighlightColour)
{
    QWidget window;
    auto *other = new QPushButton(&window);
    auto *button = new QLXColorButton(&window);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setColor(QColor(200, 30, 90));
    button->setGeometry(40, 0, 30, 30);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QColor highlight = button->palette().color(QPalette::Highlight);
    const QPoint onTheRing(2, 15), inTheMiddle(15, 15);

    other->setFocus();
    EXPECT_EQ(button->grab().toImage().pixelColor(onTheRing), QColor(200, 30, 90));
    QTest::keyClick(other, Qt::Key_Tab);
    ASSERT_TRUE(button->hasFocus());
    const QImage focused = button->grab().toImage();
    EXPECT_EQ(focused.pixelColor(onTheRing), highlight);
    EXPECT_EQ(focused.pixelColor(inTheMiddle), QColor(200, 30, 90));
    EXPECT_EQ(focused.pixelColor(0, 15), QColor(Qt::black));
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

TEST(QLXHelpControllerTest, EscapeClosesItAndTabNeverReachesWhatItCovers)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *outside = new QLineEdit;
    auto *covered = new QWidget;
    layout->addWidget(outside);
    layout->addWidget(covered);
    auto *coveredLayout = new QVBoxLayout(covered);
    auto *field = new QLineEdit;
    coveredLayout->addWidget(field);
    coveredLayout->addWidget(new QPushButton(QStringLiteral("Add Word")));
    coveredLayout->addWidget(new QLineEdit);
    window.resize(640, 480);
    window.show();
    QApplication::setActiveWindow(&window);
    field->setFocus();
    QLXHelpController help;
    help.setParentView(covered);
    help.awakeFromNib();
    help.showVocabularyHelp();

    const auto underTheHelp = [&](QWidget *focus) {
        return focus && covered->isAncestorOf(focus) && focus != help.tabView() && !help.tabView()->isAncestorOf(focus);
    };
    EXPECT_EQ(QApplication::focusWidget(), help.tabView());
    for (int press = 0; press < 5; ++press) {
        QTest::keyClick(QApplication::focusWidget(), press % 2 ? Qt::Key_Backtab : Qt::Key_Tab);
        EXPECT_FALSE(underTheHelp(QApplication::focusWidget())) << press;
    }
    // From a control outside the overlay, Tab lands on the overlay, not under it.
    outside->setFocus();
    QTest::keyClick(outside, Qt::Key_Tab);
    EXPECT_FALSE(underTheHelp(QApplication::focusWidget()));
    EXPECT_TRUE(help.isShown());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(help.isShown());
    EXPECT_EQ(QApplication::focusWidget(), field) << "back where it was before the help";
}

} // namespace
