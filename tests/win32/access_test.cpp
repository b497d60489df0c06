// The table as a screen reader gets it on Windows: the window's IAccessible, asked for
// from outside the window's code with AccessibleObjectFromWindow, named after the
// dealt table, its keyboard focus, and the WinEvents raised for focus, lifts and drops.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "funktioner.h"
#include "main_window.h"
#include "test_decks.h"

using namespace karvelo;
using namespace karvelo::win32;

namespace {

constexpr wchar_t kAppKey[] = L"Software\\VB and VBA Program Settings\\Karvelo";

// Column 1 ends in the Hjärter nine, column 5 in the Spader ten; no ace is exposed.
test::DeckOrder KnownDeal() {
    using namespace test;
    return test::DeckWith({{DealPosition(1, 7), Hj(9)}, {DealPosition(2, 7), Kl(9)},
                           {DealPosition(3, 7), Ru(9)}, {DealPosition(4, 7), Sp(9)},
                           {DealPosition(5, 6), Sp(10)}, {DealPosition(6, 6), Kl(10)},
                           {DealPosition(7, 6), Ru(10)}, {DealPosition(8, 6), Hj(10)}});
}

VARIANT Id(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR text) {
    std::wstring s = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return s;
}

std::wstring Name(IAccessible* a, long id = CHILDID_SELF) {
    BSTR name = nullptr;
    a->get_accName(Id(id), &name);
    return Take(name);
}

std::wstring Description(IAccessible* a, long id = CHILDID_SELF) {
    BSTR text = nullptr;
    a->get_accDescription(Id(id), &text);
    return Take(text);
}

long State(IAccessible* a, long id = CHILDID_SELF) {
    VARIANT v;
    v.vt = VT_EMPTY;
    return SUCCEEDED(a->get_accState(Id(id), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}

IAccessible* Child(IAccessible* a, long id) {
    IDispatch* d = nullptr;
    if (a->get_accChild(Id(id), &d) != S_OK || !d) return nullptr;
    IAccessible* child = nullptr;
    d->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&child));
    d->Release();
    return child;
}

struct Event {
    DWORD event;
    LONG object;
    LONG child;
};
std::vector<Event> events;
HWND watched = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd == watched) events.push_back({event, object, child});
}

class AccessibleTable : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
        funktioner::GameInProgress = false;
        window = MainWindow::Create(GetModuleHandleW(nullptr), SW_SHOW);
        ASSERT_NE(window, nullptr);
        hwnd = window->Handle();
        watched = hwnd;
        window->SetPacing(false);
        window->SetMessageAnswerer([](const MessageRequest&) { return Answer::No; });
        funktioner::SetRandomSource(test::DeckSource(KnownDeal()));
        Key(VK_F2);
        ASSERT_TRUE(funktioner::GameInProgress);
        ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                                            __uuidof(IAccessible),
                                                            reinterpret_cast<void**>(&table)));
        ASSERT_NE(table, nullptr);
    }
    void TearDown() override {
        if (hook) UnhookWinEvent(hook);
        if (table) table->Release();
        window.reset();
        Pump();
        RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey);
        CoUninitialize();
    }
    void Key(UINT vk) {
        SendMessageW(hwnd, WM_KEYDOWN, vk, 0);
        SendMessageW(hwnd, WM_KEYUP, vk, LPARAM{1} << 30 | LPARAM{1} << 31);
        Pump();
    }
    static void Pump() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    }
    static bool Seen(DWORD event, LONG child) {
        for (const Event& e : events)
            if (e.event == event && e.object == OBJID_CLIENT && e.child == child) return true;
        return false;
    }

    std::unique_ptr<MainWindow> window;
    HWND hwnd = nullptr;
    IAccessible* table = nullptr;
    HWINEVENTHOOK hook = nullptr;
};

TEST_F(AccessibleTable, TheClientIsBordetWithSixteenPlacesNamedAfterTheDeal) {
    EXPECT_EQ(Name(table), L"Bordet");
    VARIANT role;
    ASSERT_HRESULT_SUCCEEDED(table->get_accRole(Id(CHILDID_SELF), &role));
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LIST);
    long count = 0;
    ASSERT_HRESULT_SUCCEEDED(table->get_accChildCount(&count));
    ASSERT_EQ(count, 16);

    const std::vector<std::wstring> expected = {
        L"Fri cell H, tom", L"Fri cell A, tom", L"Fri cell N, tom", L"Fri cell D, tom",
        L"H\u00f6g Hj\u00e4rter, tom", L"H\u00f6g Kl\u00f6ver, tom", L"H\u00f6g Ruter, tom", L"H\u00f6g Spader, tom",
        L"Kolumn 1, 7 kort, \u00f6verst hj\u00e4rter nio", L"Kolumn 2, 7 kort, \u00f6verst kl\u00f6ver nio",
        L"Kolumn 3, 7 kort, \u00f6verst ruter nio", L"Kolumn 4, 7 kort, \u00f6verst spader nio",
        L"Kolumn 5, 6 kort, \u00f6verst spader tio", L"Kolumn 6, 6 kort, \u00f6verst kl\u00f6ver tio",
        L"Kolumn 7, 6 kort, \u00f6verst ruter tio", L"Kolumn 8, 6 kort, \u00f6verst hj\u00e4rter tio"};
    long tx = 0, ty = 0, tw = 0, th = 0;
    ASSERT_HRESULT_SUCCEEDED(table->accLocation(&tx, &ty, &tw, &th, Id(CHILDID_SELF)));
    for (long id = 1; id <= 16; ++id) {
        IAccessible* place = Child(table, id);
        ASSERT_NE(place, nullptr) << id;
        EXPECT_EQ(Name(place), expected[static_cast<size_t>(id - 1)]);
        EXPECT_EQ(Name(table, id), Name(place)) << "the table answers for its children too";
        long cards = -1;
        place->get_accChildCount(&cards);
        if (id > 8) {
            const int column = static_cast<int>(id) - 8;
            ASSERT_EQ(cards, funktioner::Board(column, 0)) << column;
            long x = 0, y = 0, w = 0, h = 0;
            ASSERT_HRESULT_SUCCEEDED(place->accLocation(&x, &y, &w, &h, Id(CHILDID_SELF)));
            EXPECT_TRUE(x >= tx && y >= ty && x + w <= tx + tw && y + h <= ty + th) << column;
            // The exposed card is the last child, and lies where the pointer finds it.
            long cx = 0, cy = 0, cw = 0, ch = 0;
            ASSERT_HRESULT_SUCCEEDED(place->accLocation(&cx, &cy, &cw, &ch, Id(cards)));
            VARIANT hit;
            ASSERT_EQ(place->accHitTest(cx + cw / 2, cy + ch - 3, &hit), S_OK);
            EXPECT_EQ(hit.vt, VT_I4);
            EXPECT_EQ(hit.lVal, cards);
        } else {
            EXPECT_EQ(cards, 0) << id;
        }
        place->Release();
    }
    IAccessible* column1 = Child(table, 9);
    ASSERT_NE(column1, nullptr);
    EXPECT_EQ(Name(column1, 7), L"hj\u00e4rter nio");
    column1->Release();
}

TEST_F(AccessibleTable, TheKeyboardFocusLiftAndDropAreStatesNamesAndEvents) {
    hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, &OnEvent,
                           GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    ASSERT_EQ(GetFocus(), hwnd);
    events.clear();

    Key(VK_RIGHT);  // the first key shows the focus, on column 1
    VARIANT focus;
    ASSERT_HRESULT_SUCCEEDED(table->get_accFocus(&focus));
    ASSERT_EQ(focus.vt, VT_DISPATCH);
    IAccessible* focused = nullptr;
    focus.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&focused));
    focus.pdispVal->Release();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(Name(focused), L"Kolumn 1, 7 kort, \u00f6verst hj\u00e4rter nio");
    EXPECT_TRUE(State(focused) & STATE_SYSTEM_FOCUSED);
    focused->Release();
    EXPECT_TRUE(Seen(EVENT_OBJECT_FOCUS, 9)) << "the focus on column 1 is announced";

    events.clear();
    Key(VK_RETURN);  // lift the nine
    EXPECT_TRUE(State(table, 9) & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(Description(table, 9), L"Lyft: hj\u00e4rter nio");
    EXPECT_TRUE(Seen(EVENT_OBJECT_STATECHANGE, 9));
    EXPECT_TRUE(Seen(EVENT_OBJECT_DESCRIPTIONCHANGE, 9));

    Key(VK_UP);  // free cell H
    EXPECT_TRUE(Seen(EVENT_OBJECT_FOCUS, 1));
    EXPECT_TRUE(State(table, 1) & STATE_SYSTEM_FOCUSED);
    EXPECT_FALSE(State(table, 9) & STATE_SYSTEM_FOCUSED);

    events.clear();
    Key(VK_RETURN);  // dropped there
    EXPECT_EQ(Name(table, 1), L"Fri cell H, hj\u00e4rter nio");
    EXPECT_EQ(Name(table, 9).rfind(L"Kolumn 1, 6 kort, ", 0), 0u);
    EXPECT_EQ(Description(table, 1).rfind(L"hj\u00e4rter nio till fri cell H", 0), 0u) << Description(table, 1).size();
    EXPECT_TRUE(Seen(EVENT_OBJECT_NAMECHANGE, 1));
    EXPECT_TRUE(Seen(EVENT_OBJECT_NAMECHANGE, 9));
    EXPECT_TRUE(Seen(EVENT_OBJECT_DESCRIPTIONCHANGE, 1));
    EXPECT_FALSE(State(table, 9) & STATE_SYSTEM_CHECKED);
}

TEST_F(AccessibleTable, ObjectsHeldPastTheWindowSayTheyAreGone) {
    IAccessible* place = Child(table, 9);
    ASSERT_NE(place, nullptr);
    window.reset();
    BSTR name = nullptr;
    EXPECT_FALSE(SUCCEEDED(place->get_accName(Id(CHILDID_SELF), &name)));
    EXPECT_EQ(name, nullptr);
    place->Release();
}

}  // namespace
