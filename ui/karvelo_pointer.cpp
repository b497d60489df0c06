// Pointer input on the table: pressing, dragging and dropping cards, the peek at a
// covered card, the double-click and the arrows that follow the pointer. The drag is
// the window's own: the card stays where it lies while its picture follows the
// pointer, and the release hands the card to the element under the pointer.
#include "funktioner.h"
#include "karvelo.h"
#include "window_layout.h"

namespace karvelo {
namespace {

constexpr int16_t kLeft = 1;
constexpr int16_t kRight = 2;
constexpr int kFirstNonCard = 53;

bool IsCard(int index) { return index >= 1 && index < kFirstNonCard; }

}  // namespace

void Karvelo::PointerPressed(float x, float y, Qt::MouseButton button, bool doubleClick) {
    if (drag_) {
        // Another button during a drag does nothing; a left press means the release
        // of the previous one never arrived.
        if (button != Qt::LeftButton) return;
        CancelDrag();
    }
    const std::optional<ElementId> target = PointerTargetAt(scene_, x, y);
    if (!target || target->kind != ElementKind::Kort) return;
    const auto index = static_cast<int16_t>(target->index);
    if (doubleClick && button == Qt::LeftButton) {
        imgKort_DblClick(index);
        return;
    }
    const int16_t mask = button == Qt::LeftButton ? kLeft : button == Qt::RightButton ? kRight : 4;
    if (mask == kRight) rightPressed_ = target->index;
    imgKort_MouseDown(index, mask, x, y);
}

void Karvelo::PointerReleased(float x, float y, Qt::MouseButton button) {
    if (button == Qt::LeftButton && drag_) {
        EndDrag(x, y);
        return;
    }
    if (button == Qt::RightButton && rightPressed_) {
        const auto index = static_cast<int16_t>(*rightPressed_);
        rightPressed_.reset();
        imgKort_MouseUp(index, kRight);
    }
}

void Karvelo::PointerMoved(float x, float y, Qt::MouseButtons buttons) {
    if (drag_) {
        if (!(buttons & Qt::LeftButton)) {
            CancelDrag();  // the release went elsewhere (a dialog took the pointer)
        } else {
            MoveDrag(x, y);
        }
    }
    // While the right button is held the pressed card keeps the pointer.
    if (rightPressed_ && (buttons & Qt::RightButton)) {
        imgKort_MouseMove(static_cast<int16_t>(*rightPressed_));
        return;
    }
    const std::optional<ElementId> target = PointerTargetAt(scene_, x, y);
    if (!target) return;
    const auto index = static_cast<int16_t>(target->index);
    switch (target->kind) {
    case ElementKind::Kort: imgKort_MouseMove(index); break;
    case ElementKind::Hand: imgHand_MouseMove(index); break;
    case ElementKind::Hog: imgHog_MouseMove(index); break;
    default: break;
    }
}

// ---- Handlers of the card pictures

void Karvelo::imgKort_MouseDown(int16_t Index, int16_t Button, float x, float y) {
    if (Button == kLeft) {
        if (!IsCard(Index)) return;  // the template and the column bases stay put
        if (funktioner::Admit(funktioner::PlayerInput::CardPress) != funktioner::Verdict::Run)
            return;
        BeginDrag(Index, x, y);
    } else if (Button == kRight) {
        if (funktioner::Admit(funktioner::PlayerInput::PeekPress) != funktioner::Verdict::Run)
            return;
        // The peek copy: the whole face of the pressed card in front of everything.
        const SceneElement* pressed = scene_.Find({ElementKind::Kort, Index});
        if (!pressed || Index == 0) return;
        const float top = pressed->rect.top;
        const float left = pressed->rect.left;
        const int picture = pressed->picture;
        Move(0, left, top);
        BringToFront(0);
        SetPicture(0, picture);
        SetVisible(0, true);
    }
}

void Karvelo::imgKort_MouseUp(int16_t, int16_t Button) {
    if (Button != kRight) return;
    if (funktioner::Admit(funktioner::PlayerInput::PeekRelease) != funktioner::Verdict::Run)
        return;
    SetVisible(0, false);
    SendToBack(0);
    Move(0, layout::kPeekParked, layout::kPeekParked);
}

void Karvelo::ShowArrow(ElementKind arrow) {
    for (ElementKind k : {ElementKind::PilN, ElementKind::PilV, ElementKind::PilH})
        scene_.SetVisible({k, 0}, k == arrow);
}

void Karvelo::imgKort_MouseMove(int16_t Index) {
    switch (ArrowForCardTag(Tag(Index))) {
    case ArrowChoice::Down: ShowArrow(ElementKind::PilN); break;
    case ArrowChoice::Left: ShowArrow(ElementKind::PilV); break;
    case ArrowChoice::Right: ShowArrow(ElementKind::PilH); break;
    case ArrowChoice::Unchanged: break;
    }
}

void Karvelo::imgHand_MouseMove(int16_t) { ShowArrow(ElementKind::PilV); }
void Karvelo::imgHog_MouseMove(int16_t) { ShowArrow(ElementKind::PilH); }

// ---- Drops and the double-click, handed to the engine's rules

void Karvelo::imgKort_DragDrop(int16_t Index, int source) {
    RunHandler([=] { funktioner::imgKort_DragDrop(Index, source); });
}

void Karvelo::imgHand_DragDrop(int16_t Index, int source) {
    RunHandler([=] { funktioner::imgHand_DragDrop(Index, source); });
}

void Karvelo::lblHand_DragDrop(int16_t Index, int source) { imgHand_DragDrop(Index, source); }

void Karvelo::imgHog_DragDrop(int16_t Index, int source) {
    RunHandler([=] { funktioner::imgHog_DragDrop(Index, source); });
}

void Karvelo::lblFarger_DragDrop(int16_t Index, int source) { imgHog_DragDrop(Index, source); }

void Karvelo::imgKort_DblClick(int16_t Index) {
    // The first click of a double-click drops the card on itself, which starts the
    // automatic play; the second click arrives while that plays. Both belong to one
    // gesture, so the double-click waits for the play to end instead of being lost.
    if (clickedCard_ == Index && funktioner::MoveInProgress()) {
        doubleClickWaiting_ = Index;
        return;
    }
    RunHandler([=] { funktioner::imgKort_DblClick(Index); });
}

// ---- The drag

void Karvelo::BeginDrag(int card, float x, float y) {
    const SceneElement* e = scene_.Find({ElementKind::Kort, card});
    if (!e) return;
    drag_ = Drag{card, x - e->rect.left, y - e->rect.top};
    view_->ShowDragPicture(e->picture, e->rect);
}

void Karvelo::MoveDrag(float x, float y) {
    const SceneElement* e = scene_.Find({ElementKind::Kort, drag_->card});
    if (!e) {
        CancelDrag();
        return;
    }
    view_->ShowDragPicture(e->picture,
                           {x - drag_->grabX, y - drag_->grabY, e->rect.width, e->rect.height});
}

void Karvelo::CancelDrag() {
    drag_.reset();
    view_->HideDragPicture();
}

void Karvelo::EndDrag(float x, float y) {
    const int source = drag_->card;
    CancelDrag();  // the drop may run a long move; the drag is over before it starts
    if (!scene_.Contains({ElementKind::Kort, source})) return;
    const DropTarget target = DropTargetAt(scene_, x, y);
    if (target.kind == DropTarget::Kind::Card && target.index == source)
        clickedCard_ = static_cast<int16_t>(source);
    Deliver(target, source);
    clickedCard_.reset();
}

void Karvelo::Deliver(const DropTarget& target, int source) {
    const auto index = static_cast<int16_t>(target.index);
    switch (target.kind) {
    case DropTarget::Kind::Card: imgKort_DragDrop(index, source); break;
    case DropTarget::Kind::Cell: imgHand_DragDrop(index, source); break;
    case DropTarget::Kind::CellLabel: lblHand_DragDrop(index, source); break;
    case DropTarget::Kind::Foundation: imgHog_DragDrop(index, source); break;
    case DropTarget::Kind::FoundationLabel: lblFarger_DragDrop(index, source); break;
    case DropTarget::Kind::None: break;
    }
}

}  // namespace karvelo
