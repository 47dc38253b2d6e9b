#pragma once

#include "platform/ports/InputSources.h"

#include <QList>
#include <QStringList>

namespace lexi {

// The keyboard input sources a learner can choose for a language: the select-capable ones, in
// the platform's order. No list from the platform is logged as an error and gives none.
QList<InputSource> allInputSources(InputSources &inputSources, bool includeAllInstalled);

// The names of the select-capable sources of `sources`, in order: for the list allInputSources()
// gave, they line up with it index by index.
QStringList namesForInputSources(const QList<InputSource> &sources);

} // namespace lexi
