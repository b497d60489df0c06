#pragma once
// The window's messages. Long visible operations (a card's flight, the window's
// growth) do not block: after each step they let the window handle what has arrived,
// pointer input and repaints included, and then go on.
#include <windows.h>

namespace karvelo::win32 {

// Handles one message as the program's own loop does.
void Dispatch(const MSG& message);

// Handles every message waiting for this thread, then returns. False once the
// program has been asked to end (WM_QUIT): that request is left in the queue, for
// the loop below to end on.
bool ProcessPendingEvents();

// The program's message loop: handles messages until WM_QUIT and returns its code.
int RunMessageLoop();

}  // namespace karvelo::win32
