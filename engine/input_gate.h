#pragma once
// Input that arrives in the middle of a move.
//
// Flights, the automatic play, clearing the table, dealing, the window's growth before
// the first deal and the shut-down all let the window process events, so the player's
// input can arrive while something is being laid down on the table. Whether it may act
// then is decided here, by one object, for every kind of input:
//   - presses, drops and double-clicks act at once or never: they are ignored until
//     the move has been laid down (the peek's release always acts);
//   - the keyboard's focus moves at any time: it changes nothing on the table;
//   - "Nytt spel", "Avsluta" and closing the window, and the statistics commands wait
//     and run once when it has been laid down; a second "Nytt spel" while a deal is
//     being laid down is refused, and so is one that a deal has answered meanwhile;
//   - a double-click whose first click started the move (a card dropped on itself
//     starts the automatic play) waits for that move instead of being lost;
//   - a player who chose to leave gets no further deal; once the shut-down has begun,
//     nothing else acts.
#include <functional>
#include <optional>

namespace funktioner {

enum class PlayerInput {
    CardPress,    // left press on a card (the start of a drag)
    PeekPress,    // right press on a card that shows the peek copy
    PeekRelease,  // right release that hides the peek copy
    Drop,         // any drop: card, column base, free cell, foundation
    DoubleClick,
    NewGame,      // "Nytt spel"
    Quit,         // "Avsluta" and closing the window
    Statistics,   // the statistics window and the hidden statistics keys
    Setting,      // speed, colour, help and about: they never wait
    Focus,        // the keyboard's focus moved, widened, or lifted cards put back
};
enum class Verdict { Run, Ignore, Defer };

// What is being laid down; each span counts from the hold's creation to its end.
enum class Span {
    Move,      // a player's move with the automatic play after it (the engine's handlers)
    AutoPlay,  // the automatic play itself: AutoPlayActive
    Deal,      // NewGame: clearing, recording the abandoned game, dealing
    Growth,    // the window growing before the first deal
};

class InputGate;

// Marks a span for as long as it lives. Spans nest; each hold counts once.
class GateHold {
public:
    GateHold(InputGate& gate, Span span);
    GateHold(GateHold&& other) noexcept;
    GateHold& operator=(GateHold&&) = delete;
    GateHold(const GateHold&) = delete;
    GateHold& operator=(const GateHold&) = delete;
    ~GateHold();

private:
    InputGate* gate_;
    Span span_;
};

class InputGate {
public:
    using Command = std::function<void()>;

    // ---- What input may do now.
    Verdict Admit(PlayerInput input) const;
    // True while a move, the automatic play, a deal or the growth is being laid down.
    bool MoveInProgress() const;
    // True from the moment the player chose to leave ("Avsluta" or closing, also while
    // it waits) until the end of the run.
    bool Leaving() const;

    // ---- Running handlers. Each handler of the window's input goes through one of
    // these: it runs now when admitted, once when what is being laid down is done when
    // it must wait, or never. Commands that waited run when the outermost handler has
    // returned and nothing is being laid down: "Avsluta" first and instead of all the
    // others, then "Nytt spel", then a double-click, then the statistics.
    void Handle(PlayerInput input, const Command& handler);
    // A drop made by a click: the card was released on itself.
    void HandleClick(int card, const Command& drop);
    void HandleDoubleClick(int card, const Command& handler);

    // ---- Spans.
    GateHold Hold(Span span) { return GateHold(*this, span); }
    // The automatic play, unless one is running already: a nested one would end the
    // outer one's span early.
    std::optional<GateHold> BeginAutoPlay();
    // Whether NewGame may begin laying out a deal: none is under way and the player is
    // not leaving.
    bool MayBeginDeal() const;
    // Counts the deals laid out, so that a "Nytt spel" that waited through a deal the
    // player got meanwhile (Yes to the question after a win) does not deal again.
    void DealLaidOut() { ++deals_; }

    // ---- The end of the run. BeginShutDown is false when it has begun already.
    bool BeginShutDown();
    void EndShutDown();
    bool Ended() const { return ended_; }

private:
    friend class GateHold;
    int& Count(Span span) { return holds_[static_cast<int>(span)]; }
    int Count(Span span) const { return holds_[static_cast<int>(span)]; }
    void Run(const Command& handler);
    void RunWaiting();
    void Wait(PlayerInput input, const Command& handler);

    int holds_[4] = {};        // by Span; the automatic play is AutoPlayActive itself
    int depth_ = 0;            // handlers running, nested ones included
    int clickedCard_ = 0;      // the card whose click-drop is running, 0 for none
    long long deals_ = 0;
    bool shuttingDown_ = false;
    bool ended_ = false;

    Command quit_;
    Command newGame_;
    long long newGameAfterDeal_ = 0;  // the deals laid out when "Nytt spel" began to wait
    Command doubleClick_;
    Command statistics_;
};

// The engine's one gate (part of its module values).
InputGate& gate();

}  // namespace funktioner
