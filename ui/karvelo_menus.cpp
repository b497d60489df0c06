// The main window's menu commands and keys, what they store, the statistics window's
// entry points and the window's growth before the first deal.
#include "frm_statistik.h"
#include "karvelo.h"
#include "regapi.h"
#include "settings.h"
#include "statistics_keys.h"
#include "texts.h"
#include "window_layout.h"

namespace karvelo {
namespace {

using funktioner::PlayerInput;

funktioner::InputGate& Gate() { return funktioner::gate(); }

}  // namespace

void Karvelo::MenuChosen(MenuCommand command, int index) {
    switch (command) {
    case MenuCommand::NyttSpel: mnuNyttSpel_Click(); break;
    case MenuCommand::Statistik: mnuStatistik_Click(); break;
    case MenuCommand::Avsluta: mnuAvsluta_Click(); break;
    case MenuCommand::Hastighet: mnuHastighet_Click(static_cast<int16_t>(index)); break;
    case MenuCommand::Color: mnuColor_Click(); break;
    case MenuCommand::ColorStandard: mnuColorStandard_Click(); break;
    case MenuCommand::Help: mnuHelp_Click(); break;
    case MenuCommand::Om: mnuOm_Click(); break;
    case MenuCommand::None: break;
    }
    ShowKeyboardMarks();  // a deal or the end of a game changes what the focus is on
}

void Karvelo::TickSpeedItem(int k) {
    tickedSpeedItem_ = k;
    window_.SpeedTickChanged(k);
}

void Karvelo::SetBackColour(int32_t colour) {
    backColour_ = colour;
    window_.BackColourChanged(colour);
}

void Karvelo::StoreSetting(const char* name, int32_t value) {
    RegAPI::SetNewValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), "Number", name,
                        std::to_string(value));
}

// ---- "Nytt spel"

void Karvelo::mnuNyttSpel_Click() {
    Gate().Handle(PlayerInput::NewGame, [this] { StartNewGame(); });
}

void Karvelo::StartNewGame() {
    const ElementId splash{ElementKind::Splash, 0};
    if (const SceneElement* s = scene_.Find(splash); s && s->visible) {
        // Held across the growth: a second "Nytt spel" meanwhile is refused.
        const funktioner::GateHold growing = Gate().Hold(funktioner::Span::Growth);
        scene_.SetVisible(splash, false);
        GrowWindow();
    }
    funktioner::NewGame();  // deals nothing when the player chose to leave meanwhile
}

void Karvelo::GrowWindow() {
    const int start = window_.OuterHeightTwips();
    const int step = GrowthStep(start, layout::kGrownOuterHeight, layout::kGrowthSteps);
    DoEvents();
    int outer = start;
    for (int i = 0; i < layout::kGrowthSteps; ++i) {
        // Closing the window meanwhile ends the run: the rest of the growth is not worth
        // showing.
        if (Gate().Leaving()) return;
        outer += step;
        window_.SetOuterHeightTwips(outer);
        DoEvents();
    }
}

// ---- "Avsluta" and closing the window

void Karvelo::mnuAvsluta_Click() {
    Gate().Handle(PlayerInput::Quit, [this] { Form_Terminate(); });
}

void Karvelo::CloseRequested() { mnuAvsluta_Click(); }

void Karvelo::SessionEnding() { mnuAvsluta_Click(); }

// ---- The settings

void Karvelo::mnuHastighet_Click(int16_t Index) {
    if (Index < 0 || Index >= kSpeedItems) return;
    Gate().Handle(PlayerInput::Setting, [this, Index] {
        TickSpeedItem(-1);
        funktioner::AnimationSpeed = SpeedForItem(Index);
        TickSpeedItem(Index);
        DoEvents();
        StoreSetting("Speed", funktioner::AnimationSpeed);
    });
}

void Karvelo::mnuColor_Click() {
    Gate().Handle(PlayerInput::Setting, [this] {
        const std::optional<int32_t> chosen = window_.ChooseColour(backColour_);
        if (!chosen) return;  // cancelled or failed: nothing changes
        SetBackColour(*chosen);
        StoreSetting("Color", BackColour());
    });
}

void Karvelo::mnuColorStandard_Click() {
    Gate().Handle(PlayerInput::Setting, [this] {
        SetBackColour(kStandardColour);
        StoreSetting("Color", kStandardColour);
    });
}

void Karvelo::mnuHelp_Click() {
    Gate().Handle(PlayerInput::Setting, [this] {
        MsgBox(HelpText(), Buttons::OK, Icon::None, DefaultButton::First, kAppTitle);
    });
}

void Karvelo::mnuOm_Click() {
    Gate().Handle(PlayerInput::Setting, [this] {
        MsgBox(AboutText(), Buttons::OK, Icon::None, DefaultButton::First, kAppTitle);
    });
}

// ---- The statistics

void Karvelo::mnuStatistik_Click() {
    Gate().Handle(PlayerInput::Statistics, [this] { OpenStatistics(); });
}

void Karvelo::OpenStatistics() {
    const auto window = PrepareNormalView(window_.UserNumberFormat());
    window_.ShowStatistics(*window);
}

void Karvelo::Form_KeyDown(int KeyCode, int Shift) {
    if (StatisticsKeyFor(KeyCode, Shift) == KeyAction::None) return;
    Gate().Handle(PlayerInput::Statistics, [this, KeyCode, Shift] { StatisticsKey(KeyCode, Shift); });
}

void Karvelo::StatisticsKey(int keyCode, int shift) {
    switch (StatisticsKeyFor(keyCode, shift)) {
    case KeyAction::ShowFullStatistics: {
        const auto window = PrepareFullView(window_.UserNumberFormat());
        window_.ShowStatistics(*window);
        break;
    }
    case KeyAction::ClearTotalStatistics:
        AskClearTotalStatistics();
        break;
    case KeyAction::None:
        break;
    }
}

}  // namespace karvelo
