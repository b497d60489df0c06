#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "host.h"

namespace fuzz {
namespace {

class CountingHost final : public karvelo::Host {
public:
    karvelo::Answer MsgBox(const std::string&, karvelo::Buttons buttons, karvelo::Icon,
                           karvelo::DefaultButton, const std::string&) override {
        ++shown;
        return buttons == karvelo::Buttons::OK ? karvelo::Answer::OK : karvelo::Answer::No;
    }
    void DoEvents() override {}
    unsigned long shown = 0;
};

}  // namespace

void UseScratchStore() {
    static bool done = false;
    if (done) return;
    done = true;
    const auto dir = std::filesystem::temp_directory_path() /
                     ("karvelo-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    static CountingHost host;
    karvelo::SetHost(&host);
}

}  // namespace fuzz
