#pragma once
// The table painter's canvas (canvas.h) on a Windows device context, at the density
// of the window's display: the pictures 1:1 from the program file's bitmaps, fills,
// frames, the labels' text in GDI fonts and the translucent shadow by AlphaBlend. The
// table painter (painter.h) decides what is drawn; this only draws it.
#include <windows.h>

#include <cstdint>

#include "bitmap_cache.h"
#include "canvas.h"
#include "scene.h"

namespace karvelo::win32 {

class TablePainter final : public Canvas {
public:
    explicit TablePainter(HINSTANCE module);
    ~TablePainter() override;
    TablePainter(const TablePainter&) = delete;
    TablePainter& operator=(const TablePainter&) = delete;

    void SetDpi(int dpi);
    int Dpi() const override { return dpi_; }
    void SetBackground(int32_t colour);
    int32_t Background() const { return background_; }

    // The pixels to paint again when `rect` changed: all it touches, with a pixel of
    // margin for the rounding of positions to whole pixels.
    RECT DamagedPixels(const TwipRect& rect) const;

    // Paints the pixels `dirty` of the table showing `scene` into `dc` (whose clipping
    // the caller may have narrowed further).
    void Paint(HDC dc, const Scene& scene, const RECT& dirty);

    // ---- Canvas, drawing into the device context being painted.
    void ClipTo(const PixelBox& pixels) override;
    void Fill(const TwipRect& rect, int32_t colour) override;
    void Frame(const TwipRect& rect, float thickness, int32_t colour) override;
    void SunkenFrame(const TwipRect& rect, const SunkenEdge& edge) override;
    bool Picture(int number, const TwipRect& rect) override;
    void Text(const TwipRect& box, const std::string& text, LabelFont font, int32_t colour) override;
    void Shadow(const TwipRect& caster, float offset, float radius, int alpha) override;

private:
    void FillPixels(int left, int top, int right, int bottom, int32_t colour);
    HFONT LetterFont();
    HFONT SuitFont();
    HBITMAP ShadowPicture(SIZE size, double radius, int alpha);
    void ReleaseDpiResources();

    BitmapCache pictures_;
    HDC dc_ = nullptr;  // while painting
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    int32_t background_ = 0;
    HFONT letterFont_ = nullptr;
    HFONT suitFont_ = nullptr;
    HBITMAP shadow_ = nullptr;
    SIZE shadowSize_{};
    double shadowRadius_ = 0;
    int shadowAlpha_ = 0;
    HDC shadowDc_ = nullptr;
};

}  // namespace karvelo::win32
