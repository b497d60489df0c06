#include "first_frame_report.h"

namespace karvelo::win32 {

void ReportFirstFrame(HWND window) {
    char mode[4] = {};
    if (GetEnvironmentVariableA("KARVELO_BENCH_FIRST_FRAME", mode, sizeof mode) != 1) return;
    if (mode[0] != '1' && mode[0] != '2') return;
    GdiFlush();  // the frame is on the screen, not in the batch of drawing calls
    static constexpr char kLine[] = "first-frame\n";
    DWORD written = 0;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out && out != INVALID_HANDLE_VALUE) WriteFile(out, kLine, sizeof kLine - 1, &written, nullptr);
    if (mode[0] == '1') PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace karvelo::win32
