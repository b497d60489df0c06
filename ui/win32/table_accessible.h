#pragma once
// The table as Windows' accessibility (MSAA) shows it: the window's client answers
// WM_GETOBJECT with an IAccessible, the list "Bordet", whose children 1 to 16 are the
// places, each an IAccessible of its own with its cards as simple elements 1 to n.
// All of it is read from the one window-independent description (access_tracker.h).
// Nothing is made, and oleacc.dll is not even loaded, until an assistive technology
// first asks; from then on the window calls Refresh after every input it handled (and
// a timer every tenth of a second, for moves that go on after their input), which
// raises the WinEvents of what changed.
#include <windows.h>

#include <memory>
#include <optional>

#include "access_tracker.h"

namespace karvelo {
class Karvelo;
}

namespace karvelo::win32 {

struct AccessShared;

class TableAccessibility {
public:
    static constexpr UINT_PTR kRefreshTimer = 0x4B41;

    TableAccessibility(const Karvelo& form, HWND window);
    ~TableAccessibility();
    TableAccessibility(const TableAccessibility&) = delete;
    TableAccessibility& operator=(const TableAccessibility&) = delete;

    // The answer to WM_GETOBJECT, or nothing for the window's default answer.
    std::optional<LRESULT> ClientObject(WPARAM w, LPARAM l);
    // The density the window draws at, for the screen bounds.
    void SetDpi(int dpi);
    // Describes the table again and raises the events of what changed.
    void Refresh();
    // The window is going: objects still held by a reader answer that they are gone.
    void WindowGone();

    bool Active() const;

private:
    std::shared_ptr<AccessShared> shared_;
};

}  // namespace karvelo::win32
