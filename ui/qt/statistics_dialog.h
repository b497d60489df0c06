#pragma once
// The statistics window frmStatistik drawn by Qt: a modal dialog with the read-only
// text box Text1 and the buttons "Stäng" and "Rensa Statistiken", laid out from the
// window's design in twips. What it shows and what its buttons do is the window's own
// (ui/frm_statistik.h); this only draws it and passes the clicks on.
#include <QDialog>

#include "frm_statistik.h"

class QPlainTextEdit;
class QPushButton;

namespace karvelo {

class StatisticsDialog final : public QDialog {
public:
    StatisticsDialog(frmStatistik& window, QWidget* owner);

    // The window's text again (after a clearing).
    void ShowText();

    QPlainTextEdit* Text1;
    QPushButton* cmdClose;
    QPushButton* cmdRensaReg;

private:
    void FitFont();
    void ApplyTabStops();
    frmStatistik& window_;
};

}  // namespace karvelo
