#include "paint_scenes.h"

#include <optional>
#include <utility>

#include "funktioner.h"
#include "karvelo.h"
#include "painter.h"
#include "test_decks.h"
#include "window_layout.h"
#include "window_system.h"

namespace karvelo::paint {
namespace {

// A window that shows nothing and keeps no settings; it can copy the scene at a given
// pass of the event loop (the middle of a flight).
class StillWindow final : public WindowSystem {
public:
    Answer ShowMessage(const MessageRequest& r) override {
        return r.buttons == Buttons::OK ? Answer::OK : Answer::No;
    }
    std::optional<int32_t> ChooseColour(int32_t) override { return std::nullopt; }
    void ShowStatistics(frmStatistik&) override {}
    NumberFormat UserNumberFormat() const override { return {}; }
    void DoEvents() override {
        if (form && --untilCopy == 0) copy = form->scene();
    }
    void BackColourChanged(int32_t) override {}
    void SpeedTickChanged(int) override {}
    int OuterHeightTwips() const override { return height; }
    void SetOuterHeightTwips(int twips) override { height = twips; }
    void Unload() override {}

    Karvelo* form = nullptr;
    int untilCopy = 0;
    std::optional<Scene> copy;
    int height = 6615;
};

// A fixed deck from a small generator of our own, the same on every system.
test::DeckOrder FixedDeck() {
    test::DeckOrder order{};
    for (int p = 1; p <= 52; ++p) order[static_cast<size_t>(p)] = p;
    uint32_t state = 20261207;
    for (int p = 52; p > 1; --p) {
        state = state * 1664525u + 1013904223u;
        const int q = 1 + static_cast<int>((state >> 8) % static_cast<uint32_t>(p));
        std::swap(order[static_cast<size_t>(p)], order[static_cast<size_t>(q)]);
    }
    return order;
}

// The last card of column `c` (1 to 8).
const SceneElement* LastOfColumn(const Scene& scene, int c) {
    const SceneElement* last = nullptr;
    for (const SceneElement& e : scene.DrawingOrder())
        if (e.id.kind == ElementKind::Kort && e.id.index >= 1 && e.id.index <= 52 && e.visible &&
            !e.tag.empty() && e.tag[0] == static_cast<char>('0' + c) &&
            (!last || std::stoi(e.tag.substr(1)) > std::stoi(last->tag.substr(1))))
            last = &e;
    return last;
}

const SceneElement* FirstOfColumn(const Scene& scene, int c) {
    const std::string tag = std::to_string(c) + "1";
    for (const SceneElement& e : scene.DrawingOrder())
        if (e.id.kind == ElementKind::Kort && e.id.index >= 1 && e.id.index <= 52 && e.tag == tag) return &e;
    return nullptr;
}

Scene Unlistened(Scene scene) {
    scene.SetDamageListener(nullptr);
    return scene;
}

}  // namespace

std::vector<NamedScene> ComparedScenes() {
    std::vector<NamedScene> scenes;
    constexpr int32_t kGreen = 0x008000;
    StillWindow window;
    funktioner::ResetEngine();
    funktioner::SetRandomSource(test::DeckSource(FixedDeck()));
    Karvelo form(window);
    // As start-up leaves it (without touching the player's stored settings).
    form.scene().SetVisible({ElementKind::PilN, 0}, true);
    // The table while the window grows, before the deal: the title gone.
    window.form = &form;
    window.untilCopy = 1;
    form.mnuNyttSpel_Click();
    window.form = nullptr;
    if (window.copy) scenes.push_back({"growing", Unlistened(*window.copy), kGreen});
    window.copy.reset();
    Scene& scene = form.scene();
    scenes.push_back({"dealt", Unlistened(scene), kGreen});

    // A card of column 3 dragged down and right, over column 4.
    if (const SceneElement* card = LastOfColumn(scene, 3)) {
        const float x = card->rect.left + 500, y = card->rect.top + 300;
        form.PointerPressed(x, y, kLeftButton, false);
        form.PointerMoved(x + 700, y + 900, kLeftButton);
        scenes.push_back({"drag", Unlistened(scene), kGreen});
        form.PointerReleased(-1000, -1000, kLeftButton);  // outside the table: no drop
    }

    // The covered first card of column 5, shown whole.
    if (const SceneElement* covered = FirstOfColumn(scene, 5)) {
        const float x = covered->rect.left + 300, y = covered->rect.top + 100;
        form.PointerPressed(x, y, kRightButton, false);
        scenes.push_back({"peek", Unlistened(scene), kGreen});
        form.PointerReleased(x, y, kRightButton);
    }

    // The keyboard's marks on a black table: the focus on a free cell, column 2's last
    // card lifted.
    if (const SceneElement* lifted = LastOfColumn(scene, 2)) {
        Scene marked = Unlistened(scene);
        marked.SetKeyboardMarks({layout::Cell(1), lifted->rect});
        scenes.push_back({"marks", std::move(marked), 0x000000});
    }

    // Column 1's last card on its way to the free cell "D", half-way.
    if (const SceneElement* card = LastOfColumn(scene, 1)) {
        const float x = card->rect.left + 500, y = card->rect.top + 300;
        const TwipRect cell = layout::Cell(3);
        form.PointerPressed(x, y, kLeftButton, false);
        form.PointerMoved(cell.left + 500, cell.top + 500, kLeftButton);
        window.form = &form;
        window.untilCopy = 9;  // the ninth of the flight's 18 positions
        form.PointerReleased(cell.left + 500, cell.top + 500, kLeftButton);
        window.form = nullptr;
        if (window.copy) scenes.push_back({"flight", Unlistened(*window.copy), kGreen});
    }
    scene.SetDamageListener(nullptr);
    return scenes;
}

std::vector<PixelBox> LabelAreas(const Scene& scene, int dpi) {
    std::vector<PixelBox> areas;
    for (const SceneElement& e : scene.DrawingOrder()) {
        if (e.id.kind != ElementKind::LblHand && e.id.kind != ElementKind::LblFarger) continue;
        const PixelBox b = PixelsTouched(ElementReach(e), dpi);
        areas.push_back({b.left - 1, b.top - 1, b.right + 1, b.bottom + 1});
    }
    return areas;
}

}  // namespace karvelo::paint
