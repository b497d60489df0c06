#include "native_background.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef KARVELO_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace karvelo {

void SetNativeBackground(QWidget& window, const QColor& colour) {
#ifdef KARVELO_HAVE_XCB
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    const QColor rgb = colour.toRgb();
    const uint32_t pixel = (static_cast<uint32_t>(rgb.red()) << 16) | (static_cast<uint32_t>(rgb.green()) << 8) |
                           static_cast<uint32_t>(rgb.blue());
    xcb_change_window_attributes(x11->connection(), static_cast<xcb_window_t>(window.winId()), XCB_CW_BACK_PIXEL,
                                 &pixel);
    xcb_flush(x11->connection());
#else
    (void)window;
    (void)colour;
#endif
}

}  // namespace karvelo
