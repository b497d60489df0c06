// The table painter against a recording canvas: what it asks a window system to draw
// for a dealt table, a drag, a peek, the keyboard's marks and a part of the table, and
// the colour of the labels on any table colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "form_fixture.h"
#include "painter.h"
#include "picture_numbers.h"
#include "recording_canvas.h"
#include "window_layout.h"

namespace karvelo::test {
namespace {

constexpr int32_t kGreen = 0x008000;
constexpr PixelBox kWholeTable{0, 0, 644, 601};

bool SameRect(const TwipRect& a, const TwipRect& b) { return a == b; }

class PainterTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        Open();
        Deal(SeededDeck(11));
    }

    RecordingCanvas Paint(const PixelBox& dirty = kWholeTable, int32_t background = kGreen, int dpi = 96) {
        RecordingCanvas canvas(dpi);
        PaintTable(form->scene(), background, dirty, canvas);
        return canvas;
    }

    // Where in the canvas's calls the picture `number` is drawn at `rect`; -1 if not.
    static int IndexOf(const RecordingCanvas& c, int number, const TwipRect& rect) {
        for (size_t i = 0; i < c.calls.size(); ++i)
            if (c.calls[i].kind == CanvasCall::Picture && c.calls[i].picture == number &&
                SameRect(c.calls[i].rect, rect))
                return static_cast<int>(i);
        return -1;
    }
    static int LastOf(const RecordingCanvas& c, CanvasCall::Kind kind) {
        for (size_t i = c.calls.size(); i-- > 0;)
            if (c.calls[i].kind == kind) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(PainterTest, ADealtTableIsDrawnAsTheSceneHoldsItBackToFront) {
    const RecordingCanvas c = Paint();
    // Clipped to what was asked, then the background under everything.
    ASSERT_GE(c.calls.size(), 2u);
    EXPECT_EQ(c.calls[0].kind, CanvasCall::Clip);
    EXPECT_EQ(c.calls[0].clip, kWholeTable);
    EXPECT_EQ(c.calls[1].kind, CanvasCall::Fill);
    EXPECT_EQ(c.calls[1].colour, kGreen);
    EXPECT_EQ(c.calls[1].rect, (TwipRect{0, 0, 9660, 9015}));

    // Every visible element with a picture once, at its place, in the scene's order.
    int previous = -1, drawn = 0;
    for (const SceneElement& e : form->scene().DrawingOrder()) {
        if (e.picture == 0 || e.id.kind != ElementKind::Kort) continue;
        const int at = IndexOf(c, e.picture, e.rect);
        if (!e.visible) {
            EXPECT_EQ(at, -1) << "hidden element " << e.id.index << " drawn";
            continue;
        }
        ASSERT_NE(at, -1) << "card " << e.id.index << " not drawn";
        EXPECT_GT(at, previous) << "card " << e.id.index << " drawn before one it lies on";
        previous = at;
        ++drawn;
    }
    EXPECT_EQ(drawn, 52);
    EXPECT_EQ(c.Of(CanvasCall::Picture).size(), 53u);  // and the arrow

    // The free cells, foundations and column bases are sunken frames on this colour.
    std::set<std::pair<float, float>> frames;
    for (const CanvasCall& f : c.Of(CanvasCall::Sunken)) {
        EXPECT_EQ(f.colour, SunkenEdgeFor(kGreen).dark);
        frames.insert({f.rect.left, f.rect.top});
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(frames.count({layout::Cell(i).left, 0})) << "free cell " << i;
        EXPECT_TRUE(frames.count({layout::Foundation(i).left, 0})) << "foundation " << i;
    }

    // The letters in their font and the suit names in theirs, in the labels' colour.
    const auto texts = c.Of(CanvasCall::Text);
    ASSERT_EQ(texts.size(), 8u);
    for (int i = 0; i < 4; ++i) {
        const auto letter = std::find_if(texts.begin(), texts.end(), [&](const CanvasCall& t) {
            return t.text == layout::kHandLetters[i];
        });
        ASSERT_NE(letter, texts.end());
        EXPECT_EQ(letter->font, LabelFont::Letter);
        EXPECT_EQ(letter->rect, layout::kHandLabels[i]);
        const auto suit = std::find_if(texts.begin(), texts.end(), [&](const CanvasCall& t) {
            return t.text == layout::kSuitNames[i];
        });
        ASSERT_NE(suit, texts.end());
        EXPECT_EQ(suit->font, LabelFont::Suit);
    }
    for (const CanvasCall& t : texts) EXPECT_EQ(t.colour, LabelColour(kGreen));
    EXPECT_TRUE(c.Of(CanvasCall::Shadow).empty());
    EXPECT_TRUE(c.Of(CanvasCall::Frame).empty());
}

TEST_F(PainterTest, ADraggedCardIsDrawnLastOverItsShadow) {
    const int card = form->scene().DrawingOrder().back().picture - 100;
    form->PointerPressed(GrabX(card), GrabY(card), kLeftButton, false);
    form->PointerMoved(GrabX(card) + 900, GrabY(card) + 700, kLeftButton);
    const auto& drag = form->scene().Drag();
    ASSERT_TRUE(drag.has_value());

    const RecordingCanvas c = Paint();
    ASSERT_GE(c.calls.size(), 2u);
    const CanvasCall& shadow = c.calls[c.calls.size() - 2];
    const CanvasCall& picture = c.calls.back();
    EXPECT_EQ(shadow.kind, CanvasCall::Shadow);
    EXPECT_EQ(shadow.rect, drag->rect);
    EXPECT_GT(shadow.size, 0);
    EXPECT_EQ(picture.kind, CanvasCall::Picture);
    EXPECT_EQ(picture.picture, drag->picture);
    EXPECT_EQ(picture.rect, drag->rect);

    // Where the pointer left the table, only what the drag covers is drawn again: a
    // repaint of its area draws it, one beside it does not.
    const PixelBox around = PixelsTouched(Scene::DragArea(*drag), 96);
    const RecordingCanvas over = Paint(around);
    EXPECT_EQ(LastOf(over, CanvasCall::Shadow), static_cast<int>(over.calls.size()) - 2);
    const RecordingCanvas beside = Paint({around.right + 2, around.top, around.right + 10, around.bottom});
    EXPECT_EQ(LastOf(beside, CanvasCall::Shadow), -1);
}

TEST_F(PainterTest, APeekShowsTheWholeCardInFrontOfThoseOnIt) {
    // The first card of column 1 lies under six others.
    const SceneElement* first = nullptr;
    for (const SceneElement& e : form->scene().DrawingOrder())
        if (e.id.kind == ElementKind::Kort && e.tag == "11") first = &e;
    ASSERT_NE(first, nullptr);
    const int code = first->id.index;
    const TwipRect under = first->rect;
    form->PointerPressed(under.left + 100, under.top + 100, kRightButton, false);

    const RecordingCanvas c = Paint();
    const auto pictures = c.Of(CanvasCall::Picture);
    ASSERT_FALSE(pictures.empty());
    // The peek copy is the last picture: the covered face, at the covered card's place.
    EXPECT_EQ(pictures.back().picture, 100 + code);
    EXPECT_EQ(pictures.back().rect.left, under.left);
    EXPECT_EQ(pictures.back().rect.top, under.top);

    form->PointerReleased(under.left + 100, under.top + 100, kRightButton);
    const auto after = Paint().Of(CanvasCall::Picture);
    EXPECT_EQ(after.size(), pictures.size() - 1);  // the copy is gone
}

TEST_F(PainterTest, KeyboardMarksLieOverTheCardsAndUnderTheDraggedOne) {
    const TwipRect focus = layout::Cell(2), lifted = form->scene().DrawingOrder().back().rect;
    form->scene().SetKeyboardMarks({focus, lifted});
    const int card = form->scene().DrawingOrder().back().picture - 100;
    form->PointerPressed(GrabX(card), GrabY(card), kLeftButton, false);
    form->PointerMoved(GrabX(card) + 900, GrabY(card) + 700, kLeftButton);

    const RecordingCanvas c = Paint();
    std::vector<int> frameAt;
    for (size_t i = 0; i < c.calls.size(); ++i)
        if (c.calls[i].kind == CanvasCall::Frame) frameAt.push_back(static_cast<int>(i));
    ASSERT_EQ(frameAt.size(), 4u);  // two bands for each mark
    int lastElement = -1;
    for (size_t i = 0; i < c.calls.size(); ++i)
        if (c.calls[i].kind == CanvasCall::Picture || c.calls[i].kind == CanvasCall::Text ||
            c.calls[i].kind == CanvasCall::Sunken)
            if (static_cast<int>(i) < LastOf(c, CanvasCall::Shadow)) lastElement = static_cast<int>(i);
    EXPECT_GT(frameAt.front(), lastElement);
    EXPECT_LT(frameAt.back(), LastOf(c, CanvasCall::Shadow));

    // Each mark's outer band covers exactly its mark area; the two marks differ.
    std::vector<int32_t> lights;
    for (int at : frameAt) {
        const CanvasCall& f = c.calls[static_cast<size_t>(at)];
        const bool outer = f.rect == Scene::MarkArea(focus) || f.rect == Scene::MarkArea(lifted);
        if (!outer) lights.push_back(f.colour);
        else EXPECT_EQ(f.size, kKeyboardMarkOutsetTwips);
    }
    ASSERT_EQ(lights.size(), 2u);
    EXPECT_NE(lights[0], lights[1]) << "the lifted mark looks like the focus";

    // Right after a lift the focus stands on the lifted cards: the lift shows.
    form->scene().SetKeyboardMarks({lifted, lifted});
    const auto frames = Paint().Of(CanvasCall::Frame);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().colour, kLiftedLight);

    // No marks, no frames.
    form->scene().SetKeyboardMarks({});
    EXPECT_TRUE(Paint().Of(CanvasCall::Frame).empty());
}

TEST_F(PainterTest, APartOfTheTableDrawsOnlyWhatReachesIt) {
    // The pixels right of the letter "H" in a font wider than the design's.
    const PixelBox b = PixelsTouched(layout::kHandLabels[0], 96);
    const RecordingCanvas c = Paint({b.right + 5, b.top, b.right + 8, b.top + 3});
    EXPECT_EQ(c.calls[0].clip, (PixelBox{b.right + 5, b.top, b.right + 8, b.top + 3}));
    const auto texts = c.Of(CanvasCall::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "H");
    // Only the free cell under it besides: no card, no other label.
    EXPECT_EQ(c.Of(CanvasCall::Picture).size(), 0u);
    EXPECT_EQ(c.Of(CanvasCall::Sunken).size(), 1u);
}

TEST_F(PainterTest, ATitleWithoutItsPictureIsABlackField) {
    TearDown();
    FormTest::SetUp();
    Open();  // the title shows until the first deal
    RecordingCanvas c(96);
    c.missing = kPictureTitle;
    PaintTable(form->scene(), kGreen, {0, 0, 644, 385}, c);
    // Everything behind the title is left out; the title falls back to black.
    ASSERT_EQ(c.calls.size(), 4u);
    EXPECT_EQ(c.calls[2].picture, kPictureTitle);
    EXPECT_EQ(c.calls[3].kind, CanvasCall::Fill);
    EXPECT_EQ(c.calls[3].colour, 0);
}

TEST(LabelColour, BlackWhileItContrastsEnoughWithTheTableElseWhite) {
    // WCAG's own figures: black on white is 21:1, #767676 on white just passes 4.5:1.
    EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(0x767676, 0xFFFFFF), 4.54, 0.01);
    EXPECT_DOUBLE_EQ(ContrastRatio(0x123456, 0x123456), 1.0);
    // The boundary for black lies between the greys 116 and 117.
    EXPECT_LT(ContrastRatio(0x000000, 0x747474), 4.5);
    EXPECT_GE(ContrastRatio(0x000000, 0x757575), 4.5);
    EXPECT_EQ(LabelColour(0x747474), 0xFFFFFF);
    EXPECT_EQ(LabelColour(0x757575), 0x000000);
    // On a black table the labels no longer vanish; on white and yellow they stay black.
    EXPECT_EQ(LabelColour(0x000000), 0xFFFFFF);
    EXPECT_EQ(LabelColour(0xFFFFFF), 0x000000);
    EXPECT_EQ(LabelColour(0x00FFFF), 0x000000);
    // Blue counts far less than green: the same channel value gives white on blue.
    EXPECT_EQ(LabelColour(0xFF0000), 0xFFFFFF);
    EXPECT_EQ(LabelColour(0x00FF00), 0x000000);
    // Whatever lies above the colour's 24 bits is no colour.
    EXPECT_EQ(LabelColour(static_cast<int32_t>(0xFF000000)), 0xFFFFFF);
    // The standard green keeps its black labels, though black has only 4.09:1 there;
    // a green a shade off it is judged by the ratio like any other colour.
    EXPECT_EQ(LabelColour(0x008000), 0x000000);
    EXPECT_EQ(LabelColour(static_cast<int32_t>(0x7F008000)), 0x000000);
    EXPECT_EQ(LabelColour(0x007F00), 0xFFFFFF);
    // Whichever is chosen is legible: at least 4.5:1 on every grey and primary.
    for (int v = 0; v < 256; v += 5) {
        const int32_t grey = v | (v << 8) | (v << 16);
        EXPECT_GE(ContrastRatio(LabelColour(grey), grey), 4.5) << v;
    }
}

TEST(KeyboardMarks, EveryMarkShowsOnAnyTableColour) {
    // Each mark has a dark and a light band; against any colour one of them stands out
    // at least 3:1 (WCAG's figure for marks that are not text).
    for (int32_t light : {kFocusLight, kLiftedLight}) {
        for (int r = 0; r < 256; r += 51)
            for (int g = 0; g < 256; g += 51)
                for (int b = 0; b < 256; b += 51) {
                    const int32_t table = r | (g << 8) | (b << 16);
                    EXPECT_GE(std::max(ContrastRatio(kMarkDark, table), ContrastRatio(light, table)), 3.0)
                        << std::hex << table;
                }
    }
}

TEST(Canvas, RectanglesBecomeTheSamePixelsAndSizesEverywhere) {
    // Equal sizes stay equal wherever they lie, at 96 and at 144 dots per inch.
    EXPECT_EQ(DrawnBox({1065, 1440, 1065, 1440}, 96), (PixelBox{71, 96, 142, 192}));
    const PixelBox a = DrawnBox({0, 0, 1065, 1440}, 144), b = DrawnBox({1075, 15, 1065, 1440}, 144);
    EXPECT_EQ(a.right - a.left, b.right - b.left);
    EXPECT_EQ(a.bottom - a.top, b.bottom - b.top);
    EXPECT_EQ(a.right - a.left, 106);  // 106.5 to the even neighbour
}

// How many of `boxes` hold pixel (x, y).
int Covering(const std::vector<PixelBox>& boxes, int x, int y) {
    int n = 0;
    for (const PixelBox& b : boxes) n += x >= b.left && x < b.right && y >= b.top && y < b.bottom;
    return n;
}

TEST(Canvas, AFrameCoversItsRingOnceAndAnEmptyPlaceItsEdge) {
    // 10 x 10 pixels at 96 dots per inch, a frame 3 pixels wide.
    const TwipRect r{150, 150, 150, 150};
    const std::vector<PixelBox> bands = FrameBands(r, 45, 96);
    for (int y = 8; y < 22; ++y)
        for (int x = 8; x < 22; ++x) {
            const bool inRing = x >= 10 && x < 20 && y >= 10 && y < 20 && (x < 13 || x >= 17 || y < 13 || y >= 17);
            EXPECT_EQ(Covering(bands, x, y), inRing ? 1 : 0) << x << "," << y;
        }
    // Thinner than a pixel still shows; wider than half fills the rectangle once.
    EXPECT_EQ(FrameBands(r, 1, 96)[0].bottom - FrameBands(r, 1, 96)[0].top, 1);
    const std::vector<PixelBox> full = FrameBands(r, 9000, 96);
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x) EXPECT_EQ(Covering(full, x, y), 1) << x << "," << y;
    EXPECT_TRUE(FrameBands({0, 0, 0, 150}, 15, 96).empty());

    // The sunken edge: every pixel of the border in one line, dark above and left.
    const std::vector<PixelBox> lines = SunkenLines(r, 96);
    ASSERT_EQ(lines.size(), 4u);
    const std::vector<PixelBox> dark(lines.begin(), lines.begin() + 2), light(lines.begin() + 2, lines.end());
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x) {
            const bool edge = x == 10 || x == 19 || y == 10 || y == 19;
            EXPECT_EQ(Covering(lines, x, y) > 0, edge) << x << "," << y;
            // No pixel of the edge is both dark and light.
            EXPECT_FALSE(Covering(dark, x, y) > 0 && Covering(light, x, y) > 0) << x << "," << y;
        }
    EXPECT_EQ(Covering(dark, 19, 10), 1);   // the top right corner is the top's
    EXPECT_EQ(Covering(dark, 10, 19), 1);   // the bottom left the left side's
    EXPECT_EQ(Covering(light, 19, 19), 2);  // where the light lines meet
    EXPECT_TRUE(SunkenLines({0, 0, 15, 150}, 96).empty());
}

TEST(Canvas, AShadowIsOpaqueInsideAndRoundedAtItsCorners) {
    const std::vector<uint8_t> mask = ShadowMask(20, 10, 4, 70);
    ASSERT_EQ(mask.size(), 200u);
    const auto at = [&](int x, int y) { return mask[static_cast<size_t>(y) * 20 + x]; };
    EXPECT_EQ(at(10, 5), 70);
    EXPECT_EQ(at(0, 5), 70);    // a straight edge is whole
    EXPECT_EQ(at(0, 0), 0);     // the corner is cut off
    EXPECT_EQ(at(19, 9), 0);
    EXPECT_GT(at(1, 1), 0);     // the arc is smoothed
    EXPECT_LT(at(1, 1), 70);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(at(x, 0), at(19 - x, 9)) << x;  // symmetric
    EXPECT_TRUE(ShadowMask(0, 10, 4, 70).empty());
}

}  // namespace
}  // namespace karvelo::test
