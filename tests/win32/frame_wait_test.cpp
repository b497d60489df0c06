// Pacing to the display: a wait lasts about one refresh period, costs no processor
// time while it lasts, handles the messages that arrive meanwhile and gives up when
// the program is asked to end.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "event_pump.h"
#include "frame_wait.h"

using namespace karvelo::win32;

namespace {

double Seconds() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double ThreadCpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto s = [](FILETIME t) {
        return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
    };
    return s(kernel) + s(user);
}

int handled = 0;
LRESULT CALLBACK Counting(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_APP) {
        ++handled;
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

HWND CountingWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Counting;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KarveloFrameWaitTest";
    RegisterClassW(&wc);
    return CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST(FrameWait, EachWaitLastsAboutOneFrameAndSleeps) {
    FrameWait wait;
    const double period = wait.RefreshPeriod();
    ASSERT_GE(period, 0.001);
    ASSERT_LE(period, 0.05);
    ASSERT_TRUE(wait.WaitForNextFrame());  // onto a frame boundary first
    constexpr int kFrames = 20;
    const double cpu0 = ThreadCpuSeconds(), t0 = Seconds();
    for (int i = 0; i < kFrames; ++i) ASSERT_TRUE(wait.WaitForNextFrame());
    const double elapsed = Seconds() - t0, cpu = ThreadCpuSeconds() - cpu0;
    // Paced: neither through at once nor missing frames (a loaded machine may add a
    // little); and asleep, not spinning, while it waits.
    EXPECT_GE(elapsed, kFrames * period * 0.8);
    EXPECT_LE(elapsed, kFrames * period * 2.0);
    EXPECT_LE(cpu, elapsed * 0.25) << cpu << " s of processor time in " << elapsed << " s";
}

TEST(FrameWait, MessagesArrivingWhileWaitingAreHandled) {
    HWND w = CountingWindow();
    ASSERT_NE(w, nullptr);
    FrameWait wait;
    handled = 0;
    std::atomic<bool> posted{false};
    std::thread other([&] {
        Sleep(2);
        PostMessageW(w, WM_APP, 0, 0);
        posted = true;
    });
    // Within a few frames the other thread's message is handled by the waits.
    for (int i = 0; i < 10 && handled == 0; ++i) ASSERT_TRUE(wait.WaitForNextFrame());
    other.join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(handled, 1);
    DestroyWindow(w);
}

TEST(FrameWait, GivesUpWhenTheProgramIsAskedToEnd) {
    FrameWait wait;
    // Asked before the wait, and asked by another thread during one.
    PostQuitMessage(3);
    EXPECT_FALSE(wait.WaitForNextFrame());
    EXPECT_FALSE(ProcessPendingEvents());  // still asked, for the loop to end on
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 3u);

    const DWORD me = GetCurrentThreadId();
    std::thread other([me] {
        Sleep(5);
        PostThreadMessageW(me, WM_QUIT, 4, 0);
    });
    int waits = 0;
    while (wait.WaitForNextFrame() && waits < 100) ++waits;
    other.join();
    EXPECT_LT(waits, 100);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 4u);
    EXPECT_TRUE(wait.WaitForNextFrame());
}
