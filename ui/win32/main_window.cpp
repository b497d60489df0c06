#include "main_window.h"

#include <algorithm>

#include "first_frame_report.h"
#include "resource_ids.h"
#include "settings.h"
#include "twips.h"
#include "window_layout.h"

namespace karvelo::win32 {
namespace {

constexpr wchar_t kClassName[] = L"Karvelo";
constexpr wchar_t kCaption[] = L"Karvelo";

int Px(double twips, int dpi) { return PixelsFromTwips(twips, dpi); }

// The outer size whose client area is the start size, at `dpi`.
SIZE OuterSize(int dpi) {
    RECT r{0, 0, Px(layout::kClientWidth, dpi), Px(layout::kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&r, kMainWindowStyle, FALSE, 0, static_cast<UINT>(dpi));
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

RECT StartWindowRect(int dpi) {
    const int left = Px(layout::kScreenLeft, dpi), top = Px(layout::kScreenTop, dpi);
    RECT r{left, top, left + Px(layout::kClientWidth, dpi), top + Px(layout::kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&r, kMainWindowStyle, FALSE, 0, static_cast<UINT>(dpi));
    return r;
}

MainWindow::MainWindow(HINSTANCE module)
    : module_(module),
      pictures_(module),
      background_(CreateSolidBrush(static_cast<COLORREF>(kStandardColour))) {}

MainWindow::~MainWindow() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    ReleaseBackBuffer();
    for (HICON icon : icons_)
        if (icon) DestroyIcon(icon);
    if (background_) DeleteObject(background_);
}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE module, int showCommand) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &MainWindow::Procedure;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.lpszClassName = kClassName;
    // No class background: every pixel is painted from the off-screen bitmap.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

    std::unique_ptr<MainWindow> self(new MainWindow(module));
    const int systemDpi = static_cast<int>(GetDpiForSystem());
    const RECT r = StartWindowRect(systemDpi);
    HWND window = CreateWindowExW(0, kClassName, kCaption, kMainWindowStyle, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, module,
                                  self.get());
    if (!window) return nullptr;
    // The display the window opened on may be denser than the system's default.
    const int dpi = static_cast<int>(GetDpiForWindow(window));
    if (dpi > 0 && dpi != systemDpi) {
        const RECT there = StartWindowRect(dpi);
        SetWindowPos(window, nullptr, there.left, there.top, there.right - there.left,
                     there.bottom - there.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    self->UseDpi(dpi > 0 ? dpi : systemDpi);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return self;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->Handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT MainWindow::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // painted with everything else in WM_PAINT
    case WM_PAINT:
        Paint();
        return 0;
    case WM_GETDPISCALEDSIZE: {
        // Windows asks what size the window takes at another density: exactly the
        // start client area at that density, not the old size scaled.
        *reinterpret_cast<SIZE*>(l) = OuterSize(LOWORD(w));
        return TRUE;
    }
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(l);
        const SIZE outer = OuterSize(LOWORD(w));
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        UseDpi(LOWORD(w));
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    }
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

void MainWindow::UseDpi(int dpi) {
    dpi_ = dpi;
    pictures_.SetDpi(dpi);
    SetIcons();
}

void MainWindow::SetIcons() {
    const int sizes[2] = {GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi_)),
                          GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi_))};
    for (int i = 0; i < 2; ++i) {
        HICON icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(KARVELO_ICON),
                                                   IMAGE_ICON, sizes[i], sizes[i], 0));
        if (!icon) continue;
        SendMessageW(window_, WM_SETICON, i == 0 ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        if (icons_[i]) DestroyIcon(icons_[i]);
        icons_[i] = icon;
    }
}

HDC MainWindow::BackBuffer(SIZE size) {
    if (backDc_ && size.cx == backSize_.cx && size.cy == backSize_.cy) return backDc_;
    ReleaseBackBuffer();
    HDC screen = GetDC(window_);
    backDc_ = CreateCompatibleDC(screen);
    backBitmap_ = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(window_, screen);
    if (!backDc_ || !backBitmap_) {
        ReleaseBackBuffer();
        return nullptr;
    }
    backOld_ = SelectObject(backDc_, backBitmap_);
    backSize_ = size;
    return backDc_;
}

void MainWindow::ReleaseBackBuffer() {
    if (backDc_ && backOld_) SelectObject(backDc_, backOld_);
    if (backBitmap_) DeleteObject(backBitmap_);
    if (backDc_) DeleteDC(backDc_);
    backDc_ = nullptr;
    backBitmap_ = nullptr;
    backOld_ = nullptr;
    backSize_ = {};
}

void MainWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    const RECT& dirty = ps.rcPaint;
    // Drawn off screen first, then copied in one piece; straight onto the screen
    // should the off-screen bitmap be more than memory allows.
    HDC back = BackBuffer({std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)});
    HDC target = back ? back : dc;
    FillRect(target, &dirty, background_);
    pictures_.Draw(target, KARVELO_BITMAP_TITLE, Px(layout::kSplash.left, dpi_),
                   Px(layout::kSplash.top, dpi_));
    if (back)
        BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, back,
               dirty.left, dirty.top, SRCCOPY);
    EndPaint(window_, &ps);
    if (!painted_) {
        painted_ = true;
        ReportFirstFrame(window_);
    }
}

}  // namespace karvelo::win32
