#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QLXPieChart;

namespace lexi {

struct QuizResults;

// The figures of a finished run on a quiz's result page: the intro text chosen by the share of
// right answers, the pie chart, and for each of the three outcomes its colour, its name and its
// count, all on a card's light colours. The page around it adds its own buttons.
class QuizResultsView : public QWidget
{
    Q_OBJECT

public:
    // How the figures look on one page.
    struct Look
    {
        // Empty for the application's font.
        QString fontFamily;
        int introPoints = 0;
        int rowPoints = 0;
        int pieSide = 0;
        int swatchSide = 0;
        int columnSpacing = 0;
        int rowSpacing = 0;
        // Between the pie chart and the rows.
        int chartSpacing = 0;
        // None for the card's own text colour.
        std::optional<QColor> textColor;
        // Where the room left on the card goes: above and below the chart, or to the intro and
        // the chart's row.
        bool roomAroundChart = true;

        // On the card of a page in the quiz tab, in Helvetica.
        static Look pageCard();
        // On the small card of the pop-up quiz's window, in the application's font.
        static Look popupWindow();
    };

    explicit QuizResultsView(const Look &look, QWidget *parent = nullptr);

    // The rows' names: "correct" and "wrong" of the quiz texts, and `middleName` for the middle
    // outcome (misspelled words or skipped cards, by the page).
    void localize(const QString &middleName);
    // The intro text, the chart's shares and the counts "%ld / %ld" of `results`. Whether a chart
    // of a run without words is drawn empty or hidden is the page's choice.
    void showResults(const QuizResults &results);

    QLabel &introText() const { return *m_introText; }
    QLXPieChart &pieChart() const { return *m_pieChart; }
    QLabel &correctCount() const { return *m_correctCount; }
    QLabel &middleCount() const { return *m_middleCount; }
    QLabel &wrongCount() const { return *m_wrongCount; }

private:
    QLabel *text(const Look &look, int points, Qt::Alignment alignment);

    QLabel *m_introText = nullptr;
    QLXPieChart *m_pieChart = nullptr;
    QLabel *m_correctLabel = nullptr;
    QLabel *m_middleLabel = nullptr;
    QLabel *m_wrongLabel = nullptr;
    QLabel *m_correctCount = nullptr;
    QLabel *m_middleCount = nullptr;
    QLabel *m_wrongCount = nullptr;
};

} // namespace lexi
