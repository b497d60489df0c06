#pragma once
// The numbers of the table's pictures, as every window system's picture store knows
// them: 100 the card back, 100 + card code the faces, 153 the empty place (the
// numbers the scene's elements carry), then the three arrows and the title picture.
namespace karvelo {

inline constexpr int kPictureArrowDown = 160;
inline constexpr int kPictureArrowRight = 161;
inline constexpr int kPictureArrowLeft = 162;
inline constexpr int kPictureTitle = 170;

}  // namespace karvelo
