#include "views/QLXPopover.h"

#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int targetRow = 5;

// A table filling a window, with a popover pointing at one cell of it; the popover holds one button.
class QLXPopoverTest : public testing::Test
{
protected:
    QLXPopoverTest()
    {
        window.resize(700, 400);
        table.setGeometry(window.rect());
        table.setColumnWidth(0, 150);
        table.setColumnWidth(1, 400);
        for (int row = 0; row < table.rowCount(); ++row) {
            for (int column = 0; column < table.columnCount(); ++column)
                table.setItem(row, column, new QTableWidgetItem(QStringLiteral("word %1").arg(row)));
        }
        popover.setContentWidget(button);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void pointAt(int column)
    {
        table.setCurrentCell(0, 0);
        popover.showRelativeToRect(table.viewport(), table.visualItemRect(table.item(targetRow, column)));
        QApplication::processEvents();
    }

    // The row under `point` of the window, as the table sees it.
    int rowAt(QPoint point) const { return table.rowAt(table.viewport()->mapFrom(&window, point).y()); }

    QWidget window;
    QTableWidget table{12, 3, &window};
    QLXPopover popover{&window};
    QPushButton *button = new QPushButton(QStringLiteral("Done"));
};

// Points of the shadow's band, as offsets from the arrow's tip or from the popover's edges.
enum class Anchor { BeyondTheTip, BesideTheArrow, AboveThePanel, BelowThePanel, FarSide };

QPoint pointIn(const QLXPopover &popover, Anchor anchor)
{
    const QRect box = popover.geometry();
    const bool leftArrow = popover.arrowEdge() == QLXPopover::Edge::Left;
    const int arrowSide = leftArrow ? box.left() + QLXPopover::shadowWidth + 2 : box.right() - QLXPopover::shadowWidth - 2;
    switch (anchor) {
    case Anchor::BeyondTheTip:
        return popover.arrowTip() + QPoint(leftArrow ? -3 : 3, 0);
    case Anchor::BesideTheArrow:
        return {arrowSide, box.top() + QLXPopover::shadowWidth + 2};
    case Anchor::AboveThePanel:
        return {box.center().x(), box.top() + 2};
    case Anchor::BelowThePanel:
        return {box.center().x(), box.bottom() - 1};
    case Anchor::FarSide:
        return {leftArrow ? box.right() - 2 : box.left() + 2, box.center().y()};
    }
    return {};
}

TEST_F(QLXPopoverTest, ClicksInTheShadowReachTheRowsBeneathWhileTheBodyAndArrowKeepTheirs)
{
    QSignalSpy clicked(button, &QPushButton::clicked);
    const struct
    {
        int column;
        QLXPopover::Edge edge;
    } sides[] = {{0, QLXPopover::Edge::Left}, {1, QLXPopover::Edge::Right}};
    const struct
    {
        const char *where;
        Anchor anchor;
    } bandPoints[] = {
        {"just beyond the arrow's tip", Anchor::BeyondTheTip},
        {"beside the arrow, off its triangle", Anchor::BesideTheArrow},
        {"above the panel", Anchor::AboveThePanel},
        {"below the panel, where the shadow is darkest", Anchor::BelowThePanel},
        {"on the side away from the arrow", Anchor::FarSide},
    };
    for (const auto &side : sides) {
        SCOPED_TRACE(side.column);
        pointAt(side.column);
        ASSERT_TRUE(popover.isVisible());
        ASSERT_EQ(popover.arrowEdge(), side.edge);
        for (const auto &band : bandPoints) {
            SCOPED_TRACE(band.where);
            table.setCurrentCell(0, 0);
            const QPoint point = pointIn(popover, band.anchor);
            ASSERT_TRUE(popover.geometry().contains(point)) << "the band belongs to the popover's area";
            // What the mouse is over decides where presses, hovering and the wheel go alike.
            EXPECT_EQ(window.childAt(point), table.viewport());
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
            EXPECT_EQ(table.currentRow(), rowAt(point));
            EXPECT_NE(table.currentRow(), 0);
        }
        const QPoint onTheArrow = popover.arrowTip() + QPoint(side.edge == QLXPopover::Edge::Left ? 4 : -4, 0);
        EXPECT_TRUE(popover.isAncestorOf(window.childAt(onTheArrow)) || window.childAt(onTheArrow) == &popover);
        table.setCurrentCell(0, 0);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, onTheArrow);
        EXPECT_EQ(table.currentRow(), 0) << "the arrow takes its clicks";

        clicked.clear();
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, button->mapTo(&window, button->rect().center()));
        EXPECT_EQ(clicked.count(), 1) << "the body's control takes its clicks";
        EXPECT_EQ(table.currentRow(), 0);
        popover.close();
    }
}

// The row the arrow points at is selected by a click next to the tip, where it was covered by the
// shadow's band.
TEST_F(QLXPopoverTest, ClickingTheRowRightAtTheArrowsTipSelectsIt)
{
    for (const int column : {0, 1}) {
        pointAt(column);
        const QPoint point = pointIn(popover, Anchor::BeyondTheTip);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
        EXPECT_EQ(table.currentRow(), targetRow) << "column " << column;
        EXPECT_EQ(table.currentColumn(), column);
        popover.close();
    }
}

// The shadow is still painted over the table, under the panel, and goes with the panel.
TEST_F(QLXPopoverTest, TheShadowDarkensTheBandAroundThePanelAndHidesWithIt)
{
    pointAt(0);
    const QPoint below = pointIn(popover, Anchor::BelowThePanel);
    const QColor shaded = window.grab().toImage().pixelColor(below);
    popover.close();
    const QColor plain = window.grab().toImage().pixelColor(below);
    EXPECT_LT(shaded.lightness(), plain.lightness());

    pointAt(1);
    const QPoint body = popover.geometry().center() + QPoint(0, popover.height() / 2 - QLXPopover::shadowWidth - 3);
    EXPECT_EQ(window.grab().toImage().pixelColor(body), popover.palette().color(QPalette::Window))
        << "the panel covers its own shadow";
}

} // namespace
