#pragma once
// A recording stand-in for the main window's picture elements: it keeps every
// property the engine sets, logs the calls in order and counts any use of an element
// that does not exist.
#include <array>
#include <string>
#include <vector>

#include "table.h"

namespace enginetest {

struct FakeElement {
    bool exists = false;
    int picture = 0;
    std::string tag;
    float left = 0, top = 0, width = 0, height = 0;
    bool border = false, enabled = false, visible = false;
};

class FakeTable final : public funktioner::Table {
public:
    static constexpr int kElements = 68;

    // `log` receives one line per call that changes something (may be null).
    explicit FakeTable(std::vector<std::string>* log = nullptr);

    void CreateCard(int index) override;
    void DestroyCard(int index) override;
    bool CardExists(int index) const override;
    void SetPicture(int index, int resource) override;
    void SetTag(int index, const std::string& tag) override;
    std::string Tag(int index) const override;
    void SetSize(int index, float width, float height) override;
    void SetBorder(int index, bool singleLine) override;
    void SetEnabled(int index, bool enabled) override;
    bool Enabled(int index) const override;
    void SetVisible(int index, bool visible) override;
    bool Visible(int index) const override;
    void BringToFront(int index) override;
    void SendToBack(int index) override;
    float Left(funktioner::Element e) const override;
    float Top(funktioner::Element e) const override;
    float Width(funktioner::Element e) const override;
    float Height(funktioner::Element e) const override;
    void Move(int index, float left, float top) override;

    const FakeElement& card(int index) const;
    // Place in the drawing order of the existing imgKort elements, 0 = backmost.
    int Depth(int index) const;
    // Calls on elements that do not exist, or on indexes out of range.
    int misuse = 0;
    // Whether Move calls go to the log (flights log one line per step).
    bool logMoves = true;
    struct MoveCall {
        int index;
        float left, top;
    };
    std::vector<MoveCall> moves;  // every Move, exactly as given

private:
    FakeElement* Find(int index);
    const FakeElement* Find(int index) const;
    void Note(const std::string& line);
    void Unstack(int index);
    bool Valid(int index) const;

    std::array<FakeElement, kElements> cards_{};
    std::vector<int> order_;  // back to front
    std::vector<std::string>* log_;
};

}  // namespace enginetest
