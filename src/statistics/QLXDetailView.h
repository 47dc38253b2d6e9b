#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

// The box beside a graph's point under the mouse, showing the point's label, x and y texts;
// painted by its QLXGraphView on top of everything else.
class QLXDetailView
{
public:
    static constexpr QSizeF size{100.0, 60.0};

    const QString &label() const { return m_label; }
    void setLabel(const QString &label) { m_label = label; }
    const QString &xLabel() const { return m_xLabel; }
    void setXLabel(const QString &label) { m_xLabel = label; }
    const QString &yLabel() const { return m_yLabel; }
    void setYLabel(const QString &label) { m_yLabel = label; }

    const QColor &backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color) { m_backgroundColor = color; }
    const QColor &borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color) { m_borderColor = color; }
    const QColor &textColor() const { return m_textColor; }
    void setTextColor(const QColor &color) { m_textColor = color; }

    // Where the box stands in its graph's coordinates (y growing upwards); none while hidden.
    const std::optional<QRectF> &frame() const { return m_frame; }
    void showAt(const QRectF &frame) { m_frame = frame; }
    void hide() { m_frame.reset(); }

    // Paints the box, when it is shown, into a view `viewHeight` high, whose y grows downwards.
    void paint(QPainter &painter, double viewHeight) const;

private:
    QString m_label;
    QString m_xLabel;
    QString m_yLabel;
    QColor m_backgroundColor = QColor::fromRgbF(1.0f / 3, 1.0f / 3, 1.0f / 3);
    QColor m_borderColor = Qt::white;
    QColor m_textColor = Qt::white;
    std::optional<QRectF> m_frame;
};
