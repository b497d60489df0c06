#pragma once
// Where things stand on the table, in twips, and the numbers that tie card codes to
// picture elements and resources.
#include <cstdint>

namespace funktioner::layout {

// Tableau: columns 1200 twips apart, each card showing a 300-twip strip of the one it
// covers.
inline constexpr int kFirstCardLeft = 120;
inline constexpr int kFirstCardTop = 1680;
inline constexpr int kColumnSpacing = 1200;
inline constexpr int kRowSpacing = 300;

constexpr int CardLeft(int column) { return kFirstCardLeft + kColumnSpacing * (column - 1); }
constexpr int CardTop(int row) { return kFirstCardTop + kRowSpacing * (row - 1); }

// A column base lies this far inside the place of its column's first card and is this
// much smaller than a card picture in each direction.
inline constexpr int kBaseInset = 5;
inline constexpr int kBaseShrink = 10;

// A card in a free cell or on a foundation lies this far inside the frame's corner.
inline constexpr int kCellOffsetLeft = 40;
inline constexpr int kCellOffsetTop = 30;

// Flights to a foundation take this many steps more than the other flights.
inline constexpr int32_t kFoundationExtraSteps = 10;

// Picture elements: imgKort(0) the template (and peek copy), imgKort(code) for the
// cards, imgKort(59 + column) for the column bases; 53 to 59 are never used.
inline constexpr int kTemplateCard = 0;
inline constexpr int kFirstCard = 1;
inline constexpr int kLastCard = 52;
inline constexpr int kBaseBeforeColumn1 = 59;
constexpr int BaseIndex(int column) { return kBaseBeforeColumn1 + column; }
inline constexpr int kFirstBase = BaseIndex(1);
inline constexpr int kLastBase = BaseIndex(8);
constexpr bool IsCardIndex(int index) { return index >= kFirstCard && index <= kLastCard; }
constexpr bool IsBaseIndex(int index) { return index >= kFirstBase && index <= kLastBase; }

// The card with code c shows resource 100 + c.
inline constexpr int kFaceResourceBase = 100;

}  // namespace funktioner::layout
