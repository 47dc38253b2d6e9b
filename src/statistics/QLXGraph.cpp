#include "QLXGraph.h"

#include <algorithm>

namespace {

template<typename List>
qsizetype sizeOf(const std::optional<List> &list)
{
    return list ? list->size() : 0;
}

QString textAt(const std::optional<QStringList> &texts, qsizetype index)
{
    return texts ? texts->value(index) : QString();
}

} // namespace

QLXGraph QLXGraph::initWithLabels(const std::optional<QStringList> &labels, const std::optional<QList<double>> &values,
                                  const std::optional<QStringList> &xLabels,
                                  const std::optional<QStringList> &yLabels)
{
    qsizetype count = 0;
    if (labels)
        count = labels->size();
    else if (values)
        count = values->size();
    else if (xLabels)
        count = xLabels->size();
    else if (yLabels)
        count = yLabels->size();

    QLXGraph graph;
    graph.m_dataInstances.reserve(std::max<qsizetype>(count, 10));
    for (qsizetype i = 0; i < count; ++i) {
        QLXDataInstance point;
        point.label = textAt(labels, i);
        point.yValue = i < sizeOf(values) ? double(float((*values)[i])) : 0.0;
        point.xValue = double(i);
        point.xlabel = textAt(xLabels, i);
        point.ylabel = textAt(yLabels, i);
        graph.m_maximumData = std::max(graph.m_maximumData, point.yValue);
        graph.m_minimumData = std::min(graph.m_minimumData, point.yValue);
        graph.m_dataInstances.append(std::move(point));
    }
    return graph;
}
