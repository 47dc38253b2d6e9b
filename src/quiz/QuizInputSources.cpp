#include "QuizInputSources.h"

#include "model/Lexicarta.h"

#include <algorithm>

namespace lexi {

bool selectQuizInputSource(const Lexicarta &vocabulary, const std::optional<InputSource> &source)
{
    if (!source)
        return false;
    InputSources &sources = vocabulary.services().inputSources;
    const std::optional<QList<InputSource>> available = sources.inputSourceList(false);
    if (!available)
        return false;
    const bool exists = std::any_of(available->cbegin(), available->cend(), [&](const InputSource &candidate) {
        return candidate.identifier == source->identifier && candidate.isSelectCapable;
    });
    return exists && sources.selectInputSource(source->identifier);
}

} // namespace lexi
