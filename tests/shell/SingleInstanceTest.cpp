#include "shell/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

TEST(SingleInstanceTest, ALaterStartHandsOverToTheRunningOne)
{
    QTemporaryDir folder;
    SingleInstance running(folder.path(), folder.path());
    ASSERT_TRUE(running.claim());
    QSignalSpy reopened(&running, &SingleInstance::reopenRequested);

    SingleInstance later(folder.path(), folder.path());
    EXPECT_FALSE(later.claim());
    EXPECT_TRUE(later.handOver(2s));
    EXPECT_TRUE(reopened.wait(2000));
    EXPECT_EQ(reopened.size(), 1);

    // Another installation runs on its own.
    QTemporaryDir otherFolder;
    SingleInstance other(otherFolder.path(), folder.path());
    EXPECT_TRUE(other.claim());
}

TEST(SingleInstanceTest, NobodyAnswersWhenNoneRuns)
{
    QTemporaryDir folder;
    {
        SingleInstance ended(folder.path(), folder.path());
        ASSERT_TRUE(ended.claim());
    }
    SingleInstance later(folder.path(), folder.path());
    EXPECT_FALSE(later.handOver(100ms));
    EXPECT_TRUE(later.claim());
}

} // namespace
