#include "window_icon.h"

#include "pictures.h"

namespace karvelo {

QIcon WindowIcon() {
    // Only the drawings the window hands to the window system are read.
    static const QIcon icon = AppIcon(64);
    return icon;
}

}  // namespace karvelo
