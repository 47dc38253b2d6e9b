#include "support/FakeClock.h"

#include "editor/WordTableModel.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;

namespace {

lexi::WordList makeWords(int count)
{
    lexi::WordList words;
    for (int i = 0; i < count; ++i) {
        auto word = std::make_shared<QLXWord>();
        word->setYourWord(u"word %1"_s.arg(i));
        words.append(word);
    }
    return words;
}

// Warnings of the model tester, which checks every signal against the rows and data around it.
QStringList testerWarnings;

void recordWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        testerWarnings.append(message);
}

struct RemovalCase
{
    const char *name;
    std::set<int> removed;
};

void PrintTo(const RemovalCase &removal, std::ostream *out)
{
    *out << removal.name;
}

std::set<int> everyNthRow(int count, int step, int first)
{
    std::set<int> rows;
    for (int row = first; row < count; row += step)
        rows.insert(row);
    return rows;
}

class WordTableModelRemovalTest : public testing::TestWithParam<RemovalCase>
{
};

// Rows removed in a few ranges or in many: the view's rows, the selection and the current row
// follow the words kept, and every signal agrees with the rows it reports.
TEST_P(WordTableModelRemovalTest, RemovedRowsLeaveTheViewOnTheWordsKept)
{
    constexpr int count = 100;
    const std::set<int> &removed = GetParam().removed;
    lexi::test::FakeClock clock;
    WordTableModel model(clock);
    const lexi::WordList words = makeWords(count);
    model.resetRows(words);
    QTableView view;
    view.setModel(&model);
    testerWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordWarning);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

    // Two kept rows selected, the current one kept, and one removed row selected.
    lexi::WordList kept;
    for (int row = 0; row < count; ++row) {
        if (!removed.contains(row))
            kept.append(words[row]);
    }
    const auto keptRow = [&](std::size_t nth) {
        int row = 0;
        for (std::size_t seen = 0;; ++row) {
            if (!removed.contains(row) && seen++ == nth)
                return row;
        }
    };
    const int firstKept = keptRow(0);
    const int lastKept = keptRow(std::size_t(kept.size() - 1));
    const int removedRow = *removed.rbegin();
    for (int row : {firstKept, lastKept, removedRow})
        view.selectionModel()->select(model.index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.selectionModel()->setCurrentIndex(model.index(lastKept, 0), QItemSelectionModel::NoUpdate);

    model.changeRows(kept);
    qInstallMessageHandler(previous);

    EXPECT_EQ(model.rows(), kept);
    EXPECT_EQ(model.rowCount(), kept.size());
    EXPECT_EQ(view.verticalHeader()->count(), kept.size());
    EXPECT_EQ(testerWarnings, QStringList());
    lexi::WordList selected;
    for (const QModelIndex &index : view.selectionModel()->selectedRows())
        selected.append(model.rows().value(index.row()));
    std::sort(selected.begin(), selected.end());
    lexi::WordList expected{words[firstKept], words[lastKept]};
    if (firstKept == lastKept)
        expected.removeLast();
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(selected, expected);
    EXPECT_EQ(model.rows().value(view.selectionModel()->currentIndex().row()), words[lastKept]);
    EXPECT_EQ(model.data(model.index(0, WordTableModel::YourWordColumn)).toString(), kept.first()->yourWord());
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, WordTableModelRemovalTest,
    testing::Values(RemovalCase{"OneRangeInTheMiddle", {40, 41, 42, 43}},
                    RemovalCase{"AFewRangesWithTheFirstAndLastRow", {0, 1, 10, 20, 21, 22, 98, 99}},
                    RemovalCase{"EveryFifthRow", everyNthRow(100, 5, 2)},
                    RemovalCase{"EveryOtherRowFromTheFirst", everyNthRow(100, 2, 0)},
                    RemovalCase{"AllButOneRow",
                                [] {
                                    std::set<int> rows = everyNthRow(100, 1, 0);
                                    rows.erase(57);
                                    return rows;
                                }()}),
    [](const testing::TestParamInfo<RemovalCase> &info) { return std::string(info.param.name); });

} // namespace
