#include "host.h"

#include "surroundings.h"

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

}  // namespace

Host& host() {
    Host* h = funktioner::Surroundings::InForce().host;
    return h ? *h : silent;
}

}  // namespace karvelo
