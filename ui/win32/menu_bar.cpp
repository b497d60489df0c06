#include "menu_bar.h"

#include <string>

#include "text.h"

namespace karvelo::win32 {
namespace {

constexpr UINT kFirstId = 100;  // identifiers of the items, in the tree's order
constexpr int kLevels = 3;

}  // namespace

MenuBar::MenuBar() : bar_(CreateMenu()) {
    // The tree lists each entry after the one it belongs under.
    HMENU menus[kLevels + 1] = {bar_, nullptr, nullptr, nullptr};
    UINT next = kFirstId;
    for (const MenuEntry& e : MenuTree()) {
        if (e.level < 1 || e.level > kLevels || !menus[e.level - 1]) continue;
        HMENU parent = menus[e.level - 1];
        std::wstring caption = Wide(e.caption);
        if (e.command == MenuCommand::None) {
            HMENU sub = CreatePopupMenu();
            AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
            menus[e.level] = sub;
            continue;
        }
        // The key is shown right-aligned in the item, as Windows lays out a tab.
        if (e.functionKey > 0) caption += L"\tF" + std::to_wstring(e.functionKey);
        AppendMenuW(parent, MF_STRING, next, caption.c_str());
        items_.push_back({next, parent, {e.command, e.index}, e.functionKey});
        ++next;
    }
}

MenuBar::~MenuBar() {
    if (owned_ && bar_) DestroyMenu(bar_);
}

std::optional<MenuChoice> MenuBar::ChoiceFor(UINT id) const {
    for (const Item& item : items_)
        if (item.id == id) return item.choice;
    return std::nullopt;
}

std::optional<MenuChoice> MenuBar::ChoiceForKey(UINT virtualKey) const {
    if (virtualKey < VK_F1 || virtualKey > VK_F12) return std::nullopt;
    const int key = static_cast<int>(virtualKey - VK_F1) + 1;
    for (const Item& item : items_)
        if (item.functionKey == key) return item.choice;
    return std::nullopt;
}

void MenuBar::TickSpeedItem(int ticked) {
    for (const Item& item : items_)
        if (item.choice.command == MenuCommand::Hastighet)
            CheckMenuItem(item.menu, item.id,
                          MF_BYCOMMAND | (item.choice.index == ticked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuBar::SpeedItemTicked(int k) const {
    const UINT id = IdOf(MenuCommand::Hastighet, k);
    for (const Item& item : items_)
        if (item.id == id) return GetMenuState(item.menu, id, MF_BYCOMMAND) & MF_CHECKED;
    return false;
}

UINT MenuBar::IdOf(MenuCommand command, int index) const {
    for (const Item& item : items_)
        if (item.choice.command == command && item.choice.index == index) return item.id;
    return 0;
}

}  // namespace karvelo::win32
