#pragma once

#include <QColor>
#include <QWidget>

// The result chart of a quiz run: wedges for the correct, misspelled and wrong answers, counter-
// clockwise from the top. A run without answers shows an empty ring instead.
class QLXPieChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr qreal radius = 50;

    explicit QLXPieChart(QWidget *parent = nullptr);

    // Shares of the answers, 0 to 1; a share that is no number counts as 0.
    double correctPercent() const { return m_correctPercent; }
    void setCorrectPercent(double fraction);
    double misspelledPercent() const { return m_misspelledPercent; }
    void setMisspelledPercent(double fraction);
    // With no answers there are no wedges to show.
    bool isEmpty() const { return m_isEmpty; }
    void setEmpty(bool empty);

    QColor correctColor() const { return m_correctColor; }
    void setCorrectColor(const QColor &color);
    QColor misspelledColor() const { return m_misspelledColor; }
    void setMisspelledColor(const QColor &color);
    QColor wrongColor() const { return m_wrongColor; }
    void setWrongColor(const QColor &color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_correctPercent = 0.7;
    double m_misspelledPercent = 0.1;
    bool m_isEmpty = false;
    QColor m_correctColor = QColor::fromRgbF(0.0f, 0.55f, 0.47f);
    QColor m_misspelledColor = QColor::fromRgbF(0.81f, 0.69f, 0.14f);
    QColor m_wrongColor = QColor::fromRgbF(0.68f, 0.2f, 0.29f);
};
