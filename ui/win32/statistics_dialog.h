#pragma once
// The statistics window frmStatistik as a modal dialog: its design in twips at the
// density of the display, a read-only multi-line text whose tab stops line the figures
// up in the dialog's font, the buttons "Stäng" and "Rensa Statistiken", the caption
// its model sets, centred over its owner. It shows; the model (frm_statistik.h)
// decides.
#include <windows.h>

#include <functional>

namespace karvelo {
class frmStatistik;
}

namespace karvelo::win32 {

// Shows the dialog until the player closes it. `shown` is told the dialog's window
// when it opens and nullptr when it closes, so that message boxes can be owned by it.
void ShowStatisticsDialog(HINSTANCE module, HWND owner, int dpi, frmStatistik& model,
                          const std::function<void(HWND)>& shown);

// Identifiers of the dialog's controls, for those who look at it from outside.
inline constexpr int kStatisticsTextId = 1001;
inline constexpr int kStatisticsCloseId = IDOK;
inline constexpr int kStatisticsClearId = 1002;

// A tab stop `pixels` from the left of a text in a font whose average character is
// `averageChar` pixels wide, in the dialog units EM_SETTABSTOPS takes (a quarter of
// that average each), never left of `pixels`.
int TabStopDialogUnits(int pixels, int averageChar);

}  // namespace karvelo::win32
