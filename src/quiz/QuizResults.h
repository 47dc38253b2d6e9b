#pragma once

#include <QString>

#include <cmath>

namespace lexi {

// The figures of a finished run for the result page.
struct QuizResults
{
    qint64 correct = 0;
    qint64 misspelled = 0;
    qint64 wrong = 0;
    qint64 total = 0;

    // Shares of the run in per cent; 0 for a run without words.
    double correctPercent() const { return percentOf(correct); }
    double misspelledPercent() const { return percentOf(misspelled); }
    // The whole per cent the result texts show: cut, not rounded, so that the figure never
    // reads above the threshold that chose the text (19.9 % reads 19 %, not 20 %).
    double shownCorrectPercent() const { return std::floor(correctPercent()); }
    // The key of the page's intro text: "rehearseAgain" below 20 % correct, "wellDone" below 60 %,
    // else "congratulations".
    QString introKey() const;

private:
    double percentOf(qint64 count) const { return total > 0 ? double(count) / double(total) * 100 : 0.0; }
};

} // namespace lexi
