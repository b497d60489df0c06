#pragma once
// The table as a list of elements in drawing order, in twips: the main window's
// picture and label elements with their pictures, tags, visibility, enabled state and
// stacking, and the picture of a dragged card above them all. The window system draws
// it; the pointer code asks it what lies under a point. Every change that alters the
// picture on screen is reported to the damage listener with the rectangles to draw
// again, so a window repaints only what changed.
//
// It is our own small list rather than a general scene graph: the table has at most
// eighty elements, all axis-aligned rectangles in one plane, and the rules need
// exactly the element operations of the original design (create by index, tag, bring
// to front, enabled), which a general graph would have to be taught anyway.
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

// The picture that follows the pointer while a card is dragged, with the soft shadow
// it casts down and to the right.
struct DragPicture {
    int picture = 0;
    TwipRect rect;
    friend bool operator==(const DragPicture&, const DragPicture&) = default;
};
inline constexpr float kDragShadowTwips = 45;  // 3 pixels at 96 dots per inch

// What keyboard play shows on the table: the frame around the focused place (or the
// focused cards of a column), and the cards lifted to be moved. Drawn above the
// elements and below the dragged picture; either may be absent.
struct KeyboardMarks {
    std::optional<TwipRect> focus;
    std::optional<TwipRect> lifted;
    friend bool operator==(const KeyboardMarks&, const KeyboardMarks&) = default;
};
// How far outside its rectangle a keyboard mark is drawn, on every side.
inline constexpr float kKeyboardMarkOutsetTwips = 45;

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

    // The dragged card's picture, drawn above every element.
    void SetDragPicture(std::optional<DragPicture> drag);
    const std::optional<DragPicture>& Drag() const { return drag_; }
    // The area the dragged picture covers, its shadow included.
    static TwipRect DragArea(const DragPicture& drag);

    // The keyboard's focus and lifted cards; empty marks draw nothing.
    void SetKeyboardMarks(const KeyboardMarks& marks);
    const KeyboardMarks& Marks() const { return marks_; }
    // The area a keyboard mark around `rect` covers.
    static TwipRect MarkArea(const TwipRect& rect);

private:
    SceneElement* Lookup(ElementId id);
    void Damage(const TwipRect& rect) const;
    void DamageIfVisible(const SceneElement& element) const;

    std::vector<SceneElement> elements_;
    std::optional<DragPicture> drag_;
    KeyboardMarks marks_;
    DamageListener damage_;
};

}  // namespace karvelo
