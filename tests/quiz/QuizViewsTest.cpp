#include "support/FakeClock.h"
#include "support/ManualScheduler.h"

#include "quiz/CardFlip.h"
#include "quiz/CardFlipGeometry.h"
#include "quiz/QLXBookmarkView.h"
#include "quiz/QLXCardView.h"
#include "quiz/QLXColorTheme.h"
#include "quiz/QLXPieChart.h"
#include "quiz/QLXProgressBar.h"

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr double pi = std::numbers::pi;

QColor rgb(float red, float green, float blue)
{
    return QColor::fromRgbF(red, green, blue);
}

// Colour components may differ by one step of eight bits from what was rendered.
void expectNear(const QColor &actual, const QColor &expected, int tolerance = 2)
{
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << qPrintable(actual.name()) << " vs " << qPrintable(expected.name());
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << qPrintable(actual.name()) << " vs " << qPrintable(expected.name());
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << qPrintable(actual.name()) << " vs " << qPrintable(expected.name());
}

QImage render(QWidget &widget)
{
    return widget.grab().toImage();
}

class ColorThemeTest : public testing::Test
{
protected:
    QTemporaryDir folder;
    lexi::Defaults defaults{folder.filePath(u"Lexicarta.conf"_s)};
};

TEST_F(ColorThemeTest, EachIndexPaintsItsColourEverywhereAndIsStored)
{
    const struct
    {
        qint64 index;
        QColor color;
    } cases[] = {
        {0, rgb(0.1f, 0.1f, 0.1f)},    {1, rgb(0.22f, 0.22f, 0.35f)}, {2, rgb(0.51f, 0.21f, 0.28f)},
        {3, rgb(0.27f, 0.35f, 0.04f)}, {4, rgb(0.25f, 0.19f, 0.12f)}, {5, rgb(0.28f, 0.01f, 0.14f)},
        {6, rgb(0.1f, 0.1f, 0.1f)},    {-1, rgb(0.1f, 0.1f, 0.1f)},
    };
    QLXColorTheme theme(defaults);
    QLXBookmarkView first(theme), second(theme);
    first.resize(20, 20);
    second.resize(20, 20);
    for (const auto &test : cases) {
        SCOPED_TRACE(test.index);
        first.setColor(test.index);
        EXPECT_EQ(theme.currentColor(), test.color);
        EXPECT_EQ(defaults.integerForKey(u"backgroundColor"_s), test.index);
        expectNear(render(second).pixelColor(10, 10), test.color);
    }
}

TEST_F(ColorThemeTest, StartsWithTheStoredChoiceAndTellsOfChanges)
{
    defaults.setInteger(u"backgroundColor"_s, 3);
    QLXColorTheme theme(defaults);
    EXPECT_EQ(theme.index(), 3);
    EXPECT_EQ(theme.currentColor(), QLXColorTheme::standardColor(3));

    QSignalSpy changes(&theme, &QLXColorTheme::currentColorChanged);
    QLXBookmarkView view(theme);
    EXPECT_EQ(changes.count(), 0) << "a new view applies the stored choice";
    view.setColor(1);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(theme.currentColor(), QLXColorTheme::standardColor(1));
}

TEST(CardViewTest, ColourStatesShowOnTheLeftHalfOrWhenColouredWhole)
{
    const struct
    {
        void (QLXCardView::*setColor)();
        QColor start, end;
    } states[] = {
        {&QLXCardView::setColorNeutral, rgb(0.9f, 0.9f, 0.9f), rgb(0.82f, 0.82f, 0.82f)},
        {&QLXCardView::setColorCorrect, rgb(0.8f, 0.91f, 0.86f), rgb(0.74f, 0.84f, 0.8f)},
        {&QLXCardView::setColorWrong, rgb(0.91f, 0.81f, 0.8f), rgb(0.87f, 0.77f, 0.76f)},
        {&QLXCardView::setColorMisspelled, rgb(1.0f, 0.95f, 0.79f), rgb(0.95f, 0.91f, 0.75f)},
        {&QLXCardView::setColorSynonym, rgb(0.83f, 0.89f, 0.91f), rgb(0.8f, 0.85f, 0.87f)},
    };
    QLXCardView card;
    card.resize(200, 101);
    const QColor plainTop = rgb(0.98f, 0.98f, 0.98f);
    for (const auto &state : states) {
        (card.*state.setColor)();
        EXPECT_EQ(card.leftStartColor(), state.start);
        EXPECT_EQ(card.leftEndColor(), state.end);

        card.setIsSplit(false);
        card.setColorRightSide(false);
        expectNear(render(card).pixelColor(50, 12), plainTop, 3);

        card.setColorRightSide(true);
        expectNear(render(card).pixelColor(150, 12), state.start, 3);

        card.setIsSplit(true);
        const QImage split = render(card);
        expectNear(split.pixelColor(50, 12), state.start, 3);
        expectNear(split.pixelColor(150, 12), plainTop, 3);
        expectNear(split.pixelColor(100, 50), rgb(0.2f, 0.2f, 0.2f), 3);
    }
}

TEST(ProgressBarTest, TotalIsNeverZeroAndProgressNeverPassesIt)
{
    QLXProgressBar bar;
    EXPECT_DOUBLE_EQ(bar.progressFraction(), 0.3);
    bar.setTotal(0);
    EXPECT_EQ(bar.total(), 1u);
    EXPECT_DOUBLE_EQ(bar.progressFraction(), 1.0) << "progress 30 of 1 is kept at the total";
    bar.setTotal(40);
    bar.setProgress(10);
    EXPECT_DOUBLE_EQ(bar.progressFraction(), 0.25);
    bar.setProgress(41);
    EXPECT_EQ(bar.progress(), 40u);
    EXPECT_DOUBLE_EQ(bar.progressFraction(), 1.0);
}

TEST(PieChartTest, WedgesRunCounterClockwiseFromTheTop)
{
    QLXPieChart chart;
    chart.resize(120, 120);
    const auto at = [&](int x, int y) { return render(chart).pixelColor(x, y); };
    // Left of the centre is a quarter turn counter-clockwise from the top, right is three.
    chart.setCorrectPercent(0.5);
    chart.setMisspelledPercent(0.25);
    expectNear(at(30, 60), chart.correctColor());
    expectNear(at(40, 80), chart.correctColor());
    expectNear(at(80, 80), chart.misspelledColor());
    expectNear(at(80, 40), chart.wrongColor());

    chart.setCorrectPercent(0);
    chart.setMisspelledPercent(0);
    for (const QPoint point : {QPoint(30, 60), QPoint(90, 60), QPoint(60, 30)})
        expectNear(at(point.x(), point.y()), chart.wrongColor());
    chart.setCorrectPercent(1.0);
    for (const QPoint point : {QPoint(30, 60), QPoint(90, 60), QPoint(60, 30)})
        expectNear(at(point.x(), point.y()), chart.correctColor());

    chart.setCorrectPercent(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(chart.correctPercent(), 0.0);
    chart.setEmpty(true);
    for (const QColor &wedge : {chart.correctColor(), chart.misspelledColor(), chart.wrongColor()})
        EXPECT_NE(at(40, 60).rgb(), wedge.rgb());
}

TEST(CardFlipGeometryTest, EasesInAndOutSymmetrically)
{
    EXPECT_DOUBLE_EQ(lexi::CardFlipGeometry::easeInEaseOut(0), 0);
    EXPECT_NEAR(lexi::CardFlipGeometry::easeInEaseOut(0.5), 0.5, 1e-9);
    EXPECT_NEAR(lexi::CardFlipGeometry::easeInEaseOut(1), 1, 1e-9);
    EXPECT_LT(lexi::CardFlipGeometry::easeInEaseOut(0.1), 0.1 / 2) << "slow start";
    EXPECT_NEAR(lexi::CardFlipGeometry::easeInEaseOut(0.25) + lexi::CardFlipGeometry::easeInEaseOut(0.75), 1, 1e-9);
    EXPECT_DOUBLE_EQ(lexi::CardFlipGeometry::easeInEaseOut(2), lexi::CardFlipGeometry::easeInEaseOut(1));
}

TEST(CardFlipGeometryTest, OldFaceTurnsAwayAndNewFaceTurnsInWithPerspectiveAndZoom)
{
    const struct
    {
        double progress;
        bool beginningOnTop;
        double rotation, scale;
        bool facing;
    } frames[] = {
        {0, true, 0, 1, true},        {0.5, true, -pi / 2, 1.3, false}, {1, true, -pi, 1, false},
        {0, false, pi, 1, false},     {0.5, false, pi / 2, 1.3, false}, {1, false, 0, 1, true},
    };
    const QPointF corner(150, 100);
    for (const auto &test : frames) {
        SCOPED_TRACE(testing::Message() << test.progress << (test.beginningOnTop ? " top" : " below"));
        const lexi::CardFlipFrame frame = lexi::CardFlipGeometry::frame(test.progress, test.beginningOnTop);
        EXPECT_NEAR(frame.rotation, test.rotation, 1e-9);
        EXPECT_NEAR(frame.scale, test.scale, 1e-9);
        EXPECT_EQ(frame.isFacingViewer, test.facing);
        // x' = s x cos / w, y' = s y / w, w = 1 + s x sin / 1500.
        const double w = 1 + test.scale * corner.x() * std::sin(test.rotation) / 1500;
        const QPointF mapped = frame.transform.map(corner);
        EXPECT_NEAR(mapped.x(), test.scale * corner.x() * std::cos(test.rotation) / w, 1e-6);
        EXPECT_NEAR(mapped.y(), test.scale * corner.y() / w, 1e-6);
    }
    // At a quarter of the flip the old face still shows, its near edge larger than its far one.
    const lexi::CardFlipFrame quarter = lexi::CardFlipGeometry::frame(0.25, true);
    EXPECT_TRUE(quarter.isFacingViewer);
    EXPECT_GT(quarter.scale, 1);
    EXPECT_GT(std::abs(quarter.transform.map(QPointF(150, 100)).y()),
              std::abs(quarter.transform.map(QPointF(-150, 100)).y()));

    const lexi::CardFlipFrame flat = lexi::CardFlipGeometry::frame(0.5, true, 1.0);
    EXPECT_DOUBLE_EQ(flat.scale, 1.0) << "a factor of 1 flips without zoom";
}

TEST(CardFlipTest, PlaysOnPicturesForThreeQuartersOfASecondThenShowsTheCard)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    QWidget host;
    host.resize(400, 300);
    QLXCardView card(&host);
    card.setGeometry(50, 50, 300, 200);
    host.show();
    lexi::CardFlip flip(host, scheduler, clock);
    QSignalSpy finished(&flip, &lexi::CardFlip::finished);

    ASSERT_TRUE(flip.flipFirstHalf(card));
    EXPECT_FALSE(flip.flipFirstHalf(card)) << "one flip at a time";
    card.setColorCorrect();
    flip.flipSecondHalf(card);
    EXPECT_TRUE(flip.isFlipping());
    EXPECT_FALSE(card.isVisible()) << "the pictures stand in for the card";

    scheduler.advance(375ms);
    EXPECT_NEAR(flip.progress(), 0.5, 0.03);
    EXPECT_TRUE(flip.isFlipping());
    scheduler.advance(390ms);
    EXPECT_FALSE(flip.isFlipping());
    EXPECT_TRUE(card.isVisible());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(scheduler.pendingCount(), 0u) << "no frames after the end";

    flip.flipSecondHalf(card);
    EXPECT_FALSE(flip.isFlipping()) << "a second half without a first does nothing";
}

} // namespace
