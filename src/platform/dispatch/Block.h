#pragma once

#include <functional>

namespace lexi::dispatch {

using Block = std::function<void()>;

} // namespace lexi::dispatch
