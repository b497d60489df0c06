#include "fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "host.h"
#include "registry_db.h"
#include "surroundings.h"

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

std::string ScratchFolder() {
    std::error_code ignored;
    if (std::filesystem::is_directory("/dev/shm", ignored) && ::access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path().string();
}

void UseScratchStore() {
    static bool done = false;
    if (done) return;
    done = true;
    static const auto dir = std::filesystem::path(ScratchFolder()) /
                            ("karvelo-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    std::atexit([] {
        karvelo::CloseUserRegistry();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    });
    static CountingHost host;
    static const funktioner::Surroundings answering({.host = &host});
}

}  // namespace fuzz
