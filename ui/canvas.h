#pragma once
// What the table painter (painter.h) draws with: the few primitives a card table
// needs, each placed in twips. A window system implements them on its own drawing
// surface (a Qt painter, a Windows device context) and decides nothing else: which
// element is drawn how, in which colour and at what size is the painter's.
//
// Every rectangle becomes the same whole pixels on every surface (DrawnBox below), so
// that two window systems drawing one scene show the same picture.
#include <cstdint>
#include <string>
#include <vector>

#include "sunken_edge.h"
#include "twips.h"

namespace karvelo {

// The two label fonts of the table: the letters over the free cells and the suit
// names over the foundations (window_layout.h gives their families and sizes).
enum class LabelFont { Letter, Suit };

class Canvas {
public:
    virtual ~Canvas() = default;

    // The surface's density in dots per inch.
    virtual int Dpi() const = 0;
    // Nothing is drawn outside these pixels until the paint ends.
    virtual void ClipTo(const PixelBox& pixels) = 0;
    // An opaque rectangle of colour value `colour` (red in the low byte).
    virtual void Fill(const TwipRect& rect, int32_t colour) = 0;
    // A band `thickness` wide along the inside of the rectangle's edge.
    virtual void Frame(const TwipRect& rect, float thickness, int32_t colour) = 0;
    // The one-pixel edge of an empty place: dark above and left, light below and right.
    virtual void SunkenFrame(const TwipRect& rect, const SunkenEdge& edge) = 0;
    // Picture `number` (picture_numbers.h) with its transparency, its top-left corner
    // at the rectangle's, at its own size, showing only what the rectangle covers.
    // False, drawing nothing, when there is no such picture.
    virtual bool Picture(int number, const TwipRect& rect) = 0;
    // One line of UTF-8 text in colour `colour`, from the box's top-left corner; it
    // may run past the box.
    virtual void Text(const TwipRect& box, const std::string& text, LabelFont font, int32_t colour) = 0;
    // Translucent black of opacity `alpha` (0 to 255) over the rectangle `caster`
    // shifted `offset` right and down, its corners rounded with `radius`.
    virtual void Shadow(const TwipRect& caster, float offset, float radius, int alpha) = 0;
};

// The pixels a rectangle is drawn on at `dpi`: its left and top edges to the nearest
// pixel, its width and height likewise (halves to the even neighbour), so that equal
// twip sizes give equal pixel sizes wherever they lie.
PixelBox DrawnBox(const TwipRect& rect, int dpi);

// The four bands of a frame `thickness` wide along the inside of `rect` at `dpi` (at
// least a pixel, at most half the rectangle): top, bottom, left, right; none for an
// empty rectangle.
std::vector<PixelBox> FrameBands(const TwipRect& rect, float thickness, int dpi);
// The one-pixel lines of a sunken edge: top and left (dark), then bottom and right
// (light); none for a rectangle of less than two pixels either way.
std::vector<PixelBox> SunkenLines(const TwipRect& rect, int dpi);

// The rounded shadow's opacity per pixel, `width` x `height` row by row, top first:
// `alpha` inside, falling off over the last pixel of the corners' arcs of `radius`
// pixels.
std::vector<uint8_t> ShadowMask(int width, int height, double radius, int alpha);

}  // namespace karvelo
