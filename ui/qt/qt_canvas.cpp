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

// The drawing of picture `number` at `density` (1 or 2), as premultiplied pixels.
QImage Drawing(int number, int density) {
    const qreal dpr = density;
    QPixmap pm;
    switch (number) {
    case kPictureArrowDown: pm = LoadArrow(Arrow::Down, dpr); break;
    case kPictureArrowRight: pm = LoadArrow(Arrow::Right, dpr); break;
    case kPictureArrowLeft: pm = LoadArrow(Arrow::Left, dpr); break;
    case kPictureTitle: pm = LoadSplash(dpr); break;
    default: pm = LoadPicture(number, dpr); break;
    }
    return pm.isNull() ? QImage() : pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
    const PixelBox b = DrawnBox(rect, dpi_);
    const int w = b.right - b.left, h = b.bottom - b.top;
    const int t = std::min({std::max(1, PixelsFromTwips(thickness, dpi_)), w / 2, h / 2});
    if (t <= 0) return;
    const QColor c = QColorOfValue(colour);
    painter_->fillRect(QRect(b.left, b.top, w, t), c);
    painter_->fillRect(QRect(b.left, b.bottom - t, w, t), c);
    painter_->fillRect(QRect(b.left, b.top + t, t, h - 2 * t), c);
    painter_->fillRect(QRect(b.right - t, b.top + t, t, h - 2 * t), c);
}

void QtCanvas::SunkenFrame(const TwipRect& rect, const SunkenEdge& edge) {
    const PixelBox b = DrawnBox(rect, dpi_);
    const int w = b.right - b.left, h = b.bottom - b.top;
    if (w < 2 || h < 2) return;
    const QColor dark = QColorOfValue(edge.dark), light = QColorOfValue(edge.light);
    painter_->fillRect(QRect(b.left, b.top, w, 1), dark);
    painter_->fillRect(QRect(b.left, b.top, 1, h), dark);
    painter_->fillRect(QRect(b.left + 1, b.bottom - 1, w - 1, 1), light);
    painter_->fillRect(QRect(b.right - 1, b.top + 1, 1, h - 1), light);
}

const QPixmap& QtCanvas::PictureAt(int number) {
    auto it = pictures_.find(number);
    if (it != pictures_.end()) return *it;
    const int density = dpi_ > kStandardDpi ? 2 : 1;
    QImage image = Drawing(number, density);
    if (!image.isNull()) {
        // Its size in twips is its size in pixels at the density it was drawn for.
        const int drawnDpi = kStandardDpi * density;
        const int width = PixelsFromTwips(TwipsFromPixels(image.width(), drawnDpi), dpi_);
        const int height = PixelsFromTwips(TwipsFromPixels(image.height(), drawnDpi), dpi_);
        if (width != image.width() || height != image.height()) {
            const auto* px = reinterpret_cast<const std::uint32_t*>(image.constBits());
            const std::vector<std::uint32_t> scaled = ScaleByArea(
                {{px, static_cast<size_t>(image.width()) * static_cast<size_t>(image.height())},
                 image.width(), image.height()},
                width, height);
            QImage resized(width, height, QImage::Format_ARGB32_Premultiplied);
            if (scaled.size() == static_cast<size_t>(width) * static_cast<size_t>(height)) {
                for (int y = 0; y < height; ++y)
                    std::memcpy(resized.scanLine(y), scaled.data() + static_cast<size_t>(y) * width,
                                static_cast<size_t>(width) * 4);
                image = resized;
            } else {
                image = QImage();
            }
        }
    }
    QPixmap pm = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
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
    const quint64 key = (quint64(w) << 40) | (quint64(h) << 20) | (quint64(alpha & 0xFF) << 12) |
                        quint64(PixelsFromTwips(radius, 1440) & 0xFFF);
    if (shadow_.isNull() || key != shadowKey_) {
        const std::vector<uint8_t> mask = ShadowMask(w, h, FractionalPixels(radius, dpi_), alpha);
        shadow_ = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(shadow_.scanLine(y));
            for (int x = 0; x < w; ++x) row[x] = std::uint32_t{mask[static_cast<size_t>(y) * w + x]} << 24;
        }
        shadowKey_ = key;
    }
    painter_->drawImage(b.left + shift, b.top + shift, shadow_);
}

}  // namespace karvelo
