// The yardstick for the Windows start-up figure: an empty main window of the size and
// frame the game opens with, built by the same toolchain with the same flags, static
// runtime and resources (icon, manifest), and reporting its first frame the same way.
#include <windows.h>

#include "event_pump.h"
#include "first_frame_report.h"
#include "main_window.h"

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    static bool painted = false;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)));
        EndPaint(window, &ps);
        if (!painted) {
            painted = true;
            karvelo::win32::ReportFirstFrame(window);
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int showCommand) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.hbrBackground = CreateSolidBrush(RGB(0, 128, 0));
    wc.lpszClassName = L"KarveloEmpty";
    if (!RegisterClassExW(&wc)) return 1;
    const RECT r = karvelo::win32::StartWindowRect(static_cast<int>(GetDpiForSystem()), false);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Karvelo", karvelo::win32::kMainWindowStyle,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                                  nullptr, module, nullptr);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return karvelo::win32::RunMessageLoop();
}
