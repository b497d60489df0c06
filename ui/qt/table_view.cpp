#include "table_view.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

#include "karvelo.h"
#include "paint_cover.h"
#include "pictures.h"
#include "window_layout.h"

namespace karvelo {
namespace {

QFont LabelFont(float points) {
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

}  // namespace

TableView::TableView(Karvelo& form, QWidget* parent)
    : QWidget(parent), form_(form), scene_(form.scene()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    letterFont_ = LabelFont(layout::kHandLetterPoints);
    suitFont_ = LabelFont(layout::kSuitNamePoints);
    form_.scene().SetDamageListener([this](const TwipRect& r) { Damage(r); });
}

QRect TableView::PixelBounds(const TwipRect& r) {
    // One pixel of margin: positions between pixels are snapped when drawn.
    const PixelBox b = PixelsTouched(r, kStandardDpi);
    return QRect(QPoint(b.left - 1, b.top - 1), QPoint(b.right, b.bottom));
}

QPointF TableView::ToTwips(const QPointF& pixel) {
    return {TwipsFromPixels(pixel.x(), kStandardDpi), TwipsFromPixels(pixel.y(), kStandardDpi)};
}

QPointF TableView::ToPixels(float left, float top) {
    return {FractionalPixels(left, kStandardDpi), FractionalPixels(top, kStandardDpi)};
}

void TableView::Damage(const TwipRect& rect) {
    const QRect r = PixelBounds(rect).intersected(this->rect());
    if (r.isEmpty()) return;
    unshown_ += r;
    update(r);
}

void TableView::SetBackground(const QColor& colour) {
    if (colour == background_) return;
    background_ = colour;
    unshown_ += rect();
    update();
}

void TableView::ShowChangesNow() {
    if (unshown_.isEmpty()) return;
    const QRegion region = unshown_;
    repaint(region);
    unshown_ -= region;
}

void TableView::resizeEvent(QResizeEvent*) {
    unshown_ += rect();
    update();
}

QPointF TableView::Snap(float left, float top, qreal dpr) const {
    // To whole device pixels, so that pictures are drawn 1:1 and stay crisp.
    const int dpi = static_cast<int>(std::lround(kStandardDpi * dpr));
    return {PixelsFromTwips(left, dpi) / dpr, PixelsFromTwips(top, dpi) / dpr};
}

void TableView::UseDensity(qreal dpr) {
    if (dpr == picturesDpr_) return;
    pictures_.clear();
    for (auto& a : arrows_) a = QPixmap();
    splash_ = QPixmap();
    picturesDpr_ = dpr;
}

const QPixmap& TableView::Picture(int number, qreal dpr) {
    UseDensity(dpr);
    auto it = pictures_.find(number);
    if (it == pictures_.end()) it = pictures_.insert(number, LoadPicture(number, dpr));
    return *it;
}

void TableView::DrawSunkenFrame(QPainter& p, const QRectF& r) const {
    // The edge of an empty place: darker above and left, lighter below and right.
    const QColor dark = background_.darker(145);
    const QColor light = background_.value() < 40 ? QColor(96, 96, 96) : background_.lighter(135);
    const qreal w = 1.0;
    p.fillRect(QRectF(r.left(), r.top(), r.width(), w), dark);
    p.fillRect(QRectF(r.left(), r.top(), w, r.height()), dark);
    p.fillRect(QRectF(r.left() + w, r.bottom() - w, r.width() - w, w), light);
    p.fillRect(QRectF(r.right() - w, r.top() + w, w, r.height() - w), light);
}

void TableView::DrawElement(QPainter& p, const SceneElement& e, qreal dpr) {
    const QPointF at = Snap(e.rect.left, e.rect.top, dpr);
    const QPointF size = ToPixels(e.rect.width, e.rect.height);
    const QRectF box(at, QSizeF(size.x(), size.y()));
    switch (e.id.kind) {
    case ElementKind::Kort:
    case ElementKind::Hand:
    case ElementKind::Hog:
        if (e.picture != 0) {
            const QPixmap& pm = Picture(e.picture, dpr);
            if (!pm.isNull()) {
                p.save();
                p.setClipRect(box, Qt::IntersectClip);
                p.drawPixmap(at, pm);
                p.restore();
            }
        }
        if (e.border) DrawSunkenFrame(p, box);
        break;
    case ElementKind::LblHand:
    case ElementKind::LblFarger:
        p.setFont(e.id.kind == ElementKind::LblHand ? letterFont_ : suitFont_);
        p.setPen(Qt::black);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                   QString::fromStdString(e.text));
        break;
    case ElementKind::PilN:
    case ElementKind::PilH:
    case ElementKind::PilV: {
        const int i = e.id.kind == ElementKind::PilN ? 0 : e.id.kind == ElementKind::PilH ? 1 : 2;
        UseDensity(dpr);
        if (arrows_[i].isNull()) {
            const Arrow a[3] = {Arrow::Down, Arrow::Right, Arrow::Left};
            arrows_[i] = LoadArrow(a[i], dpr);
        }
        p.drawPixmap(at, arrows_[i]);
        break;
    }
    case ElementKind::Splash:
        UseDensity(dpr);
        if (splash_.isNull()) splash_ = LoadSplash(dpr);
        if (splash_.isNull()) {
            p.fillRect(box, Qt::black);
        } else {
            p.drawPixmap(at, splash_);
        }
        break;
    }
}

void TableView::paintEvent(QPaintEvent* event) {
    ++paints_;
    QPainter p(this);
    const qreal dpr = devicePixelRatioF();
    const QRect dirty = event->rect();
    p.fillRect(dirty, background_);
    const auto& order = scene_.DrawingOrder();
    for (size_t i = FirstElementToDraw(order, dirty); i < order.size(); ++i) {
        const SceneElement& e = order[i];
        if (!e.visible) continue;
        QRect bounds = PixelBounds(e.rect);
        if (e.id.kind == ElementKind::LblHand || e.id.kind == ElementKind::LblFarger)
            bounds.adjust(0, 0, 40, 20);  // text may run past the label's box
        if (!bounds.intersects(dirty)) continue;
        DrawElement(p, e, dpr);
    }
    if (const auto& drag = scene_.Drag()) {
        const QPixmap& pm = Picture(drag->picture, dpr);
        if (!pm.isNull()) {
            // The dragged picture casts a small shadow down and to the right, so that
            // it reads as lifted off the table.
            const QPointF at = Snap(drag->rect.left, drag->rect.top, dpr);
            const QPointF offset = ToPixels(kDragShadowTwips, kDragShadowTwips);
            const QRectF shadow(at + offset, pm.deviceIndependentSize());
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 70));
            p.drawRoundedRect(shadow.adjusted(0, 0, -0.5, -0.5), 4, 4);
            p.drawPixmap(at, pm);
        }
    }
    unshown_ -= event->region();
}

namespace {

// Qt's buttons as the handlers' mask.
int16_t ButtonMask(Qt::MouseButtons buttons) {
    return karvelo::ButtonMask(buttons & Qt::LeftButton, buttons & Qt::RightButton, buttons & Qt::MiddleButton,
                               buttons & ~(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton));
}

}  // namespace

void TableView::mousePressEvent(QMouseEvent* event) {
    const QPointF t = ToTwips(event->position());
    form_.PointerPressed(static_cast<float>(t.x()), static_cast<float>(t.y()),
                         ButtonMask(event->button()), false);
}

void TableView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPointF t = ToTwips(event->position());
    form_.PointerPressed(static_cast<float>(t.x()), static_cast<float>(t.y()),
                         ButtonMask(event->button()), true);
}

void TableView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF t = ToTwips(event->position());
    form_.PointerReleased(static_cast<float>(t.x()), static_cast<float>(t.y()),
                          ButtonMask(event->button()));
}

void TableView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF t = ToTwips(event->position());
    form_.PointerMoved(static_cast<float>(t.x()), static_cast<float>(t.y()),
                       ButtonMask(event->buttons()));
}

}  // namespace karvelo
