#include "model/VocabularySaver.h"

#include "platform/dispatch/ForegroundAnimation.h"

#include <QCoreApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <optional>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Saves that record which of them ran, in order.
class SaverTest : public testing::Test
{
protected:
    lexi::VocabularySaver::Job recording(const QString &name, lexi::dispatch::Block followUp = {})
    {
        return [this, name, followUp] {
            const std::lock_guard lock(mutex);
            ran.append(name);
            return followUp;
        };
    }

    std::promise<void> releasePromise;
    std::shared_future<void> release = releasePromise.get_future().share();
    std::mutex mutex;
    QStringList ran;
};

TEST_F(SaverTest, SavesRunInOrderAndANewerSnapshotReplacesOneStillWaiting)
{
    lexi::VocabularySaver saver;
    std::promise<void> started;
    std::future<void> isRunning = started.get_future();
    saver.save(u"a"_s, [&started, this] {
        started.set_value();
        release.wait();
        const std::lock_guard lock(mutex);
        ran.append(u"a1"_s);
        return lexi::dispatch::Block();
    });
    isRunning.wait();

    // "a" is being written: its next snapshot waits; the one after that replaces it.
    saver.save(u"a"_s, recording(u"a2"_s));
    saver.save(u"b"_s, recording(u"b1"_s));
    saver.save(u"a"_s, recording(u"a3"_s));
    saver.save(u"c"_s, recording(u"c1"_s));
    saver.save(u"b"_s, recording(u"b2"_s));
    releasePromise.set_value();
    saver.flush();

    EXPECT_EQ(ran, (QStringList{u"a1"_s, u"a3"_s, u"b2"_s, u"c1"_s}));
}

// While the card flips, the saves wait for its end (a newer snapshot replacing one held back),
// unless a flush waits for them.
TEST_F(SaverTest, SavesWaitForAnAnimationToEndUnlessAFlushWaits)
{
    lexi::VocabularySaver saver;
    std::optional<lexi::dispatch::ForegroundAnimation> animation(std::in_place);
    saver.save(u"a"_s, recording(u"a1"_s));
    std::this_thread::sleep_for(150ms);
    saver.save(u"a"_s, recording(u"a2"_s));
    {
        const std::lock_guard lock(mutex);
        EXPECT_TRUE(ran.isEmpty()) << "held back while the animation plays";
    }
    animation.reset();
    const auto givenUp = std::chrono::steady_clock::now() + 10s;
    for (;;) {
        {
            const std::lock_guard lock(mutex);
            if (!ran.isEmpty() || std::chrono::steady_clock::now() > givenUp)
                break;
        }
        std::this_thread::sleep_for(5ms);
    }
    saver.flush();
    EXPECT_EQ(ran, QStringList{u"a2"_s});

    animation.emplace();
    saver.save(u"b"_s, recording(u"b1"_s));
    saver.flush();
    EXPECT_EQ(ran, (QStringList{u"a2"_s, u"b1"_s})) << "the flush has the save run, animation or not";
}

TEST_F(SaverTest, FollowUpsRunOnTheMainThreadOnceEach)
{
    std::thread::id followUpThread;
    int followUps = 0;
    {
        lexi::VocabularySaver saver;
        saver.save(u"a"_s, recording(u"a"_s, [&] {
                       followUpThread = std::this_thread::get_id();
                       ++followUps;
                   }));
        saver.save(u"b"_s, recording(u"b"_s));
        saver.flush();
        EXPECT_EQ(followUps, 1);
        EXPECT_EQ(followUpThread, std::this_thread::get_id());

        // The follow-up posted to the event loop finds nothing more to do.
        QCoreApplication::processEvents();
        EXPECT_EQ(followUps, 1);

        // A flush on another thread waits for the saves but leaves follow-ups to the main thread.
        saver.save(u"c"_s, recording(u"c"_s, [&] { ++followUps; }));
        std::thread([&saver] { saver.flush(); }).join();
        EXPECT_EQ(ran.size(), 3);
        EXPECT_EQ(followUps, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(followUps, 2);

        // Going away, the saver writes what is waiting.
        saver.save(u"d"_s, recording(u"d"_s));
    }
    EXPECT_EQ(ran, (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
}

} // namespace
