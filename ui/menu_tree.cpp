#include "menu_tree.h"

namespace karvelo {
namespace {

using C = MenuCommand;

constexpr MenuEntry kTree[] = {
    {1, "Meny", 0, C::None, 0},
    {2, "Nytt spel", 2, C::NyttSpel, 0},
    {2, "Statistik", 3, C::Statistik, 0},
    {2, "Avsluta", 0, C::Avsluta, 0},
    {1, "Inst\xC3\xA4llningar", 0, C::None, 0},
    {2, "\xC3\x84ndra Animationshastigheten", 0, C::None, 0},
    {3, "Hastighet 1 (snabbast)", 0, C::Hastighet, 0},
    {3, "Hastighet 2", 0, C::Hastighet, 1},
    {3, "Hastighet 3 (Standard)", 0, C::Hastighet, 2},
    {3, "Hastighet 4", 0, C::Hastighet, 3},
    {3, "Hastighet 5 (l\xC3\xA5ngsammast)", 0, C::Hastighet, 4},
    {2, "Bakgrundsf\xC3\xA4rg", 0, C::None, 0},
    {3, "\xC3\x84ndra", 0, C::Color, 0},
    {3, "Standard", 0, C::ColorStandard, 0},
    {1, "Hj\xC3\xA4lp", 0, C::None, 0},
    {2, "Hj\xC3\xA4lp", 1, C::Help, 0},
    {2, "Om", 0, C::Om, 0},
};

}  // namespace

std::span<const MenuEntry> MenuTree() { return kTree; }

}  // namespace karvelo
