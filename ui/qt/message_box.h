#pragma once
// The game's message boxes shown with QMessageBox: title, icon, buttons and the
// default button as asked; the text shown as the lines it was built with.
#include "window_system.h"

class QWidget;

namespace karvelo {

Answer ShowMessageBox(QWidget* parent, const MessageRequest& request);

}  // namespace karvelo
