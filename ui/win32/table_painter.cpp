#include "table_painter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "painter.h"
#include "picture_numbers.h"
#include "resource_ids.h"
#include "settings.h"
#include "text.h"
#include "window_layout.h"

namespace karvelo::win32 {
namespace {

static_assert(kPictureArrowDown == KARVELO_BITMAP_ARROW_DOWN && kPictureArrowRight == KARVELO_BITMAP_ARROW_RIGHT &&
              kPictureArrowLeft == KARVELO_BITMAP_ARROW_LEFT && kPictureTitle == KARVELO_BITMAP_TITLE,
              "the program file numbers its pictures as the painter does");

constexpr int kTwipsPerPoint = 20;

COLORREF Rgb(int32_t colour) { return static_cast<COLORREF>(colour & 0xFFFFFF); }

int CALLBACK FamilyFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool HasFamily(const wchar_t* family) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, family, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, FamilyFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

RECT Rect(const PixelBox& b) { return {b.left, b.top, b.right, b.bottom}; }

}  // namespace

TablePainter::TablePainter(HINSTANCE module)
    : pictures_(module), shadowDc_(CreateCompatibleDC(nullptr)) {
    SetBackground(kStandardColour);
}

TablePainter::~TablePainter() {
    ReleaseDpiResources();
    if (shadowDc_) DeleteDC(shadowDc_);
}

void TablePainter::ReleaseDpiResources() {
    for (HFONT* f : {&letterFont_, &suitFont_}) {
        if (*f) DeleteObject(*f);
        *f = nullptr;
    }
    if (shadow_) DeleteObject(shadow_);
    shadow_ = nullptr;
    shadowSize_ = {};
}

void TablePainter::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    pictures_.SetDpi(dpi);
    ReleaseDpiResources();
}

void TablePainter::SetBackground(int32_t colour) { background_ = colour & 0xFFFFFF; }

RECT TablePainter::DamagedPixels(const TwipRect& rect) const {
    const PixelBox b = PixelsTouched(rect, dpi_);
    return {b.left - 1, b.top - 1, b.right + 1, b.bottom + 1};
}

void TablePainter::Paint(HDC dc, const Scene& scene, const RECT& dirty) {
    dc_ = dc;
    const int saved = SaveDC(dc);
    PaintTable(scene, background_, {dirty.left, dirty.top, dirty.right, dirty.bottom}, *this);
    RestoreDC(dc, saved);
    dc_ = nullptr;
}

void TablePainter::ClipTo(const PixelBox& b) { IntersectClipRect(dc_, b.left, b.top, b.right, b.bottom); }

void TablePainter::FillPixels(int left, int top, int right, int bottom, int32_t colour) {
    // ExtTextOut with an opaque rectangle fills with a colour without making a brush.
    const RECT r{left, top, right, bottom};
    SetBkColor(dc_, Rgb(colour));
    ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void TablePainter::Fill(const TwipRect& rect, int32_t colour) {
    const PixelBox b = DrawnBox(rect, dpi_);
    FillPixels(b.left, b.top, b.right, b.bottom, colour);
}

void TablePainter::Frame(const TwipRect& rect, float thickness, int32_t colour) {
    for (const PixelBox& band : FrameBands(rect, thickness, dpi_))
        FillPixels(band.left, band.top, band.right, band.bottom, colour);
}

void TablePainter::SunkenFrame(const TwipRect& rect, const SunkenEdge& edge) {
    const std::vector<PixelBox> lines = SunkenLines(rect, dpi_);
    for (size_t i = 0; i < lines.size(); ++i)
        FillPixels(lines[i].left, lines[i].top, lines[i].right, lines[i].bottom, i < 2 ? edge.dark : edge.light);
}

bool TablePainter::Picture(int number, const TwipRect& rect) {
    const RECT box = Rect(DrawnBox(rect, dpi_));
    // A picture larger than its rectangle shows only what the rectangle covers.
    const SIZE size = pictures_.PixelSize(number);
    if (size.cx <= 0) return false;
    const bool clip = size.cx > box.right - box.left || size.cy > box.bottom - box.top;
    const int saved = clip ? SaveDC(dc_) : 0;
    if (clip) IntersectClipRect(dc_, box.left, box.top, box.right, box.bottom);
    const bool drawn = pictures_.Draw(dc_, number, box.left, box.top);
    if (clip) RestoreDC(dc_, saved);
    return drawn;
}

HFONT TablePainter::LetterFont() {
    if (letterFont_) return letterFont_;
    LOGFONTW lf{};
    lf.lfHeight = -std::max(1, PixelsFromTwips(layout::kHandLetterPoints * kTwipsPerPoint, dpi_));
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring family = Wide(layout::kLetterFontFamily);
    if (HasFamily(family.c_str())) {
        wcsncpy(lf.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    } else {
        // Another sans-serif: the one the system's dialogs use.
        LOGFONTW gui{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
        std::memcpy(lf.lfFaceName, gui.lfFaceName, sizeof lf.lfFaceName);
        lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    }
    letterFont_ = CreateFontIndirectW(&lf);
    return letterFont_;
}

HFONT TablePainter::SuitFont() {
    if (suitFont_) return suitFont_;
    // The window's default font, at this display's density.
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = -std::max(1, PixelsFromTwips(layout::kSuitNamePoints * kTwipsPerPoint, dpi_));
    lf.lfWidth = 0;
    suitFont_ = CreateFontIndirectW(&lf);
    return suitFont_;
}

void TablePainter::Text(const TwipRect& box, const std::string& text, LabelFont font, int32_t colour) {
    const std::wstring wide = Wide(text);
    RECT r = Rect(DrawnBox(box, dpi_));
    HGDIOBJ old = SelectObject(dc_, font == LabelFont::Letter ? LetterFont() : SuitFont());
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, Rgb(colour));
    DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    SelectObject(dc_, old);
    SetBkMode(dc_, OPAQUE);
}

// The shadow as a premultiplied picture of translucent black for AlphaBlend.
HBITMAP TablePainter::ShadowPicture(SIZE size, double radius, int alpha) {
    if (shadow_ && size.cx == shadowSize_.cx && size.cy == shadowSize_.cy && radius == shadowRadius_ &&
        alpha == shadowAlpha_)
        return shadow_;
    if (shadow_) DeleteObject(shadow_);
    shadow_ = nullptr;
    std::uint32_t* px = nullptr;
    HBITMAP bitmap = CreatePicture(size.cx, size.cy, &px);
    if (!bitmap) return nullptr;
    const std::vector<uint8_t> mask = ShadowMask(size.cx, size.cy, radius, alpha);
    for (size_t i = 0; i < mask.size(); ++i) px[i] = std::uint32_t{mask[i]} << 24;
    shadow_ = bitmap;
    shadowSize_ = size;
    shadowRadius_ = radius;
    shadowAlpha_ = alpha;
    return shadow_;
}

void TablePainter::Shadow(const TwipRect& caster, float offset, float radius, int alpha) {
    const PixelBox b = DrawnBox(caster, dpi_);
    const SIZE size{b.right - b.left, b.bottom - b.top};
    if (size.cx <= 0 || size.cy <= 0 || !shadowDc_) return;
    const int shift = PixelsFromTwips(offset, dpi_);
    HBITMAP shadow = ShadowPicture(size, FractionalPixels(radius, dpi_), alpha);
    if (!shadow) return;
    HGDIOBJ old = SelectObject(shadowDc_, shadow);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc_, b.left + shift, b.top + shift, size.cx, size.cy, shadowDc_, 0, 0, size.cx, size.cy, blend);
    SelectObject(shadowDc_, old);
}

}  // namespace karvelo::win32
