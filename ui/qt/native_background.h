#pragma once
// The colour the display server fills a newly exposed part of the window with before
// the window has painted it: when the window grows, its new rows show the table's
// colour at once instead of whatever lay there (on X, a window's background pixel;
// elsewhere nothing is done).
#include <QColor>

class QWidget;

namespace karvelo {

void SetNativeBackground(QWidget& window, const QColor& colour);

}  // namespace karvelo
