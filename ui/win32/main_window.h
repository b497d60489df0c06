#pragma once
// The main window "Karvelo" as Windows shows it, and everything else a window system
// does for the main window Karvelo (karvelo.h), which it owns: a fixed single border
// with a minimize box and no maximize box, the spade icon, the menu bar, a client area
// sized and placed in twips (window_layout.h) at the density of the display it is on,
// the table painted through an off-screen bitmap repainting only what changed, pointer
// and key input handed to the form in twips, message boxes, the colour dialog, the
// statistics window, and event processing paced to displayed frames. It decides
// nothing.
#include <windows.h>

#include <functional>
#include <memory>

#include "frame_wait.h"
#include "karvelo.h"
#include "menu_bar.h"
#include "table_accessible.h"
#include "table_painter.h"
#include "window_system.h"

namespace karvelo::win32 {

inline constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The outer rectangle that gives the window its client area at start, placed from the
// screen's corner, on a display of `dpi` dots per inch, with or without a menu bar.
RECT StartWindowRect(int dpi, bool menuBar = true);

class MainWindow final : public WindowSystem {
public:
    // The window, its form loaded, shown as `showCommand` asks (SW_SHOWDEFAULT for the
    // one Windows gave the program); nullptr when Windows cannot make it.
    static std::unique_ptr<MainWindow> Create(HINSTANCE module, int showCommand);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }
    int Dpi() const { return dpi_; }
    Karvelo& form() { return form_; }
    const MenuBar& menu() const { return menu_; }

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

    // ---- Seams for tests and benchmarks: event processing without waiting for
    // frames, and modal windows answered without a player.
    void SetPacing(bool on) { form_.frameClock().SetPacing(on); }
    void SetMessageAnswerer(std::function<Answer(const MessageRequest&)> answerer) {
        answerer_ = std::move(answerer);
    }
    void SetStatisticsViewer(std::function<void(frmStatistik&)> viewer) { viewer_ = std::move(viewer); }
    long long Paints() const { return paints_; }

private:
    explicit MainWindow(HINSTANCE module);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void Paint();
    void PaintChanges();
    void Draw(HDC dc, HRGN dirty, const RECT& box);
    void Damage(const TwipRect& rect);
    void UseDpi(int dpi);
    void DisplayChanged();  // tells the frame clock the refresh rate of the window's display
    void SetIcons();
    SIZE OuterSizeAt(int dpi) const;  // this client area in twips, at `dpi`
    void FitClientArea(bool place);  // and at its place on the screen
    void Pointer(UINT message, WPARAM w, LPARAM l);
    bool Key(UINT message, WPARAM w, LPARAM l);
    HWND Owner() const { return modal_ ? modal_ : window_; }
    HDC BackBuffer(SIZE size);
    void ReleaseBackBuffer();

    HINSTANCE module_;
    HWND window_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    TablePainter painter_;
    MenuBar menu_;
    FrameWait frames_;
    Karvelo form_;
    float clientHeightTwips_;
    HICON icons_[2] = {nullptr, nullptr};  // large, small
    HDC backDc_ = nullptr;
    HBITMAP backBitmap_ = nullptr;
    HGDIOBJ backOld_ = nullptr;
    SIZE backSize_{};
    HRGN updateRegion_ = nullptr;
    HWND modal_ = nullptr;  // the statistics window while it is open
    bool frameDue_ = false;  // the table changed since the last displayed frame
    bool painted_ = false;
    long long paints_ = 0;
    std::function<Answer(const MessageRequest&)> answerer_;
    std::function<void(frmStatistik&)> viewer_;
    // What a screen reader is told; made with the window, active once one asks.
    std::unique_ptr<TableAccessibility> access_;
};

}  // namespace karvelo::win32
