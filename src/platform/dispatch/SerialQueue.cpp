#include "SerialQueue.h"

#include "platform/ports/Console.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <mutex>
#include <thread>

#include <pthread.h>

using namespace Qt::StringLiterals;

namespace lexi::dispatch {

struct SerialQueue::Worker
{
    explicit Worker(std::string label) : label(std::move(label)) {}

    void run();
    void push(Block block);

    const std::string label;
    std::mutex mutex;
    std::condition_variable wakeUp;
    std::deque<Block> blocks;
    bool stopping = false;
    std::thread thread;
};

namespace {

// The worker whose thread this is; only compared and read by the worker itself.
thread_local const void *currentWorker = nullptr;

void runGuarded(const Block &block, const std::string &label)
{
    try {
        block();
    } catch (const std::exception &error) {
        Console::writeLine(u"dispatch > %1 > a block threw: %2"_s
                               .arg(QString::fromStdString(label), QString::fromUtf8(error.what())));
    } catch (...) {
        Console::writeLine(u"dispatch > %1 > a block threw"_s.arg(QString::fromStdString(label)));
    }
}

} // namespace

void SerialQueue::Worker::run()
{
    currentWorker = this;
    if (!label.empty()) {
        // Thread names are limited to 15 bytes.
        pthread_setname_np(pthread_self(), label.substr(0, 15).c_str());
    }
    for (;;) {
        Block block;
        {
            std::unique_lock lock(mutex);
            wakeUp.wait(lock, [this] { return stopping || !blocks.empty(); });
            if (blocks.empty())
                return;
            block = std::move(blocks.front());
            blocks.pop_front();
        }
        runGuarded(block, label);
    }
}

void SerialQueue::Worker::push(Block block)
{
    {
        std::lock_guard lock(mutex);
        blocks.push_back(std::move(block));
    }
    wakeUp.notify_one();
}

SerialQueue::SerialQueue(std::string label) : m_worker(std::make_shared<Worker>(std::move(label)))
{
    // The thread shares the worker so that a detached thread never outlives it.
    m_worker->thread = std::thread([worker = m_worker] { worker->run(); });
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->stopping = true;
    }
    m_worker->wakeUp.notify_one();
    // A queue released by one of its own blocks cannot wait for itself; its thread ends on its own
    // and keeps the worker alive until then.
    if (isCurrent()) {
        m_worker->thread.detach();
        return;
    }
    m_worker->thread.join();
}

void SerialQueue::async(Block block)
{
    m_worker->push(std::move(block));
}

void SerialQueue::sync(Block block)
{
    if (isCurrent()) {
        block();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    m_worker->push([&block, &done] {
        try {
            block();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    finished.get();
}

DelayedBlock SerialQueue::after(Scheduler &scheduler, Scheduler::Duration delay, Block block)
{
    // The block is checked once more when its turn on the queue comes: a cancel that arrives
    // after the scheduler handed it over still stops it.
    auto state = std::make_shared<DelayedBlock::State>();
    scheduler.start(delay, [weakWorker = std::weak_ptr<Worker>(m_worker), state, block = std::move(block)] {
        if (state->cancelled || state->finished.exchange(true))
            return;
        if (auto worker = weakWorker.lock()) {
            worker->push([state, block] {
                if (!state->cancelled)
                    block();
            });
        }
    });
    return DelayedBlock(state);
}

bool SerialQueue::isCurrent() const
{
    return currentWorker == m_worker.get();
}

const std::string &SerialQueue::label() const
{
    return m_worker->label;
}

std::string SerialQueue::currentLabel()
{
    if (currentWorker)
        return static_cast<const Worker *>(currentWorker)->label;
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    return name;
}

} // namespace lexi::dispatch
