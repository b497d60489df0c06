#pragma once
// A host for tests: records every message box and yield, answers questions from a
// script.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host.h"

namespace karvelo::test {

struct Box {
    std::string text;
    Buttons buttons;
    Icon icon;
    DefaultButton defaultButton;
    std::string title;
};

class RecordingHost final : public Host {
public:
    Answer MsgBox(const std::string& text, Buttons buttons, Icon icon, DefaultButton def,
                  const std::string& title) override;
    void DoEvents() override;

    std::vector<std::string> Texts() const;

    std::vector<Box> boxes;
    std::deque<Answer> answers;      // given in turn to Yes/No questions; else the default
    int yields = 0;
    std::function<void()> onYield;   // runs inside every DoEvents
    std::vector<std::string>* log = nullptr;  // when set, "yield" and "box: text" go here
};

}  // namespace karvelo::test
