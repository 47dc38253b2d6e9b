#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace lexi {

// Where the tag cloud puts its buttons: sorted by title, ignoring case, and flowed into rows of
// 24 points from the top, a button that does not fit starting the next row.
class TokenCloudLayout
{
public:
    static constexpr double rowHeight = 24;
    static constexpr double buttonHeight = 20;

    struct Token
    {
        QString title;
        // The button's width (its title's width and room around it).
        double width = 0;
    };

    struct Placement
    {
        // Index of the token in the list given.
        qsizetype token = 0;
        double x = 0;
        // Measured upwards from the bottom edge of a cloud of the height given.
        double y = 0;
    };

    struct Result
    {
        // In layout order: row by row, left to right.
        QList<Placement> placements;
        // The rows' heights.
        double neededHeight = 0;
    };

    // A width of 0 or less places nothing.
    static Result layout(const QList<Token> &tokens, double width, double height);
};

// The cloud's preferred height: reported to its delegate from the second layout on, when the
// needed height changes.
class TokenCloudHeight
{
public:
    double preferredHeight() const { return m_preferredHeight; }
    // The height to report for a layout that needed `neededHeight`, if any.
    std::optional<double> layoutNeeded(double neededHeight);

private:
    double m_preferredHeight = -1;
    bool m_setup = false;
};

} // namespace lexi
