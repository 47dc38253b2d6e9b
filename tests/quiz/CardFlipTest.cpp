#include "support/FakeClock.h"
#include "support/ManualScheduler.h"

#include "quiz/CardFlip.h"
#include "quiz/CardFlipGeometry.h"
#include "views/QLXCardView.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QThreadPool>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <latch>
#include <numbers>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

constexpr double pi = std::numbers::pi;

// How many pixels of the host, as shown, differ from the flip's frame at this moment painted over
// the host's black.
int pixelsUnlikeThisMomentsFrame(QWidget &host, lexi::CardFlip &flip)
{
    const QImage shown = host.grab().toImage();
    QImage expected(shown.size(), shown.format());
    expected.fill(Qt::black);
    QPainter painter(&expected);
    flip.paintFrame(painter, flip.progress());
    painter.end();
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb a = shown.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 1 || std::abs(qGreen(a) - qGreen(b)) > 1
                || std::abs(qBlue(a) - qBlue(b)) > 1)
                ++differing;
        }
    }
    return differing;
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

    // Reversed, the same turn is seen from behind: the other edge comes near.
    const lexi::CardFlipFrame reversed =
        lexi::CardFlipGeometry::frame(0.25, true, lexi::CardFlipGeometry::scaleFactor, true);
    EXPECT_DOUBLE_EQ(reversed.rotation, quarter.rotation);
    EXPECT_LT(std::abs(reversed.transform.map(QPointF(150, 100)).y()),
              std::abs(reversed.transform.map(QPointF(-150, 100)).y()));
    EXPECT_NEAR(std::abs(reversed.transform.map(QPointF(-150, 100)).y()),
                std::abs(quarter.transform.map(QPointF(150, 100)).y()), 1e-9);
}

// Each frame repaints only the area its pictures cover: every corner of a turned picture lies
// in it, whichever way the card turns.
TEST(CardFlipTest, ThePictureAreaHoldsTheTurnedPicture)
{
    const QRect card(50, 40, 300, 200);
    for (const bool isReversed : {false, true}) {
        for (const bool beginningOnTop : {false, true}) {
            for (int step = 0; step <= 50; ++step) {
                const double progress = step / 50.0;
                const lexi::CardFlipFrame frame =
                    lexi::CardFlipGeometry::frame(progress, beginningOnTop, lexi::CardFlipGeometry::scaleFactor, isReversed);
                const QRect area = lexi::CardFlipGeometry::pictureArea(frame, card);
                if (!frame.isFacingViewer) {
                    EXPECT_TRUE(area.isEmpty()) << progress;
                    continue;
                }
                const QTransform transform = lexi::CardFlipGeometry::pictureTransform(frame, card);
                const QRectF picture = lexi::CardFlipGeometry::pictureBounds(card);
                for (const QPointF corner : {picture.topLeft(), picture.topRight(), picture.bottomLeft(),
                                             picture.bottomRight()})
                    EXPECT_TRUE(QRectF(area).contains(transform.map(corner)))
                        << progress << " " << beginningOnTop << " " << isReversed;
            }
        }
    }
    const lexi::CardFlipFrame still = lexi::CardFlipGeometry::frame(0, true, 1.0);
    EXPECT_TRUE(lexi::CardFlipGeometry::pictureArea(still, card).contains(card)) << "the card where it stands";
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

    // Background work that can wait holds back from the first half, before the step hands its
    // save over, to the end.
    using lexi::dispatch::ForegroundAnimation;
    EXPECT_FALSE(ForegroundAnimation::isAnyPlaying());
    ASSERT_TRUE(flip.flipFirstHalf(card));
    EXPECT_TRUE(ForegroundAnimation::isAnyPlaying());
    EXPECT_FALSE(flip.flipFirstHalf(card)) << "one flip at a time";
    card.setColorCorrect();
    flip.flipSecondHalf(card);
    EXPECT_TRUE(flip.isFlipping());
    EXPECT_FALSE(card.isVisible()) << "the pictures stand in for the card";

    scheduler.advance(375ms);
    EXPECT_NEAR(flip.progress(), 0.5, 0.03);
    EXPECT_TRUE(flip.isFlipping());
    EXPECT_TRUE(ForegroundAnimation::isAnyPlaying());
    scheduler.advance(390ms);
    EXPECT_FALSE(flip.isFlipping());
    EXPECT_FALSE(ForegroundAnimation::isAnyPlaying());
    EXPECT_TRUE(card.isVisible());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(scheduler.pendingCount(), 0u) << "no frames after the end";

    flip.flipSecondHalf(card);
    EXPECT_FALSE(flip.isFlipping()) << "a second half without a first does nothing";

    // A first half whose step is cancelled leaves the flip free for the next one.
    ASSERT_TRUE(flip.flipFirstHalf(card));
    flip.cancelFirstHalf();
    EXPECT_FALSE(flip.isFlipping());
    EXPECT_FALSE(ForegroundAnimation::isAnyPlaying());
    flip.flipSecondHalf(card);
    EXPECT_FALSE(flip.isFlipping()) << "nothing to turn after the cancel";
    EXPECT_TRUE(card.isVisible());
    ASSERT_TRUE(flip.flipFirstHalf(card));
    flip.flipSecondHalf(card);
    EXPECT_TRUE(flip.isFlipping());
    flip.cancelFirstHalf();
    EXPECT_TRUE(flip.isFlipping()) << "a flip that plays goes on";
}

// Between its first and last frames the card stands turned: its picture's edges are smoothed
// there as they would be on the card itself, not cut into steps.
TEST(CardFlipTest, ATurnedPictureHasSmoothEdges)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    QWidget host;
    host.resize(400, 300);
    QLXCardView card(&host);
    card.setGeometry(50, 50, 300, 200);
    lexi::CardFlip flip(host, scheduler, clock);
    ASSERT_TRUE(flip.flipFirstHalf(card));
    flip.flipSecondHalf(card);

    for (const double progress : {0.15, 0.3, 0.7}) {
        SCOPED_TRACE(progress);
        QImage frame(host.size(), QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        flip.paintFrame(painter, progress);
        painter.end();
        // The top edge slants across these columns; where it enters each, a smoothed edge lets
        // the first pixel it touches only partly through.
        int columns = 0;
        int partlyCovered = 0;
        for (int x = 230; x < 330; ++x) {
            for (int y = 0; y < frame.height(); ++y) {
                const int alpha = qAlpha(frame.pixel(x, y));
                if (alpha == 0)
                    continue;
                ++columns;
                if (alpha < 200)
                    ++partlyCovered;
                break;
            }
        }
        ASSERT_GT(columns, 50) << "the picture is drawn there";
        EXPECT_GT(partlyCovered, columns / 3);
    }
}

// The new face is pictured a part in each of the flip's first frames: whether the first frame
// that shows it comes after them or before, it shows the whole card as it was turned to, with
// what lies on it.
TEST(CardFlipTest, TheNewFaceIsPicturedWholeWhenItTurnsIntoView)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    QWidget host;
    host.resize(400, 300);
    QLXCardView card(&host);
    card.setGeometry(50, 50, 300, 200);
    card.setIsSplit(true);
    QLabel left(u"Haus"_s, &card);
    left.setGeometry(20, 20, 200, 30);
    QLabel across(u"a house, the house, houses"_s, &card);
    across.setGeometry(100, 120, 180, 30);
    host.show();
    const auto picture = [](QWidget &widget) {
        QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        widget.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        return image;
    };

    for (const bool framesFirst : {true, false}) {
        SCOPED_TRACE(framesFirst ? "after the first frames" : "at once");
        lexi::CardFlip flip(host, scheduler, clock);
        card.setColorNeutral();
        ASSERT_TRUE(flip.flipFirstHalf(card));
        card.setColorCorrect();
        const QImage turnedTo = picture(card);
        flip.flipSecondHalf(card);
        if (framesFirst)
            scheduler.advance(100ms);
        QImage frame(host.size(), QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        flip.paintFrame(painter, 1);
        painter.end();
        EXPECT_EQ(frame.copy(card.geometry()), turnedTo);
        scheduler.advance(1s);
    }
}

// A card on a black host, flipping to its wrong-answer colour, for comparing the frames shown with
// those painted at the moment.
class CardFlipOnBlackTest : public testing::Test
{
protected:
    CardFlipOnBlackTest()
    {
        host.resize(400, 300);
        QPalette black;
        black.setColor(QPalette::Window, Qt::black);
        host.setPalette(black);
        host.setAutoFillBackground(true);
        card.setGeometry(50, 50, 300, 200);
    }

    void startFlip()
    {
        host.show();
        ASSERT_TRUE(flip.flipFirstHalf(card));
        card.setColorWrong();
        flip.flipSecondHalf(card);
    }

    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler{clock};
    QWidget host;
    QLXCardView card{&host};
    lexi::CardFlip flip{host, scheduler, clock};
};

// The frames are painted ahead on another thread and shown in their turn: each looks as the
// frame painted there and then.
TEST_F(CardFlipOnBlackTest, AFramePaintedAheadLooksAsOnePaintedInItsTurn)
{
    card.setIsSplit(true);
    QLabel word(u"Haus"_s, &card);
    word.setGeometry(20, 20, 200, 30);
    startFlip();

    for (int frame = 1; frame <= 40 && flip.isFlipping(); ++frame) {
        QThreadPool::globalInstance()->waitForDone();
        scheduler.advance(16ms);
        if (frame % 5 != 0 || !flip.isFlipping())
            continue;
        SCOPED_TRACE(flip.progress());
        EXPECT_EQ(pixelsUnlikeThisMomentsFrame(host, flip), 0);
    }
}

// The frame asked for ahead comes only after the turns of several later frames, which were
// painted in their turns meanwhile: it is older than the frame shown, and the card does not turn
// back to it.
TEST_F(CardFlipOnBlackTest, AFramePaintedAheadThatComesTooLateIsNotShown)
{
    startFlip();
    // The new face is pictured, and the first frame is shown and asked for ahead.
    for (int frame = 0; frame < 3; ++frame)
        scheduler.advance(16ms);

    QThreadPool &pool = *QThreadPool::globalInstance();
    pool.waitForDone();
    std::latch poolFree(1);
    for (int thread = 0; thread < pool.maxThreadCount(); ++thread)
        pool.start([&poolFree] { poolFree.wait(); });
    for (int frame = 0; frame < 10; ++frame)
        scheduler.advance(16ms);
    poolFree.count_down();
    pool.waitForDone();
    scheduler.advance(16ms);
    ASSERT_TRUE(flip.isFlipping());
    EXPECT_EQ(pixelsUnlikeThisMomentsFrame(host, flip), 0);
}

// A frame is drawn over the host only where its pictures are, the picture at the start standing
// exactly where the card stood; the rest of the page is not painted again for each frame.
TEST(CardFlipTest, TheFramesCoverOnlyWhereThePicturesAre)
{
    lexi::test::FakeClock clock;
    lexi::test::ManualScheduler scheduler(clock);
    QWidget host;
    host.resize(800, 600);
    QPalette dark;
    dark.setColor(QPalette::Window, Qt::black);
    host.setPalette(dark);
    host.setAutoFillBackground(true);
    QLXCardView card(&host);
    card.setGeometry(250, 200, 300, 200);
    host.show();
    lexi::CardFlip flip(host, scheduler, clock);
    const QColor cardCentre = card.grab().toImage().pixelColor(150, 100);
    const auto overlay = [&]() -> QWidget * {
        for (QWidget *child : host.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child != &card)
                return child;
        }
        return nullptr;
    };

    ASSERT_TRUE(flip.flipFirstHalf(card));
    flip.flipSecondHalf(card);
    ASSERT_NE(overlay(), nullptr);
    EXPECT_TRUE(overlay()->geometry().contains(card.geometry()));
    EXPECT_TRUE(card.geometry().adjusted(-3, -3, 3, 3).contains(overlay()->geometry()));
    EXPECT_EQ(host.grab().toImage().pixelColor(400, 300), cardCentre) << "the picture stands where the card stood";

    const QRect reach(100, 0, 600, 600);
    for (int frame = 0; frame < 40; ++frame) {
        scheduler.advance(16ms);
        if (!overlay())
            break;
        EXPECT_TRUE(reach.contains(overlay()->geometry())) << frame;
    }
    scheduler.advance(1s);
    EXPECT_EQ(overlay(), nullptr) << "gone with the flip";
}

} // namespace
