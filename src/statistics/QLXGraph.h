#pragma once

#include "QLXDataInstance.h"

#include <QList>
#include <QStringList>

#include <optional>

// The points of one line graph, in order, with the largest and smallest value the view scales by.
class QLXGraph
{
public:
    // No points; the maximum 0 and the minimum 2^63, as before any point was added.
    QLXGraph() = default;

    // One point per index of the first list given (labels, values, x labels, y labels, in that
    // order); none given makes an empty graph. Point i stands at x = i with the value in single
    // precision. A list shorter than the first gives its missing points an empty text or 0.
    static QLXGraph initWithLabels(const std::optional<QStringList> &labels,
                                   const std::optional<QList<double>> &values,
                                   const std::optional<QStringList> &xLabels,
                                   const std::optional<QStringList> &yLabels);

    const QList<QLXDataInstance> &dataInstances() const { return m_dataInstances; }
    qsizetype numberOfInstances() const { return m_dataInstances.size(); }

    double maximumData() const { return m_maximumData; }
    void setMaximumData(double maximum) { m_maximumData = maximum; }
    double minimumData() const { return m_minimumData; }
    void setMinimumData(double minimum) { m_minimumData = minimum; }

private:
    QList<QLXDataInstance> m_dataInstances;
    double m_maximumData = 0.0;
    double m_minimumData = 0x1p63;
};
