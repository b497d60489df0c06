#pragma once
// The main window "Karvelo" as Windows shows it: a fixed single border with a
// minimize box and no maximize box, the spade icon, a client area sized and placed in
// twips (window_layout.h) at the density of the display it is on, and a table painted
// through an off-screen bitmap, so a repaint never shows a half-drawn picture. It
// draws and reports; what the table holds is decided elsewhere.
#include <windows.h>

#include <memory>

#include "bitmap_cache.h"

namespace karvelo::win32 {

inline constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The outer rectangle that gives the window its client area at start, placed from the
// screen's corner, on a display of `dpi` dots per inch.
RECT StartWindowRect(int dpi);

class MainWindow {
public:
    // The window, shown as `showCommand` asks (SW_SHOWDEFAULT for the one Windows gave
    // the program); nullptr when Windows cannot make it.
    static std::unique_ptr<MainWindow> Create(HINSTANCE module, int showCommand);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }
    int Dpi() const { return dpi_; }

private:
    explicit MainWindow(HINSTANCE module);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void Paint();
    void UseDpi(int dpi);
    void SetIcons();
    HDC BackBuffer(SIZE size);
    void ReleaseBackBuffer();

    HINSTANCE module_;
    HWND window_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    BitmapCache pictures_;
    HBRUSH background_ = nullptr;
    HICON icons_[2] = {nullptr, nullptr};  // large, small
    HDC backDc_ = nullptr;
    HBITMAP backBitmap_ = nullptr;
    HGDIOBJ backOld_ = nullptr;
    SIZE backSize_{};
    bool painted_ = false;
};

}  // namespace karvelo::win32
