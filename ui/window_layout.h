#pragma once
// Where everything on the main window stands at start-up, in twips from the
// client area's top-left corner, and how the window itself is sized and placed.
#include "twips.h"

namespace karvelo::layout {

// The window.
inline constexpr int kClientWidth = 9660;     // 644 pixels
inline constexpr int kClientHeight = 5775;    // 385 pixels, before the first deal
inline constexpr int kScreenLeft = 1815;      // client area from the screen's corner
inline constexpr int kScreenTop = 1005;
inline constexpr int kGrownOuterHeight = 9015;  // outer height after the first deal
inline constexpr int kGrowthSteps = 100;

// Free cells imgHand(0..3) and foundations imgHog(0..3): empty bordered frames.
inline constexpr int kFrameWidth = 1125;
inline constexpr int kFrameHeight = 1500;
inline constexpr int kFrameSpacing = 1080;
inline constexpr int kCellLeft = 0;
inline constexpr int kFoundationLeft = 5280;
inline TwipRect Cell(int i) {
    return {static_cast<float>(kCellLeft + kFrameSpacing * i), 0, kFrameWidth, kFrameHeight};
}
inline TwipRect Foundation(int p) {
    return {static_cast<float>(kFoundationLeft + kFrameSpacing * p), 0, kFrameWidth, kFrameHeight};
}

// The letters over the free cells and the suit names over the foundations.
inline constexpr const char* kHandLetters[4] = {"H", "A", "N", "D"};
inline constexpr TwipRect kHandLabels[4] = {
    {480, 480, 210, 360}, {1560, 480, 195, 360}, {2640, 480, 210, 360}, {3720, 480, 195, 360}};
inline constexpr const char* kSuitNames[4] = {"Hjärter", "Klöver", "Ruter", "Spader"};
inline constexpr TwipRect kSuitLabels[4] = {
    {5640, 480, 465, 195}, {6720, 480, 450, 195}, {7800, 480, 390, 195}, {8880, 480, 510, 195}};
inline constexpr float kHandLetterPoints = 13.5f;
inline constexpr float kSuitNamePoints = 8.0f;
inline constexpr const char* kLetterFontFamily = "MS Sans Serif";

// The three arrows lie on one spot between the free cells and the foundations.
inline constexpr TwipRect kArrow = {4560, 480, 480, 480};

// The title picture, larger than the client area at start.
inline constexpr TwipRect kSplash = {0, 0, 9750, 6750};

// imgKort(0), the template every card is created from.
inline constexpr TwipRect kTemplateCard = {9120, 3240, 1065, 1440};

// A card picture: 71 x 96 pixels.
inline constexpr int kCardWidth = 1065;
inline constexpr int kCardHeight = 1440;

// The peek copy goes off the table when it is hidden.
inline constexpr float kPeekParked = -2000;

}  // namespace karvelo::layout
