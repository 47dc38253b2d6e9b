#pragma once

#include <plist/plist.h>

#include <cstdlib>

namespace lexi {

// Calls `visit(item)` for each item of a libplist array, in order. The iterator, not indexed
// access: indexing a parsed array walks it from the start.
template<typename Visit>
void forEachArrayItem(plist_t array, Visit visit)
{
    plist_array_iter iterator = nullptr;
    plist_array_new_iter(array, &iterator);
    for (plist_t item = nullptr;;) {
        plist_array_next_item(array, iterator, &item);
        if (!item)
            break;
        visit(item);
    }
    std::free(iterator);
}

// Calls `visit(key, value)` for each entry of a libplist dictionary, in stored order.
template<typename Visit>
void forEachDictionaryItem(plist_t dictionary, Visit visit)
{
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(dictionary, &iterator);
    for (;;) {
        char *key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dictionary, iterator, &key, &value);
        if (!value)
            break;
        visit(static_cast<const char *>(key), value);
        std::free(key);
    }
    std::free(iterator);
}

} // namespace lexi
