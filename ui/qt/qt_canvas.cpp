#include "qt_canvas.h"

#include <QFontDatabase>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

#include "area_scale.h"
#include "picture_numbers.h"
#include "pictures.h"
#include "window_layout.h"

namespace karvelo {
namespace {

constexpr int kTwipsPerPoint = 20;

QFont FontOfPoints(float points) {
    QFont font;
    if (QFontDatabase::hasFamily(layout::kLetterFontFamily)) {
        font.setFamily(layout::kLetterFontFamily);
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

QRect Rect(const PixelBox& b) { return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top); }

// The drawing of picture `number` at `density` (1 or 2), null when there is none.
QPixmap Drawing(int number, int density) {
    const qreal dpr = density;
    switch (number) {
    case kPictureArrowDown: return LoadArrow(Arrow::Down, dpr);
    case kPictureArrowRight: return LoadArrow(Arrow::Right, dpr);
    case kPictureArrowLeft: return LoadArrow(Arrow::Left, dpr);
    case kPictureTitle: return LoadSplash(dpr);
    default: return LoadPicture(number, dpr);
    }
}

// `drawing` resized by area to `width` x `height`, as the Windows window resizes it.
QPixmap Resized(const QPixmap& drawing, int width, int height) {
    const QImage image = drawing.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto* px = reinterpret_cast<const std::uint32_t*>(image.constBits());
    const size_t count = static_cast<size_t>(image.width()) * static_cast<size_t>(image.height());
    const std::vector<std::uint32_t> scaled = ScaleByArea({{px, count}, image.width(), image.height()}, width, height);
    if (scaled.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return {};
    QImage resized(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        std::memcpy(resized.scanLine(y), scaled.data() + static_cast<size_t>(y) * static_cast<size_t>(width),
                    static_cast<size_t>(width) * 4);
    return QPixmap::fromImage(resized);
}

}  // namespace

QColor QColorOfValue(int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QtCanvas::QtCanvas()
    : letterFont_(FontOfPoints(layout::kHandLetterPoints)), suitFont_(FontOfPoints(layout::kSuitNamePoints)) {}

void QtCanvas::Begin(QPainter& painter, int dpi) {
    painter_ = &painter;
    UseDpi(dpi);
}

void QtCanvas::UseDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    pictures_.clear();
    shadow_ = QImage();
}

void QtCanvas::ClipTo(const PixelBox& pixels) { painter_->setClipRect(Rect(pixels), Qt::IntersectClip); }

void QtCanvas::Fill(const TwipRect& rect, int32_t colour) {
    painter_->fillRect(Rect(DrawnBox(rect, dpi_)), QColorOfValue(colour));
}

void QtCanvas::Frame(const TwipRect& rect, float thickness, int32_t colour) {
    const QColor c = QColorOfValue(colour);
    for (const PixelBox& band : FrameBands(rect, thickness, dpi_)) painter_->fillRect(Rect(band), c);
}

void QtCanvas::SunkenFrame(const TwipRect& rect, const SunkenEdge& edge) {
    const std::vector<PixelBox> lines = SunkenLines(rect, dpi_);
    for (size_t i = 0; i < lines.size(); ++i)
        painter_->fillRect(Rect(lines[i]), QColorOfValue(i < 2 ? edge.dark : edge.light));
}

const QPixmap& QtCanvas::PictureAt(int number) {
    auto it = pictures_.find(number);
    if (it != pictures_.end()) return *it;
    const int density = dpi_ > kStandardDpi ? 2 : 1;
    QPixmap pm = Drawing(number, density);
    if (!pm.isNull()) {
        // Its size in twips is its size in pixels at the density it was drawn for; at
        // that density it is drawn as it is, 1:1.
        const int drawnDpi = kStandardDpi * density;
        const int width = PixelsFromTwips(TwipsFromPixels(pm.width(), drawnDpi), dpi_);
        const int height = PixelsFromTwips(TwipsFromPixels(pm.height(), drawnDpi), dpi_);
        pm = width == pm.width() && height == pm.height() ? pm : Resized(pm, width, height);
        pm.setDevicePixelRatio(1.0);  // drawn in device pixels
    }
    return *pictures_.insert(number, pm);
}

bool QtCanvas::Picture(int number, const TwipRect& rect) {
    const QPixmap& pm = PictureAt(number);
    if (pm.isNull()) return false;
    const PixelBox b = DrawnBox(rect, dpi_);
    const bool clip = pm.width() > b.right - b.left || pm.height() > b.bottom - b.top;
    if (clip) {
        painter_->save();
        painter_->setClipRect(Rect(b), Qt::IntersectClip);
    }
    painter_->drawPixmap(b.left, b.top, pm);
    if (clip) painter_->restore();
    return true;
}

void QtCanvas::Text(const TwipRect& box, const std::string& text, LabelFont font, int32_t colour) {
    QFont f = font == LabelFont::Letter ? letterFont_ : suitFont_;
    const float points = font == LabelFont::Letter ? layout::kHandLetterPoints : layout::kSuitNamePoints;
    f.setPixelSize(std::max(1, PixelsFromTwips(points * kTwipsPerPoint, dpi_)));
    painter_->setFont(f);
    painter_->setPen(QColorOfValue(colour));
    painter_->drawText(Rect(DrawnBox(box, dpi_)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                       QString::fromStdString(text));
}

void QtCanvas::Shadow(const TwipRect& caster, float offset, float radius, int alpha) {
    PixelBox b = DrawnBox(caster, dpi_);
    const int shift = PixelsFromTwips(offset, dpi_);
    const int w = b.right - b.left, h = b.bottom - b.top;
    if (w <= 0 || h <= 0) return;
    if (shadow_.isNull() || shadow_.width() != w || shadow_.height() != h || radius != shadowRadius_ ||
        alpha != shadowAlpha_) {
        const std::vector<uint8_t> mask = ShadowMask(w, h, FractionalPixels(radius, dpi_), alpha);
        shadow_ = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(shadow_.scanLine(y));
            for (int x = 0; x < w; ++x) row[x] = std::uint32_t{mask[static_cast<size_t>(y) * w + x]} << 24;
        }
        shadowRadius_ = radius;
        shadowAlpha_ = alpha;
    }
    painter_->drawImage(b.left + shift, b.top + shift, shadow_);
}

}  // namespace karvelo
