#pragma once

#include <plist/plist.h>

#include <memory>
#include <type_traits>

namespace lexi {

struct PlistFree
{
    void operator()(plist_t node) const { plist_free(node); }
};

// Owns a libplist node (and everything below it).
using PlistPointer = std::unique_ptr<std::remove_pointer_t<plist_t>, PlistFree>;

} // namespace lexi
