#include "area_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace karvelo {
namespace {

// Which old pixels along one axis each new pixel covers, and how much of each.
struct Span {
    int first = 0;
    std::vector<double> weights;  // for old pixels first, first + 1, ...
};

std::vector<Span> Spans(int from, int to) {
    std::vector<Span> spans(static_cast<size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double start = i * step, end = std::min<double>((i + 1) * step, from);
        Span& s = spans[static_cast<size_t>(i)];
        s.first = static_cast<int>(start);
        for (int p = s.first; p < from && p < end; ++p) {
            const double covered = std::min<double>(end, p + 1) - std::max<double>(start, p);
            s.weights.push_back(covered / step);
        }
    }
    return spans;
}

std::uint32_t Channel(double v) {
    return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

std::vector<std::uint32_t> ScaleByArea(PixelsView source, int width, int height) {
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
        source.pixels.size() != static_cast<size_t>(source.width) * static_cast<size_t>(source.height))
        return {};
    const std::vector<Span> columns = Spans(source.width, width);
    const std::vector<Span> rows = Spans(source.height, height);
    std::vector<std::uint32_t> out(static_cast<size_t>(width) * static_cast<size_t>(height));
    // The new row being made, four channels a pixel: alpha, red, green, blue.
    std::vector<double> sum(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        const Span& r = rows[static_cast<size_t>(y)];
        std::fill(sum.begin(), sum.end(), 0.0);
        for (size_t k = 0; k < r.weights.size(); ++k) {
            const std::uint32_t* line =
                source.pixels.data() + static_cast<size_t>(r.first + static_cast<int>(k)) *
                                           static_cast<size_t>(source.width);
            for (int x = 0; x < width; ++x) {
                const Span& c = columns[static_cast<size_t>(x)];
                double a = 0, red = 0, green = 0, blue = 0;
                for (size_t j = 0; j < c.weights.size(); ++j) {
                    const std::uint32_t px = line[c.first + static_cast<int>(j)];
                    const double w = c.weights[j];
                    a += w * (px >> 24);
                    red += w * ((px >> 16) & 0xff);
                    green += w * ((px >> 8) & 0xff);
                    blue += w * (px & 0xff);
                }
                double* s = &sum[static_cast<size_t>(x) * 4];
                s[0] += r.weights[k] * a;
                s[1] += r.weights[k] * red;
                s[2] += r.weights[k] * green;
                s[3] += r.weights[k] * blue;
            }
        }
        for (int x = 0; x < width; ++x) {
            const double* s = &sum[static_cast<size_t>(x) * 4];
            const std::uint32_t a = Channel(s[0]);
            // Premultiplied colours never exceed their alpha.
            out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                a << 24 | std::min(Channel(s[1]), a) << 16 | std::min(Channel(s[2]), a) << 8 |
                std::min(Channel(s[3]), a);
        }
    }
    return out;
}

}  // namespace karvelo
