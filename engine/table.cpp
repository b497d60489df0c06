// The window table in force, and the do-nothing table that stands in until one is
// installed.
#include "table.h"

#include "surroundings.h"

namespace funktioner {
namespace {

class NoTable final : public Table {
public:
    void CreateCard(int) override {}
    void DestroyCard(int) override {}
    bool CardExists(int) const override { return false; }
    void SetPicture(int, int) override {}
    void SetTag(int, const std::string&) override {}
    std::string Tag(int) const override { return {}; }
    void SetSize(int, float, float) override {}
    void SetBorder(int, bool) override {}
    void SetEnabled(int, bool) override {}
    bool Enabled(int) const override { return false; }
    void SetVisible(int, bool) override {}
    bool Visible(int) const override { return false; }
    void BringToFront(int) override {}
    void SendToBack(int) override {}
    float Left(Element) const override { return 0; }
    float Top(Element) const override { return 0; }
    float Width(Element) const override { return 0; }
    float Height(Element) const override { return 0; }
    void Move(int, float, float) override {}
};

NoTable none;

}  // namespace

Table& table() {
    Table* t = Surroundings::InForce().table;
    return t ? *t : none;
}
bool HasTable() { return Surroundings::InForce().table != nullptr; }

}  // namespace funktioner
