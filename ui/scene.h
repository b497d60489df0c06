#pragma once
// The table as a list of elements in drawing order, in twips. The window keeps
// every picture and label here; the view draws it and the pointer code asks it
// what lies under a point. Every change that alters the picture on screen is
// reported to the damage listener with the rectangles to draw again.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "twips.h"

namespace karvelo {

enum class ElementKind {
    Kort,       // imgKort(0..67): the template, the cards, the column bases
    Hand,       // imgHand(0..3): free-cell frames
    Hog,        // imgHog(0..3): foundation frames
    LblHand,    // lblHand(0..3): "H", "A", "N", "D"
    LblFarger,  // lblFarger(0..3): the suit names
    PilN,       // the arrow pointing down
    PilH,       // the arrow pointing right
    PilV,       // the arrow pointing left
    Splash,     // the title picture
};

struct ElementId {
    ElementKind kind;
    int index = 0;
    friend bool operator==(const ElementId&, const ElementId&) = default;
};

struct SceneElement {
    ElementId id{ElementKind::Kort, 0};
    TwipRect rect;
    int picture = 0;    // picture number, 0 for none
    std::string tag;
    std::string text;   // labels only
    bool border = false;
    bool visible = false;
    bool enabled = true;
};

class Scene {
public:
    using DamageListener = std::function<void(const TwipRect&)>;

    void SetDamageListener(DamageListener listener) { damage_ = std::move(listener); }

    // Adds an element in front of all others. False, and nothing changes, when an
    // element with that id exists already.
    bool Add(const SceneElement& element);
    bool Remove(ElementId id);
    void Clear();

    const SceneElement* Find(ElementId id) const;
    bool Contains(ElementId id) const { return Find(id) != nullptr; }

    // Setters do nothing for an id that does not exist.
    void SetRect(ElementId id, const TwipRect& rect);
    void Move(ElementId id, float left, float top);
    void SetPicture(ElementId id, int picture);
    void SetTag(ElementId id, const std::string& tag);
    void SetText(ElementId id, const std::string& text);
    void SetBorder(ElementId id, bool border);
    void SetVisible(ElementId id, bool visible);
    void SetEnabled(ElementId id, bool enabled);
    void BringToFront(ElementId id);
    void SendToBack(ElementId id);

    // Back to front: the first element is drawn first.
    const std::vector<SceneElement>& DrawingOrder() const { return elements_; }
    // Position in the drawing order, -1 when absent.
    int DepthOf(ElementId id) const;

    // The topmost visible element containing the point; with enabledOnly, disabled
    // elements are looked through.
    std::optional<ElementId> TopmostAt(float x, float y, bool enabledOnly) const;

private:
    SceneElement* Lookup(ElementId id);
    void Damage(const TwipRect& rect) const;
    void DamageIfVisible(const SceneElement& element) const;

    std::vector<SceneElement> elements_;
    DamageListener damage_;
};

}  // namespace karvelo
