#include "recording_host.h"

namespace karvelo::test {

Answer RecordingHost::MsgBox(const std::string& text, Buttons buttons, Icon icon,
                             DefaultButton def, const std::string& title) {
    boxes.push_back({text, buttons, icon, def, title});
    if (log) log->push_back("box: " + text);
    if (buttons == Buttons::OK) return Answer::OK;
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return def == DefaultButton::First ? Answer::Yes : Answer::No;
}

void RecordingHost::DoEvents() {
    ++yields;
    if (log) log->push_back("yield");
    if (onYield) onYield();
}

std::vector<std::string> RecordingHost::Texts() const {
    std::vector<std::string> texts;
    for (const Box& b : boxes) texts.push_back(b.text);
    return texts;
}

}  // namespace karvelo::test
