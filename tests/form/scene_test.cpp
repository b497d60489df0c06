// The scene of twips: drawing order, what each change reports for repainting, and
// what lies under the pointer for presses, drops and the arrows.
#include <gtest/gtest.h>

#include "pointer_targets.h"
#include "scene.h"

namespace karvelo {
namespace {

SceneElement Card(int i, TwipRect r, bool visible = true, bool enabled = true) {
    SceneElement e;
    e.id = {ElementKind::Kort, i};
    e.rect = r;
    e.visible = visible;
    e.enabled = enabled;
    return e;
}

SceneElement Of(ElementKind k, int i, TwipRect r) {
    SceneElement e;
    e.id = {k, i};
    e.rect = r;
    e.visible = true;
    return e;
}

// Free cell 0 and foundation 0 with their labels, as the window lays them out.
Scene Table() {
    Scene s;
    s.Add(Of(ElementKind::Hand, 0, {0, 0, 1125, 1500}));
    s.Add(Of(ElementKind::Hand, 1, {1080, 0, 1125, 1500}));
    s.Add(Of(ElementKind::Hog, 0, {5280, 0, 1125, 1500}));
    s.Add(Of(ElementKind::LblFarger, 0, {5640, 480, 465, 195}));
    s.Add(Of(ElementKind::LblHand, 0, {480, 480, 210, 360}));
    s.Add(Of(ElementKind::PilN, 0, {4560, 480, 480, 480}));
    return s;
}

}  // namespace

TEST(Scene, OrderChangesAndDamage) {
    Scene s;
    std::vector<TwipRect> damage;
    s.SetDamageListener([&](const TwipRect& r) { damage.push_back(r); });
    EXPECT_TRUE(s.Add(Card(1, {0, 0, 100, 100})));
    EXPECT_TRUE(s.Add(Card(2, {50, 0, 100, 100}, false)));
    EXPECT_FALSE(s.Add(Card(1, {9, 9, 9, 9})));  // one element per id
    EXPECT_EQ(damage.size(), size_t(1));       // the hidden one shows nothing

    damage.clear();
    s.Move({ElementKind::Kort, 1}, 0, 0);  // where it is already: nothing to redraw
    EXPECT_TRUE(damage.empty());
    s.Move({ElementKind::Kort, 1}, 30, 40);
    EXPECT_EQ(damage.size(), size_t(2));  // old and new place
    EXPECT_EQ(damage[0], (TwipRect{0, 0, 100, 100}));
    EXPECT_EQ(damage[1], (TwipRect{30, 40, 100, 100}));

    damage.clear();
    s.Move({ElementKind::Kort, 2}, 70, 0);  // hidden: moves without redrawing
    s.SetTag({ElementKind::Kort, 1}, "11");
    s.SetEnabled({ElementKind::Kort, 1}, false);
    EXPECT_TRUE(damage.empty());
    s.SetVisible({ElementKind::Kort, 2}, true);
    EXPECT_EQ(damage.size(), size_t(1));

    EXPECT_EQ(s.DepthOf({ElementKind::Kort, 1}), 0);
    s.BringToFront({ElementKind::Kort, 1});
    EXPECT_EQ(s.DepthOf({ElementKind::Kort, 1}), 1);
    s.SendToBack({ElementKind::Kort, 1});
    EXPECT_EQ(s.DepthOf({ElementKind::Kort, 1}), 0);
    EXPECT_TRUE(s.Remove({ElementKind::Kort, 1}));
    EXPECT_FALSE(s.Remove({ElementKind::Kort, 1}));
    EXPECT_EQ(s.DepthOf({ElementKind::Kort, 2}), 0);
    // Changes to absent elements are ignored.
    s.Move({ElementKind::Kort, 9}, 1, 1);
    s.SetVisible({ElementKind::Kort, 9}, true);
    EXPECT_FALSE(s.Contains({ElementKind::Kort, 9}));
}

TEST(Scene, TopmostElementUnderAPoint) {
    Scene s;
    s.Add(Card(1, {0, 0, 100, 100}));
    s.Add(Card(2, {50, 50, 100, 100}));
    s.Add(Card(3, {0, 0, 200, 200}, false));
    const auto at = [&](float x, float y, bool enabledOnly) {
        auto id = s.TopmostAt(x, y, enabledOnly);
        return id ? id->index : -1;
    };
    EXPECT_EQ(at(60, 60, true), 2);
    EXPECT_EQ(at(10, 10, true), 1);
    EXPECT_EQ(at(100, 10, true), -1);  // right edge is outside
    EXPECT_EQ(at(99.5f, 10, true), 1);
    s.SetEnabled({ElementKind::Kort, 2}, false);
    EXPECT_EQ(at(60, 60, true), 1);
    EXPECT_EQ(at(60, 60, false), 2);
}

TEST(Scene, DropTargets) {
    using K = DropTarget::Kind;
    Scene s = Table();
    EXPECT_TRUE((DropTargetAt(s, 100, 1400) == DropTarget{K::Cell, 0}));
    EXPECT_TRUE((DropTargetAt(s, 500, 500) == DropTarget{K::CellLabel, 0}));
    // Where two frames overlap the later one is on top.
    EXPECT_TRUE((DropTargetAt(s, 1100, 100) == DropTarget{K::Cell, 1}));
    EXPECT_TRUE((DropTargetAt(s, 5700, 500) == DropTarget{K::FoundationLabel, 0}));
    EXPECT_TRUE((DropTargetAt(s, 5300, 1400) == DropTarget{K::Foundation, 0}));
    // Arrows and the background take no drop.
    EXPECT_TRUE((DropTargetAt(s, 4700, 600) == DropTarget{}));
    EXPECT_TRUE((DropTargetAt(s, 4700, 3000) == DropTarget{}));

    // A card in a free cell takes the drop itself; the frame's edge is the frame.
    s.Add(Card(26, {40, 30, 1065, 1440}));
    EXPECT_TRUE((DropTargetAt(s, 500, 500) == DropTarget{K::Card, 26}));
    EXPECT_TRUE((DropTargetAt(s, 500, 1490) == DropTarget{K::Cell, 0}));

    // A disabled card on a foundation passes the drop to the foundation, also
    // where it covers the label.
    s.Add(Card(27, {5320, 30, 1065, 1440}, true, false));
    EXPECT_TRUE((DropTargetAt(s, 5900, 1000) == DropTarget{K::Foundation, 0}));
    EXPECT_TRUE((DropTargetAt(s, 5700, 500) == DropTarget{K::Foundation, 0}));

    // A disabled card elsewhere is looked through; hidden ones too.
    s.Add(Card(5, {2000, 2000, 1065, 1440}, true, false));
    s.Add(Card(6, {2000, 2000, 1065, 1440}, false, true));
    s.Add(Card(7, {1900, 1900, 500, 500}));
    EXPECT_TRUE((DropTargetAt(s, 2100, 2100) == DropTarget{K::Card, 7}));
    EXPECT_TRUE((DropTargetAt(s, 2600, 2600) == DropTarget{}));
    // The template card never takes a drop.
    s.Add(Card(0, {3000, 3000, 1065, 1440}));
    EXPECT_TRUE((DropTargetAt(s, 3100, 3100) == DropTarget{}));
}

TEST(Scene, ArrowForTags) {
    EXPECT_TRUE(ArrowForCardTag("11") == ArrowChoice::Down);
    EXPECT_TRUE(ArrowForCardTag("410") == ArrowChoice::Down);
    EXPECT_TRUE(ArrowForCardTag("93") == ArrowChoice::Down);  // a column base
    EXPECT_TRUE(ArrowForCardTag("03") == ArrowChoice::Left);
    EXPECT_TRUE(ArrowForCardTag("") == ArrowChoice::Unchanged);
    EXPECT_TRUE(ArrowForCardTag("x1") == ArrowChoice::Unchanged);
}

TEST(Scene, DraggedPictureRepaintsWhereItWasAndWhereItGoes) {
    Scene s;
    std::vector<TwipRect> damage;
    s.SetDamageListener([&](const TwipRect& r) { damage.push_back(r); });
    const DragPicture first{101, {100, 200, 1065, 1440}};
    s.SetDragPicture(first);
    ASSERT_EQ(damage.size(), 1u);
    EXPECT_EQ(damage[0], Scene::DragArea(first));
    EXPECT_GT(damage[0].width, first.rect.width) << "its shadow is repainted with it";
    damage.clear();
    s.SetDragPicture(first);
    EXPECT_TRUE(damage.empty()) << "nothing changed";
    const DragPicture moved{101, {130, 260, 1065, 1440}};
    s.SetDragPicture(moved);
    EXPECT_EQ(damage, (std::vector<TwipRect>{Scene::DragArea(first), Scene::DragArea(moved)}));
    damage.clear();
    s.SetDragPicture(std::nullopt);
    EXPECT_EQ(damage, std::vector<TwipRect>{Scene::DragArea(moved)});
    EXPECT_FALSE(s.Drag().has_value());
}

}  // namespace karvelo
