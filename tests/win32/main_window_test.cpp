// The main window as Windows sees it: caption, frame, icon and client size; closing it
// ends the message loop.
#include <gtest/gtest.h>

#include <windows.h>

#include "event_pump.h"
#include "main_window.h"
#include "twips.h"

using namespace karvelo::win32;

TEST(MainWindow, FixedFrameWithCaptionIconAndTheStartClientArea) {
    auto window = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
    ASSERT_NE(window, nullptr);
    HWND hwnd = window->Handle();
    ProcessPendingEvents();

    wchar_t caption[32] = {};
    GetWindowTextW(hwnd, caption, 32);
    EXPECT_STREQ(caption, L"Karvelo");

    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);  // the player cannot resize it

    const int dpi = window->Dpi();
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, karvelo::PixelsFromTwips(9660, dpi));
    EXPECT_EQ(client.bottom, karvelo::PixelsFromTwips(5775, dpi));

    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);

    // The window shows the title picture over the whole client area: its black.
    HDC dc = GetDC(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0));
    ReleaseDC(hwnd, dc);

    // Closing it asks the program to end, once the loop gets there.
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(ProcessPendingEvents());
    EXPECT_FALSE(ProcessPendingEvents());  // the request stays for the loop
    EXPECT_EQ(RunMessageLoop(), 0);
}

// Moving to a display of another density: the window takes the place Windows suggests,
// the size of the start client area at that density (not the old size scaled and
// rounded), and draws its pictures for it; back on the first display it is exactly
// as it was.
TEST(MainWindow, FollowsTheDensityOfItsDisplay) {
    auto window = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
    ASSERT_NE(window, nullptr);
    HWND hwnd = window->Handle();
    const int start = window->Dpi();
    RECT before;
    GetWindowRect(hwnd, &before);

    SIZE asked{};
    ASSERT_TRUE(SendMessageW(hwnd, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&asked)));
    RECT expected{0, 0, 966, 578};
    AdjustWindowRectExForDpi(&expected, kMainWindowStyle, TRUE, 0, 144);
    EXPECT_EQ(asked.cx, expected.right - expected.left);
    EXPECT_EQ(asked.cy, expected.bottom - expected.top);

    RECT suggested{300, 200, 300 + asked.cx, 200 + asked.cy};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window->Dpi(), 144);
    RECT now;
    GetWindowRect(hwnd, &now);
    EXPECT_EQ(now.left, 300);
    EXPECT_EQ(now.top, 200);
    EXPECT_EQ(now.right - now.left, asked.cx);

    RECT back{before.left, before.top, before.left + 1, before.top + 1};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(start, start), reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(window->Dpi(), start);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, karvelo::PixelsFromTwips(9660, start));
    EXPECT_EQ(client.bottom, karvelo::PixelsFromTwips(5775, start));
    DestroyWindow(hwnd);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(MainWindow, StartRectangleHoldsTheClientAreaAtItsPlace) {
    for (int dpi : {96, 144, 192}) {
        const RECT outer = StartWindowRect(dpi);
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectExForDpi(&frame, kMainWindowStyle, TRUE, 0, static_cast<UINT>(dpi));
        EXPECT_EQ(outer.left - frame.left, karvelo::PixelsFromTwips(1815, dpi)) << dpi;
        EXPECT_EQ(outer.top - frame.top, karvelo::PixelsFromTwips(1005, dpi)) << dpi;
        EXPECT_EQ(outer.right - frame.right - (outer.left - frame.left),
                  karvelo::PixelsFromTwips(9660, dpi));
        EXPECT_EQ(outer.bottom - frame.bottom - (outer.top - frame.top),
                  karvelo::PixelsFromTwips(5775, dpi));
    }
}
