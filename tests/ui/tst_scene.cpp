// The scene of twips: drawing order, what each change reports for repainting, and
// what lies under the pointer for presses, drops and the arrows.
#include <QTest>

#include "pointer_targets.h"
#include "scene.h"
#include "ui_test_support.h"

using namespace karvelo;

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

class SceneTest : public QObject {
    Q_OBJECT
private slots:
    void orderChangesAndDamage() {
        Scene s;
        std::vector<TwipRect> damage;
        s.SetDamageListener([&](const TwipRect& r) { damage.push_back(r); });
        QVERIFY(s.Add(Card(1, {0, 0, 100, 100})));
        QVERIFY(s.Add(Card(2, {50, 0, 100, 100}, false)));
        QVERIFY(!s.Add(Card(1, {9, 9, 9, 9})));  // one element per id
        QCOMPARE(damage.size(), size_t(1));       // the hidden one shows nothing

        damage.clear();
        s.Move({ElementKind::Kort, 1}, 0, 0);  // where it is already: nothing to redraw
        QVERIFY(damage.empty());
        s.Move({ElementKind::Kort, 1}, 30, 40);
        QCOMPARE(damage.size(), size_t(2));  // old and new place
        QCOMPARE(damage[0], (TwipRect{0, 0, 100, 100}));
        QCOMPARE(damage[1], (TwipRect{30, 40, 100, 100}));

        damage.clear();
        s.Move({ElementKind::Kort, 2}, 70, 0);  // hidden: moves without redrawing
        s.SetTag({ElementKind::Kort, 1}, "11");
        s.SetEnabled({ElementKind::Kort, 1}, false);
        QVERIFY(damage.empty());
        s.SetVisible({ElementKind::Kort, 2}, true);
        QCOMPARE(damage.size(), size_t(1));

        QCOMPARE(s.DepthOf({ElementKind::Kort, 1}), 0);
        s.BringToFront({ElementKind::Kort, 1});
        QCOMPARE(s.DepthOf({ElementKind::Kort, 1}), 1);
        s.SendToBack({ElementKind::Kort, 1});
        QCOMPARE(s.DepthOf({ElementKind::Kort, 1}), 0);
        QVERIFY(s.Remove({ElementKind::Kort, 1}));
        QVERIFY(!s.Remove({ElementKind::Kort, 1}));
        QCOMPARE(s.DepthOf({ElementKind::Kort, 2}), 0);
        // Changes to absent elements are ignored.
        s.Move({ElementKind::Kort, 9}, 1, 1);
        s.SetVisible({ElementKind::Kort, 9}, true);
        QVERIFY(!s.Contains({ElementKind::Kort, 9}));
    }

    void topmostElementUnderAPoint() {
        Scene s;
        s.Add(Card(1, {0, 0, 100, 100}));
        s.Add(Card(2, {50, 50, 100, 100}));
        s.Add(Card(3, {0, 0, 200, 200}, false));
        const auto at = [&](float x, float y, bool enabledOnly) {
            auto id = s.TopmostAt(x, y, enabledOnly);
            return id ? id->index : -1;
        };
        QCOMPARE(at(60, 60, true), 2);
        QCOMPARE(at(10, 10, true), 1);
        QCOMPARE(at(100, 10, true), -1);  // right edge is outside
        QCOMPARE(at(99.5f, 10, true), 1);
        s.SetEnabled({ElementKind::Kort, 2}, false);
        QCOMPARE(at(60, 60, true), 1);
        QCOMPARE(at(60, 60, false), 2);
    }

    void dropTargets() {
        using K = DropTarget::Kind;
        Scene s = Table();
        QVERIFY((DropTargetAt(s, 100, 1400) == DropTarget{K::Cell, 0}));
        QVERIFY((DropTargetAt(s, 500, 500) == DropTarget{K::CellLabel, 0}));
        // Where two frames overlap the later one is on top.
        QVERIFY((DropTargetAt(s, 1100, 100) == DropTarget{K::Cell, 1}));
        QVERIFY((DropTargetAt(s, 5700, 500) == DropTarget{K::FoundationLabel, 0}));
        QVERIFY((DropTargetAt(s, 5300, 1400) == DropTarget{K::Foundation, 0}));
        // Arrows and the background take no drop.
        QVERIFY((DropTargetAt(s, 4700, 600) == DropTarget{}));
        QVERIFY((DropTargetAt(s, 4700, 3000) == DropTarget{}));

        // A card in a free cell takes the drop itself; the frame's edge is the frame.
        s.Add(Card(26, {40, 30, 1065, 1440}));
        QVERIFY((DropTargetAt(s, 500, 500) == DropTarget{K::Card, 26}));
        QVERIFY((DropTargetAt(s, 500, 1490) == DropTarget{K::Cell, 0}));

        // A disabled card on a foundation passes the drop to the foundation, also
        // where it covers the label.
        s.Add(Card(27, {5320, 30, 1065, 1440}, true, false));
        QVERIFY((DropTargetAt(s, 5900, 1000) == DropTarget{K::Foundation, 0}));
        QVERIFY((DropTargetAt(s, 5700, 500) == DropTarget{K::Foundation, 0}));

        // A disabled card elsewhere is looked through; hidden ones too.
        s.Add(Card(5, {2000, 2000, 1065, 1440}, true, false));
        s.Add(Card(6, {2000, 2000, 1065, 1440}, false, true));
        s.Add(Card(7, {1900, 1900, 500, 500}));
        QVERIFY((DropTargetAt(s, 2100, 2100) == DropTarget{K::Card, 7}));
        QVERIFY((DropTargetAt(s, 2600, 2600) == DropTarget{}));
        // The template card never takes a drop.
        s.Add(Card(0, {3000, 3000, 1065, 1440}));
        QVERIFY((DropTargetAt(s, 3100, 3100) == DropTarget{}));
    }

    void arrowForTags() {
        QVERIFY(ArrowForCardTag("11") == ArrowChoice::Down);
        QVERIFY(ArrowForCardTag("410") == ArrowChoice::Down);
        QVERIFY(ArrowForCardTag("93") == ArrowChoice::Down);  // a column base
        QVERIFY(ArrowForCardTag("03") == ArrowChoice::Left);
        QVERIFY(ArrowForCardTag("") == ArrowChoice::Unchanged);
        QVERIFY(ArrowForCardTag("x1") == ArrowChoice::Unchanged);
    }
};

KARVELO_UI_TEST_MAIN(SceneTest)
#include "tst_scene.moc"
