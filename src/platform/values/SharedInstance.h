#pragma once

#include <memory>
#include <mutex>
#include <optional>

namespace lexi {

// The one process-wide instance of a service that is made from an environment: the program sets
// the environment once at start-up, and the instance is made on first need. Safe from any thread.
// Keep it in a NoDestructor, so that it stays usable until the process ends.
template<typename T>
class SharedInstance
{
public:
    using Environment = typename T::Environment;

    void setEnvironment(Environment environment)
    {
        std::lock_guard lock(m_mutex);
        m_environment = std::move(environment);
    }

    // Nothing before the environment is set.
    T *get()
    {
        std::lock_guard lock(m_mutex);
        if (!m_instance && m_environment)
            m_instance = std::make_unique<T>(*m_environment);
        return m_instance.get();
    }

private:
    std::mutex m_mutex;
    std::optional<Environment> m_environment;
    std::unique_ptr<T> m_instance;
};

} // namespace lexi
