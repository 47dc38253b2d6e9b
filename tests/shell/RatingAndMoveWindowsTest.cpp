#include "shell/MoveOfferBox.h"
#include "shell/QtRatingPromptPresenter.h"

#include "support/Screenshots.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

TEST(RatingPromptWindow, IsASheetWithThreeButtonsThatReportsTheChoice)
{
    QMainWindow window;
    window.resize(900, 600);
    window.show();
    QtRatingPromptPresenter presenter([&window] { return &window; });
    ASSERT_TRUE(presenter.hasMainWindow());

    std::optional<int> chosen;
    presenter.showPrompt(Alert{u"Rate Lexicarta"_s,
                               u"If you enjoy using Lexicarta, would you mind taking a moment to rate it? It won’t "
                               u"take more than a minute. Thanks for your support!"_s,
                               {u"Rate It Now"_s, u"No, Thanks"_s, u"Remind Me Later"_s},
                               1},
                         [&chosen](int button) { chosen = button; });
    auto *box = window.findChild<QMessageBox *>();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->defaultButton()->text(), u"Rate It Now"_s);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    test::saveScreenshot(*box, u"rating-prompt"_s);

    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == u"Remind Me Later"_s)
            button->click();
    }
    EXPECT_EQ(chosen, 2);

    // Closed without a click, as when the program quits under it, it answers "No, Thanks".
    chosen.reset();
    presenter.showPrompt(Alert{u"Rate Lexicarta"_s, {}, {u"Rate It Now"_s, u"No, Thanks"_s, u"Remind Me Later"_s}, 1},
                         [&chosen](int button) { chosen = button; });
    QMessageBox *second = nullptr;
    for (QMessageBox *shown : window.findChildren<QMessageBox *>()) {
        if (shown->isVisible())
            second = shown;
    }
    ASSERT_TRUE(second);
    second->close();
    EXPECT_EQ(chosen, 1);
}

TEST(MoveOfferWindow, OffersTheMoveWithItsSuppressionBox)
{
    MoveOfferQuestion question =
        moveOfferQuestion(MoveDestination{u"/home/ana/.local/bin"_s, u"/home/ana/.local/bin/lexicarta"_s,
                                          u"/home/ana/.local/share/applications"_s, true},
                          false, true);
    MoveOfferBox box(question);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    test::saveScreenshot(box, u"move-offer"_s);

    EXPECT_EQ(box.defaultButton()->text(), u"Move to Applications Folder"_s);
    box.checkBox()->setChecked(true);
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_EQ(box.chosenButton(), int(DoNotMoveButton));
}

} // namespace
} // namespace lexi
