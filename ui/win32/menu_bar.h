#pragma once
// The main window's menu bar, built from the menu tree (menu_tree.h): the captions in
// UTF-16 with their function keys shown beside them, the tick on the speed item in
// use, and which command a menu identifier or a function key stands for.
#include <windows.h>

#include <optional>
#include <vector>

#include "menu_tree.h"

namespace karvelo::win32 {

struct MenuChoice {
    MenuCommand command;
    int index;
};

class MenuBar {
public:
    MenuBar();
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // The menu bar; a window that takes it with SetMenu owns it from then on.
    HMENU Handle() const { return bar_; }
    void Released() { owned_ = false; }

    // What WM_COMMAND's identifier stands for; nothing for an identifier of no item.
    std::optional<MenuChoice> ChoiceFor(UINT id) const;
    // What a function key pressed alone (VK_F1 to VK_F12) stands for.
    std::optional<MenuChoice> ChoiceForKey(UINT virtualKey) const;
    // Ticks speed item `ticked` and unticks the others (-1: none ticked).
    void TickSpeedItem(int ticked);
    // Whether speed item k carries the tick.
    bool SpeedItemTicked(int k) const;
    // The identifier of an item, 0 when there is none.
    UINT IdOf(MenuCommand command, int index = 0) const;

private:
    struct Item {
        UINT id;
        HMENU menu;  // the menu the item is in
        MenuChoice choice;
        int functionKey;
    };
    HMENU bar_ = nullptr;
    bool owned_ = true;
    std::vector<Item> items_;
};

}  // namespace karvelo::win32
