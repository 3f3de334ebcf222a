#pragma once
// One hook that sees every message before it is dispatched, in the program's loop and in the pump
// that long work runs: the main window previews keys there before the focused control gets them.
#include <windows.h>

#include <functional>

namespace kelvaro {

// Returns true when the message was handled and must not be dispatched.
using MessageFilter = std::function<bool(MSG& message)>;

// Gives the previous filter; an empty function removes it.
MessageFilter SetMessageFilter(MessageFilter filter);
bool FilterMessage(MSG& message);
// Translates and dispatches a message unless the filter took it.
void DispatchFiltered(MSG& message);

}  // namespace kelvaro
