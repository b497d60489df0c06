#include "statistics_bridge.h"

namespace karvelo {

// The statistics window is not part of this build yet.
void OpenStatistics(QWidget*) {}
void StatisticsKeyDown(QWidget*, int, int) {}

}  // namespace karvelo
