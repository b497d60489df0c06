#include "main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "dialogs.h"
#include "event_pump.h"
#include "first_frame_report.h"
#include "frm_statistik.h"
#include "input.h"
#include "resource_ids.h"
#include "statistics_dialog.h"
#include "table_accessible.h"
#include "text.h"
#include "twips.h"
#include "window_layout.h"

namespace karvelo::win32 {
namespace {

constexpr wchar_t kClassName[] = L"Karvelo";

int Px(double twips, int dpi) { return PixelsFromTwips(twips, dpi); }

RECT OuterRect(int left, int top, int width, int height, int dpi, bool menuBar) {
    RECT r{left, top, left + width, top + height};
    AdjustWindowRectExForDpi(&r, kMainWindowStyle, menuBar, 0, static_cast<UINT>(dpi));
    return r;
}

bool IsInputMessage(UINT message) {
    switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
    case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONUP: case WM_COMMAND:
        return true;
    default:
        return false;
    }
}

}  // namespace

RECT StartWindowRect(int dpi, bool menuBar) {
    return OuterRect(Px(layout::kScreenLeft, dpi), Px(layout::kScreenTop, dpi), Px(layout::kClientWidth, dpi),
                     Px(layout::kClientHeight, dpi), dpi, menuBar);
}

MainWindow::MainWindow(HINSTANCE module)
    : module_(module),
      painter_(module),
      form_(*this),
      clientHeightTwips_(static_cast<float>(layout::kClientHeight)) {
    form_.scene().SetDamageListener([this](const TwipRect& r) { Damage(r); });
}

MainWindow::~MainWindow() {
    form_.scene().SetDamageListener(nullptr);
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    ReleaseBackBuffer();
    if (updateRegion_) DeleteObject(updateRegion_);
    for (HICON icon : icons_)
        if (icon) DestroyIcon(icon);
}

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE module, int showCommand) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &MainWindow::Procedure;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    wc.lpszClassName = kClassName;
    // No class background: every pixel is painted from the off-screen bitmap.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

    std::unique_ptr<MainWindow> self(new MainWindow(module));
    const int systemDpi = static_cast<int>(GetDpiForSystem());
    const RECT r = StartWindowRect(systemDpi);
    HWND window = CreateWindowExW(0, kClassName, Wide(kAppTitle).c_str(), kMainWindowStyle, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, self->menu_.Handle(), module,
                                  self.get());
    if (!window) return nullptr;
    self->access_ = std::make_unique<TableAccessibility>(self->form_, window);
    self->menu_.Released();  // the window destroys its menu
    // The display the window opened on may be denser than the system's default.
    const int dpi = static_cast<int>(GetDpiForWindow(window));
    self->UseDpi(dpi > 0 ? dpi : systemDpi);
    self->FitClientArea(true);
    self->DisplayChanged();
    self->form_.Form_Load();
    if (!self->window_) return nullptr;  // the form ended the run while loading
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return self;
}

// The client area as designed, at its place, whatever the menu bar and frame took:
// Windows' estimate of the menu bar's height is not always the height it gets.
void MainWindow::FitClientArea(bool place) {
    RECT client, outer;
    GetClientRect(window_, &client);
    GetWindowRect(window_, &outer);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    const int dw = Px(layout::kClientWidth, dpi_) - client.right;
    const int dh = Px(clientHeightTwips_, dpi_) - client.bottom;
    const int dx = place ? Px(layout::kScreenLeft, dpi_) - origin.x : 0;
    const int dy = place ? Px(layout::kScreenTop, dpi_) - origin.y : 0;
    if (dw == 0 && dh == 0 && dx == 0 && dy == 0) return;
    SetWindowPos(window_, nullptr, outer.left + dx, outer.top + dy, outer.right - outer.left + dw,
                 outer.bottom - outer.top + dh, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE MainWindow::OuterSizeAt(int dpi) const {
    const RECT r = OuterRect(0, 0, Px(layout::kClientWidth, dpi), Px(clientHeightTwips_, dpi), dpi, true);
    return {r.right - r.left, r.bottom - r.top};
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, w, l);
    if (TableAccessibility* access = self->access_.get()) {
        if (message == WM_GETOBJECT) {
            if (const auto object = access->ClientObject(w, l)) return *object;
        } else if (message == WM_TIMER && w == TableAccessibility::kRefreshTimer) {
            access->Refresh();
            return 0;
        } else if (message == WM_DESTROY) {
            access->WindowGone();
        }
    }
    const LRESULT result = self->Handle(message, w, l);
    // Input may have changed the table: a screen reader hears of it at once.
    if (self->access_ && IsInputMessage(message)) self->access_->Refresh();
    return result;
}

LRESULT MainWindow::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // painted with everything else in WM_PAINT
    case WM_PAINT:
        Paint();
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN: case WM_XBUTTONUP: case WM_XBUTTONDBLCLK:
        Pointer(message, w, l);
        return message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK ? TRUE : 0;
    case WM_KEYDOWN:
        Key(message, w, l);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt with a key is also the menu's and the frame's (Alt+F4); with Ctrl it is
        // only the game's.
        if (Key(message, w, l) || !window_) return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        form_.KeyReleased(static_cast<int>(w), ShiftState());
        if (message == WM_KEYUP) return 0;
        break;
    case WM_KILLFOCUS:
        form_.KeysLost();  // a key held now is released elsewhere
        break;
    case WM_SYSCHAR:
        if (GetKeyState(VK_CONTROL) < 0) return 0;  // no menu letter: no beep
        break;
    case WM_COMMAND:
        if (HIWORD(w) == 0 && l == 0) {
            if (const auto choice = menu_.ChoiceFor(LOWORD(w))) form_.MenuChosen(choice->command, choice->index);
            return 0;
        }
        break;
    case WM_CLOSE:
        form_.CloseRequested();  // the form decides; its shut-down unloads the window
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;  // the game never holds up the end of a session
    case WM_ENDSESSION:
        if (w) form_.SessionEnding();  // it ends: no message comes after this one
        return 0;
    case WM_GETDPISCALEDSIZE: {
        // Windows asks what size the window takes at another density: exactly this
        // client area at that density, not the old size scaled.
        *reinterpret_cast<SIZE*>(l) = OuterSizeAt(LOWORD(w));
        return TRUE;
    }
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(l);
        const SIZE outer = OuterSizeAt(LOWORD(w));
        UseDpi(LOWORD(w));
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        FitClientArea(false);
        DisplayChanged();
        InvalidateRect(window_, nullptr, FALSE);
        frameDue_ = true;
        return 0;
    }
    case WM_DISPLAYCHANGE:
        DisplayChanged();
        break;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, w, l);
}

void MainWindow::Pointer(UINT message, WPARAM w, LPARAM l) {
    const auto x = static_cast<float>(TwipsFromPixels(GET_X_LPARAM(l), dpi_));
    const auto y = static_cast<float>(TwipsFromPixels(GET_Y_LPARAM(l), dpi_));
    if (message == WM_MOUSEMOVE) {
        form_.PointerMoved(x, y, ButtonsHeld(GET_KEYSTATE_WPARAM(w)));
        return;
    }
    const int16_t button = ButtonOf(message, w);
    if (IsPress(message)) {
        // Held, the pointer stays the window's: a release outside it still comes here.
        SetCapture(window_);
        form_.PointerPressed(x, y, button, IsDoubleClick(message));
    } else if (IsRelease(message)) {
        if (ButtonsHeld(GET_KEYSTATE_WPARAM(w)) == 0 && GetCapture() == window_) ReleaseCapture();
        form_.PointerReleased(x, y, button);
    }
}

// Every key press goes to the form with its shift state; a function key pressed alone
// is also the menu item it stands for. True when it was the menu's.
bool MainWindow::Key(UINT, WPARAM w, LPARAM l) {
    const int shift = ShiftState();
    const auto key = static_cast<UINT>(w);
    const bool repeated = (l & (LPARAM{1} << 30)) != 0;  // the key was down already
    form_.KeyPressed(static_cast<int>(key), shift, repeated);
    if (!window_ || shift != 0) return false;
    const auto choice = menu_.ChoiceForKey(key);
    if (!choice) return false;
    form_.MenuChosen(choice->command, choice->index);
    return true;
}

void MainWindow::UseDpi(int dpi) {
    dpi_ = dpi;
    if (access_) access_->SetDpi(dpi);
    painter_.SetDpi(dpi);
    SetIcons();
}

void MainWindow::SetIcons() {
    const int sizes[2] = {GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi_)),
                          GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi_))};
    for (int i = 0; i < 2; ++i) {
        HICON icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(KARVELO_ICON),
                                                   IMAGE_ICON, sizes[i], sizes[i], 0));
        if (!icon) continue;
        SendMessageW(window_, WM_SETICON, i == 0 ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        if (icons_[i]) DestroyIcon(icons_[i]);
        icons_[i] = icon;
    }
}

// ---- Painting

void MainWindow::Damage(const TwipRect& rect) {
    frameDue_ = true;
    if (!window_) return;
    const RECT r = painter_.DamagedPixels(rect);
    InvalidateRect(window_, &r, FALSE);
}

HDC MainWindow::BackBuffer(SIZE size) {
    if (backDc_ && size.cx == backSize_.cx && size.cy == backSize_.cy) return backDc_;
    ReleaseBackBuffer();
    HDC screen = GetDC(window_);
    backDc_ = CreateCompatibleDC(screen);
    backBitmap_ = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(window_, screen);
    if (!backDc_ || !backBitmap_) {
        ReleaseBackBuffer();
        return nullptr;
    }
    backOld_ = SelectObject(backDc_, backBitmap_);
    backSize_ = size;
    return backDc_;
}

void MainWindow::ReleaseBackBuffer() {
    if (backDc_ && backOld_) SelectObject(backDc_, backOld_);
    if (backBitmap_) DeleteObject(backBitmap_);
    if (backDc_) DeleteDC(backDc_);
    backDc_ = nullptr;
    backBitmap_ = nullptr;
    backOld_ = nullptr;
    backSize_ = {};
}

// Draws the region `dirty` (its bounding box `box`) of the table off screen, then
// copies it onto `dc`, which is clipped to it.
void MainWindow::Draw(HDC dc, HRGN dirty, const RECT& box) {
    RECT client;
    GetClientRect(window_, &client);
    // Drawn off screen first, then copied in one piece; straight onto the screen
    // should the off-screen bitmap be more than memory allows.
    HDC back = BackBuffer({std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)});
    HDC target = back ? back : dc;
    if (dirty) SelectClipRgn(target, dirty);
    painter_.Paint(target, form_.scene(), box);
    if (back) {
        SelectClipRgn(back, nullptr);
        BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, back, box.left, box.top, SRCCOPY);
    }
    ++paints_;
    if (!painted_) {
        painted_ = true;
        ReportFirstFrame(window_);
    }
}

// What Windows asks to be painted: a part uncovered, or what the table changed.
void MainWindow::Paint() {
    if (!updateRegion_) updateRegion_ = CreateRectRgn(0, 0, 0, 0);
    const bool region = updateRegion_ && GetUpdateRgn(window_, updateRegion_, FALSE) > NULLREGION;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    Draw(dc, region ? updateRegion_ : nullptr, ps.rcPaint);
    EndPaint(window_, &ps);
}

// The table's changes painted at once, without the round of WM_PAINT: a step of a
// flight costs about half as much so.
void MainWindow::PaintChanges() {
    if (!updateRegion_) updateRegion_ = CreateRectRgn(0, 0, 0, 0);
    if (!updateRegion_ || GetUpdateRgn(window_, updateRegion_, FALSE) <= NULLREGION) return;
    RECT box;
    GetRgnBox(updateRegion_, &box);
    ValidateRgn(window_, updateRegion_);
    HDC dc = GetDC(window_);
    if (!dc) return;
    SelectClipRgn(dc, updateRegion_);
    Draw(dc, updateRegion_, box);
    ReleaseDC(window_, dc);
}

// ---- WindowSystem

Answer MainWindow::ShowMessage(const MessageRequest& request) {
    if (answerer_) return answerer_(request);
    return ShowMessageBox(Owner(), request);
}

std::optional<int32_t> MainWindow::ChooseColour(int32_t current) {
    return ChooseColourDialog(Owner(), current);
}

void MainWindow::ShowStatistics(frmStatistik& window) {
    if (viewer_) {
        viewer_(window);
    } else {
        ShowStatisticsDialog(module_, window_, dpi_, window, [this](HWND shown) { modal_ = shown; });
    }
    modal_ = nullptr;
    window.cmdClose_Click();  // also when the close box or Esc ended it
}

NumberFormat MainWindow::UserNumberFormat() const { return UserNumberFormatOfSystem(); }

// Each step of a flight and of the window's growth is paced to one displayed frame:
// the window tells the form's frame clock whether it can be seen, paints the step, and
// handles input until the frame the clock names, if it names one.
void MainWindow::DoEvents() {
    const bool changed = frameDue_;
    frameDue_ = false;
    const bool seen = window_ && IsWindowVisible(window_) && !IsIconic(window_);
    if (changed && seen) PaintChanges();
    FrameClock& clock = form_.frameClock();
    clock.SetVisible(seen);
    if (const auto due = clock.StepDone(changed, frames_.Now())) {
        frames_.WaitForFrame(clock, *due);
        return;
    }
    ProcessPendingEvents();
}

void MainWindow::DisplayChanged() {
    if (window_) form_.frameClock().SetRefreshRate(FrameWait::RefreshRate(window_));
}

void MainWindow::BackColourChanged(int32_t colour) {
    painter_.SetBackground(colour);
    frameDue_ = true;
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::SpeedTickChanged(int item) {
    menu_.TickSpeedItem(item);
    if (window_) DrawMenuBar(window_);
}

int MainWindow::OuterHeightTwips() const {
    RECT r{};
    if (window_) GetWindowRect(window_, &r);
    return static_cast<int>(std::lround(TwipsFromPixels(r.bottom - r.top, dpi_)));
}

void MainWindow::SetOuterHeightTwips(int twips) {
    if (!window_) return;
    RECT r;
    GetWindowRect(window_, &r);
    const int height = std::max(1, Px(twips, dpi_));
    if (height == r.bottom - r.top) return;
    SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(window_, &client);
    clientHeightTwips_ = static_cast<float>(TwipsFromPixels(client.bottom, dpi_));
    frameDue_ = true;
}

void MainWindow::Unload() {
    if (!window_) return;
    ShowWindow(window_, SW_HIDE);
    DestroyWindow(window_);  // its WM_DESTROY ends the message loop, and so the program
}

}  // namespace karvelo::win32
