#include "sync/SyncThrottle.h"

#include <gtest/gtest.h>

using std::chrono::seconds;

TEST(SyncThrottleTest, WaitsLongerWithEveryRequestAndLongestAfterAnUpload)
{
    struct Step
    {
        int at;
        bool folderChanged;
        bool runs;
        // The run uploaded a file.
        bool pushes;
    };
    const Step steps[] = {
        // request n waits 3 × n s (at most 30 s)
        {0, false, true, false},  // 1: the first request after launch runs
        {5, false, false, false}, // 2: 6 s since the run have not passed
        {5, true, true, true},    // 3: the folder changed: it runs, and uploads
        {10, true, false, false}, // 4: 12 s since the upload count, folder change or not
        {17, false, false, false},
        {20, false, false, false},
        {40, false, true, false}, // 7: 21 s
        {50, false, false, false},
        {70, false, true, false},  // 9: 27 s
        {100, false, true, false}, // 10: exactly 30 s since the last run
        {129, false, false, false},
        {130, false, true, false}, // 30 s from now on
    };
    lexi::SyncThrottle throttle;
    int number = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(++number);
        if (step.folderChanged)
            throttle.folderDidChange();
        EXPECT_EQ(throttle.admit(seconds(1000 + step.at)), step.runs);
        if (step.pushes)
            throttle.didPush(seconds(1000 + step.at));
    }
    EXPECT_EQ(throttle.noOfSyncs(), 10);
}

TEST(SyncThrottleTest, AFolderChangeCountsForOneRunOnly)
{
    lexi::SyncThrottle throttle;
    ASSERT_TRUE(throttle.admit(seconds(0)));
    throttle.folderDidChange();
    EXPECT_TRUE(throttle.admit(seconds(1)));
    EXPECT_FALSE(throttle.admit(seconds(2)));
}
