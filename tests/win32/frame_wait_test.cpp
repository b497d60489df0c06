// Waiting for a frame: a wait ends at the time it was given, never before, costs no
// processor time while it lasts, handles the messages that arrive meanwhile and gives
// up when the program is asked to end.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "event_pump.h"
#include "frame_wait.h"

using namespace karvelo;
using namespace karvelo::win32;

namespace {

constexpr FrameClock::Time kFrame = std::chrono::milliseconds(16);

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

TEST(FrameWait, WaitsUntilTheFrameTheClockNamesAsleep) {
    FrameWait wait;
    FrameClock clock;
    clock.SetRefreshRate(FrameWait::RefreshRate(nullptr));
    constexpr int kFrames = 20;
    const double cpu0 = ThreadCpuSeconds();
    const FrameClock::Time t0 = wait.Now();
    for (int i = 0; i < kFrames; ++i) {
        const auto due = clock.StepDone(true, wait.Now());
        ASSERT_TRUE(due);
        ASSERT_TRUE(wait.WaitUntil(*due));
        EXPECT_GE(wait.Now(), *due) << "never back before the frame";
    }
    const double elapsed = std::chrono::duration<double>(wait.Now() - t0).count(),
                 cpu = ThreadCpuSeconds() - cpu0;
    // Asleep, not spinning, while it waits.
    EXPECT_LE(cpu, elapsed * 0.25) << cpu << " s of processor time in " << elapsed << " s";
}

TEST(FrameWait, TheDisplaysRateIsOneTheClockTakes) {
    // Wine's virtual display, like a real one, says a rate the clock believes, or 0.
    const double hz = FrameWait::RefreshRate(nullptr);
    EXPECT_TRUE(hz == 0 || (hz >= 20 && hz <= 1000)) << hz;
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
    for (int i = 0; i < 10 && handled == 0; ++i) ASSERT_TRUE(wait.WaitUntil(wait.Now() + kFrame));
    other.join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(handled, 1);
    DestroyWindow(w);
}

TEST(FrameWait, GivesUpWhenTheProgramIsAskedToEnd) {
    FrameWait wait;
    // Asked before the wait, and asked by another thread during one.
    PostQuitMessage(3);
    EXPECT_FALSE(wait.WaitUntil(wait.Now() + kFrame));
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
    while (wait.WaitUntil(wait.Now() + kFrame) && waits < 100) ++waits;
    other.join();
    EXPECT_LT(waits, 100);
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m.wParam, 4u);
    EXPECT_TRUE(wait.WaitUntil(wait.Now() + kFrame));
}
