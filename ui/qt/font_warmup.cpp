#include "font_warmup.h"

#include <system_error>

#ifdef KARVELO_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace karvelo {

FontWarmUp::FontWarmUp() {
#ifdef KARVELO_HAVE_FONTCONFIG
    // FcInit loads the configuration and the font caches into fontconfig's current
    // configuration, which the toolkit's own FcInit then finds in place.
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to be had: the toolkit reads the configuration itself, later.
    }
#endif
}

FontWarmUp::~FontWarmUp() { Finish(); }

void FontWarmUp::Finish() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace karvelo
