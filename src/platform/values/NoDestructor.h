#pragma once

#include <new>
#include <utility>

namespace lexi {

// Holds a process-wide object that is never destroyed, so that it stays usable from exit
// handlers, static destructors and threads that outlive main().
template<typename T>
class NoDestructor
{
public:
    template<typename... Args>
    explicit NoDestructor(Args &&...args)
    {
        new (m_storage) T(std::forward<Args>(args)...);
    }

    NoDestructor(const NoDestructor &) = delete;
    NoDestructor &operator=(const NoDestructor &) = delete;

    T &get() { return *std::launder(reinterpret_cast<T *>(m_storage)); }
    T *operator->() { return &get(); }

private:
    alignas(T) unsigned char m_storage[sizeof(T)];
};

} // namespace lexi
