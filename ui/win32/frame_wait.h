#pragma once
// Waiting for a displayed frame on Windows, and what Windows tells of its displays:
// the refresh rate (EnumDisplaySettings) and, where the desktop compositor runs, its
// frames (DwmFlush), which the frame clock (frame_clock.h) is told of. Whether a step
// waits, and until when, is the clock's decision. Waiting is never a busy loop: the
// thread sleeps on a timer waited for together with the window's messages, so pointer
// input and repaints are handled while it waits.
#include <windows.h>

#include "frame_clock.h"

namespace karvelo::win32 {

class FrameWait {
public:
    FrameWait();
    ~FrameWait();
    FrameWait(const FrameWait&) = delete;
    FrameWait& operator=(const FrameWait&) = delete;

    // The refresh rate of the display `window` is on (the primary display's without
    // one), in frames per second; 0 when the display does not say.
    static double RefreshRate(HWND window);

    // Monotonic time, as the clock counts it.
    FrameClock::Time Now() const;

    // Returns at the display's next frame, having handled the messages that arrived
    // meanwhile: the compositor's next frame where it runs (told to `clock`),
    // otherwise `due`. False when the program was asked to end while waiting
    // (WM_QUIT, which stays queued).
    bool WaitForFrame(FrameClock& clock, FrameClock::Time due);

    // Returns at `due`, handling messages meanwhile; false as above.
    bool WaitUntil(FrameClock::Time due);

private:
    HANDLE timer_ = nullptr;
    LARGE_INTEGER ticksPerSecond_{};
};

}  // namespace karvelo::win32
