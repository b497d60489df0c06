#include "fake_window.h"

namespace karvelo::test {

Answer FakeWindow::ShowMessage(const MessageRequest& request) {
    messages.push_back(request);
    if (request.buttons == Buttons::OK) return Answer::OK;
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return request.defaultButton == DefaultButton::First ? Answer::Yes : Answer::No;
}

std::optional<int32_t> FakeWindow::ChooseColour(int32_t current) {
    colourAskedWith.push_back(current);
    return colourPicked;
}

void FakeWindow::ShowStatistics(frmStatistik& window) {
    statisticsShown.push_back(window.Caption());
    if (onStatistics) onStatistics(window);
    window.cmdClose_Click();
}

void FakeWindow::DoEvents() {
    ++doEvents;
    if (clock) {
        clock->SetVisible(visible);
        if (const auto due = clock->StepDone(damaged, now)) {
            ++framesWaited;
            now = *due;
        }
        damaged = false;
    }
    // Input arriving now must not recurse into itself forever.
    if (onDoEvents && !inHook_) {
        inHook_ = true;
        onDoEvents();
        inHook_ = false;
    }
}

void FakeWindow::SetOuterHeightTwips(int twips) {
    outerHeight = twips;
    heights.push_back(twips);
}

std::vector<std::string> FakeWindow::Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

}  // namespace karvelo::test
