// A screen reader's view of a running karvelo.exe, from another process: finds the
// game's window, asks it for its IAccessible as a reader does, prints the tree (names,
// roles, states, descriptions, screen bounds), then prints the WinEvents the game
// raises for as many seconds as given. tools/wincheck runs it against the game
// (tests/wine/screen_reader_check.sh).
//   access_reader [seconds]
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

VARIANT Id(long id) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string Utf8(BSTR text) {
    if (!text) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(SysStringLen(text)), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(SysStringLen(text)), s.data(), n, nullptr, nullptr);
    SysFreeString(text);
    return s;
}

void Print(IAccessible* a, long id, int depth) {
    BSTR name = nullptr, description = nullptr;
    a->get_accName(Id(id), &name);
    a->get_accDescription(Id(id), &description);
    VARIANT role, state;
    role.vt = state.vt = VT_EMPTY;
    a->get_accRole(Id(id), &role);
    a->get_accState(Id(id), &state);
    long x = 0, y = 0, w = 0, h = 0;
    a->accLocation(&x, &y, &w, &h, Id(id));
    wchar_t roleText[64] = L"";
    GetRoleTextW(role.vt == VT_I4 ? static_cast<DWORD>(role.lVal) : 0, roleText, 64);
    char roleUtf8[128] = "";
    WideCharToMultiByte(CP_UTF8, 0, roleText, -1, roleUtf8, sizeof roleUtf8, nullptr, nullptr);
    const long s = state.vt == VT_I4 ? state.lVal : 0;
    std::printf("%*s[%s] \"%s\"%s%s%s%s (%ld, %ld, %ld x %ld)\n", depth * 2, "", roleUtf8, Utf8(name).c_str(),
                s & STATE_SYSTEM_FOCUSED ? " focused" : "", s & STATE_SYSTEM_CHECKED ? " checked" : "",
                description ? " description: " : "", Utf8(description).c_str(), x, y, w, h);
}

void Walk(IAccessible* a, int depth) {
    Print(a, CHILDID_SELF, depth);
    long count = 0;
    a->get_accChildCount(&count);
    for (long id = 1; id <= count; ++id) {
        IDispatch* d = nullptr;
        if (a->get_accChild(Id(id), &d) == S_OK && d) {
            IAccessible* child = nullptr;
            d->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&child));
            d->Release();
            if (child) {
                Walk(child, depth + 1);
                child->Release();
            }
        } else {
            Print(a, id, depth + 1);
        }
    }
}

HWND game = nullptr;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (hwnd != game || object != OBJID_CLIENT) return;
    const char* what = event == EVENT_OBJECT_FOCUS ? "focus"
                       : event == EVENT_OBJECT_NAMECHANGE ? "name"
                       : event == EVENT_OBJECT_STATECHANGE ? "state"
                       : event == EVENT_OBJECT_DESCRIPTIONCHANGE ? "description" : "other";
    // As a reader does: the object the event names, read now.
    IAccessible* a = nullptr;
    VARIANT v;
    v.vt = VT_EMPTY;
    if (AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), static_cast<DWORD>(child), &a, &v) != S_OK || !a) {
        std::printf("event %s, child %ld: object not reachable\n", what, static_cast<long>(child));
        return;
    }
    BSTR name = nullptr, description = nullptr;
    a->get_accName(v, &name);
    a->get_accDescription(v, &description);
    std::printf("event %s, child %ld: \"%s\" %s\n", what, static_cast<long>(child), Utf8(name).c_str(), Utf8(description).c_str());
    std::fflush(stdout);
    a->Release();
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    CoInitialize(nullptr);
    game = FindWindowW(L"Karvelo", nullptr);
    if (!game) {
        std::printf("no Karvelo window\n");
        return 1;
    }
    IAccessible* client = nullptr;
    const HRESULT hr = AccessibleObjectFromWindow(game, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&client));
    if (FAILED(hr) || !client) {
        std::printf("AccessibleObjectFromWindow failed: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 1;
    }
    Walk(client, 0);
    std::fflush(stdout);
    if (seconds > 0) {
        // Every process's events, sorted by window in the callback: Wine delivers none
        // to a hook that names the game's process.
        HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, &OnEvent,
                                             0, 0, WINEVENT_OUTOFCONTEXT);
        std::printf(hook ? "listening\n" : "SetWinEventHook failed\n");
        std::fflush(stdout);
        const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
        while (GetTickCount() < end) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        if (hook) UnhookWinEvent(hook);
    }
    client->Release();
    CoUninitialize();
    return 0;
}
