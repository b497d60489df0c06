#include "frame_wait.h"

#include <dwmapi.h>

#include <algorithm>

#include "event_pump.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace karvelo::win32 {
namespace {

bool CompositorRuns() {
    BOOL enabled = FALSE;
    return SUCCEEDED(DwmIsCompositionEnabled(&enabled)) && enabled;
}

}  // namespace

FrameWait::FrameWait() {
    QueryPerformanceFrequency(&ticksPerSecond_);
    // A high-resolution timer wakes within a fraction of a millisecond; where Windows
    // has none (before Windows 10 1803) the ordinary one serves.
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                    TIMER_ALL_ACCESS);
    if (!timer_) timer_ = CreateWaitableTimerW(nullptr, TRUE, nullptr);
}

FrameWait::~FrameWait() {
    if (timer_) CloseHandle(timer_);
}

double FrameWait::RefreshRate(HWND window) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    const wchar_t* device = nullptr;
    MONITORINFOEXW monitor{};
    monitor.cbSize = sizeof monitor;
    if (window &&
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor))
        device = monitor.szDevice;
    // 0 and 1 stand for the hardware's default rate.
    if (!EnumDisplaySettingsW(device, ENUM_CURRENT_SETTINGS, &mode) || mode.dmDisplayFrequency <= 1)
        return 0;
    return static_cast<double>(mode.dmDisplayFrequency);
}

FrameClock::Time FrameWait::Now() const {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    const long long f = ticksPerSecond_.QuadPart > 0 ? ticksPerSecond_.QuadPart : 1;
    // Whole seconds and the rest apart: ticks times 10^9 would overflow within hours.
    return FrameClock::Time(t.QuadPart / f * 1'000'000'000LL + t.QuadPart % f * 1'000'000'000LL / f);
}

bool FrameWait::WaitForFrame(FrameClock& clock, FrameClock::Time due) {
    if (!ProcessPendingEvents()) return false;
    if (CompositorRuns() && SUCCEEDED(DwmFlush())) {
        clock.FramePresented(Now());
        return ProcessPendingEvents();
    }
    return WaitUntil(due);
}

bool FrameWait::WaitUntil(FrameClock::Time due) {
    for (;;) {
        const long long left = (due - Now()).count();  // nanoseconds
        if (left <= 0) return ProcessPendingEvents();
        DWORD result;
        if (timer_) {
            LARGE_INTEGER in;
            in.QuadPart = -std::max<long long>(1, (left + 99) / 100);  // 100 ns, relative
            if (!SetWaitableTimer(timer_, &in, 0, nullptr, nullptr, FALSE)) {
                CloseHandle(timer_);
                timer_ = nullptr;
                continue;
            }
            result = MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        } else {
            const auto ms = static_cast<DWORD>((left + 999'999) / 1'000'000);
            result = MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        const DWORD messages = timer_ ? WAIT_OBJECT_0 + 1 : WAIT_OBJECT_0;
        if (result == messages) {
            if (!ProcessPendingEvents()) {
                if (timer_) CancelWaitableTimer(timer_);
                return false;
            }
        } else if (result == WAIT_FAILED) {
            Sleep(static_cast<DWORD>((left + 999'999) / 1'000'000));  // never spin
            return ProcessPendingEvents();
        }
    }
}

}  // namespace karvelo::win32
