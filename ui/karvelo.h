#pragma once
// The main window: the table on which the game is played. It holds every element
// of the table in a scene of twips, carries out the engine's element operations
// (funktioner::Table) and the game's message boxes and event processing
// (karvelo::Host), turns pointer input into the engine's handlers, and owns the
// menus with the two settings.
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "frame_pacer.h"
#include "host.h"
#include "pointer_targets.h"
#include "scene.h"
#include "table.h"
#include "table_view.h"

class QAction;
class QMenu;

namespace karvelo {

// A message box as the game asked for it; tests answer these instead of a player.
struct MessageRequest {
    std::string text;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    DefaultButton defaultButton = DefaultButton::First;
    std::string title;
};

class Karvelo final : public QMainWindow,
                      public funktioner::Table,
                      public Host,
                      private PointerInput {
public:
    using MessageAnswerer = std::function<Answer(const MessageRequest&)>;
    using ColourChooser = std::function<std::optional<QColor>(QWidget* parent)>;
    using Terminator = std::function<void()>;

    // The answerer, when given, takes every message box from start-up on instead of
    // a player (tests).
    explicit Karvelo(QWidget* parent = nullptr, MessageAnswerer answerer = {});
    ~Karvelo() override;

    // ---- funktioner::Table
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

    // ---- Start and end of a run.
    void Form_Load();
    void Form_Terminate();

    // ---- Menu commands.
    void mnuNyttSpel_Click();
    void mnuStatistik_Click();
    void mnuAvsluta_Click();
    void mnuHastighet_Click(int16_t Index);
    void mnuColor_Click();
    void mnuColorStandard_Click();
    void mnuHelp_Click();
    void mnuOm_Click();

    // ---- Keys (the window sees every key first).
    void Form_KeyDown(int KeyCode, int Shift);  // Windows virtual-key code, 1 Shift 2 Ctrl 4 Alt

    // ---- Pointer handlers of the table's elements.
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

    // ---- What the rest of the program and the tests look at.
    const Scene& scene() const { return scene_; }
    TableView* view() const { return view_; }
    int32_t BackColour() const { return backColour_; }
    void SetBackColour(int32_t colour);
    QAction* SpeedItem(int k) const;
    QAction* mnuNyttSpel() const { return mnuNyttSpel_; }
    QAction* mnuStatistik() const { return mnuStatistik_; }
    QAction* mnuAvsluta() const { return mnuAvsluta_; }
    QAction* mnuColor() const { return mnuColor_; }
    QAction* mnuColorStandard() const { return mnuColorStandard_; }
    QAction* mnuHelp() const { return mnuHelp_; }
    QAction* mnuOm() const { return mnuOm_; }
    // The outer height, caption and borders included, in twips.
    int OuterHeightTwips() const;
    bool DragActive() const { return drag_.has_value(); }
    bool Terminated() const { return terminated_; }

    // ---- Seams for tests.
    void SetPacing(bool on) { pacing_ = on; }
    bool Pacing() const { return pacing_; }
    FramePacer& pacer() { return pacer_; }
    void SetMessageAnswerer(MessageAnswerer answerer) { answerer_ = std::move(answerer); }
    void SetColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }
    void SetTerminator(Terminator terminator) { terminator_ = std::move(terminator); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TwipRect RectOf(funktioner::Element e) const;  // empty when the element is absent
    // PointerInput
    void PointerPressed(float x, float y, Qt::MouseButton button, bool doubleClick) override;
    void PointerReleased(float x, float y, Qt::MouseButton button) override;
    void PointerMoved(float x, float y, Qt::MouseButtons buttons) override;

    void BuildScene();
    void BuildMenus();
    void PlaceOnScreen();

    // Runs a handler that may reach the engine; when the outermost one returns and
    // nothing is being laid down any more, the commands that had to wait run.
    void RunHandler(const std::function<void()>& handler);
    void RunWaitingCommands();
    void RunStatistics(std::function<void()> command);

    void StartNewGame();  // "Nytt spel" once admitted
    void GrowWindow();
    void SetOuterHeightTwips(int twips);
    void StoreSetting(const char* name, int32_t value);
    void TickSpeedItem(int k);
    void ShowArrow(ElementKind arrow);

    void BeginDrag(int card, float x, float y);
    void MoveDrag(float x, float y);
    void EndDrag(float x, float y);
    void CancelDrag();
    void Deliver(const DropTarget& target, int source);

    Scene scene_;
    TableView* view_ = nullptr;
    FramePacer pacer_;
    bool pacing_ = true;
    bool frameDue_ = false;  // the window changed in a way the view does not track
    int32_t backColour_ = 32768;

    QAction* mnuNyttSpel_ = nullptr;
    QAction* mnuStatistik_ = nullptr;
    QAction* mnuAvsluta_ = nullptr;
    std::array<QAction*, 5> mnuHastighet_{};
    QAction* mnuColor_ = nullptr;
    QAction* mnuColorStandard_ = nullptr;
    QAction* mnuHelp_ = nullptr;
    QAction* mnuOm_ = nullptr;

    int handlerDepth_ = 0;
    bool newGameWaiting_ = false;
    int64_t newGameWaitingSince_ = 0;  // the deal a waiting "Nytt spel" would replace
    std::optional<int16_t> clickedCard_;        // a card dropped on itself by a click
    std::optional<int16_t> doubleClickWaiting_;  // its double-click, waiting for the play
    std::function<void()> statisticsWaiting_;    // a statistics command, waiting for a move
    bool quitWaiting_ = false;
    bool terminating_ = false;
    bool terminated_ = false;

    struct Drag {
        int card;
        float grabX;  // where the card was taken, from its top-left corner
        float grabY;
    };
    std::optional<Drag> drag_;
    std::optional<int> rightPressed_;  // the card that took a right press

    MessageAnswerer answerer_;
    ColourChooser chooser_;
    Terminator terminator_;
};

}  // namespace karvelo
