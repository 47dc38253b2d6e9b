#pragma once

#include "GraphGeometry.h"
#include "QLXDetailView.h"
#include "QLXGraph.h"
#include "QLXPointView.h"

#include <QColor>
#include <QList>
#include <QWidget>

#include <optional>

// A line graph: the points of a QLXGraph scaled into the view over a background, joined by a line
// with a filled area below it, under four horizontal guides with their values. Every point inside
// the view carries a marker; while the mouse is over one, a box beside it shows the point's texts.
// Painted antialiased, so it is sharp at any pixel ratio.
class QLXGraphView : public QWidget
{
    Q_OBJECT

public:
    explicit QLXGraphView(QWidget *parent = nullptr);

    const QLXGraph &graph() const { return m_graph; }
    void setGraph(const QLXGraph &graph);
    double baseline() const { return m_baseline; }
    // Keeps `baseline`, but 0 in place of a negative one or one above the graph's maximum.
    void setBaseline(double baseline);

    const QColor &backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);

    const QList<QLXPointView> &points() const { return m_points; }
    const QList<lexi::GraphGeometry::Guide> &horizontalGuides() const { return m_horizontalGuides; }
    const QLXDetailView &detailView() const { return m_detailView; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    lexi::GraphGeometry geometry() const;
    // Markers and guides anew for the graph, the baseline and the size as they are now.
    void putPoints();
    void createHorizontalGuides();
    void followMouse(std::optional<QPointF> position);
    void pointCaughtMouse(const QLXPointView &point);
    void pointMouseEscaped();
    void paintGuides(QPainter &painter) const;

    QLXGraph m_graph;
    double m_baseline = 0.0;
    QColor m_backgroundColor = QColor::fromRgbF(0.4f, 0.4f, 0.4f);
    QList<QLXPointView> m_points;
    QList<lexi::GraphGeometry::Guide> m_horizontalGuides;
    QLXDetailView m_detailView;
    lexi::GraphHover m_hover;
};
