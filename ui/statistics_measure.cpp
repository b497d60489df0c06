#include "statistics_measure.h"

#include <algorithm>

#include "frm_statistik.h"
#include "statistics_layout.h"

namespace karvelo {

StatisticsTextLayout LayoutStatisticsText(const std::function<int(const char* utf8)>& width,
                                          int averageChar) {
    StatisticsTextWidths w;
    w.tenSpaces = width("          ");
    w.averageChar = averageChar;
    w.twoTabLabelMax = std::max({width("Spelade: "), width("Vunna: "), width("F\xC3\xB6rlorade: ")});
    const int longs[] = {width("Vunna(omg\xC3\xA5ng): "), width("F\xC3\xB6rlorade(omg\xC3\xA5ng):"),
                         width("F\xC3\xB6rlorade(omg\xC3\xA5ng): ")};
    w.oneTabLabelMin = *std::min_element(std::begin(longs), std::end(longs));
    w.oneTabLabelMax = *std::max_element(std::begin(longs), std::end(longs));
    w.numberMax = width("00000");

    StatisticsTextLayout layout;
    const std::array<int, 4> stops = StatisticsTabStops(w);
    std::copy(stops.begin(), stops.end(), layout.stops.begin());
    // The TAB that ends a line with a percentage stops right after it.
    layout.stops[4] = stops[3] + width("100,0%") + averageChar;
    layout.tabDistance = 8 * averageChar;
    layout.lineWidth = layout.stops[4];
    return layout;
}

namespace {

bool Fits(const StatisticsFont& f, const StatisticsRoom& room) {
    namespace W = statistics_window;
    const int pad = 2 * f.averageChar;
    return f.lineHeight * W::kLinesShown <= room.textHeight &&
           LayoutStatisticsText(f.width, f.averageChar).lineWidth <= room.textWidth &&
           f.width(W::kCloseCaption) + pad <= room.closeWidth &&
           f.width(W::kClearCaption) + pad <= room.clearWidth;
}

}  // namespace

int FitStatisticsFont(int startPixels, int dpi, const StatisticsRoom& room,
                      const std::function<StatisticsFont(int pixels)>& font) {
    constexpr int kSmallestPoints = 6;
    const int smallest = std::max(1, (kSmallestPoints * dpi + 36) / 72);
    int pixels = std::max(1, startPixels);  // a smaller system font is kept as it is
    while (pixels > smallest && !Fits(font(pixels), room)) --pixels;
    return pixels;
}

}  // namespace karvelo
