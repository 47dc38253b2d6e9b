#pragma once

#include "platform/ports/Console.h"

#include <QStringList>

#include <mutex>

namespace lexi::test {

// Collects the console lines written while it lives.
class ConsoleCapture
{
public:
    ConsoleCapture();
    ~ConsoleCapture();

    ConsoleCapture(const ConsoleCapture &) = delete;
    ConsoleCapture &operator=(const ConsoleCapture &) = delete;

    QStringList lines() const;

private:
    mutable std::mutex m_mutex;
    QStringList m_lines;
    Console::Sink m_previous;
};

} // namespace lexi::test
