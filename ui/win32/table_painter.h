#pragma once
// Draws the table from the scene (scene.h) at the density of the window's display:
// the card pictures and the arrows 1:1 from the program file's bitmaps, the empty
// places as sunken frames, the letters over the free cells and the suit names over
// the foundations, the title picture, and the dragged card with its shadow. Every
// position and size comes from twips through twips.h.
#include <windows.h>

#include <cstdint>

#include "bitmap_cache.h"
#include "scene.h"

namespace karvelo::win32 {

class TablePainter {
public:
    explicit TablePainter(HINSTANCE module);
    ~TablePainter();
    TablePainter(const TablePainter&) = delete;
    TablePainter& operator=(const TablePainter&) = delete;

    void SetDpi(int dpi);
    int Dpi() const { return dpi_; }
    void SetBackground(int32_t colour);
    int32_t Background() const { return background_; }

    // The pixels to paint again when `rect` changed: all it touches, with a pixel of
    // margin for the rounding of positions to whole pixels.
    RECT DamagedPixels(const TwipRect& rect) const;

    // Paints the pixels `dirty` of the table into `dc` (whose clipping the caller may
    // have narrowed further).
    void Paint(HDC dc, const Scene& scene, const RECT& dirty);

private:
    void DrawElement(HDC dc, const SceneElement& e);
    void DrawFrame(HDC dc, const RECT& box);
    void DrawLabel(HDC dc, const SceneElement& e);
    void DrawDrag(HDC dc, const DragPicture& drag);
    RECT Box(const TwipRect& rect) const;  // where an element is drawn, in pixels
    RECT Reach(const SceneElement& e) const;  // all it may draw on
    HFONT LetterFont();
    HFONT SuitFont();
    HBITMAP Shadow(SIZE size);
    void ReleaseDpiResources();

    BitmapCache pictures_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    int32_t background_ = 0;
    HBRUSH backgroundBrush_ = nullptr;
    HBRUSH darkEdge_ = nullptr;
    HBRUSH lightEdge_ = nullptr;
    HFONT letterFont_ = nullptr;
    HFONT suitFont_ = nullptr;
    HBITMAP shadow_ = nullptr;
    SIZE shadowSize_{};
    HDC shadowDc_ = nullptr;
};

}  // namespace karvelo::win32
