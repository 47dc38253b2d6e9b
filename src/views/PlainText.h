#pragma once

#include <QString>

namespace lexi {

// A text from a vocabulary, a file or a server made fit for a tool tip. Qt reads a tool tip that
// looks like markup as rich text, and an image in it is read from the file system (/dev/zero ends
// the program), so the text is escaped and shown as it is.
QString plainToolTip(const QString &text);

} // namespace lexi
