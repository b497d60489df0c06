// Numbers of the resources in the Windows program file, for the resource scripts and
// for the program that loads them. Plain defines: the resource compiler reads this
// file too, and the build reads the bitmap numbers from it to number the bitmaps it
// makes from the artwork.
#ifndef KARVELO_RESOURCE_IDS_H
#define KARVELO_RESOURCE_IDS_H

// The spade: Explorer shows the icon group with the lowest number as the program's.
#define KARVELO_ICON 1

// Bitmaps, all in language 1053 (Swedish, Sweden). The card pictures are 100 to 153:
// 100 the back, 100 + card code the faces, 153 the empty place.
#define KARVELO_BITMAP_CARD_FIRST 100
#define KARVELO_BITMAP_CARD_LAST 153
#define KARVELO_BITMAP_ARROW_DOWN 160
#define KARVELO_BITMAP_ARROW_RIGHT 161
#define KARVELO_BITMAP_ARROW_LEFT 162
#define KARVELO_BITMAP_TITLE 170
// Added to a bitmap's number for its drawing at twice the density, for screens of
// more than 96 dots per inch.
#define KARVELO_BITMAP_DOUBLE_DENSITY 1000

#endif
