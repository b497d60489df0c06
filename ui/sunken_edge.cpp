#include "sunken_edge.h"

#include <algorithm>
#include <cmath>

namespace karvelo {
namespace {

// Hue, saturation and brightness in 16-bit steps, hue in hundredths of a degree
// (kNoHue for a grey).
constexpr int kMax = 65535;
constexpr int kNoHue = -1;

struct Hsv {
    int hue = kNoHue;
    int saturation = 0;
    int value = 0;
};

int Wide(int channel) { return channel * 257; }          // 8 bits to 16
int Narrow(int channel) { return (channel + 128) / 257; }  // 16 bits to 8, rounded

Hsv ToHsv(int32_t colour) {
    const double r = Wide(colour & 0xFF) / double(kMax);
    const double g = Wide((colour >> 8) & 0xFF) / double(kMax);
    const double b = Wide((colour >> 16) & 0xFF) / double(kMax);
    const double max = std::max({r, g, b}), min = std::min({r, g, b}), delta = max - min;
    Hsv hsv;
    hsv.value = static_cast<int>(std::lround(max * kMax));
    if (delta <= 0) return hsv;
    hsv.saturation = static_cast<int>(std::lround(delta / max * kMax));
    double hue = max == r ? (g - b) / delta : max == g ? 2 + (b - r) / delta : 4 + (r - g) / delta;
    hue *= 60;
    if (hue < 0) hue += 360;
    hsv.hue = static_cast<int>(std::lround(hue * 100));
    return hsv;
}

int32_t ToColour(const Hsv& hsv) {
    const double v = hsv.value / double(kMax);
    double r = v, g = v, b = v;
    if (hsv.saturation != 0 && hsv.hue != kNoHue) {
        const double h = hsv.hue == 36000 ? 0 : hsv.hue / 6000.0;
        const double s = hsv.saturation / double(kMax);
        const int i = static_cast<int>(h);
        const double f = h - i;
        const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
        switch (i) {
        case 0: r = v, g = t, b = p; break;
        case 1: r = q, g = v, b = p; break;
        case 2: r = p, g = v, b = t; break;
        case 3: r = p, g = q, b = v; break;
        case 4: r = t, g = p, b = v; break;
        default: r = v, g = p, b = q; break;
        }
    }
    auto channel = [](double c) { return Narrow(static_cast<int>(std::lround(c * kMax))); };
    return channel(r) | channel(g) << 8 | channel(b) << 16;
}

}  // namespace

SunkenEdge SunkenEdgeFor(int32_t background) {
    const Hsv base = ToHsv(background & 0xFFFFFF);
    Hsv dark = base;
    dark.value = base.value * 100 / 145;
    int32_t light = 0x606060;  // RGB(96, 96, 96)
    if (Narrow(base.value) >= 40) {
        Hsv lit = base;
        int value = base.value * 135 / 100;
        if (value > kMax) {
            lit.saturation = std::max(0, lit.saturation - (value - kMax));
            value = kMax;
        }
        lit.value = value;
        light = ToColour(lit);
    }
    return {ToColour(dark), light};
}

}  // namespace karvelo
