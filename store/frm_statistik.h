#pragma once
// The statistics window frmStatistik: a modal dialog with the statistics text and the
// buttons "Stäng" and "Rensa Statistiken", and the entry points the main window calls.
#include <QDialog>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "statistics_keys.h"
#include "statistics_text.h"

class QKeyEvent;
class QPlainTextEdit;
class QPushButton;

namespace karvelo {

class frmStatistik final : public QDialog {
public:
    explicit frmStatistik(QWidget* owner);

    // Builds the text from lngStat (entries from [1] on) and shows it in Text1.
    void FormateraStatistiken(std::span<const int32_t> lngStat, int32_t lngAntal);
    void cmdClose_Click();
    void cmdRensaReg_Click();

    // The text as built, with its TABs and CR LF line breaks.
    const std::string& text() const { return text_; }

    QPlainTextEdit* Text1;
    QPushButton* cmdClose;
    QPushButton* cmdRensaReg;

private:
    void FitFont();
    void ApplyTabStops();
    std::string text_;
};

// The dialog set up for each view, not yet shown (the entry points below show it).
std::unique_ptr<frmStatistik> PrepareNormalView(QWidget* owner);
std::unique_ptr<frmStatistik> PrepareFullView(QWidget* owner);

// "Statistik" in the menu (F3): the stored record, the series and the clear button.
void mnuStatistik_Click(QWidget* owner);
// Ctrl+Alt+T: the current and total statistics combined, without the clear button.
void ShowFullStatistics(QWidget* owner);
// Ctrl+Alt+Shift+keypad minus: asks "Rensa?" and clears the total on Yes.
void AskClearTotalStatistics();

// For the main window's key handler: does what the key combination asks, if anything,
// and tells whether it was a statistics key.
bool StatisticsKeyDown(QWidget* owner, int virtualKey, int shiftState);
bool StatisticsKeyDown(QWidget* owner, const QKeyEvent& event);

// A Qt key event as a Windows virtual-key code and shift state (0 for keys that have
// no code here).
int VirtualKeyOf(const QKeyEvent& event);
int ShiftStateOf(const QKeyEvent& event);

// The user's number format, from the system locale.
NumberFormat UserNumberFormat();

}  // namespace karvelo
