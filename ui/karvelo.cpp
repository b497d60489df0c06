// The main window's elements as the engine works on them, its host and its receiver
// of game results, and the start and end of a run.
#include "karvelo.h"

#include "check.h"
#include "layout.h"
#include "regapi.h"
#include "settings.h"
#include "statistics.h"
#include "window_layout.h"

namespace karvelo {
namespace {

namespace L = funktioner::layout;

ElementId Card(int index) { return {ElementKind::Kort, index}; }

ElementId ToElementId(funktioner::Element e) {
    switch (e.kind) {
    case funktioner::Kind::Hand: return {ElementKind::Hand, e.index};
    case funktioner::Kind::Hog: return {ElementKind::Hog, e.index};
    case funktioner::Kind::Kort: break;
    }
    return Card(e.index);
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

}  // namespace

Karvelo::Karvelo(WindowSystem& window)
    : window_(window),
      backColour_(kStandardColour),
      tickedSpeedItem_(kStandardSpeedItem),
      surroundings_({.host = this, .table = this, .results = this}) {
    BuildScene();
    // A new run of the program: nothing of an earlier window's run is waiting.
    funktioner::gate() = funktioner::InputGate{};
}

Karvelo::~Karvelo() { scene_.SetDamageListener(nullptr); }

void Karvelo::BuildScene() {
    namespace W = layout;
    // Back to front: each element added goes in front of those before it.
    for (int i = 0; i < 4; ++i)
        scene_.Add({{ElementKind::Hand, i}, W::Cell(i), 0, "", "", true, true, true});
    scene_.Add({Card(L::kTemplateCard), W::kTemplateCard, 0, "", "", false, false, true});
    for (int p = 0; p < 4; ++p)
        scene_.Add({{ElementKind::Hog, p}, W::Foundation(p), 0, "", "", true, true, true});
    for (int p = 0; p < 4; ++p)
        scene_.Add({{ElementKind::LblFarger, p}, W::kSuitLabels[p], 0, "", W::kSuitNames[p],
                    false, true, true});
    for (int i = 0; i < 4; ++i)
        scene_.Add({{ElementKind::LblHand, i}, W::kHandLabels[i], 0, "", W::kHandLetters[i],
                    false, true, true});
    for (ElementKind arrow : {ElementKind::PilV, ElementKind::PilH, ElementKind::PilN})
        scene_.Add({{arrow, 0}, W::kArrow, 0, "", "", false, false, true});
    scene_.Add({{ElementKind::Splash, 0}, W::kSplash, 0, "", "", false, true, true});
}

// ---- funktioner::Table. The engine only ever names elements it may: an index outside
// the element array is a programmer error.

void Karvelo::CreateCard(int index) {
    KARVELO_ASSERT(L::IsCardIndex(index) || L::IsBaseIndex(index));
    if (!(L::IsCardIndex(index) || L::IsBaseIndex(index)) || scene_.Contains(Card(index))) return;
    const SceneElement* model = scene_.Find(Card(L::kTemplateCard));
    SceneElement e = model ? *model : SceneElement{};
    e.id = Card(index);
    e.visible = false;
    scene_.Add(e);
}

void Karvelo::DestroyCard(int index) {
    KARVELO_ASSERT(L::IsCardIndex(index) || L::IsBaseIndex(index));
    if (index == L::kTemplateCard) return;  // the template stays
    if (drag_ && drag_->card == index) CancelDrag();
    scene_.Remove(Card(index));
}

bool Karvelo::CardExists(int index) const { return scene_.Contains(Card(index)); }

void Karvelo::SetPicture(int index, int resource) {
    const SceneElement* e = scene_.Find(Card(index));
    KARVELO_ASSERT(e != nullptr);
    if (!e) return;
    scene_.SetPicture(Card(index), resource);
    if (resource == 0) return;  // an empty picture keeps the element's size
    // An element takes its picture's size: every card face is 71 x 96 pixels.
    scene_.SetRect(Card(index), {e->rect.left, e->rect.top, layout::kCardWidth,
                                 layout::kCardHeight});
}

void Karvelo::SetTag(int index, const std::string& tag) { scene_.SetTag(Card(index), tag); }

std::string Karvelo::Tag(int index) const {
    const SceneElement* e = scene_.Find(Card(index));
    return e ? e->tag : std::string();
}

void Karvelo::SetSize(int index, float width, float height) {
    const SceneElement* e = scene_.Find(Card(index));
    KARVELO_ASSERT(e != nullptr);
    if (!e) return;
    scene_.SetRect(Card(index), {e->rect.left, e->rect.top, width, height});
}

void Karvelo::SetBorder(int index, bool singleLine) { scene_.SetBorder(Card(index), singleLine); }

void Karvelo::SetEnabled(int index, bool enabled) { scene_.SetEnabled(Card(index), enabled); }

bool Karvelo::Enabled(int index) const {
    const SceneElement* e = scene_.Find(Card(index));
    return e && e->enabled;
}

void Karvelo::SetVisible(int index, bool visible) { scene_.SetVisible(Card(index), visible); }

bool Karvelo::Visible(int index) const {
    const SceneElement* e = scene_.Find(Card(index));
    return e && e->visible;
}

void Karvelo::BringToFront(int index) { scene_.BringToFront(Card(index)); }
void Karvelo::SendToBack(int index) { scene_.SendToBack(Card(index)); }

TwipRect Karvelo::RectOf(funktioner::Element e) const {
    const SceneElement* s = scene_.Find(ToElementId(e));
    return s ? s->rect : TwipRect{};
}
float Karvelo::Left(funktioner::Element e) const { return RectOf(e).left; }
float Karvelo::Top(funktioner::Element e) const { return RectOf(e).top; }
float Karvelo::Width(funktioner::Element e) const { return RectOf(e).width; }
float Karvelo::Height(funktioner::Element e) const { return RectOf(e).height; }

void Karvelo::Move(int index, float left, float top) { scene_.Move(Card(index), left, top); }

// ---- Host

Answer Karvelo::MsgBox(const std::string& text, Buttons buttons, Icon icon,
                       DefaultButton defaultButton, const std::string& title) {
    return window_.ShowMessage({text, buttons, icon, defaultButton, title});
}

void Karvelo::DoEvents() {
    frameClock_.SetLeaving(funktioner::gate().Leaving());
    // Every step of a flight, a deal or a clearing passes here: the keyboard's marks
    // follow what the table now holds.
    ShowKeyboardMarks();
    window_.DoEvents();
}

// ---- The statistics record

void Karvelo::RecordGameResult(bool won) { karvelo::RecordGameResult(won); }

int32_t Karvelo::SeriesWinRun() const { return StatCounters(kSeriesWinRun); }

// ---- Start and end of a run

void Karvelo::Form_Load() {
    funktioner::SeedRandomFromClock();
    scene_.SetVisible({ElementKind::PilN, 0}, true);
    funktioner::AutoPlayActive = false;
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, SettingsKey());
    // Before "\Statistik" is made again: a clearing cut short may have deleted it.
    CompleteInterruptedStatistics();
    RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, std::string(RegAPI::kAppKey) + "\\Statistik");
    DoEvents();

    const SpeedSetting speed = SpeedFromStored(
        Trimmed(RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), "Speed")));
    funktioner::AnimationSpeed = speed.steps;
    TickSpeedItem(speed.item);
    DoEvents();

    SetBackColour(ColourFromStored(
        RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), "Color")));
}

void Karvelo::Form_Terminate() {
    // Once: a second close while this lets events run, or a command that waited, finds
    // the shut-down begun and does nothing.
    if (!funktioner::gate().BeginShutDown()) return;
    if (drag_) CancelDrag();
    if (funktioner::GameInProgress) RecordGameResult(false);
    WriteHeldGamesBeforeTheEnd();
    DoEvents();
    funktioner::Board.Clear();
    funktioner::Deck.Clear();
    funktioner::GameInProgress = false;
    StatCounters.Clear();
    DoEvents();
    funktioner::gate().EndShutDown();
    terminated_ = true;
    window_.Unload();
}

}  // namespace karvelo
