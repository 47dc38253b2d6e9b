#include "VocabularySaver.h"

#include "platform/ports/Console.h"
#include "platform/dispatch/Dispatch.h"
#include "platform/dispatch/ForegroundAnimation.h"

#include <QHash>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <pthread.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi {

namespace {

// While an animation plays, the worker looks this often whether it has ended.
constexpr auto animationCheckInterval = 40ms;
// No save is held back longer than this, however long animations go on.
constexpr auto longestHoldBack = 2s;

} // namespace

struct VocabularySaver::State : std::enable_shared_from_this<State>
{
    void run();
    // Waits, the lock held, while an animation plays and nobody waits for the saves.
    void holdBackForAnimations(std::unique_lock<std::mutex> &lock);
    void runFollowUps();
    bool isIdle() const { return order.empty() && !running; }

    std::mutex mutex;
    std::condition_variable wakeUp;
    std::condition_variable idle;
    // The paths with a waiting job, in the order they were handed over, and their jobs.
    std::deque<QString> order;
    QHash<QString, Job> waiting;
    // Jobs replaced by newer ones: let go on the worker, since a snapshot takes a while to free.
    std::vector<Job> superseded;
    bool running = false;
    bool stopping = false;
    // Flushes waiting now: the saves then run at once, animation or not.
    int flushesWaiting = 0;
    std::vector<dispatch::Block> followUps;
    std::thread thread;
};

namespace {

dispatch::Block runGuarded(const VocabularySaver::Job &job)
{
    try {
        return job();
    } catch (const std::exception &error) {
        Console::writeLine(u"saver > a save threw: %1"_s.arg(QString::fromUtf8(error.what())));
    } catch (...) {
        Console::writeLine(u"saver > a save threw"_s);
    }
    return {};
}

} // namespace

void VocabularySaver::State::run()
{
    pthread_setname_np(pthread_self(), "lexicarta-saver");
    std::vector<Job> replaced;
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex);
            wakeUp.wait(lock, [this] { return stopping || !order.empty(); });
            if (order.empty())
                return;
            holdBackForAnimations(lock);
            job = waiting.take(order.front());
            order.pop_front();
            running = true;
            superseded.swap(replaced);
        }
        replaced.clear();
        dispatch::Block followUp = runGuarded(job);
        {
            const std::lock_guard lock(mutex);
            running = false;
            // Posted before the saver reports itself idle, so that once a flush returns, the main
            // thread's next turn of the event loop runs the follow-up.
            if (followUp) {
                followUps.push_back(std::move(followUp));
                dispatch::mainAsync([state = weak_from_this()] {
                    if (const std::shared_ptr<State> alive = state.lock())
                        alive->runFollowUps();
                });
            }
        }
        idle.notify_all();
    }
}

void VocabularySaver::State::holdBackForAnimations(std::unique_lock<std::mutex> &lock)
{
    const auto latest = std::chrono::steady_clock::now() + longestHoldBack;
    const auto mayRun = [this] {
        return stopping || flushesWaiting > 0 || !dispatch::ForegroundAnimation::isAnyPlaying();
    };
    while (!mayRun() && std::chrono::steady_clock::now() < latest)
        wakeUp.wait_for(lock, animationCheckInterval, mayRun);
}

void VocabularySaver::State::runFollowUps()
{
    std::vector<dispatch::Block> due;
    {
        const std::lock_guard lock(mutex);
        due.swap(followUps);
    }
    for (const dispatch::Block &followUp : due)
        followUp();
}

VocabularySaver::VocabularySaver() : m_state(std::make_shared<State>())
{
    m_state->thread = std::thread([state = m_state.get()] { state->run(); });
}

VocabularySaver::~VocabularySaver()
{
    flush();
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
    }
    m_state->wakeUp.notify_one();
    m_state->thread.join();
}

void VocabularySaver::save(const QString &path, Job job)
{
    {
        const std::lock_guard lock(m_state->mutex);
        const auto waiting = m_state->waiting.find(path);
        if (waiting != m_state->waiting.end()) {
            m_state->superseded.push_back(std::exchange(*waiting, std::move(job)));
            return;
        }
        m_state->waiting.emplace(path, std::move(job));
        m_state->order.push_back(path);
    }
    m_state->wakeUp.notify_one();
}

void VocabularySaver::flush()
{
    {
        std::unique_lock lock(m_state->mutex);
        ++m_state->flushesWaiting;
        m_state->wakeUp.notify_one();
        m_state->idle.wait(lock, [this] { return m_state->isIdle(); });
        --m_state->flushesWaiting;
    }
    if (dispatch::isMainThread())
        m_state->runFollowUps();
}

} // namespace lexi
