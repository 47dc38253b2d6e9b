#pragma once

#include <QStringList>

namespace lexi {

// The menu bar's titles with a mnemonic each, so that Alt and a letter opens a menu: the first
// letter or digit of a title that no earlier title took. Ampersands in a title stay plain text.
QStringList withMnemonics(const QStringList &titles);

} // namespace lexi
