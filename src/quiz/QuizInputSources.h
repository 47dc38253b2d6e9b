#pragma once

#include "platform/ports/InputSources.h"

#include <optional>

class Lexicarta;

namespace lexi {

// Makes `source`, one of `vocabulary`'s keyboard sources, the current one, when this session has
// it: a source stored by another machine may not exist here. Whether it was selected.
bool selectQuizInputSource(const Lexicarta &vocabulary, const std::optional<InputSource> &source);

} // namespace lexi
