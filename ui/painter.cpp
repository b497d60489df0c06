#include "painter.h"

#include <algorithm>
#include <cmath>

#include "picture_numbers.h"
#include "settings.h"
#include "title_cover.h"

namespace karvelo {
namespace {

// A label is sized to its text in the design's font; in another font its text may
// reach this much further right and down.
constexpr float kLabelSlackWidth = 600;
constexpr float kLabelSlackHeight = 300;

bool IsLabel(ElementKind kind) { return kind == ElementKind::LblHand || kind == ElementKind::LblFarger; }

int PictureOf(const SceneElement& e) {
    switch (e.id.kind) {
    case ElementKind::PilN: return kPictureArrowDown;
    case ElementKind::PilH: return kPictureArrowRight;
    case ElementKind::PilV: return kPictureArrowLeft;
    case ElementKind::Splash: return kPictureTitle;
    default: return e.picture;
    }
}

bool Touches(const PixelBox& a, const PixelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TwipRect Inset(const TwipRect& r, float by) {
    return {r.left + by, r.top + by, r.width - 2 * by, r.height - 2 * by};
}

TwipRect TwipsOf(const PixelBox& b, int dpi) {
    const auto t = [dpi](int px) { return static_cast<float>(TwipsFromPixels(px, dpi)); };
    return {t(b.left), t(b.top), t(b.right) - t(b.left), t(b.bottom) - t(b.top)};
}

void DrawElement(const SceneElement& e, int32_t background, Canvas& canvas) {
    switch (e.id.kind) {
    case ElementKind::LblHand:
        canvas.Text(e.rect, e.text, LabelFont::Letter, LabelColour(background));
        break;
    case ElementKind::LblFarger:
        canvas.Text(e.rect, e.text, LabelFont::Suit, LabelColour(background));
        break;
    case ElementKind::Splash:
        // Without its picture the title is a black field.
        if (!canvas.Picture(kPictureTitle, e.rect)) canvas.Fill(e.rect, 0);
        break;
    default:
        if (const int picture = PictureOf(e); picture != 0) canvas.Picture(picture, e.rect);
        if (e.border) canvas.SunkenFrame(e.rect, SunkenEdgeFor(background));
        break;
    }
}

void DrawMark(const TwipRect& rect, int32_t light, Canvas& canvas) {
    const TwipRect outer = Scene::MarkArea(rect);
    canvas.Frame(outer, kKeyboardMarkOutsetTwips, kMarkDark);
    canvas.Frame(Inset(outer, kMarkBandTwips), kMarkBandTwips, light);
}

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(int32_t colour) {
    return 0.2126 * Linear(colour & 0xFF) + 0.7152 * Linear((colour >> 8) & 0xFF) +
           0.0722 * Linear((colour >> 16) & 0xFF);
}

}  // namespace

TwipRect ElementReach(const SceneElement& e) {
    TwipRect r = e.rect;
    if (IsLabel(e.id.kind)) {
        r.width += kLabelSlackWidth;
        r.height += kLabelSlackHeight;
    }
    return r;
}

double ContrastRatio(int32_t a, int32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int32_t LabelColour(int32_t background) {
    constexpr int32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
    // The standard table keeps the black labels it was designed with (4.09:1 there);
    // every colour the player chooses gets black only where black reads at 4.5:1.
    if ((background & 0xFFFFFF) == kStandardColour) return kBlack;
    return ContrastRatio(kBlack, background) >= 4.5 ? kBlack : kWhite;
}

void PaintTable(const Scene& scene, int32_t background, const PixelBox& dirty, Canvas& canvas) {
    const int dpi = canvas.Dpi();
    canvas.ClipTo(dirty);
    canvas.Fill(TwipsOf(dirty, dpi), background & 0xFFFFFF);
    // One pixel of margin around what an element reaches: positions between pixels
    // are rounded when drawn.
    const auto reaches = [&](const TwipRect& r) {
        const PixelBox b = PixelsTouched(r, dpi);
        return Touches({b.left - 1, b.top - 1, b.right + 1, b.bottom + 1}, dirty);
    };
    const auto& order = scene.DrawingOrder();
    for (size_t i = FirstElementToPaint(order, dirty, dpi); i < order.size(); ++i) {
        const SceneElement& e = order[i];
        if (e.visible && reaches(ElementReach(e))) DrawElement(e, background, canvas);
    }
    const KeyboardMarks& marks = scene.Marks();
    // The lifted cards' mark last: right after a lift the focus still stands on the
    // same cards, and the player must see that they were lifted.
    if (marks.focus && reaches(Scene::MarkArea(*marks.focus))) DrawMark(*marks.focus, kFocusLight, canvas);
    if (marks.lifted && reaches(Scene::MarkArea(*marks.lifted))) DrawMark(*marks.lifted, kLiftedLight, canvas);
    if (const auto& drag = scene.Drag(); drag && reaches(Scene::DragArea(*drag))) {
        canvas.Shadow(drag->rect, kDragShadowTwips, kDragShadowRadiusTwips, kDragShadowAlpha);
        canvas.Picture(drag->picture, drag->rect);
    }
}

}  // namespace karvelo
