#pragma once
// The fixture of the main window's tests without a window system: an empty registry
// of the test's own, a fresh engine, and the main window Karvelo over a recording
// stand-in of the window system.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fake_window.h"
#include "funktioner.h"
#include "karvelo.h"
#include "store_test_support.h"
#include "test_decks.h"

namespace karvelo::test {

class FormTest : public StoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The window as the program opens it: built, then Form_Load.
    void Open();
    // "Nytt spel" with the deck the test chose.
    void Deal(const DeckOrder& order);

    // The player's pointer on the table, in twips.
    void Click(float x, float y);
    void DoubleClick(float x, float y);
    void Drag(float fromX, float fromY, float toX, float toY);
    // A point on the visible strip of card `code`.
    float GrabX(int code) const;
    float GrabY(int code) const;

    static int StoredStat(int i);
    static std::string StoredSetting(const std::string& name);
    int CardsOnTable() const;

    FakeWindow window;
    std::unique_ptr<Karvelo> form;
};

}  // namespace karvelo::test
