#include "form_fixture.h"

#include "layout.h"
#include "regapi.h"
#include "settings.h"

namespace karvelo::test {

void FormTest::SetUp() {
    StoreTest::SetUp();
    funktioner::ResetEngine();
}

void FormTest::TearDown() {
    window.clock = nullptr;
    form.reset();
    funktioner::ResetEngine();
    StoreTest::TearDown();
}

void FormTest::Open() {
    form = std::make_unique<Karvelo>(window);
    window.clock = &form->frameClock();
    form->scene().SetDamageListener([this](const TwipRect&) { window.damaged = true; });
    form->Form_Load();
}

void FormTest::Deal(const DeckOrder& order) {
    funktioner::SetRandomSource(DeckSource(order));
    form->mnuNyttSpel_Click();
}

void FormTest::Click(float x, float y) {
    form->PointerPressed(x, y, kLeftButton, false);
    form->PointerReleased(x, y, kLeftButton);
}

void FormTest::DoubleClick(float x, float y) {
    Click(x, y);
    form->PointerPressed(x, y, kLeftButton, true);
    form->PointerReleased(x, y, kLeftButton);
}

void FormTest::Drag(float fromX, float fromY, float toX, float toY) {
    form->PointerPressed(fromX, fromY, kLeftButton, false);
    form->PointerMoved((fromX + toX) / 2, (fromY + toY) / 2, kLeftButton);
    form->PointerMoved(toX, toY, kLeftButton);
    form->PointerReleased(toX, toY, kLeftButton);
}

float FormTest::GrabX(int code) const {
    return form->Left(funktioner::imgKort(code)) + form->Width(funktioner::imgKort(code)) / 2;
}

float FormTest::GrabY(int code) const { return form->Top(funktioner::imgKort(code)) + 150; }

int FormTest::StoredStat(int i) {
    return RegAPI::TextToInt32(RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, kCurrent,
                                                    "Stat " + std::to_string(i)));
}

std::string FormTest::StoredSetting(const std::string& name) {
    return RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, SettingsKey(), name);
}

int FormTest::CardsOnTable() const {
    int n = 0;
    for (int code = funktioner::layout::kFirstCard; code <= funktioner::layout::kLastCard; ++code)
        n += form->CardExists(code) ? 1 : 0;
    return n;
}

}  // namespace karvelo::test
