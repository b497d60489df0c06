#include "table_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

#include "karvelo.h"
#include "painter.h"

namespace karvelo {

TableView::TableView(Karvelo& form, QWidget* parent)
    : QWidget(parent), form_(form), scene_(form.scene()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
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

void TableView::paintEvent(QPaintEvent* event) {
    ++paints_;
    QPainter p(this);
    // Drawn in device pixels, so that pictures are copied 1:1 and stay crisp.
    const qreal dpr = devicePixelRatioF();
    const int dpi = static_cast<int>(std::lround(kStandardDpi * dpr));
    if (dpr != 1.0) p.setWorldTransform(QTransform::fromScale(1.0 / dpr, 1.0 / dpr));
    const QRect dirty = event->rect();
    const PixelBox pixels{static_cast<int>(std::floor(dirty.left() * dpr)),
                          static_cast<int>(std::floor(dirty.top() * dpr)),
                          static_cast<int>(std::ceil((dirty.right() + 1) * dpr)),
                          static_cast<int>(std::ceil((dirty.bottom() + 1) * dpr))};
    canvas_.Begin(p, dpi);
    const QColor bg = background_.toRgb();
    PaintTable(scene_, bg.red() | (bg.green() << 8) | (bg.blue() << 16), pixels, canvas_);
    unshown_ -= event->region();
}

namespace {

// Qt's buttons as the handlers' mask: 1 left, 2 right, 4 middle; others give 8, which
// no handler acts on.
int16_t ButtonMask(Qt::MouseButtons buttons) {
    int16_t mask = 0;
    if (buttons & Qt::LeftButton) mask |= kLeftButton;
    if (buttons & Qt::RightButton) mask |= kRightButton;
    if (buttons & Qt::MiddleButton) mask |= kMiddleButton;
    if (buttons & ~(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton)) mask |= 8;
    return mask;
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
