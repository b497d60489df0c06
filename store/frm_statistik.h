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
void OpenStatistics(QWidget* owner);
// Ctrl+Alt+T: the current and total statistics combined, without the clear button.
void ShowFullStatistics(QWidget* owner);
// Ctrl+Alt+Shift+keypad minus: asks "Rensa?" and clears the total on Yes.
void AskClearTotalStatistics();

// The main window's key handler passes every key press here, as a Windows virtual-key
// code and shift state; the two statistics combinations act, anything else is ignored.
void StatisticsKeyDown(QWidget* owner, int virtualKey, int shiftState);

// The user's number format, from the system locale.
NumberFormat UserNumberFormat();

}  // namespace karvelo
