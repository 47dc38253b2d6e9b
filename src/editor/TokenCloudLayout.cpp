#include "TokenCloudLayout.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace lexi {

TokenCloudLayout::Result TokenCloudLayout::layout(const QList<Token> &tokens, double width, double height)
{
    Result result;
    // A row would never take a button.
    if (width <= 0)
        return result;

    std::vector<qsizetype> order(std::size_t(tokens.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&tokens](qsizetype left, qsizetype right) {
        return QString::compare(tokens[left].title, tokens[right].title, Qt::CaseInsensitive) < 0;
    });

    QList<QList<qsizetype>> rows;
    QList<qsizetype> row;
    double running = 0;
    for (qsizetype index : order) {
        const double space = tokens[index].width + 4;
        if (width <= running) {
            rows.append(row);
            row.clear();
            running = 0;
        }
        running += space;
        if (running > width && width > space) {
            // Too wide for what is left of the row, not for a row of its own.
            rows.append(row);
            row = {index};
            running = space;
        } else {
            row.append(index);
        }
    }
    if (!row.isEmpty())
        rows.append(row);

    const double gap = rows.size() >= 2 ? 5 : 4;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        double x = 0;
        for (qsizetype index : rows[r]) {
            result.placements.append({index, x, height - buttonHeight - rowHeight * double(r)});
            x += tokens[index].width + gap;
        }
    }
    result.neededHeight = rowHeight * double(rows.size());
    return result;
}

std::optional<double> TokenCloudHeight::layoutNeeded(double neededHeight)
{
    if (!m_setup) {
        m_setup = true;
        return std::nullopt;
    }
    if (neededHeight == m_preferredHeight)
        return std::nullopt;
    m_preferredHeight = neededHeight;
    return neededHeight;
}

} // namespace lexi
