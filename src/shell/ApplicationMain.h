#pragma once

class QApplication;

namespace lexi {

// The whole life of the program in `application`: sets up logging and the installation's folders,
// keeps to one running program per installation, builds the main interface, runs start-up and
// the event loop, and quits cleanly (also on SIGTERM and SIGINT). Returns the exit code: not 0
// when the program could not run.
int runLexicarta(QApplication &application);

} // namespace lexi
