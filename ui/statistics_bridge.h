#pragma once
// The statistics window's entry points as the main window reaches them: the menu
// command and the two key combinations.
class QWidget;

namespace karvelo {

void OpenStatistics(QWidget* owner);
void StatisticsKeyDown(QWidget* owner, int keyCode, int shift);

}  // namespace karvelo
