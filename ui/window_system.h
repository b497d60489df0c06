#pragma once
// What the main window needs of a window system (Qt on Linux, Win32 on Windows). The
// window-independent main window (karvelo.h) decides everything; a window system only
// shows: it creates the window and its menus (menu_tree.h), paints the scene and calls
// the main window's handlers with its pointer, key, menu and close input in twips. It
// implements this interface for the rest.
#include <cstdint>
#include <optional>
#include <string>

#include "host.h"
#include "statistics_text.h"

namespace karvelo {

class frmStatistik;

// A message box as the game asks for it.
struct MessageRequest {
    std::string text;  // UTF-8, with TAB and CR LF as the game builds it
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    DefaultButton defaultButton = DefaultButton::First;
    std::string title;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // ---- Modal windows; each returns when the player has closed it.
    virtual Answer ShowMessage(const MessageRequest& request) = 0;
    // The colour dialog, opening on `current` (a colour value, red in the low byte);
    // the chosen colour, or nothing when it was cancelled or failed.
    virtual std::optional<int32_t> ChooseColour(int32_t current) = 0;
    // The statistics window, shown until its model says Closed().
    virtual void ShowStatistics(frmStatistik& window) = 0;
    // How the player writes numbers, from the system's regional settings.
    virtual NumberFormat UserNumberFormat() const = 0;

    // ---- Lets the window handle pending input and painting. When the table changed
    // since the last frame, the change is shown and the call returns at the next
    // displayed frame, handling input while it waits. A flight is a number of steps,
    // each one call of this: paced to displayed frames, a flight looks the same on any
    // machine and at any refresh rate, never races past faster than the screen can show
    // nor spends a step on a frame nobody sees.
    virtual void DoEvents() = 0;

    // ---- What the window shows besides the scene, which reports its own changes.
    virtual void BackColourChanged(int32_t colour) = 0;
    virtual void SpeedTickChanged(int item) = 0;

    // ---- The window's outer height (caption, menu bar and borders included), in
    // twips; the width never changes.
    virtual int OuterHeightTwips() const = 0;
    virtual void SetOuterHeightTwips(int twips) = 0;

    // ---- The end of the run: the window goes and the process ends.
    virtual void Unload() = 0;
};

}  // namespace karvelo
