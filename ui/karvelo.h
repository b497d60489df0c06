#pragma once
// The main window Karvelo, as far as it is not a window system: every element of the
// table in twips (scene.h), the engine's element operations on them, the game's
// message boxes and event processing, start-up and shut-down, the menus' handlers and
// the two settings, the hidden statistics keys, the drag, the peek, the arrows and the
// double-click, and the window's growth before the first deal. It decides; the window
// system (window_system.h) shows and delivers input. Input that arrives in the middle
// of a move goes through the engine's gate (input_gate.h), which alone decides whether
// it acts now, later or never.
#include <cstdint>
#include <optional>
#include <string>

#include "frame_clock.h"
#include "funktioner.h"
#include "host.h"
#include "key_focus.h"
#include "keyboard_play.h"
#include "menu_tree.h"
#include "pointer_buttons.h"
#include "scene.h"
#include "surroundings.h"
#include "window_system.h"

namespace karvelo {

class Karvelo final : public funktioner::Table,
                      public Host,
                      public funktioner::GameResults {
public:
    // Builds the table's elements and connects the engine to this window. Form_Load
    // is for the window system to call once its window can process events.
    explicit Karvelo(WindowSystem& window);
    ~Karvelo() override;
    Karvelo(const Karvelo&) = delete;
    Karvelo& operator=(const Karvelo&) = delete;

    // ---- Start and end of a run.
    void Form_Load();
    void Form_Terminate();

    // ---- Menu commands, and the window's close box.
    void MenuChosen(MenuCommand command, int index);
    void mnuNyttSpel_Click();
    void mnuStatistik_Click();
    void mnuAvsluta_Click();
    void mnuHastighet_Click(int16_t Index);
    void mnuColor_Click();
    void mnuColorStandard_Click();
    void mnuHelp_Click();
    void mnuOm_Click();
    void CloseRequested();  // closing the window is "Avsluta"
    // The desktop session ends (logging off, shutting down): "Avsluta" too, through
    // the same gate, so a game in progress counts as one loss.
    void SessionEnding();

    // ---- Keys: every key press of the window, as a Windows virtual-key code and the
    // shift state (1 Shift, 2 Ctrl, 4 Alt).
    void Form_KeyDown(int KeyCode, int Shift);
    // What a window system delivers: each press (`repeated` when the key is held and
    // repeats) and each release. A press goes to Form_KeyDown, then to keyboard play.
    void KeyPressed(int keyCode, int shift, bool repeated);
    void KeyReleased(int keyCode, int shift);
    // The keys went elsewhere (another window took them): a held peek key is let go.
    void KeysLost();

    // ---- The pointer over the table, in twips of the client area; `button` is one
    // button of the mask, `held` the mask of the buttons held.
    void PointerPressed(float x, float y, int16_t button, bool doubleClick);
    void PointerReleased(float x, float y, int16_t button);
    void PointerMoved(float x, float y, int held);

    // ---- The table's elements' own handlers.
    void imgKort_MouseDown(int16_t Index, int16_t Button, float x, float y);
    void imgKort_MouseUp(int16_t Index, int16_t Button);
    void imgKort_MouseMove(int16_t Index);
    void imgHand_MouseMove(int16_t Index);
    void imgHog_MouseMove(int16_t Index);
    void imgKort_DragDrop(int16_t Index, int source);
    void imgHand_DragDrop(int16_t Index, int source);
    void lblHand_DragDrop(int16_t Index, int source);
    void imgHog_DragDrop(int16_t Index, int source);
    void lblFarger_DragDrop(int16_t Index, int source);
    void imgKort_DblClick(int16_t Index);

    // ---- funktioner::Table: imgKort(0..67), and the geometry of imgHand and imgHog.
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

    // ---- Host
    Answer MsgBox(const std::string& text, Buttons buttons, Icon icon,
                  DefaultButton defaultButton, const std::string& title) override;
    void DoEvents() override;

    // ---- funktioner::GameResults: the statistics record.
    void RecordGameResult(bool won) override;
    int32_t SeriesWinRun() const override;

    // ---- When the steps of a flight or of the growth go on; the window system
    // reports its display to it and asks it at each step.
    FrameClock& frameClock() { return frameClock_; }
    const FrameClock& frameClock() const { return frameClock_; }

    // ---- What the window system shows.
    const Scene& scene() const { return scene_; }
    Scene& scene() { return scene_; }
    int32_t BackColour() const { return backColour_; }
    int TickedSpeedItem() const { return tickedSpeedItem_; }
    bool DragActive() const { return drag_.has_value(); }
    bool Terminated() const { return terminated_; }
    // Where the keyboard's focus is; nothing while the keyboard has not been used
    // since the mouse was.
    const std::optional<KeyFocus>& KeyboardFocus() const;
    // Told after every change of the focus or of the lifted cards.
    void SetKeyFocusListener(KeyboardPlay::Listener listener) { keys_.SetListener(std::move(listener)); }

private:
    void BuildScene();
    TwipRect RectOf(funktioner::Element e) const;  // empty when the element is absent
    void SetBackColour(int32_t colour);
    void TickSpeedItem(int k);
    void StoreSetting(const char* name, int32_t value);

    void StartNewGame();  // "Nytt spel" once admitted
    void GrowWindow();
    void OpenStatistics();
    void StatisticsKey(int keyCode, int shift);
    void ShowArrow(ElementKind arrow);

    void KeyboardCommand(KeyCommand command);
    void DropLifted();
    void ReleasePeekKey();
    // The focus checked against the table and its marks shown.
    void ShowKeyboardMarks();

    void BeginDrag(int card, float x, float y);
    void MoveDrag(float x, float y);
    void EndDrag(float x, float y);
    void CancelDrag();

    WindowSystem& window_;
    Scene scene_;
    FrameClock frameClock_;
    int32_t backColour_;
    int tickedSpeedItem_;
    bool terminated_ = false;

    struct Drag {
        int card;
        float grabX;  // where the card was taken, from its top-left corner
        float grabY;
    };
    std::optional<Drag> drag_;
    std::optional<int> rightPressed_;  // the card that took a right press
    // Checked against the table also when only read: a deal or a flight may have
    // changed what the focus stands on since the last key.
    mutable KeyboardPlay keys_;
    std::optional<int> peekKeyCard_;  // the card the held peek key shows
    // The engine's host, table and receiver of results are this window while it
    // lives; last, so it is undone first.
    funktioner::Surroundings surroundings_;
};

}  // namespace karvelo
