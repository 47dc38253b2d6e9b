#include "views/ArrowKeySelection.h"
#include "views/FittedTextLabel.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXCardView.h"
#include "views/QLXColorTheme.h"
#include "views/QLXPieChart.h"
#include "views/QLXProgressBar.h"
#include "views/QLXTokenButton.h"
#include "views/TextShareKeeper.h"

#include "support/ContrastRatio.h"
#include "support/Screenshots.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

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

    // Grown, the card is drawn anew at its new size: its line moves to the new middle.
    card.resize(300, 101);
    const QImage grown = render(card);
    expectNear(grown.pixelColor(250, 12), plainTop, 3);
    expectNear(grown.pixelColor(150, 50), rgb(0.2f, 0.2f, 0.2f), 3);
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

// The title of a token that is off is as easy to read as body text on its light blue.
TEST(TokenButtonTest, TheTitleOfATokenThatIsOffStandsOutFromItsColour)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    QLXTokenButton token(u"kitchen"_s);
    const QImage image = render(token);
    const double background = luminance(QLXTokenButton::offColor());
    double darkest = background;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, luminance(image.pixelColor(x, y)));
    }
    EXPECT_GE((background + 0.05) / (darkest + 0.05), 4.5);
}

// In every state, under the light and the dark palette, a token's title reads as body text on the
// fill it is painted on, and the fill still tells a token that is on from one that is off.
TEST(TokenButtonTest, TheTitleReadsOnItsFillInEveryStateAndPalette)
{
    const struct
    {
        const char *state;
        bool checked;
        bool down;
        QColor fill;
    } states[] = {
        {"off", false, false, QLXTokenButton::offColor()},
        {"on", true, false, QLXTokenButton::onColor()},
        {"pressed while off", false, true, QLXTokenButton::onColor()},
        {"pressed while on", true, true, QLXTokenButton::onColor()},
    };
    lexi::test::inLightAndDarkPalette([&](const QString &prefix) {
        for (const auto &state : states) {
            SCOPED_TRACE(std::string(prefix.isEmpty() ? "light " : "dark ") + state.state);
            QLXTokenButton token(u"kitchen"_s);
            token.setChecked(state.checked);
            token.setDown(state.down);
            const QImage image = render(token);
            // Left of the title, well inside the rounded box.
            const QColor fill = image.pixelColor(3, image.height() / 2);
            expectNear(fill, state.fill);
            // The title's own colour is the one that stands out most from the fill; the box's edge,
            // blended with the window behind it, stays out of the search.
            double title = 1.0;
            for (int y = 3; y < image.height() - 3; ++y) {
                for (int x = 3; x < image.width() - 3; ++x)
                    title = std::max(title, lexi::test::contrastRatio(fill, image.pixelColor(x, y)));
            }
            EXPECT_GE(title, 4.5);
        }
    });
}

// A secondary text keeps its grey readable on what it stands on, a page or a list's base, under the
// palette it was made in and after the desktop switched theme either way; the full share stays the
// palette's own text colour.
TEST(TextShareKeeperTest, SecondaryTextStaysReadableAcrossThemeSwitches)
{
    const QPalette light = QApplication::palette();
    const QPalette dark = lexi::test::darkPalette();
    const struct
    {
        const char *name;
        QPalette madeUnder;
        std::vector<QPalette> switches;
    } cases[] = {
        {"made light", light, {}},
        {"made dark", dark, {}},
        {"made light, switched to dark", light, {dark}},
        {"made dark, switched to light", dark, {light}},
        {"made light, switched to dark and back", light, {dark, light}},
    };
    // The colour a label paints its text with, and the one of what it stands on.
    const auto textAndBackground = [](const QLabel &label) {
        const QPalette inherited = label.parentWidget()->palette();
        return std::pair{label.palette().color(label.foregroundRole()), inherited.color(label.backgroundRole())};
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        QApplication::setPalette(test.madeUnder);
        QWidget page;
        QWidget list(&page);
        list.setBackgroundRole(QPalette::Base);
        auto *onPage = new QLabel(u"Anonymous figures help to make Lexicarta better."_s, &page);
        auto *onList = new QLabel(u"No words in this level."_s, &list);
        auto *full = new QLabel(u"Send anonymous usage statistics"_s, &page);
        for (QLabel *secondary : {onPage, onList})
            lexi::TextShareKeeper::keep(*secondary, lexi::TextShareKeeper::secondaryTextShare);
        lexi::TextShareKeeper::keep(*full, 0.5);
        // Asked again, the keeper takes the new share.
        lexi::TextShareKeeper::keep(*full, 1.0);
        for (const QPalette &palette : test.switches) {
            QApplication::setPalette(palette);
            QApplication::processEvents();
        }
        for (const QLabel *secondary : {onPage, onList}) {
            const auto [grey, background] = textAndBackground(*secondary);
            const QColor text = page.palette().color(secondary->foregroundRole());
            EXPECT_GE(lexi::test::contrastRatio(grey, background), 4.5) << qPrintable(grey.name());
            EXPECT_LT(lexi::test::contrastRatio(grey, background), lexi::test::contrastRatio(text, background));
        }
        EXPECT_EQ(textAndBackground(*full).first, page.palette().color(QPalette::WindowText));
    }
    QApplication::setPalette(light);
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

TEST(FittedTextTest, WrapsAtBlanksThenShrinksThenCuts)
{
    QFont font(u"Helvetica"_s);
    font.setPointSize(18);
    const int lineHeight = int(std::ceil(QFontMetricsF(font).lineSpacing()));
    const struct
    {
        QString text;
        int lines; // of 18 points high allowed
        bool keepsItsSize;
        bool isElided;
    } cases[] = {
        {u"das Haus"_s, 2, true, false},
        {u"a small wooden house at the far end of the long road"_s, 3, true, false},
        {u"a small wooden house at the far end of the long and winding road, just by the old bridge"_s, 2, false,
         false},
        {u"Donaudampfschifffahrtselektrizitaetenhauptbetriebswerkbauunterbeamtengesellschaft"_s, 2, false, true},
        {QString(400, u'a').replace(u"aaaa"_s, u"aaa "_s), 2, false, true},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.text.toStdString());
        const lexi::FittedText fitted = lexi::fitText(test.text, font, 250, test.lines * lineHeight, 11);
        EXPECT_EQ(fitted.pointSize == 18, test.keepsItsSize);
        EXPECT_GE(fitted.pointSize, 11);
        EXPECT_EQ(fitted.isElided, test.isElided);
        EXPECT_LE(fitted.height, test.lines * lineHeight);
        QFont drawn = font;
        drawn.setPointSizeF(fitted.pointSize);
        for (const QString &line : fitted.lines)
            EXPECT_LE(QFontMetricsF(drawn).horizontalAdvance(line), 250) << line.toStdString();
        if (!test.isElided) {
            EXPECT_EQ(fitted.lines.join(u' '), test.text) << "broken at blanks only";
        }
    }
    EXPECT_TRUE(lexi::fitText(QString(), font, 250, lineHeight, 11).lines.isEmpty());
}

TEST(ArrowKeySelectionTest, TheFirstArrowSelectsTheCurrentRowThenTheArrowsMove)
{
    const struct
    {
        const char *name;
        QAbstractItemView::SelectionMode mode;
        int currentRow; // before the first key, -1 for none
        Qt::Key key;
        int selectedRow;
    } cases[] = {
        {"down from the first row", QAbstractItemView::SingleSelection, 0, Qt::Key_Down, 0},
        {"down without a cursor", QAbstractItemView::SingleSelection, -1, Qt::Key_Down, 0},
        {"up from the first row", QAbstractItemView::SingleSelection, 0, Qt::Key_Up, 0},
        {"down from a later row", QAbstractItemView::ExtendedSelection, 2, Qt::Key_Down, 2},
        {"up from a later row", QAbstractItemView::ExtendedSelection, 2, Qt::Key_Up, 2},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        QStandardItemModel model(4, 2);
        QTableView table;
        table.setModel(&model);
        table.setSelectionBehavior(QAbstractItemView::SelectRows);
        table.setSelectionMode(test.mode);
        lexi::selectCurrentRowOnFirstArrow(&table);
        if (test.currentRow >= 0)
            table.selectionModel()->setCurrentIndex(model.index(test.currentRow, 0), QItemSelectionModel::NoUpdate);
        ASSERT_FALSE(table.selectionModel()->hasSelection());

        QTest::keyClick(&table, test.key);
        EXPECT_EQ(table.selectionModel()->selectedRows(), QModelIndexList{model.index(test.selectedRow, 0)});

        // With a row selected the arrows move as before.
        QTest::keyClick(&table, Qt::Key_Down);
        EXPECT_EQ(table.selectionModel()->selectedRows(), QModelIndexList{model.index(test.selectedRow + 1, 0)});
        QTest::keyClick(&table, Qt::Key_Up);
        EXPECT_EQ(table.selectionModel()->selectedRows(), QModelIndexList{model.index(test.selectedRow, 0)});
    }
}

TEST(ArrowKeySelectionTest, LeavesEmptyListsShiftAndUnselectableListsToTheView)
{
    QStandardItemModel model(4, 1);
    QTableView table;
    table.setModel(&model);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::ExtendedSelection);
    lexi::selectCurrentRowOnFirstArrow(&table);
    table.selectionModel()->setCurrentIndex(model.index(0, 0), QItemSelectionModel::NoUpdate);
    // Shift extends from the cursor as the view does: rows 0 and 1.
    QTest::keyClick(&table, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(table.selectionModel()->selectedRows().size(), 2);

    table.setSelectionMode(QAbstractItemView::NoSelection);
    table.clearSelection();
    QTest::keyClick(&table, Qt::Key_Down);
    EXPECT_FALSE(table.selectionModel()->hasSelection());

    QStandardItemModel empty(0, 1);
    table.setModel(&empty);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    QTest::keyClick(&table, Qt::Key_Down);
    EXPECT_FALSE(table.selectionModel()->hasSelection());
}

// A layout asks a label's height for a width many times over: the answer follows every change of
// its text, its font and the width asked for, as a fresh fit would.
TEST(FittedTextTest, TheLabelsHeightFollowsItsTextFontAndWidth)
{
    QFont font(u"Helvetica"_s);
    font.setPointSize(12);
    lexi::FittedTextLabel label(4, 10);
    label.setFont(font);
    const QString longText = u"a small wooden house at the far end of the long and winding road"_s;
    const auto fresh = [&label](int width) {
        const int fourLines = 4 * int(std::ceil(QFontMetricsF(label.font()).lineSpacing()));
        return lexi::fitText(label.text(), label.font(), width, fourLines, 10).height;
    };
    label.setText(longText);
    const int wrapped = label.heightForWidth(120);
    EXPECT_EQ(wrapped, fresh(120));
    EXPECT_EQ(label.heightForWidth(120), wrapped) << "asked again";

    const int wide = label.heightForWidth(600);
    EXPECT_LT(wide, wrapped) << "a wider label takes fewer lines";
    EXPECT_EQ(wide, fresh(600));
    EXPECT_EQ(label.heightForWidth(120), wrapped) << "back at the first width";

    label.setText(u"das Haus"_s);
    EXPECT_LT(label.heightForWidth(120), wrapped) << "a new text";
    EXPECT_EQ(label.heightForWidth(120), fresh(120));

    font.setPointSize(24);
    label.setFont(font);
    EXPECT_EQ(label.heightForWidth(120), fresh(120)) << "a new font";

    label.setText(QString());
    EXPECT_EQ(label.heightForWidth(120), 0) << "no text";
}

} // namespace
