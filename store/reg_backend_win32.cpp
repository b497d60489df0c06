// The registry primitives over the Windows registry, through the ANSI functions of
// advapi32. Names and string data travel as UTF-8 inside the program and are
// converted to and from the system's ANSI code page here.
//
// windows.h comes last: it defines HKEY_CURRENT_USER and the value types as macros,
// which must not reach the declarations of the same names in regapi.h.
#include <string>

#include "reg_backend.h"

#include <windows.h>

namespace RegAPI {
namespace {

// Predefined root keys are 32-bit values, sign-extended into a handle.
HKEY RootHandle(RootKey root) {
    const auto extended = static_cast<intptr_t>(static_cast<int32_t>(root));
    return reinterpret_cast<HKEY>(extended);
}

HKEY KeyOf(KeyHandle key) { return reinterpret_cast<HKEY>(key); }

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                        nullptr, nullptr);
    return text;
}

std::string ToAnsi(const std::string& utf8) { return Narrow(Widen(utf8, CP_UTF8), CP_ACP); }
std::string FromAnsi(const std::string& ansi) { return Narrow(Widen(ansi, CP_ACP), CP_UTF8); }

class WindowsBackend final : public Backend {
public:
    Status CreateKey(RootKey root, const std::string& subKey, uint32_t access,
                     KeyHandle* key) override {
        HKEY h = nullptr;
        const LONG r = RegCreateKeyExA(RootHandle(root), ToAnsi(subKey).c_str(), 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, access, nullptr, &h, nullptr);
        if (r == ERROR_SUCCESS) *key = reinterpret_cast<KeyHandle>(h);
        return r;
    }

    Status OpenKey(RootKey root, const std::string& subKey, uint32_t access,
                   KeyHandle* key) override {
        HKEY h = nullptr;
        const LONG r = RegOpenKeyExA(RootHandle(root), ToAnsi(subKey).c_str(), 0, access, &h);
        if (r == ERROR_SUCCESS) *key = reinterpret_cast<KeyHandle>(h);
        return r;
    }

    Status QueryValue(KeyHandle key, const std::string& name, uint32_t* type, uint8_t* data,
                      uint32_t* size) override {
        DWORD t = 0;
        DWORD n = size ? *size : 0;
        const LONG r = RegQueryValueExA(KeyOf(key), ToAnsi(name).c_str(), nullptr, &t, data,
                                        size ? &n : nullptr);
        if (type) *type = t;
        if (size) *size = n;
        return r;
    }

    Status SetValue(KeyHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                    uint32_t size) override {
        return RegSetValueExA(KeyOf(key), ToAnsi(name).c_str(), 0, type, data, size);
    }

    Status DeleteKey(RootKey root, const std::string& subKey) override {
        return RegDeleteKeyA(RootHandle(root), ToAnsi(subKey).c_str());
    }

    Status DeleteValue(KeyHandle key, const std::string& name) override {
        return RegDeleteValueA(KeyOf(key), ToAnsi(name).c_str());
    }

    Status CloseKey(KeyHandle key) override { return RegCloseKey(KeyOf(key)); }

    std::string EncodeText(const std::string& utf8) override { return ToAnsi(utf8); }
    std::string DecodeText(const std::string& stored) override { return FromAnsi(stored); }
};

}  // namespace

Backend& PlatformBackend() {
    static WindowsBackend instance;
    return instance;
}

}  // namespace RegAPI
