#pragma once

#include <QColor>
#include <QWidget>

// A thin bar showing how far a quiz run has come: the part done is filled from the left, its end
// rounded.
class QLXProgressBar : public QWidget
{
    Q_OBJECT

public:
    explicit QLXProgressBar(QWidget *parent = nullptr);

    quint64 progress() const { return m_progress; }
    // Progress beyond the total shows a full bar.
    void setProgress(quint64 progress);
    quint64 total() const { return m_total; }
    // A total of 0 counts as 1.
    void setTotal(quint64 total);
    double progressFraction() const { return m_progressFraction; }

    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);
    QColor progressColor() const { return m_progressColor; }
    void setProgressColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateFraction();

    quint64 m_progress = 30;
    quint64 m_total = 100;
    double m_progressFraction = 0.3;
    qreal m_cornerRadius = 4.0;
    QColor m_backgroundColor = QColor::fromRgbF(1, 1, 1, 0.15f);
    QColor m_progressColor = QColor::fromRgbF(1, 1, 1, 0.25f);
};
