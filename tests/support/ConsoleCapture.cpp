#include "ConsoleCapture.h"

namespace lexi::test {

ConsoleCapture::ConsoleCapture()
{
    m_previous = Console::setSink([this](const QString &line) {
        std::lock_guard lock(m_mutex);
        m_lines.append(line);
    });
}

ConsoleCapture::~ConsoleCapture()
{
    Console::setSink(std::move(m_previous));
}

QStringList ConsoleCapture::lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

} // namespace lexi::test
