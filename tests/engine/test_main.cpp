// Runs the engine tests against a throw-away configuration directory, so that nothing
// a test records can reach the player's own settings or statistics.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

std::filesystem::path FreshConfigDirectory() {
    std::random_device entropy;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto dir = base / ("karvelo-engine-tests-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(dir)) return dir;
    }
}

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    const auto config = FreshConfigDirectory();
    SetVariable("XDG_CONFIG_HOME", config.string());
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return result;
}
