// Pointer input on the table: pressing, dragging and dropping cards, the peek at a
// covered card, the double-click and the arrows that follow the pointer. The drag is
// the window's own: the card stays where it lies while its picture follows the
// pointer, and the release hands the card to the element under the pointer.
#include "karvelo.h"
#include "layout.h"
#include "pointer_targets.h"
#include "window_layout.h"

namespace karvelo {
namespace {

using funktioner::PlayerInput;
using funktioner::Verdict;

funktioner::InputGate& Gate() { return funktioner::gate(); }

bool IsCard(int index) { return funktioner::layout::IsCardIndex(index); }

}  // namespace

void Karvelo::PointerPressed(float x, float y, int16_t button, bool doubleClick) {
    // The mouse in use: the keyboard's focus goes out of sight, lifted cards back down.
    if (keys_.Shown()) {
        keys_.Hide();
        ShowKeyboardMarks();
    }
    if (drag_) {
        // Another button during a drag does nothing; a left press means the release
        // of the previous one never arrived.
        if (button != kLeftButton) return;
        CancelDrag();
    }
    const std::optional<ElementId> target = PointerTargetAt(scene_, x, y);
    if (!target || target->kind != ElementKind::Kort) return;
    const auto index = static_cast<int16_t>(target->index);
    if (doubleClick && button == kLeftButton) {
        imgKort_DblClick(index);
        return;
    }
    if (button == kRightButton) rightPressed_ = target->index;
    imgKort_MouseDown(index, button, x, y);
}

void Karvelo::PointerReleased(float x, float y, int16_t button) {
    if (button == kLeftButton && drag_) {
        EndDrag(x, y);
        ShowKeyboardMarks();
        return;
    }
    if (button == kRightButton && rightPressed_) {
        const auto index = static_cast<int16_t>(*rightPressed_);
        rightPressed_.reset();
        imgKort_MouseUp(index, kRightButton);
    }
}

void Karvelo::PointerMoved(float x, float y, int held) {
    if (drag_) {
        if (!(held & kLeftButton)) {
            CancelDrag();  // the release went elsewhere (a dialog took the pointer)
        } else {
            MoveDrag(x, y);
        }
    }
    // While the right button is held the pressed card keeps the pointer.
    if (rightPressed_ && (held & kRightButton)) {
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
    if (Button == kLeftButton) {
        if (!IsCard(Index)) return;  // the template and the column bases stay put
        if (Gate().Admit(PlayerInput::CardPress) != Verdict::Run) return;
        BeginDrag(Index, x, y);
    } else if (Button == kRightButton) {
        if (Gate().Admit(PlayerInput::PeekPress) != Verdict::Run) return;
        // The peek copy: the whole face of the pressed card in front of everything.
        const SceneElement* pressed = scene_.Find({ElementKind::Kort, Index});
        if (!pressed || Index == funktioner::layout::kTemplateCard) return;
        const float top = pressed->rect.top;
        const float left = pressed->rect.left;
        const int picture = pressed->picture;
        Move(funktioner::layout::kTemplateCard, left, top);
        BringToFront(funktioner::layout::kTemplateCard);
        SetPicture(funktioner::layout::kTemplateCard, picture);
        SetVisible(funktioner::layout::kTemplateCard, true);
    }
}

void Karvelo::imgKort_MouseUp(int16_t, int16_t Button) {
    if (Button != kRightButton) return;
    if (Gate().Admit(PlayerInput::PeekRelease) != Verdict::Run) return;
    SetVisible(funktioner::layout::kTemplateCard, false);
    SendToBack(funktioner::layout::kTemplateCard);
    Move(funktioner::layout::kTemplateCard, layout::kPeekParked, layout::kPeekParked);
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
    const auto drop = [=] { funktioner::imgKort_DragDrop(Index, source); };
    if (Index == source) {
        Gate().HandleClick(source, drop);  // a click: a double-click may follow
    } else {
        Gate().Handle(PlayerInput::Drop, drop);
    }
}

void Karvelo::imgHand_DragDrop(int16_t Index, int source) {
    Gate().Handle(PlayerInput::Drop, [=] { funktioner::imgHand_DragDrop(Index, source); });
}

void Karvelo::lblHand_DragDrop(int16_t Index, int source) { imgHand_DragDrop(Index, source); }

void Karvelo::imgHog_DragDrop(int16_t Index, int source) {
    Gate().Handle(PlayerInput::Drop, [=] { funktioner::imgHog_DragDrop(Index, source); });
}

void Karvelo::lblFarger_DragDrop(int16_t Index, int source) { imgHog_DragDrop(Index, source); }

void Karvelo::imgKort_DblClick(int16_t Index) {
    Gate().HandleDoubleClick(Index, [=] { funktioner::imgKort_DblClick(Index); });
}

// ---- The drag

void Karvelo::BeginDrag(int card, float x, float y) {
    const SceneElement* e = scene_.Find({ElementKind::Kort, card});
    if (!e) return;
    drag_ = Drag{card, x - e->rect.left, y - e->rect.top};
    scene_.SetDragPicture(DragPicture{e->picture, e->rect});
}

void Karvelo::MoveDrag(float x, float y) {
    const SceneElement* e = scene_.Find({ElementKind::Kort, drag_->card});
    if (!e) {
        CancelDrag();
        return;
    }
    scene_.SetDragPicture(DragPicture{
        e->picture, {x - drag_->grabX, y - drag_->grabY, e->rect.width, e->rect.height}});
}

void Karvelo::CancelDrag() {
    drag_.reset();
    scene_.SetDragPicture(std::nullopt);
}

void Karvelo::EndDrag(float x, float y) {
    const int source = drag_->card;
    CancelDrag();  // the drop may run a long move; the drag is over before it starts
    if (!scene_.Contains({ElementKind::Kort, source})) return;
    const DropTarget target = DropTargetAt(scene_, x, y);
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
