#pragma once
// The element operations the engine performs on the main window's picture elements.
// Positions and sizes are twips, measured from the top-left corner of the client area.
// The window implements this; tests implement a recording stand-in.
#include <string>

namespace funktioner {

// The three element arrays the engine touches.
enum class Kind { Kort, Hand, Hog };  // imgKort(i), imgHand(i), imgHog(i)

struct Element {
    Kind kind;
    int index;
    friend bool operator==(const Element&, const Element&) = default;
};

inline Element imgKort(int i) { return {Kind::Kort, i}; }
inline Element imgHand(int i) { return {Kind::Hand, i}; }
inline Element imgHog(int i) { return {Kind::Hog, i}; }

class Table {
public:
    virtual ~Table() = default;

    // imgKort(index), 1 to 67, is created as a copy of imgKort(0): hidden, with the
    // other properties of element 0, picture included. Destroying removes it.
    virtual void CreateCard(int index) = 0;
    virtual void DestroyCard(int index) = 0;
    virtual bool CardExists(int index) const = 0;

    // Picture by resource number (100 to 153); 0 gives an empty picture.
    virtual void SetPicture(int index, int resource) = 0;
    virtual void SetTag(int index, const std::string& tag) = 0;
    virtual std::string Tag(int index) const = 0;
    virtual void SetSize(int index, float width, float height) = 0;
    virtual void SetBorder(int index, bool singleLine) = 0;
    virtual void SetEnabled(int index, bool enabled) = 0;
    virtual bool Enabled(int index) const = 0;
    virtual void SetVisible(int index, bool visible) = 0;
    virtual bool Visible(int index) const = 0;
    virtual void BringToFront(int index) = 0;
    virtual void SendToBack(int index) = 0;

    // Geometry of any of the three arrays (single-precision twips).
    virtual float Left(Element e) const = 0;
    virtual float Top(Element e) const = 0;
    virtual float Width(Element e) const = 0;
    virtual float Height(Element e) const = 0;
    // Moves an imgKort element to a new left and top in one operation.
    virtual void Move(int index, float left, float top) = 0;
};

// The table in force (surroundings.h). The engine does nothing with the window until
// one is installed.
Table& table();
bool HasTable();

}  // namespace funktioner
