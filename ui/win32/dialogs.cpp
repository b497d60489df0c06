#include "dialogs.h"

#include <commdlg.h>

#include "text.h"

namespace karvelo::win32 {

UINT MessageBoxFlags(const MessageRequest& request) {
    UINT flags = request.buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
    if (request.icon == Icon::Exclamation) flags |= MB_ICONEXCLAMATION;
    if (request.buttons == Buttons::YesNo && request.defaultButton == DefaultButton::Second)
        flags |= MB_DEFBUTTON2;
    return flags | MB_SETFOREGROUND;
}

Answer ShowMessageBox(HWND owner, const MessageRequest& request) {
    const std::wstring text = Wide(request.text), title = Wide(request.title);
    const int pressed = MessageBoxW(owner, text.c_str(), title.c_str(), MessageBoxFlags(request));
    if (request.buttons == Buttons::OK) return Answer::OK;
    return pressed == IDYES ? Answer::Yes : Answer::No;
}

std::optional<int32_t> ChooseColourDialog(HWND owner, int32_t current) {
    // The player's own colours are kept for the run, as the dialog expects.
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = static_cast<COLORREF>(current & 0xFFFFFF);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc)) return std::nullopt;
    return static_cast<int32_t>(cc.rgbResult & 0xFFFFFF);
}

NumberFormat UserNumberFormatOfSystem() {
    NumberFormat format;
    wchar_t buffer[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1)
        format.decimalPoint = Utf8(buffer);
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8) > 1)
        format.groupSeparator = Utf8(buffer);
    else
        format.groupSeparator.clear();
    return format;
}

}  // namespace karvelo::win32
