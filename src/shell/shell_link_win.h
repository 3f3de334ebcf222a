#pragma once
// The apartment of the calling thread, which the shell's link object needs.
#include <windows.h>
#include <objbase.h>

#include "ui/owners_win.h"

namespace kelvaro {

// Joins the calling thread to a single-threaded apartment the first time it asks, and leaves it when
// the thread ends. Entering and leaving around every shortcut would unload and reload the shell's
// link class for each file of a run.
void EnsureComOnThisThread();

}  // namespace kelvaro
