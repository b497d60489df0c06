#pragma once
// Reading the font configuration is the largest single piece of the first frame: the
// first text a window measures waits for it. FontWarmUp reads it on a helper thread
// while the application connects to the window system, which needs no fonts, so the
// menu bar finds it loaded. Where there is no fontconfig this does nothing.
#include <thread>

namespace karvelo {

class FontWarmUp {
public:
    FontWarmUp();   // starts reading
    ~FontWarmUp();  // waits for the reading, if Finish was not called
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Waits until the configuration is loaded. Call before the first text is laid
    // out: a reading still under way would otherwise be done a second time.
    void Finish();

private:
    std::thread thread_;
};

}  // namespace karvelo
