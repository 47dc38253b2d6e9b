#pragma once

#include <cstddef>
#include <fstream>

#include <sys/resource.h>
#include <unistd.h>

namespace lexi::test {

// While it lives, this process may map at most `headroom` bytes more than it has mapped now: an
// allocation beyond that fails (std::bad_alloc), as when memory runs out.
class AddressSpaceLimit
{
public:
    explicit AddressSpaceLimit(std::size_t headroom)
    {
        getrlimit(RLIMIT_AS, &m_previous);
        std::size_t mappedPages = 0;
        std::ifstream("/proc/self/statm") >> mappedPages;
        rlimit limited = m_previous;
        limited.rlim_cur = mappedPages * std::size_t(sysconf(_SC_PAGESIZE)) + headroom;
        setrlimit(RLIMIT_AS, &limited);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &m_previous); }

    AddressSpaceLimit(const AddressSpaceLimit &) = delete;
    AddressSpaceLimit &operator=(const AddressSpaceLimit &) = delete;

private:
    rlimit m_previous{};
};

} // namespace lexi::test
