#include "table_painter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "resource_ids.h"
#include "settings.h"
#include "sunken_edge.h"
#include "text.h"
#include "title_cover.h"
#include "window_layout.h"

namespace karvelo::win32 {
namespace {

constexpr int kTwipsPerPoint = 20;
constexpr float kShadowRadiusTwips = 60;  // 4 pixels at 96 dots per inch
constexpr BYTE kShadowAlpha = 70;
// Labels are sized to their text at design time; their text may reach this far past
// their box in another font.
constexpr float kLabelSlackWidth = 600;
constexpr float kLabelSlackHeight = 300;

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

int PictureFor(ElementKind kind) {
    switch (kind) {
    case ElementKind::PilN: return KARVELO_BITMAP_ARROW_DOWN;
    case ElementKind::PilH: return KARVELO_BITMAP_ARROW_RIGHT;
    case ElementKind::PilV: return KARVELO_BITMAP_ARROW_LEFT;
    case ElementKind::Splash: return KARVELO_BITMAP_TITLE;
    default: return 0;
    }
}

bool Intersect(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TablePainter::TablePainter(HINSTANCE module)
    : pictures_(module), shadowDc_(CreateCompatibleDC(nullptr)) {
    SetBackground(kStandardColour);
}

TablePainter::~TablePainter() {
    ReleaseDpiResources();
    for (HBRUSH b : {backgroundBrush_, darkEdge_, lightEdge_})
        if (b) DeleteObject(b);
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

void TablePainter::SetBackground(int32_t colour) {
    background_ = colour & 0xFFFFFF;
    const SunkenEdge edge = SunkenEdgeFor(background_);
    for (HBRUSH b : {backgroundBrush_, darkEdge_, lightEdge_})
        if (b) DeleteObject(b);
    backgroundBrush_ = CreateSolidBrush(Rgb(background_));
    darkEdge_ = CreateSolidBrush(Rgb(edge.dark));
    lightEdge_ = CreateSolidBrush(Rgb(edge.light));
}

RECT TablePainter::DamagedPixels(const TwipRect& rect) const {
    const PixelBox b = PixelsTouched(rect, dpi_);
    return {b.left - 1, b.top - 1, b.right + 1, b.bottom + 1};
}

RECT TablePainter::Box(const TwipRect& r) const {
    const int left = PixelsFromTwips(r.left, dpi_), top = PixelsFromTwips(r.top, dpi_);
    return {left, top, left + PixelsFromTwips(r.width, dpi_), top + PixelsFromTwips(r.height, dpi_)};
}

RECT TablePainter::Reach(const SceneElement& e) const {
    TwipRect r = e.rect;
    if (e.id.kind == ElementKind::LblHand || e.id.kind == ElementKind::LblFarger) {
        r.width += kLabelSlackWidth;
        r.height += kLabelSlackHeight;
    }
    return DamagedPixels(r);
}

void TablePainter::Paint(HDC dc, const Scene& scene, const RECT& dirty) {
    FillRect(dc, &dirty, backgroundBrush_);
    const auto& order = scene.DrawingOrder();
    const PixelBox box{dirty.left, dirty.top, dirty.right, dirty.bottom};
    for (size_t i = FirstElementToPaint(order, box, dpi_); i < order.size(); ++i) {
        const SceneElement& e = order[i];
        if (e.visible && Intersect(Reach(e), dirty)) DrawElement(dc, e);
    }
    if (const auto& drag = scene.Drag(); drag && Intersect(DamagedPixels(Scene::DragArea(*drag)), dirty))
        DrawDrag(dc, *drag);
}

void TablePainter::DrawElement(HDC dc, const SceneElement& e) {
    const RECT box = Box(e.rect);
    switch (e.id.kind) {
    case ElementKind::Kort:
    case ElementKind::Hand:
    case ElementKind::Hog:
        if (e.picture != 0) {
            // A picture larger than its element shows only what the element covers.
            const SIZE size = pictures_.PixelSize(e.picture);
            const bool clip = size.cx > box.right - box.left || size.cy > box.bottom - box.top;
            const int saved = clip ? SaveDC(dc) : 0;
            if (clip) IntersectClipRect(dc, box.left, box.top, box.right, box.bottom);
            pictures_.Draw(dc, e.picture, box.left, box.top);
            if (clip) RestoreDC(dc, saved);
        }
        if (e.border) DrawFrame(dc, box);
        break;
    case ElementKind::LblHand:
    case ElementKind::LblFarger:
        DrawLabel(dc, e);
        break;
    case ElementKind::PilN:
    case ElementKind::PilH:
    case ElementKind::PilV:
        pictures_.Draw(dc, PictureFor(e.id.kind), box.left, box.top);
        break;
    case ElementKind::Splash:
        if (!pictures_.Draw(dc, PictureFor(e.id.kind), box.left, box.top))
            FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        break;
    }
}

void TablePainter::DrawFrame(HDC dc, const RECT& r) {
    if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
    const RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
    const RECT bottom{r.left + 1, r.bottom - 1, r.right, r.bottom};
    const RECT right{r.right - 1, r.top + 1, r.right, r.bottom};
    FillRect(dc, &top, darkEdge_);
    FillRect(dc, &left, darkEdge_);
    FillRect(dc, &bottom, lightEdge_);
    FillRect(dc, &right, lightEdge_);
}

HFONT TablePainter::LetterFont() {
    if (letterFont_) return letterFont_;
    LOGFONTW lf{};
    lf.lfHeight = -PixelsFromTwips(layout::kHandLetterPoints * kTwipsPerPoint, dpi_);
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
    lf.lfHeight = -PixelsFromTwips(layout::kSuitNamePoints * kTwipsPerPoint, dpi_);
    lf.lfWidth = 0;
    suitFont_ = CreateFontIndirectW(&lf);
    return suitFont_;
}

void TablePainter::DrawLabel(HDC dc, const SceneElement& e) {
    HFONT font = e.id.kind == ElementKind::LblHand ? LetterFont() : SuitFont();
    const std::wstring text = Wide(e.text);
    RECT box = Box(e.rect);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    SelectObject(dc, old);
}

// The shadow a lifted card casts: a rounded rectangle of translucent black, its
// corners smoothed, as a premultiplied picture for AlphaBlend.
HBITMAP TablePainter::Shadow(SIZE size) {
    if (shadow_ && size.cx == shadowSize_.cx && size.cy == shadowSize_.cy) return shadow_;
    if (shadow_) DeleteObject(shadow_);
    shadow_ = nullptr;
    std::uint32_t* px = nullptr;
    HBITMAP bitmap = CreatePicture(size.cx, size.cy, &px);
    if (!bitmap) return nullptr;
    const double radius = FractionalPixels(kShadowRadiusTwips, dpi_);
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) {
            // Distance of the pixel's centre beyond the rounded corner's arc, if in one.
            const double cx = x + 0.5, cy = y + 0.5;
            const double dx = std::max({radius - cx, cx - (size.cx - radius), 0.0});
            const double dy = std::max({radius - cy, cy - (size.cy - radius), 0.0});
            const double beyond = std::hypot(dx, dy) - radius;
            const double cover = std::clamp(0.5 - beyond, 0.0, 1.0);
            const auto a = static_cast<std::uint32_t>(std::lround(kShadowAlpha * cover));
            px[static_cast<size_t>(y) * static_cast<size_t>(size.cx) + static_cast<size_t>(x)] = a << 24;
        }
    }
    shadow_ = bitmap;
    shadowSize_ = size;
    return shadow_;
}

void TablePainter::DrawDrag(HDC dc, const DragPicture& drag) {
    const SIZE size = pictures_.PixelSize(drag.picture);
    if (size.cx <= 0) return;
    const RECT box = Box(drag.rect);
    const int offset = PixelsFromTwips(kDragShadowTwips, dpi_);
    if (HBITMAP shadow = Shadow(size); shadow && shadowDc_) {
        HGDIOBJ old = SelectObject(shadowDc_, shadow);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, box.left + offset, box.top + offset, size.cx, size.cy, shadowDc_, 0, 0, size.cx,
                   size.cy, blend);
        SelectObject(shadowDc_, old);
    }
    pictures_.Draw(dc, drag.picture, box.left, box.top);
}

}  // namespace karvelo::win32
