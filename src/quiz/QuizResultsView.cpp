#include "QuizResultsView.h"

#include "QuizResults.h"
#include "QuizTexts.h"

#include "platform/values/Format.h"
#include "views/QLXPieChart.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lexi {

QuizResultsView::Look QuizResultsView::Look::pageCard()
{
    Look look;
    look.fontFamily = u"Helvetica"_s;
    look.introPoints = 18;
    look.rowPoints = 15;
    look.pieSide = 140;
    look.swatchSide = 14;
    look.columnSpacing = 12;
    look.rowSpacing = 10;
    look.chartSpacing = 40;
    return look;
}

QuizResultsView::Look QuizResultsView::Look::popupWindow()
{
    Look look;
    look.introPoints = 15;
    look.rowPoints = 13;
    look.pieSide = 110;
    look.swatchSide = 12;
    look.columnSpacing = 10;
    look.rowSpacing = 6;
    look.chartSpacing = 24;
    look.roomAroundChart = false;
    return look;
}

QuizResultsView::QuizResultsView(const Look &look, QWidget *parent) : QWidget(parent)
{
    m_introText = text(look, look.introPoints, Qt::AlignCenter);
    m_pieChart = new QLXPieChart(this);
    m_pieChart->setFixedSize(look.pieSide, look.pieSide);

    auto *legend = new QGridLayout;
    legend->setHorizontalSpacing(look.columnSpacing);
    legend->setVerticalSpacing(look.rowSpacing);
    const auto addRow = [&](int row, QLabel *&label, QLabel *&count, const QColor &color) {
        auto *swatch = new QLabel(this);
        swatch->setFixedSize(look.swatchSide, look.swatchSide);
        swatch->setStyleSheet(u"background: %1; border-radius: 3px;"_s.arg(color.name()));
        label = text(look, look.rowPoints, Qt::AlignLeft | Qt::AlignVCenter);
        count = text(look, look.rowPoints, Qt::AlignRight | Qt::AlignVCenter);
        legend->addWidget(swatch, row, 0);
        legend->addWidget(label, row, 1);
        legend->addWidget(count, row, 2);
    };
    addRow(0, m_correctLabel, m_correctCount, m_pieChart->correctColor());
    addRow(1, m_middleLabel, m_middleCount, m_pieChart->misspelledColor());
    addRow(2, m_wrongLabel, m_wrongCount, m_pieChart->wrongColor());

    auto *chartRow = new QHBoxLayout;
    chartRow->addStretch();
    chartRow->addWidget(m_pieChart);
    chartRow->addSpacing(look.chartSpacing);
    chartRow->addLayout(legend);
    chartRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_introText);
    if (look.roomAroundChart) {
        layout->addStretch();
        layout->addLayout(chartRow);
        layout->addStretch();
    } else {
        layout->addLayout(chartRow, 1);
    }
}

QLabel *QuizResultsView::text(const Look &look, int points, Qt::Alignment alignment)
{
    auto *label = new QLabel(this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    QFont font = look.fontFamily.isEmpty() ? label->font() : QFont(look.fontFamily);
    font.setPointSize(points);
    label->setFont(font);
    if (look.textColor) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, *look.textColor);
        label->setPalette(palette);
    }
    return label;
}

void QuizResultsView::localize(const QString &middleName)
{
    m_correctLabel->setText(quizText(u"correct"_s));
    m_middleLabel->setText(middleName);
    m_wrongLabel->setText(quizText(u"wrong"_s));
}

void QuizResultsView::showResults(const QuizResults &results)
{
    m_introText->setText(format(quizText(results.introKey()), results.shownCorrectPercent()));
    m_pieChart->setCorrectPercent(results.correctPercent() / 100);
    m_pieChart->setMisspelledPercent(results.misspelledPercent() / 100);
    const QString countFormat = u"%ld / %ld"_s;
    m_correctCount->setText(format(countFormat, results.correct, results.total));
    m_middleCount->setText(format(countFormat, results.misspelled, results.total));
    m_wrongCount->setText(format(countFormat, results.wrong, results.total));
}

} // namespace lexi
