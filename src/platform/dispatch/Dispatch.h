#pragma once

#include "Block.h"

namespace lexi::dispatch {

// Runs `block` on a thread of the shared pool (the program's background work).
void globalAsync(Block block);

// Runs `block` on the main thread's event loop. Needs the application object; without one the
// block is dropped with a console line.
void mainAsync(Block block);

bool isMainThread();

} // namespace lexi::dispatch
