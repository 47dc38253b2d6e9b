#pragma once

#include <QString>

#include <cstddef>

namespace lexi {

// Writes all `size` bytes of `data`, going on after short writes and interruptions. Returns 0, or
// the error number of the write that failed.
int writeAll(int fileDescriptor, const char *data, std::size_t size);

// The system's text for an error number, such as "No space left on device".
QString systemErrorText(int error);

} // namespace lexi
