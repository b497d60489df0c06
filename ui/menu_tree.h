#pragma once
// The main window's menu bar as every window system builds it: the tree, its Swedish
// captions, the function keys and the command each item stands for. Captions have no
// access-key letters; the speed items are ticked at run time (Karvelo::TickedSpeedItem).
#include <span>

namespace karvelo {

enum class MenuCommand {
    None,  // a menu title or a submenu
    NyttSpel,
    Statistik,
    Avsluta,
    Hastighet,  // the element array mnuHastighet; the item's index picks the speed
    Color,
    ColorStandard,
    Help,
    Om,
};

struct MenuEntry {
    int level;            // 1 the menu bar's titles, 2 their entries, 3 a submenu's
    const char* caption;  // UTF-8
    int functionKey;      // 1 to 12 for F1 to F12, 0 for none
    MenuCommand command;
    int index;            // the item's index in its element array, else 0
};

// In order, each entry below the closest entry of a lower level before it.
std::span<const MenuEntry> MenuTree();

}  // namespace karvelo
