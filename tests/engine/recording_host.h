#pragma once
// A recording stand-in for the window's message boxes and event loop. A test can
// queue answers and run its own code from inside DoEvents, the way the player's input
// arrives in the middle of a flight.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host.h"

namespace enginetest {

struct ShownBox {
    std::string text;
    karvelo::Buttons buttons;
    karvelo::Icon icon;
    karvelo::DefaultButton defaultButton;
    std::string title;
};

class RecordingHost final : public karvelo::Host {
public:
    explicit RecordingHost(std::vector<std::string>* log = nullptr) : log_(log) {}

    karvelo::Answer MsgBox(const std::string& text, karvelo::Buttons buttons, karvelo::Icon icon,
                           karvelo::DefaultButton defaultButton,
                           const std::string& title) override {
        boxes.push_back({text, buttons, icon, defaultButton, title});
        if (log_) log_->push_back("msgbox " + title);
        if (onMsgBox) onMsgBox();
        if (buttons == karvelo::Buttons::OK) return karvelo::Answer::OK;
        if (answers.empty()) return karvelo::Answer::No;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void DoEvents() override {
        ++doEvents;
        if (log_ && logDoEvents) log_->push_back("events");
        // Input arriving now must not recurse into itself forever.
        if (onDoEvents && !inHook_) {
            inHook_ = true;
            onDoEvents();
            inHook_ = false;
        }
    }

    std::vector<ShownBox> boxes;
    std::deque<karvelo::Answer> answers;  // for Yes/No boxes; No when empty
    int doEvents = 0;
    bool logDoEvents = false;
    std::function<void()> onDoEvents;
    std::function<void()> onMsgBox;

private:
    std::vector<std::string>* log_;
    bool inHook_ = false;
};

}  // namespace enginetest
