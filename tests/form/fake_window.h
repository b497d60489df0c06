#pragma once
// A recording stand-in for a window system, so that the main window's decisions can be
// tested without one: it answers message boxes and the colour dialog from scripts,
// keeps the window's height, records what the window was told to show, and runs a
// test's own input from inside DoEvents, the way a player's input arrives in the
// middle of a flight, a deal or the window's growth.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frame_clock.h"
#include "frm_statistik.h"
#include "window_system.h"

namespace karvelo::test {

class FakeWindow final : public WindowSystem {
public:
    Answer ShowMessage(const MessageRequest& request) override;
    std::optional<int32_t> ChooseColour(int32_t current) override;
    void ShowStatistics(frmStatistik& window) override;
    NumberFormat UserNumberFormat() const override { return format; }
    void DoEvents() override;
    void BackColourChanged(int32_t colour) override { shownColour = colour; }
    void SpeedTickChanged(int item) override { tickedItem = item; }
    int OuterHeightTwips() const override { return outerHeight; }
    void SetOuterHeightTwips(int twips) override;
    void Unload() override { ++unloads; }

    std::vector<std::string> Texts() const;

    // Message boxes shown, and the answers to the Yes/No ones (the default button when
    // none is queued).
    std::vector<MessageRequest> messages;
    std::deque<Answer> answers;
    // The colour dialog: what it opened on, and what the player picks (nothing: Cancel).
    std::vector<int32_t> colourAskedWith;
    std::optional<int32_t> colourPicked;
    // The statistics windows shown: their captions and texts; `onStatistics` plays the
    // player's part while one is open (it may click its buttons).
    std::vector<std::string> statisticsShown;
    std::function<void(frmStatistik&)> onStatistics;
    NumberFormat format;

    // Input the test sends while the window processes events.
    std::function<void()> onDoEvents;
    int doEvents = 0;

    // Each pass asks `clock` (when set) as a window does: `visible` is what the window
    // reports, `damaged` the table's change since the last pass. A wait jumps `now` to
    // the frame the clock named.
    FrameClock* clock = nullptr;
    bool visible = true;
    bool damaged = false;
    FrameClock::Time now{0};
    int framesWaited = 0;

    int outerHeight = 6615;  // a caption, a menu bar and borders around 5775 twips
    std::vector<int> heights;  // every height set, in order
    int32_t shownColour = -1;
    int tickedItem = -1;
    int unloads = 0;

private:
    bool inHook_ = false;
};

}  // namespace karvelo::test
