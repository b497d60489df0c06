#include "window_icon.h"

#include "pictures.h"

namespace karvelo {

QIcon WindowIcon() {
    static const QIcon icon = [] {
        constexpr int kLargest = 64;
        const QIcon all = AppIcon();
        QIcon small;
        for (const QSize& size : all.availableSizes())
            if (size.width() <= kLargest) small.addPixmap(all.pixmap(size));
        return small.isNull() ? all : small;
    }();
    return icon;
}

}  // namespace karvelo
