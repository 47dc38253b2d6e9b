#include "editor/DetachedWidgetOwner.h"

#include <QPointer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(DetachedWidgetOwnerTest, AWidgetNeverEmbeddedGoesWithItsOwner)
{
    QPointer<QWidget> page;
    {
        DetachedWidgetOwner owner;
        auto widget = std::make_unique<QWidget>();
        page = widget.get();
        owner.hold(std::move(widget));
    }
    EXPECT_TRUE(page.isNull());
}

TEST(DetachedWidgetOwnerTest, AnEmbeddedWidgetBelongsToItsWindowUntilTakenOutAgain)
{
    auto window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(window.get());
    QPointer<QWidget> page;
    {
        DetachedWidgetOwner owner;
        auto widget = std::make_unique<QWidget>();
        page = widget.get();
        owner.hold(std::move(widget));
        layout->addWidget(page);
    }
    // The owner went; the window still shows the page.
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page->parent(), window.get());

    {
        DetachedWidgetOwner owner;
        auto widget = std::make_unique<QWidget>();
        page = widget.get();
        owner.hold(std::move(widget));
        layout->addWidget(page);
        // A window that goes first takes its pages out, and leaves them to their owners.
        page->setParent(nullptr);
        window.reset();
        EXPECT_FALSE(page.isNull());
    }
    EXPECT_TRUE(page.isNull());
}

TEST(DetachedWidgetOwnerTest, AWindowThatGoesFirstTakesItsEmbeddedPageAlong)
{
    DetachedWidgetOwner owner;
    auto window = std::make_unique<QWidget>();
    auto widget = std::make_unique<QWidget>();
    QPointer<QWidget> page = widget.get();
    owner.hold(std::move(widget));
    page->setParent(window.get());
    window.reset();
    EXPECT_TRUE(page.isNull());
}

} // namespace
