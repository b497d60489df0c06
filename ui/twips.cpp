#include "twips.h"

#include <cmath>

#include "rounding.h"

namespace karvelo {
// A dpi that is not positive gives 0: no window has one.
double FractionalPixels(double twips, int dpi) { return dpi > 0 ? twips * dpi / kTwipsPerInch : 0; }

int PixelsFromTwips(double twips, int dpi) { return RoundHalfEven(FractionalPixels(twips, dpi)); }

double TwipsFromPixels(double pixels, int dpi) {
    return dpi > 0 ? pixels * kTwipsPerInch / dpi : 0;
}

PixelBox PixelsTouched(const TwipRect& r, int dpi) {
    return {static_cast<int>(std::floor(FractionalPixels(r.left, dpi))),
            static_cast<int>(std::floor(FractionalPixels(r.top, dpi))),
            static_cast<int>(std::ceil(FractionalPixels(r.Right(), dpi))),
            static_cast<int>(std::ceil(FractionalPixels(r.Bottom(), dpi)))};
}

PixelBox PixelsInside(const TwipRect& r, int dpi) {
    return {static_cast<int>(std::ceil(FractionalPixels(r.left, dpi))),
            static_cast<int>(std::ceil(FractionalPixels(r.top, dpi))),
            static_cast<int>(std::floor(FractionalPixels(r.Right(), dpi))),
            static_cast<int>(std::floor(FractionalPixels(r.Bottom(), dpi)))};
}

}  // namespace karvelo
