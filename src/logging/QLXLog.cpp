#include "QLXLog.h"

#include "LoggingRequirement.h"
#include "QLXLoggerNode.h"

#include "platform/dispatch/SerialQueue.h"
#include "platform/ports/Console.h"
#include "platform/values/NoDestructor.h"

#include <QCoreApplication>

#include <cstdlib>
#include <exception>
#include <latch>
#include <semaphore>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

constexpr std::ptrdiff_t queueBound = 1000;

// Set while a thread runs work of the dispatcher (on the logging queue or inside a logger), and
// for good on the threads of logger queues.
thread_local int insideLoggingDepth = 0;

class InsideLogging
{
public:
    InsideLogging() { ++insideLoggingDepth; }
    ~InsideLogging() { --insideLoggingDepth; }
    InsideLogging(const InsideLogging &) = delete;
    InsideLogging &operator=(const InsideLogging &) = delete;
};

struct Dispatcher
{
    Dispatcher();

    std::vector<QLXLoggerNode> nodes;
    lexi::dispatch::SerialQueue loggingQueue{"cocoa.lumberjack"};
    std::counting_semaphore<queueBound> bound{queueBound};
    unsigned processorCount = std::max(1u, std::thread::hardware_concurrency());
};

Dispatcher &dispatcher()
{
    static lexi::NoDestructor<Dispatcher> instance;
    return instance.get();
}

Dispatcher::Dispatcher()
{
    if (auto *application = QCoreApplication::instance())
        QObject::connect(application, &QCoreApplication::aboutToQuit, application, [] { QLXLog::flushLog(); });
    // Also at exit, for programs that end without quitting the application object.
    std::atexit([] { QLXLog::flushLog(); });
}

bool requireLoggingQueue()
{
    return lexi::logging::require(dispatcher().loggingQueue.isCurrent(), lexi::logging::loggingQueueOnlyFailure);
}

// Runs one logger call; a throwing logger must not stop the others or the dispatcher.
template<typename Call>
void callLogger(QLXLogger &logger, Call call)
{
    InsideLogging inside;
    try {
        call(logger);
    } catch (const std::exception &error) {
        lexi::Console::writeLine(u"QLXLog > logger %1 > threw: %2"_s
                                     .arg(logger.loggerName(), QString::fromUtf8(error.what())));
    } catch (...) {
        lexi::Console::writeLine(u"QLXLog > logger %1 > threw"_s.arg(logger.loggerName()));
    }
}

void lt_addLogger(std::shared_ptr<QLXLogger> logger, int logLevel)
{
    if (!requireLoggingQueue())
        return;
    auto queue = logger->loggerQueue();
    if (!queue)
        queue = QLXLog::makeLoggerQueue(logger->loggerName());
    dispatcher().nodes.push_back({logger, queue, logLevel});
    queue->async([logger] { callLogger(*logger, [](QLXLogger &l) { l.didAddLogger(); }); });
}

void lt_removeNode(std::vector<QLXLoggerNode>::iterator node)
{
    node->loggerQueue->async(
        [logger = node->logger] { callLogger(*logger, [](QLXLogger &l) { l.willRemoveLogger(); }); });
    dispatcher().nodes.erase(node);
}

void lt_removeLogger(const std::shared_ptr<QLXLogger> &logger)
{
    if (!requireLoggingQueue())
        return;
    auto &nodes = dispatcher().nodes;
    const auto node = std::find_if(nodes.begin(), nodes.end(), [&](const QLXLoggerNode &n) { return n.logger == logger; });
    if (node != nodes.end())
        lt_removeNode(node);
}

void lt_removeAllLoggers()
{
    if (!requireLoggingQueue())
        return;
    auto &nodes = dispatcher().nodes;
    while (!nodes.empty())
        lt_removeNode(nodes.begin());
}

void lt_log(const std::shared_ptr<const QLXLogMessage> &message)
{
    if (requireLoggingQueue()) {
        InsideLogging inside;
        std::vector<const QLXLoggerNode *> admitting;
        for (const auto &node : dispatcher().nodes) {
            if (node.logLevel & message->logFlag())
                admitting.push_back(&node);
        }
        if (dispatcher().processorCount < 2) {
            for (const auto *node : admitting)
                node->loggerQueue->sync([&] { callLogger(*node->logger, [&](QLXLogger &l) { l.logMessage(*message); }); });
        } else {
            std::latch delivered(std::ptrdiff_t(admitting.size()));
            for (const auto *node : admitting) {
                node->loggerQueue->async([&delivered, message, logger = node->logger] {
                    callLogger(*logger, [&](QLXLogger &l) { l.logMessage(*message); });
                    delivered.count_down();
                });
            }
            delivered.wait();
        }
    }
    dispatcher().bound.release();
}

void lt_flush()
{
    if (!requireLoggingQueue())
        return;
    InsideLogging inside;
    const auto &nodes = dispatcher().nodes;
    std::latch flushed(std::ptrdiff_t(nodes.size()));
    for (const auto &node : nodes) {
        node.loggerQueue->async([&flushed, logger = node.logger] {
            callLogger(*logger, [](QLXLogger &l) { l.flush(); });
            flushed.count_down();
        });
    }
    flushed.wait();
}

} // namespace

void QLXLog::logText(bool asynchronous, int level, int flag, int context, const char *file, const char *function,
                     int line, const QString &tag, const QString &text)
{
    log(asynchronous, std::make_shared<const QLXLogMessage>(text, level, flag, context, file, function, line, tag, 0));
}

void QLXLog::log(bool asynchronous, std::shared_ptr<const QLXLogMessage> message)
{
    if (!message)
        return;
    if (isInsideLogging()) {
        lexi::Console::writeLine(message->logMsg());
        return;
    }
    auto &state = dispatcher();
    state.bound.acquire();
    auto deliver = [message = std::move(message)] { lt_log(message); };
    if (asynchronous)
        state.loggingQueue.async(std::move(deliver));
    else
        state.loggingQueue.sync(std::move(deliver));
}

void QLXLog::addLogger(std::shared_ptr<QLXLogger> logger, int logLevel)
{
    if (!logger)
        return;
    loggingQueue().async([logger = std::move(logger), logLevel] { lt_addLogger(logger, logLevel); });
}

void QLXLog::removeLogger(const std::shared_ptr<QLXLogger> &logger)
{
    if (!logger)
        return;
    loggingQueue().async([logger] { lt_removeLogger(logger); });
}

void QLXLog::removeAllLoggers()
{
    loggingQueue().async([] { lt_removeAllLoggers(); });
}

std::vector<std::shared_ptr<QLXLogger>> QLXLog::allLoggers()
{
    std::vector<std::shared_ptr<QLXLogger>> loggers;
    // A logger's queue cannot wait for the logging queue, which may be waiting for it.
    if (!lexi::logging::require(!isInsideLogging() || loggingQueue().isCurrent(),
                                lexi::logging::loggingQueueOnlyFailure))
        return loggers;
    loggingQueue().sync([&] {
        if (!requireLoggingQueue())
            return;
        for (const auto &node : dispatcher().nodes)
            loggers.push_back(node.logger);
    });
    return loggers;
}

void QLXLog::flushLog()
{
    if (isInsideLogging())
        return;
    loggingQueue().sync([] { lt_flush(); });
}

lexi::dispatch::SerialQueue &QLXLog::loggingQueue()
{
    return dispatcher().loggingQueue;
}

std::shared_ptr<lexi::dispatch::SerialQueue> QLXLog::makeLoggerQueue(const QString &label)
{
    auto queue = std::make_shared<lexi::dispatch::SerialQueue>(label.toStdString());
    // The first block marks the queue's thread for every block after it.
    queue->async([] { ++insideLoggingDepth; });
    return queue;
}

bool QLXLog::isInsideLogging()
{
    return insideLoggingDepth > 0 || dispatcher().loggingQueue.isCurrent();
}
