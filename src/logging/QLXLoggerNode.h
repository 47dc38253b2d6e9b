#pragma once

#include "QLXLogger.h"

#include "platform/dispatch/SerialQueue.h"

#include <memory>

// One registered logger: the logger, the queue it is called on and its level mask.
struct QLXLoggerNode
{
    std::shared_ptr<QLXLogger> logger;
    std::shared_ptr<lexi::dispatch::SerialQueue> loggerQueue;
    int logLevel = 0;
};
