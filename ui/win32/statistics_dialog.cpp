#include "statistics_dialog.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frm_statistik.h"
#include "statistics_measure.h"
#include "text.h"
#include "twips.h"

namespace karvelo::win32 {
namespace {

namespace W = statistics_window;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int kTextMargin = 2;  // pixels between the text box's edge and its text

struct Dialog {
    frmStatistik& model;
    const std::function<void(HWND)>& shown;
    HWND owner;
    int dpi;
    HWND window = nullptr;
    HWND text = nullptr;
    HWND close = nullptr;
    HWND clear = nullptr;
    HFONT font = nullptr;
};

RECT Place(const W::Box& b, int dpi) {
    const int left = PixelsFromTwips(b.left, dpi), top = PixelsFromTwips(b.top, dpi);
    return {left, top, left + PixelsFromTwips(b.width, dpi), top + PixelsFromTwips(b.height, dpi)};
}

int Width(HDC dc, const char* utf8) {
    const std::wstring w = Wide(utf8);
    SIZE s{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &s);
    return s.cx;
}

// The average character as dialog units count it: the alphabet's width, halved per
// letter and rounded.
int DialogAverageChar(HDC dc) {
    SIZE s{};
    GetTextExtentPoint32W(dc, L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &s);
    return std::max<LONG>(1, (s.cx / 26 + 1) / 2);
}

StatisticsRoom Room(const Dialog& d) {
    const RECT text = Place(W::kText1, d.dpi), close = Place(W::kClose, d.dpi), clear = Place(W::kClear, d.dpi);
    const int edges = 2 * GetSystemMetricsForDpi(SM_CXEDGE, static_cast<UINT>(d.dpi));
    return {text.right - text.left - edges - 2 * kTextMargin, text.bottom - text.top - edges,
            close.right - close.left, clear.right - clear.left};
}

// The system's message font at the dialog's density, as large as fits the design.
void Layout(Dialog& d) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW lf{};
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                   static_cast<UINT>(d.dpi))) {
        lf = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    // Each size tried is selected into one device context, where it is measured.
    HDC dc = GetDC(d.window);
    HGDIOBJ original = nullptr;
    HFONT font = nullptr;
    auto measure = [&](int pixels) {
        lf.lfHeight = -pixels;
        HFONT next = CreateFontIndirectW(&lf);
        HGDIOBJ previous = SelectObject(dc, next);
        if (!original) original = previous;
        if (font) DeleteObject(font);
        font = next;
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        return StatisticsFont{[dc](const char* text) { return Width(dc, text); },
                              std::max<int>(1, tm.tmAveCharWidth), std::max<int>(1, tm.tmHeight)};
    };
    const int systemPixels = lf.lfHeight != 0 ? std::abs(lf.lfHeight) : MulDiv(12, d.dpi, 96);
    const StatisticsFont chosen = measure(FitStatisticsFont(systemPixels, d.dpi, Room(d), measure));
    const StatisticsTextLayout layout = LayoutStatisticsText(chosen.width, chosen.averageChar);
    const int averageChar = DialogAverageChar(dc);
    SelectObject(dc, original);
    ReleaseDC(d.window, dc);
    if (d.font) DeleteObject(d.font);
    d.font = font;

    // The dialog's client area as designed, centred over the owner and kept on its
    // display.
    RECT outer{0, 0, PixelsFromTwips(W::kClientWidth, d.dpi), PixelsFromTwips(W::kClientHeight, d.dpi)};
    AdjustWindowRectExForDpi(&outer, static_cast<DWORD>(GetWindowLongPtrW(d.window, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(d.window, GWL_EXSTYLE)),
                             static_cast<UINT>(d.dpi));
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    RECT over{};
    GetWindowRect(d.owner ? d.owner : GetDesktopWindow(), &over);
    int x = (over.left + over.right - w) / 2, y = (over.top + over.bottom - h) / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&over, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::max<int>(work.left, std::min<int>(x, work.right - w));
        y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    }
    SetWindowPos(d.window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);

    const std::pair<HWND, const W::Box*> controls[] = {
        {d.text, &W::kText1}, {d.close, &W::kClose}, {d.clear, &W::kClear}};
    for (const auto& [control, box] : controls) {
        const RECT r = Place(*box, d.dpi);
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), TRUE);
    }
    SendMessageW(d.text, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kTextMargin, kTextMargin));
    std::array<INT, 5> stops{};
    for (size_t i = 0; i < stops.size(); ++i)
        stops[i] = TabStopDialogUnits(layout.stops[i], averageChar);
    SendMessageW(d.text, EM_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
    InvalidateRect(d.text, nullptr, TRUE);
}

void ShowText(const Dialog& d) {
    const std::wstring text = Wide(d.model.Text());
    SetWindowTextW(d.text, text.c_str());
}

HWND Control(const Dialog& d, const wchar_t* cls, const std::string& caption, DWORD style, DWORD exStyle,
             int id) {
    return CreateWindowExW(exStyle, cls, Wide(caption).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                           d.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(d.window, GWLP_HINSTANCE)),
                           nullptr);
}

void Close(Dialog& d) {
    d.model.cmdClose_Click();
    EndDialog(d.window, IDOK);
}

INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* d = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        d = reinterpret_cast<Dialog*>(l);
        SetWindowLongPtrW(window, DWLP_USER, l);
        d->window = window;
        SetWindowTextW(window, Wide(d->model.Caption()).c_str());
        // In the design's focus order: the text, "Stäng", "Rensa Statistiken".
        d->text = Control(*d, L"EDIT", "", WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE,
                          kStatisticsTextId);
        d->close = Control(*d, L"BUTTON", W::kCloseCaption, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kStatisticsCloseId);
        d->clear = Control(*d, L"BUTTON", W::kClearCaption, WS_TABSTOP | BS_PUSHBUTTON, 0, kStatisticsClearId);
        if (!d->model.ClearButtonVisible()) ShowWindow(d->clear, SW_HIDE);
        Layout(*d);
        ShowText(*d);
        d->shown(window);
        SetFocus(d->text);
        SendMessageW(d->text, EM_SETSEL, 0, 0);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (!d) break;
        switch (LOWORD(w)) {
        case IDOK:
        case IDCANCEL:  // Esc and the close box
            Close(*d);
            return TRUE;
        case kStatisticsClearId:
            if (HIWORD(w) == BN_CLICKED) {
                d->model.cmdRensaReg_Click();
                ShowText(*d);
            }
            return TRUE;
        default: break;
        }
        break;
    case WM_CTLCOLORSTATIC:
        // The text box in the colour of menus, as designed.
        if (d && reinterpret_cast<HWND>(l) == d->text) {
            HDC dc = reinterpret_cast<HDC>(w);
            SetBkColor(dc, GetSysColor(COLOR_MENU));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_MENU));
        }
        break;
    case WM_DPICHANGED:
        if (d) {
            d->dpi = LOWORD(w);
            Layout(*d);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        if (d) {
            d->shown(nullptr);
            if (d->font) DeleteObject(d->font);
            d->font = nullptr;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace

int TabStopDialogUnits(int pixels, int averageChar) {
    if (averageChar <= 0) averageChar = 1;
    return std::max(0, (pixels * 4 + averageChar - 1) / averageChar);
}

void ShowStatisticsDialog(HINSTANCE module, HWND owner, int dpi, frmStatistik& model,
                          const std::function<void(HWND)>& shown) {
    // A template with no controls: they are made and placed at the display's density
    // when the dialog opens.
    alignas(DWORD) WORD buffer[16] = {};
    DLGTEMPLATE t{};
    t.style = kDialogStyle;
    t.cx = 100;
    t.cy = 100;
    std::memcpy(buffer, &t, sizeof t);  // then no menu, the dialog class, no title
    Dialog d{model, shown, owner, dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI};
    DialogBoxIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(buffer), owner, Procedure,
                            reinterpret_cast<LPARAM>(&d));
    if (d.font) DeleteObject(d.font);
}

}  // namespace karvelo::win32
