// The game's window as Windows delivers to it and as it paints: its menu bar, keys and
// mouse messages reaching the form, the table it draws after a deal, the statistics
// window it opens, and closing during a game. Every test starts with the program's
// registry keys removed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "dialogs.h"
#include "event_pump.h"
#include "frm_statistik.h"
#include "funktioner.h"
#include "main_window.h"
#include "statistics_dialog.h"
#include "text.h"
#include "twips.h"

using namespace karvelo;
using namespace karvelo::win32;

namespace {

constexpr wchar_t kAppKey[] = L"Software\\VB and VBA Program Settings\\Karvelo";

class GameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
        funktioner::GameInProgress = false;  // no game of an earlier test's window runs on
        window = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE);
        ASSERT_NE(window, nullptr);
        hwnd = window->Handle();
        window->SetPacing(false);
        window->SetMessageAnswerer([this](const MessageRequest& r) {
            messages.push_back(r);
            return Answer::No;
        });
    }
    void TearDown() override {
        window.reset();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
    }
    int Px(double twips) const { return PixelsFromTwips(twips, window->Dpi()); }
    LPARAM At(double xTwips, double yTwips) const { return MAKELPARAM(Px(xTwips), Px(yTwips)); }
    void Key(UINT vk, std::initializer_list<int> held = {}) {
        BYTE keys[256] = {};
        for (int k : held) keys[k] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(hwnd, held.size() && *held.begin() == VK_MENU ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 0);
        BYTE none[256] = {};
        SetKeyboardState(none);
    }
    void Deal() {
        Key(VK_F2);
        ASSERT_TRUE(funktioner::GameInProgress);
        UpdateWindow(hwnd);
    }
    std::wstring MenuText(HMENU menu, UINT position) const {
        wchar_t text[64] = {};
        GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
        return text;
    }

    std::unique_ptr<MainWindow> window;
    HWND hwnd = nullptr;
    std::vector<MessageRequest> messages;
};

TEST_F(GameWindow, MenuBarHoldsTheTreeWithFunctionKeysAndTheStandardSpeedTicked) {
    HMENU bar = GetMenu(hwnd);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), L"Meny");
    EXPECT_EQ(MenuText(bar, 1), L"Inst\u00e4llningar");
    EXPECT_EQ(MenuText(bar, 2), L"Hj\u00e4lp");
    HMENU meny = GetSubMenu(bar, 0);
    EXPECT_EQ(MenuText(meny, 0), L"Nytt spel\tF2");
    EXPECT_EQ(MenuText(meny, 1), L"Statistik\tF3");
    EXPECT_EQ(MenuText(meny, 2), L"Avsluta");
    HMENU speeds = GetSubMenu(GetSubMenu(bar, 1), 0);
    ASSERT_EQ(GetMenuItemCount(speeds), 5);
    EXPECT_EQ(MenuText(speeds, 4), L"Hastighet 5 (l\u00e5ngsammast)");
    for (int k = 0; k < 5; ++k) EXPECT_EQ(window->menu().SpeedItemTicked(k), k == 2) << k;

    // Choosing an item moves the tick and stores the speed.
    SendMessageW(hwnd, WM_COMMAND, window->menu().IdOf(MenuCommand::Hastighet, 0), 0);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(window->menu().SpeedItemTicked(k), k == 0) << k;
    EXPECT_EQ(funktioner::AnimationSpeed, 1);
}

TEST_F(GameWindow, F2GrowsTheWindowToItsTargetAndDealsThePaintedTable) {
    RECT before;
    GetWindowRect(hwnd, &before);
    Deal();
    RECT after;
    GetWindowRect(hwnd, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    // 9015 twips, give or take the rounding of the hundred steps.
    EXPECT_NEAR(after.bottom - after.top, Px(9015), 2);

    HDC dc = GetDC(hwnd);
    // The free cells' sunken edges on the standard green: dark above, light below.
    EXPECT_EQ(GetPixel(dc, 10, 0), RGB(0, 88, 0));
    EXPECT_EQ(GetPixel(dc, 10, Px(1500) - 1), RGB(0, 173, 0));
    EXPECT_EQ(GetPixel(dc, 10, 20), RGB(0, 128, 0));
    // Every exposed card is painted: a white face where a card lies, background between.
    for (int c = 1; c <= 8; ++c) {
        const int n = funktioner::Board(c, 0);
        const int x = Px(120 + 1200 * (c - 1)) + 35, y = Px(1680 + 300 * (n - 1)) + 48;
        EXPECT_NE(GetPixel(dc, x, y), RGB(0, 128, 0)) << c;
        EXPECT_EQ(GetPixel(dc, x, y + 60), RGB(0, 128, 0)) << c;
    }
    ReleaseDC(hwnd, dc);
}

TEST_F(GameWindow, DoubleClickSendsTheExposedCardToTheLeftmostFreeCell) {
    Deal();
    const int n = funktioner::Board(3, 0), card = funktioner::Board(3, n);
    const LPARAM at = At(120 + 2400 + 500, 1680 + 300 * (n - 1) + 700);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    // Unless the automatic play took it on to a foundation.
    const bool inCell = funktioner::Board(0, 1) == card;
    const bool played = funktioner::Board(9, (card - 1) / 13 + 1) >= card;
    EXPECT_TRUE(inCell || played);
    EXPECT_NE(funktioner::Board(3, funktioner::Board(3, 0)), card);
}

TEST_F(GameWindow, KeysPlayWithRepeatsOnceAndReleasesEndingThePeek) {
    Deal();
    constexpr LPARAM kRepeat = LPARAM{1} << 30;  // the key was down already
    Key(VK_RIGHT);  // shows the focus on column 1
    ASSERT_TRUE(window->form().KeyboardFocus());
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    ASSERT_EQ(window->form().KeyboardFocus()->place, (TablePlace{PlaceKind::Column, 3}));
    // Enter held down: the first press lifts, its repeats do not drop.
    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, kRepeat);
    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, kRepeat);
    SendMessageW(hwnd, WM_KEYUP, VK_RETURN, 0);
    ASSERT_TRUE(window->form().KeyboardFocus()->lifted);
    Key(VK_ESCAPE);
    EXPECT_FALSE(window->form().KeyboardFocus()->lifted);
    // The peek key shows the focused card until its release, or until the keys go to
    // another window.
    for (const UINT end : {UINT{WM_KEYUP}, UINT{WM_KILLFOCUS}}) {
        SendMessageW(hwnd, WM_KEYDOWN, 'V', 0);
        SendMessageW(hwnd, WM_KEYDOWN, 'V', kRepeat);
        EXPECT_TRUE(window->form().Visible(0));
        SendMessageW(hwnd, end, end == WM_KEYUP ? 'V' : 0, 0);
        EXPECT_FALSE(window->form().Visible(0));
    }
    // The free-cell key, as a double-click.
    const int card = funktioner::Board(3, funktioner::Board(3, 0));
    Key('F');
    const bool inCell = funktioner::Board(0, 1) == card;
    const bool played = funktioner::Board(9, (card - 1) / 13 + 1) >= card;
    EXPECT_TRUE(inCell || played);
}

TEST_F(GameWindow, DragFollowsThePointerAndAReleaseOutsideTheWindowStillArrives) {
    Deal();
    const int n = funktioner::Board(1, 0), card = funktioner::Board(1, n);
    const LPARAM at = At(120 + 500, 1680 + 300 * (n - 1) + 700);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(GetCapture(), hwnd);
    EXPECT_TRUE(window->form().DragActive());
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, -40));
    ASSERT_TRUE(window->form().scene().Drag().has_value());
    EXPECT_LT(window->form().scene().Drag()->rect.left, 0);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-40, -40));
    EXPECT_FALSE(window->form().DragActive());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(funktioner::Board(1, n), card);  // dropped on nothing: it stays
}

TEST_F(GameWindow, HiddenKeysOpenTheFullViewAndAskBeforeClearingTheTotal) {
    std::vector<std::string> captions;
    std::vector<bool> clearShown;
    window->SetStatisticsViewer([&](frmStatistik& f) {
        captions.push_back(f.Caption());
        clearShown.push_back(f.ClearButtonVisible());
    });
    Key(VK_F3);
    Key('T', {VK_CONTROL, VK_MENU});
    Key('T', {VK_CONTROL, VK_MENU, VK_SHIFT});  // Shift too: nothing
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[0], "Statistik - Karvelo");
    EXPECT_TRUE(clearShown[0]);
    EXPECT_EQ(captions[1], "Den hemliga fullst\xC3\xA4ndiga statistiken - Karvelo");
    EXPECT_FALSE(clearShown[1]);

    Key(VK_SUBTRACT, {VK_CONTROL, VK_MENU, VK_SHIFT});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Rensa?");
    EXPECT_EQ(MessageBoxFlags(messages[0]), UINT(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2 | MB_SETFOREGROUND));
    Key(VK_OEM_MINUS, {VK_CONTROL, VK_MENU, VK_SHIFT});  // the main keyboard's minus: nothing
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(GameWindow, ClosingDuringAGameStoresItAsLostAndEndsTheLoop) {
    Deal();
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(RunMessageLoop(), 0);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kAppKey) + L"\\Statistik").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, L"Stat 1", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    RegCloseKey(key);
}

// A stored statistics counter, 0 when missing.
DWORD StoredStat(const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kAppKey) + L"\\Statistik").c_str(), name, RRF_RT_ANY,
                 nullptr, &value, &size);
    return value;
}

TEST_F(GameWindow, TheEndOfTheSessionDuringAGameStoresOneLossAndEndsTheRun) {
    Deal();
    EXPECT_TRUE(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)) << "never holds it up";
    SendMessageW(hwnd, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);  // another program refused
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(StoredStat(L"Stat 1"), 0u);
    SendMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(StoredStat(L"Stat 1"), 1u);
    EXPECT_EQ(StoredStat(L"Stat 8"), 1u) << "a run of one loss";
    EXPECT_EQ(RunMessageLoop(), 0);
}

TEST_F(GameWindow, TheEndOfTheSessionInTheMiddleOfAMoveWaitsForItAndStoresOneLoss) {
    Deal();
    const int n = funktioner::Board(3, 0);
    const LPARAM at = At(120 + 2400 + 500, 1680 + 300 * (n - 1) + 700);
    // Arrives while the double-click's card flies to its free cell.
    PostMessageW(hwnd, WM_ENDSESSION, TRUE, 0);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    ProcessPendingEvents();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(StoredStat(L"Stat 1"), 1u);
    EXPECT_EQ(StoredStat(L"Stat 8"), 1u);
}

// The real statistics dialog as the player meets it: looked at the moment it becomes
// visible, followed while it shows, and closed with "Stäng" once it has been painted.
// Hooks on the thread see its messages; a timer only ends a dialog that never shows.
struct Seen {
    std::wstring caption, text;
    RECT client{};                // as it became visible
    std::vector<RECT> otherSizes;  // any other client size while it showed
    bool clearVisible = true;
    bool found = false;
    bool closing = false;
};
Seen seen;
HHOOK sentHook = nullptr, postedHook = nullptr;

bool IsStatisticsDialog(HWND w) { return w && GetDlgItem(w, kStatisticsTextId) && !GetParent(w); }

void Close(HWND dialog) {
    if (seen.closing) return;
    seen.closing = true;
    PostMessageW(GetDlgItem(dialog, kStatisticsCloseId), BM_CLICK, 0, 0);
}

LRESULT CALLBACK WatchSent(int code, WPARAM w, LPARAM l) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(l);
    if (code == HC_ACTION && m->message == WM_WINDOWPOSCHANGED && IsStatisticsDialog(m->hwnd)) {
        HWND dialog = m->hwnd;
        RECT client;
        GetClientRect(dialog, &client);
        if (!seen.found && (reinterpret_cast<const WINDOWPOS*>(m->lParam)->flags & SWP_SHOWWINDOW)) {
            seen.found = true;
            seen.client = client;
            wchar_t caption[80] = {};
            GetWindowTextW(dialog, caption, 80);
            seen.caption = caption;
            wchar_t text[2048] = {};
            GetDlgItemTextW(dialog, kStatisticsTextId, text, 2048);
            seen.text = text;
            seen.clearVisible = IsWindowVisible(GetDlgItem(dialog, kStatisticsClearId));
        } else if (seen.found && IsWindowVisible(dialog) && !EqualRect(&client, &seen.client)) {
            seen.otherSizes.push_back(client);
        }
    }
    return CallNextHookEx(sentHook, code, w, l);
}

LRESULT CALLBACK WatchPosted(int code, WPARAM w, LPARAM l) {
    const auto* m = reinterpret_cast<const MSG*>(l);
    if (code == HC_ACTION && w == PM_REMOVE && m->message == WM_PAINT && seen.found && IsStatisticsDialog(m->hwnd))
        Close(m->hwnd);
    return CallNextHookEx(postedHook, code, w, l);
}

void CALLBACK NeverShown(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = GetActiveWindow();
    if (!IsStatisticsDialog(dialog)) return;
    KillTimer(nullptr, timer);
    Close(dialog);
}

TEST(StatisticsDialog, ShowsTheModelsTextAtTheDesignedSizeAndClosesOnStang) {
    frmStatistik model(NumberFormat{",", ""});
    const int32_t stats[14] = {3, 2};
    model.FormateraStatistiken(stats, 6);
    model.SetCaption("Den hemliga fullst\xC3\xA4ndiga statistiken - Karvelo");
    model.SetClearButtonVisible(false);
    seen = {};
    sentHook = SetWindowsHookExW(WH_CALLWNDPROCRET, WatchSent, nullptr, GetCurrentThreadId());
    postedHook = SetWindowsHookExW(WH_GETMESSAGE, WatchPosted, nullptr, GetCurrentThreadId());
    const UINT_PTR timeout = SetTimer(nullptr, 0, 20000, NeverShown);
    ShowStatisticsDialog(GetModuleHandleW(nullptr), nullptr, 96, model, [](HWND) {});
    KillTimer(nullptr, timeout);
    UnhookWindowsHookEx(postedHook);
    UnhookWindowsHookEx(sentHook);
    ASSERT_TRUE(seen.found) << "the dialog never showed";
    EXPECT_EQ(seen.caption, L"Den hemliga fullst\u00e4ndiga statistiken - Karvelo");
    EXPECT_EQ(seen.client.right, PixelsFromTwips(4545, 96));
    EXPECT_EQ(seen.client.bottom, PixelsFromTwips(4890, 96));
    EXPECT_TRUE(seen.otherSizes.empty()) << seen.otherSizes.front().right << " x " << seen.otherSizes.front().bottom;
    EXPECT_EQ(seen.text, Wide(model.Text()));
    EXPECT_NE(seen.text.find(L"66,7%"), std::wstring::npos);
    EXPECT_FALSE(seen.clearVisible);
    EXPECT_TRUE(model.Closed());
}

TEST(StatisticsDialog, TabStopsInDialogUnitsNeverFallShortOfTheirPixels) {
    for (int average : {5, 6, 7, 9, 13})
        for (int px : {0, 1, 10, 95, 143, 219}) {
            const int units = TabStopDialogUnits(px, average);
            EXPECT_GE(units * average / 4, px) << px << " " << average;
            EXPECT_LT((units - 1) * average / 4, px > 0 ? px : 1) << px << " " << average;
        }
    EXPECT_EQ(TabStopDialogUnits(100, 0), 400);  // a font without width: no division by 0
}

TEST(Text, Utf16BothWaysAndMalformedUtf8Replaced) {
    EXPECT_EQ(Wide("St\xC3\xA4ng"), L"St\u00e4ng");
    EXPECT_EQ(Utf8(L"Hj\u00e4rter\r\n\t"), "Hj\xC3\xA4rter\r\n\t");
    EXPECT_EQ(Wide(""), L"");
    const std::wstring bad = Wide("a\xC3(b\xFF");
    EXPECT_EQ(bad.front(), L'a');
    EXPECT_NE(bad.find(L'\uFFFD'), std::wstring::npos);
    EXPECT_NE(bad.find(L'b'), std::wstring::npos);
}

TEST(MessageBoxes, FlagsFollowTheRequest) {
    EXPECT_EQ(MessageBoxFlags({"x", Buttons::OK, Icon::None, DefaultButton::First, "Karvelo"}),
              UINT(MB_OK | MB_SETFOREGROUND));
    EXPECT_EQ(MessageBoxFlags({"x", Buttons::OK, Icon::Exclamation, DefaultButton::First, "Wrong move"}),
              UINT(MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND));
    EXPECT_EQ(MessageBoxFlags({"x", Buttons::YesNo, Icon::None, DefaultButton::First, "Karvelo"}),
              UINT(MB_YESNO | MB_SETFOREGROUND));
}

}  // namespace

