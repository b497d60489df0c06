#pragma once
// The program's pictures, carried as resources: the card back (100), the faces
// (100 + card code, 101..152), the empty place (153), the three arrows, the title
// picture and the application icon. Every picture exists at normal and at double
// density; the loaders hand out the one that suits the screen, with its device pixel
// ratio set so that its logical size is the same at both densities.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace karvelo {

inline constexpr int kFirstPicture = 100;   // the card back
inline constexpr int kLastPicture = 153;    // the empty place
inline constexpr int kCardBack = 100;
inline constexpr int kEmptyPlace = 153;
inline constexpr int kCardWidthPx = 71;
inline constexpr int kCardHeightPx = 96;
inline constexpr int kArrowSizePx = 32;
inline constexpr int kSplashWidthPx = 650;
inline constexpr int kSplashHeightPx = 450;

// The resource path of picture `number` at normal density (":/kort/101.png");
// an empty string for numbers outside 100..153.
QString PicturePath(int number);

// Picture `number`, drawn for device pixel ratio `dpr`: above 1 the double-density
// drawing, with its device pixel ratio set to 2. Null for unknown numbers.
QPixmap LoadPicture(int number, qreal dpr);

// imgPilN points down, imgPilH right, imgPilV left.
enum class Arrow { Down, Right, Left };
QPixmap LoadArrow(Arrow a, qreal dpr);

// The 650 x 450 title picture. It and the icon are shown at once at start, so the
// program carries them as plain pixels rather than PNG (pixels.h).
QPixmap LoadSplash(qreal dpr);

// The spade icon in every size it is drawn in (16 to 256 pixels), or in those of at
// most `largestPx` pixels.
QIcon AppIcon(int largestPx = 256);

}  // namespace karvelo
