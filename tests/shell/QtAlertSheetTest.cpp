#include "shell/ModalWatch.h"
#include "shell/QtAlertPresenter.h"

#include "support/FakeClock.h"
#include "support/ManualScheduler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

// An alert shown as a sheet of the main window, as the import and export sheets show theirs.
class AlertSheetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(900, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        alerts.setParentWindow(&window);
    }

    QMessageBox *openAlert(QObject *answerReceiver)
    {
        alerts.open(Alert{u"The language exists"_s, u"What now?"_s,
                          {u"Change Name"_s, u"Add Words"_s, u"Cancel Import"_s}, 2},
                    answerReceiver, [this](int button) { answers.append(button); });
        return qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    }

    QMainWindow window;
    QtAlertPresenter alerts;
    QObject receiver;
    test::FakeClock clock;
    test::ManualScheduler scheduler{clock};
    ModalWatch modalWatch{scheduler};
    QList<int> answers;
};

TEST_F(AlertSheetTest, IsModalToTheWindowAndHoldsSynchronisationResultsBackUntilAnswered)
{
    QMessageBox *box = openAlert(&receiver);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->parentWidget(), &window);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->defaultButton()->text(), u"Change Name"_s);
    EXPECT_EQ(box->escapeButton()->text(), u"Cancel Import"_s);
    EXPECT_TRUE(answers.isEmpty());

    bool reloaded = false;
    modalWatch.runWhenNoModal([&reloaded] { reloaded = true; });
    scheduler.advance(std::chrono::seconds(2));
    EXPECT_FALSE(reloaded);

    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == u"Add Words"_s)
            button->click();
    }
    EXPECT_EQ(answers, QList<int>{1});
    scheduler.advance(ModalWatch::retryInterval);
    EXPECT_TRUE(reloaded);
}

TEST_F(AlertSheetTest, EscapeAndClosingAnswerTheCancelButton)
{
    QMessageBox *box = openAlert(&receiver);
    ASSERT_TRUE(box);
    QTest::keyClick(box, Qt::Key_Escape);
    box = openAlert(&receiver);
    ASSERT_TRUE(box);
    box->close();
    EXPECT_EQ(answers, (QList<int>{2, 2}));
}

TEST_F(AlertSheetTest, AnAlertWhoseReceiverIsGoneAnswersNobody)
{
    auto gone = std::make_unique<QObject>();
    QMessageBox *box = openAlert(gone.get());
    ASSERT_TRUE(box);
    gone.reset();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(answers.isEmpty());
}

} // namespace
} // namespace lexi
