#pragma once
// The statistics window frmStatistik as far as it is not drawing: its design in twips,
// its captions, the text it shows, the clear button's question and the clearing, and
// the entry points that prepare each view. A window system shows it as a modal dialog
// and passes the buttons' clicks back here.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "statistics_keys.h"
#include "statistics_text.h"

namespace karvelo {

// The window as designed, in twips (1/1440 inch).
namespace statistics_window {
struct Box {
    int left, top, width, height;
};
inline constexpr int kClientWidth = 4545;
inline constexpr int kClientHeight = 4890;
inline constexpr Box kText1{240, 240, 4215, 4215};      // focus order 0
inline constexpr Box kClose{600, 4320, 1215, 375};      // "Stäng", focus order 1
inline constexpr Box kClear{2280, 4320, 1455, 375};     // "Rensa Statistiken", 2
inline constexpr const char* kCloseCaption = "St\xC3\xA4ng";
inline constexpr const char* kClearCaption = "Rensa Statistiken";
inline constexpr const char* kNormalCaption = "Statistik - Karvelo";
inline constexpr const char* kFullCaption =
    "Den hemliga fullst\xC3\xA4ndiga statistiken - Karvelo";
inline constexpr const char* kClearQuestion =
    "\xC3\x84r du s\xC3\xA4ker p\xC3\xA5 att du vill rensa statistiken?";
inline constexpr const char* kClearTotalQuestion = "Rensa?";
// The normal view's 16 lines and the empty one after them: what Text1 must show.
inline constexpr int kLinesShown = 17;
}  // namespace statistics_window

class frmStatistik {
public:
    explicit frmStatistik(NumberFormat format) : format_(std::move(format)) {}

    // Builds the text from lngStat (entries from [1] on) and makes it Text1's text.
    void FormateraStatistiken(std::span<const int32_t> lngStat, int32_t lngAntal);
    // "Stäng" and the close box: the window goes.
    void cmdClose_Click() { closed_ = true; }
    // "Rensa Statistiken": asks, clears the current statistics on Yes and shows zeros.
    void cmdRensaReg_Click();

    const std::string& Caption() const { return caption_; }
    bool ClearButtonVisible() const { return clearVisible_; }
    // Text1's text, with its TABs and CR LF line breaks.
    const std::string& Text() const { return text_; }
    bool Closed() const { return closed_; }

    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    // Text1 says that the record could not be read, instead of showing figures.
    void ShowUnreadable() { text_ = kStatisticsUnreadable; }
    void SetClearButtonVisible(bool visible) { clearVisible_ = visible; }

private:
    NumberFormat format_;
    std::string caption_ = statistics_window::kNormalCaption;
    bool clearVisible_ = true;
    std::string text_;
    bool closed_ = false;
};

// "Statistik" (F3): the stored record loaded into the counters, the series and the
// clear button.
std::unique_ptr<frmStatistik> PrepareNormalView(const NumberFormat& format);
// Ctrl+Alt+T: the current and total statistics combined, without the clear button.
std::unique_ptr<frmStatistik> PrepareFullView(const NumberFormat& format);
// Ctrl+Alt+Shift+keypad minus: asks "Rensa?" and clears the total on Yes.
void AskClearTotalStatistics();

}  // namespace karvelo
