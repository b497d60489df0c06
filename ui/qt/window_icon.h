#pragma once
// The icon the window hands to the window system: the sizes a title bar, task bar
// and window switcher show (up to 64 pixels). The larger drawings serve the desktop
// entry; giving them to the window would decode and send them at every start.
#include <QIcon>

namespace karvelo {

QIcon WindowIcon();

}  // namespace karvelo
