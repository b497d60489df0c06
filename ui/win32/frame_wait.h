#pragma once
// Pacing an animation to the screen: a card's flight moves one step per displayed
// frame, so every position it takes is seen, on a fast machine as on a slow one.
// Waiting is never a busy loop: where the desktop compositor runs, its next frame is
// waited for (DwmFlush); elsewhere the thread sleeps until the display's next refresh
// (its period from EnumDisplaySettings), on a timer that is waited for together with
// the window's messages, so pointer input and repaints are handled while it waits.
#include <windows.h>

namespace karvelo::win32 {

class FrameWait {
public:
    // `window`'s display sets the refresh period; without one, the primary display's.
    explicit FrameWait(HWND window = nullptr);
    ~FrameWait();
    FrameWait(const FrameWait&) = delete;
    FrameWait& operator=(const FrameWait&) = delete;

    // Reads the refresh period again, for the display `window` is on now (after
    // WM_DISPLAYCHANGE, or when the window moved to another display).
    void DisplayChanged(HWND window);

    // Returns when the next frame is due, having handled the messages that arrived
    // meanwhile. False when the program was asked to end while waiting (WM_QUIT,
    // which stays queued).
    bool WaitForNextFrame();

    // The refresh period used without the compositor, in seconds.
    double RefreshPeriod() const;

private:
    bool WaitForRefresh();

    HANDLE timer_ = nullptr;
    LARGE_INTEGER ticksPerSecond_{};
    long long periodTicks_ = 0;
    long long originTicks_ = -1;  // a frame boundary: the first wait's start
};

}  // namespace karvelo::win32
