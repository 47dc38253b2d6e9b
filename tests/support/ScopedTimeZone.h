#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace lexi::test {

// Puts the process into a time zone for as long as it lives, and back into the one it had, so that
// a test of local calendar days passes however the test program was started.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char *zone)
    {
        if (const char *saved = std::getenv("TZ"))
            m_saved = saved;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_saved)
            setenv("TZ", m_saved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    std::optional<std::string> m_saved;
};

} // namespace lexi::test
