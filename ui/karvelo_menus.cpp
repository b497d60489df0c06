// The main window's menus and their commands, and the window's growth before the
// first deal.
#include <QAction>
#include <QColorDialog>
#include <QMenu>
#include <QMenuBar>

#include "funktioner.h"
#include "karvelo.h"
#include "regapi.h"
#include "settings.h"
#include "statistics_bridge.h"
#include "texts.h"
#include "window_layout.h"

namespace karvelo {
namespace {

QColor ColourOfValue(int32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int32_t ValueOfColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

std::optional<QColor> AskForColour(QWidget* parent) {
    // The dialog opens with nothing preselected and its custom colours shown.
    const QColor chosen = QColorDialog::getColor(Qt::black, parent, QStringLiteral("Färg"));
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

}  // namespace

void Karvelo::BuildMenus() {
    auto item = [this](QMenu* menu, const char* caption, auto handler) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        connect(a, &QAction::triggered, this, [this, handler] { RunHandler([=, this] {
            (this->*handler)();
        }); });
        return a;
    };

    QMenu* mnuMeny = menuBar()->addMenu(QStringLiteral("Meny"));
    mnuNyttSpel_ = item(mnuMeny, "Nytt spel", &Karvelo::mnuNyttSpel_Click);
    mnuNyttSpel_->setShortcut(Qt::Key_F2);
    mnuStatistik_ = item(mnuMeny, "Statistik", &Karvelo::mnuStatistik_Click);
    mnuStatistik_->setShortcut(Qt::Key_F3);
    mnuAvsluta_ = item(mnuMeny, "Avsluta", &Karvelo::mnuAvsluta_Click);

    QMenu* mnuInstallningar = menuBar()->addMenu(QString::fromUtf8("Inställningar"));
    QMenu* mnuAnimation = mnuInstallningar->addMenu(QString::fromUtf8("Ändra Animationshastigheten"));
    const char* speeds[kSpeedItems] = {"Hastighet 1 (snabbast)", "Hastighet 2",
                                       "Hastighet 3 (Standard)", "Hastighet 4",
                                       "Hastighet 5 (långsammast)"};
    for (int k = 0; k < kSpeedItems; ++k) {
        QAction* a = mnuAnimation->addAction(QString::fromUtf8(speeds[k]));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, k] {
            RunHandler([this, k] { mnuHastighet_Click(static_cast<int16_t>(k)); });
        });
        mnuHastighet_[static_cast<size_t>(k)] = a;
    }
    QMenu* mnuBakgrund = mnuInstallningar->addMenu(QString::fromUtf8("Bakgrundsfärg"));
    mnuColor_ = item(mnuBakgrund, "Ändra", &Karvelo::mnuColor_Click);
    mnuColorStandard_ = item(mnuBakgrund, "Standard", &Karvelo::mnuColorStandard_Click);

    QMenu* mnuHelpIndex = menuBar()->addMenu(QString::fromUtf8("Hjälp"));
    mnuHelp_ = item(mnuHelpIndex, "Hjälp", &Karvelo::mnuHelp_Click);
    mnuHelp_->setShortcut(Qt::Key_F1);
    mnuOm_ = item(mnuHelpIndex, "Om", &Karvelo::mnuOm_Click);
}

QAction* Karvelo::SpeedItem(int k) const {
    if (k < 0 || k >= kSpeedItems) return nullptr;
    return mnuHastighet_[static_cast<size_t>(k)];
}

void Karvelo::TickSpeedItem(int k) {
    for (QAction* a : mnuHastighet_) a->setChecked(false);
    if (QAction* a = SpeedItem(k)) a->setChecked(true);
}

void Karvelo::StoreSetting(const char* name, int32_t value) {
    RegAPI::SetNewValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), "Number", name,
                        std::to_string(value));
}

void Karvelo::SetBackColour(int32_t colour) {
    backColour_ = colour;
    view_->SetBackground(ColourOfValue(colour));
}

// ---- "Nytt spel"

void Karvelo::mnuNyttSpel_Click() {
    switch (funktioner::Admit(funktioner::PlayerInput::NewGame)) {
    case funktioner::Verdict::Run:
        StartNewGame();
        break;
    case funktioner::Verdict::Defer:
        if (!newGameWaiting_) newGameWaitingSince_ = funktioner::DealNumber();
        newGameWaiting_ = true;
        break;
    case funktioner::Verdict::Ignore:
        break;
    }
}

void Karvelo::StartNewGame() {
    // Held across the growth and the deal: a second "Nytt spel" meanwhile is refused.
    funktioner::GateHold dealing(funktioner::Hold::Deal);
    const ElementId splash{ElementKind::Splash, 0};
    if (const SceneElement* s = scene_.Find(splash); s && s->visible) {
        scene_.SetVisible(splash, false);
        GrowWindow();
    }
    funktioner::NewGame();
}

int Karvelo::OuterHeightTwips() const {
    return frameGeometry().height() * static_cast<int>(kTwipsPerPixel);
}

void Karvelo::SetOuterHeightTwips(int twips) {
    const int frame = frameGeometry().height() - height();
    const int menu = height() - view_->height();
    const int outer = RoundHalfEven(twips / static_cast<double>(kTwipsPerPixel));
    const int table = std::max(1, outer - frame - menu);
    if (table == view_->height()) return;
    view_->setFixedHeight(table);
    frameDue_ = true;
}

void Karvelo::GrowWindow() {
    const int start = OuterHeightTwips();
    const int step = GrowthStep(start, layout::kGrownOuterHeight, layout::kGrowthSteps);
    DoEvents();
    int outer = start;
    for (int i = 0; i < layout::kGrowthSteps; ++i) {
        outer += step;
        SetOuterHeightTwips(outer);
        DoEvents();
    }
}

// ---- The other commands

void Karvelo::mnuStatistik_Click() {
    RunStatistics([this] { OpenStatistics(this); });
}

void Karvelo::mnuAvsluta_Click() {
    switch (funktioner::Admit(funktioner::PlayerInput::Quit)) {
    case funktioner::Verdict::Run:
        Form_Terminate();
        break;
    case funktioner::Verdict::Defer:
        quitWaiting_ = true;
        break;
    case funktioner::Verdict::Ignore:
        break;
    }
}

void Karvelo::mnuHastighet_Click(int16_t Index) {
    if (Index < 0 || Index >= kSpeedItems) return;
    for (QAction* a : mnuHastighet_) a->setChecked(false);
    funktioner::AnimationSpeed = SpeedForItem(Index);
    mnuHastighet_[static_cast<size_t>(Index)]->setChecked(true);
    DoEvents();
    StoreSetting("Speed", funktioner::AnimationSpeed);
}

void Karvelo::mnuColor_Click() {
    const std::optional<QColor> chosen = chooser_ ? chooser_(this) : AskForColour(this);
    if (!chosen || !chosen->isValid()) return;  // cancelled: nothing changes
    SetBackColour(ValueOfColour(*chosen));
    StoreSetting("Color", BackColour());
}

void Karvelo::mnuColorStandard_Click() {
    SetBackColour(layout::kStandardColour);
    StoreSetting("Color", layout::kStandardColour);
}

void Karvelo::mnuHelp_Click() {
    MsgBox(HelpText(), Buttons::OK, Icon::None, DefaultButton::First, kAppTitle);
}

void Karvelo::mnuOm_Click() {
    MsgBox(AboutText(), Buttons::OK, Icon::None, DefaultButton::First, kAppTitle);
}

}  // namespace karvelo
