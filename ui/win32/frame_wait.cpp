#include "frame_wait.h"

#include <dwmapi.h>

#include <algorithm>
#include <cmath>

#include "event_pump.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace karvelo::win32 {
namespace {

constexpr int kAssumedHz = 60;  // when the display does not say

long long Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

int RefreshRate(HWND window) {
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
        return kAssumedHz;
    return std::clamp(static_cast<int>(mode.dmDisplayFrequency), 20, 1000);
}

bool CompositorRuns() {
    BOOL enabled = FALSE;
    return SUCCEEDED(DwmIsCompositionEnabled(&enabled)) && enabled;
}

}  // namespace

FrameWait::FrameWait(HWND window) {
    QueryPerformanceFrequency(&ticksPerSecond_);
    // A high-resolution timer wakes within a fraction of a millisecond; where Windows
    // has none (before Windows 10 1803) the ordinary one serves.
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                    TIMER_ALL_ACCESS);
    if (!timer_) timer_ = CreateWaitableTimerW(nullptr, TRUE, nullptr);
    DisplayChanged(window);
}

FrameWait::~FrameWait() {
    if (timer_) CloseHandle(timer_);
}

void FrameWait::DisplayChanged(HWND window) {
    periodTicks_ = std::max<long long>(1, ticksPerSecond_.QuadPart / RefreshRate(window));
    originTicks_ = -1;
}

double FrameWait::RefreshPeriod() const {
    return static_cast<double>(periodTicks_) / static_cast<double>(ticksPerSecond_.QuadPart);
}

bool FrameWait::WaitForNextFrame() {
    if (!ProcessPendingEvents()) return false;
    if (CompositorRuns() && SUCCEEDED(DwmFlush())) return ProcessPendingEvents();
    return WaitForRefresh();
}

bool FrameWait::WaitForRefresh() {
    const long long now = Now();
    if (originTicks_ < 0 || now < originTicks_) originTicks_ = now;
    const long long due = originTicks_ + ((now - originTicks_) / periodTicks_ + 1) * periodTicks_;
    for (;;) {
        const long long left = due - Now();
        if (left <= 0) return true;
        const double seconds = static_cast<double>(left) / static_cast<double>(ticksPerSecond_.QuadPart);
        DWORD result;
        if (timer_) {
            LARGE_INTEGER in;
            in.QuadPart = -std::max<long long>(1, std::llround(seconds * 1e7));  // 100 ns, relative
            if (!SetWaitableTimer(timer_, &in, 0, nullptr, nullptr, FALSE)) {
                CloseHandle(timer_);
                timer_ = nullptr;
                continue;
            }
            result = MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        } else {
            const auto ms = static_cast<DWORD>(std::ceil(seconds * 1000));
            result = MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        const DWORD messages = timer_ ? WAIT_OBJECT_0 + 1 : WAIT_OBJECT_0;
        if (result == messages) {
            if (!ProcessPendingEvents()) {
                if (timer_) CancelWaitableTimer(timer_);
                return false;
            }
        } else if (result == WAIT_FAILED) {
            Sleep(static_cast<DWORD>(std::ceil(seconds * 1000)));  // never spin
            return true;
        }
    }
}

}  // namespace karvelo::win32
