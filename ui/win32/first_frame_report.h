#pragma once
// A measuring aid for the start-up benchmark: with KARVELO_BENCH_FIRST_FRAME set, the
// program writes the line "first-frame" to its standard output once its first frame
// has been painted, and then closes its window (value 1) or goes on running (value 2).
// Without it, nothing happens.
#include <windows.h>

namespace karvelo::win32 {

void ReportFirstFrame(HWND window);

}  // namespace karvelo::win32
