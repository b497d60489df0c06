#include "host.h"

namespace karvelo {
namespace {

class SilentHost final : public Host {
public:
    Answer MsgBox(const std::string&, Buttons buttons, Icon, DefaultButton def,
                  const std::string&) override {
        if (buttons == Buttons::OK) return Answer::OK;
        return def == DefaultButton::First ? Answer::Yes : Answer::No;
    }
    void DoEvents() override {}
};

SilentHost silent;
Host* current = &silent;

}  // namespace

Host& host() { return *current; }
void SetHost(Host* h) { current = h ? h : &silent; }

}  // namespace karvelo
