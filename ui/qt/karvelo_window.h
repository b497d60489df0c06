#pragma once
// The main window on Qt: the top-level window with its menu bar and the view of the
// table, and everything else a window system does for the main window Karvelo
// (karvelo.h), which it owns: message boxes, the colour dialog, the statistics window,
// event processing paced to displayed frames, the window's height, and turning Qt's
// pointer, key, menu and close events into Karvelo's handlers. It decides nothing.
#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

#include "frame_pacer.h"
#include "karvelo.h"
#include "table_view.h"
#include "window_system.h"

class QAction;

namespace karvelo {

class KarveloWindow final : public QMainWindow, public WindowSystem {
public:
    using MessageAnswerer = std::function<Answer(const MessageRequest&)>;
    using ColourChooser = std::function<std::optional<int32_t>(int32_t current)>;
    using Terminator = std::function<void()>;

    // The answerer, when given, takes every message box from start-up on instead of
    // a player (tests).
    explicit KarveloWindow(QWidget* parent = nullptr, MessageAnswerer answerer = {});
    ~KarveloWindow() override;

    Karvelo& form() { return form_; }
    const Karvelo& form() const { return form_; }
    TableView* view() const { return view_; }

    // ---- WindowSystem
    Answer ShowMessage(const MessageRequest& request) override;
    std::optional<int32_t> ChooseColour(int32_t current) override;
    void ShowStatistics(frmStatistik& window) override;
    NumberFormat UserNumberFormat() const override;
    void DoEvents() override;
    void BackColourChanged(int32_t colour) override;
    void SpeedTickChanged(int item) override;
    int OuterHeightTwips() const override;
    void SetOuterHeightTwips(int twips) override;
    void Unload() override;

    // ---- The desktop session ends (the session manager asks the program to commit
    // its data, or the application quits without the window having closed).
    void SessionEnding() { form_.SessionEnding(); }

    // ---- The menu items, as the player finds them.
    QAction* MenuItem(MenuCommand command, int index = 0) const;
    QAction* SpeedItem(int k) const { return MenuItem(MenuCommand::Hastighet, k); }

    // ---- Seams for tests.
    void SetPacing(bool on) { form_.frameClock().SetPacing(on); }
    bool Pacing() const { return form_.frameClock().Pacing(); }
    FramePacer& pacer() { return pacer_; }
    void SetMessageAnswerer(MessageAnswerer answerer) { answerer_ = std::move(answerer); }
    void SetColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }
    void SetTerminator(Terminator terminator) { terminator_ = std::move(terminator); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildMenus();
    void PlaceOnScreen();
    bool Seen() const;  // shown, not minimised, and exposed on the screen

    Karvelo form_;
    TableView* view_ = nullptr;
    FramePacer pacer_;
    bool frameDue_ = false;  // the window changed in a way the view does not track

    struct Item {
        QAction* action;
        MenuCommand command;
        int index;
    };
    std::vector<Item> items_;

    MessageAnswerer answerer_;
    ColourChooser chooser_;
    Terminator terminator_;
};

}  // namespace karvelo
