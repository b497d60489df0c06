// The statistics window's text, its clearing and its two views.
#include "frm_statistik.h"

#include "host.h"
#include "statistics.h"

namespace karvelo {
namespace {

namespace W = statistics_window;

std::span<const int32_t> Counters() { return {StatCounters.data() + 1, kCounters}; }

}  // namespace

void frmStatistik::FormateraStatistiken(std::span<const int32_t> lngStat, int32_t lngAntal) {
    text_ = karvelo::FormateraStatistiken(lngStat, lngAntal, format_);
}

void frmStatistik::cmdRensaReg_Click() {
    if (host().MsgBox(W::kClearQuestion, Buttons::YesNo, Icon::Exclamation,
                      DefaultButton::Second, kAppTitle) != Answer::Yes)
        return;
    ClearCurrentStatistics();
    FormateraStatistiken(Counters(), kCounters);
}

std::unique_ptr<frmStatistik> PrepareNormalView(const NumberFormat& format) {
    const bool readable = LoadStoredCounters();
    auto window = std::make_unique<frmStatistik>(format);
    window->FormateraStatistiken(Counters(), kCounters);
    if (!readable) window->ShowUnreadable();
    window->SetCaption(W::kNormalCaption);
    window->SetClearButtonVisible(true);
    return window;
}

std::unique_ptr<frmStatistik> PrepareFullView(const NumberFormat& format) {
    bool readable = true;
    const auto record = CombinedRecord(&readable);
    auto window = std::make_unique<frmStatistik>(format);
    window->FormateraStatistiken(std::span<const int32_t>(record.data() + 1, kTotalCounters),
                                 kTotalCounters);
    if (!readable) window->ShowUnreadable();
    window->SetCaption(W::kFullCaption);
    window->SetClearButtonVisible(false);
    return window;
}

void AskClearTotalStatistics() {
    if (host().MsgBox(W::kClearTotalQuestion, Buttons::YesNo, Icon::Exclamation,
                      DefaultButton::Second, kAppTitle) == Answer::Yes)
        ClearTotalStatistics();
}

}  // namespace karvelo
