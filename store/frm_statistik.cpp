// The statistics window.
#include "frm_statistik.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>

#include "host.h"
#include "statistics.h"
#include "statistics_layout.h"

namespace karvelo {
namespace {

// The window as designed, in twips.
constexpr int kClientWidth = 4545;
constexpr int kClientHeight = 4890;
struct Place {
    int left, top, width, height;
};
constexpr Place kText1{240, 240, 4215, 4215};
constexpr Place kClose{600, 4320, 1215, 375};
constexpr Place kClear{2280, 4320, 1455, 375};

const char* const kNormalCaption = "Statistik - Karvelo";
const char* const kFullCaption = "Den hemliga fullst\xC3\xA4ndiga statistiken - Karvelo";
const char* const kClearQuestion = "\xC3\x84r du s\xC3\xA4ker p\xC3\xA5 att du vill rensa statistiken?";

std::span<const int32_t> Counters() { return {StatCounters.data() + 1, 14}; }

}  // namespace

frmStatistik::frmStatistik(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QString::fromUtf8(kNormalCaption));

    // Twips to this screen's pixels: 1440 twips to the logical inch.
    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    auto px = [](int twips, double dpi) { return static_cast<int>(twips * dpi / 1440.0 + 0.5); };
    auto place = [&](QWidget* w, const Place& p) {
        w->setGeometry(px(p.left, dpiX), px(p.top, dpiY), px(p.width, dpiX), px(p.height, dpiY));
    };
    setFixedSize(px(kClientWidth, dpiX), px(kClientHeight, dpiY));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setUndoRedoEnabled(false);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette palette = Text1->palette();
    const QColor menu = QApplication::palette("QMenu").color(QPalette::Window);
    palette.setColor(QPalette::Base, menu);
    palette.setColor(QPalette::Window, menu);
    Text1->setPalette(palette);
    place(Text1, kText1);

    cmdClose = new QPushButton(QString::fromUtf8("St\xC3\xA4ng"), this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setDefault(true);
    place(cmdClose, kClose);

    cmdRensaReg = new QPushButton(QStringLiteral("Rensa Statistiken"), this);
    cmdRensaReg->setObjectName("cmdRensaReg");
    cmdRensaReg->setAutoDefault(false);
    place(cmdRensaReg, kClear);

    setTabOrder(Text1, cmdClose);
    setTabOrder(cmdClose, cmdRensaReg);
    Text1->setFocus();

    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    connect(cmdRensaReg, &QPushButton::clicked, this, [this] { cmdRensaReg_Click(); });
    FitFont();
    ApplyTabStops();
}

namespace {

// The tab stops for the statistics text in a font, and how wide its widest line is.
struct TextLayout {
    QList<QTextOption::Tab> tabs;
    int tabDistance = 0;
    int lineWidth = 0;
};

TextLayout LayoutFor(const QFont& font) {
    const QFontMetrics fm(font);
    auto width = [&](const char* utf8) { return fm.horizontalAdvance(QString::fromUtf8(utf8)); };
    StatisticsTextWidths w;
    w.tenSpaces = fm.horizontalAdvance(QString(10, QChar(' ')));
    w.averageChar = fm.averageCharWidth();
    w.twoTabLabelMax = std::max({width("Spelade: "), width("Vunna: "), width("F\xC3\xB6rlorade: ")});
    const int longs[] = {width("Vunna(omg\xC3\xA5ng): "), width("F\xC3\xB6rlorade(omg\xC3\xA5ng):"),
                         width("F\xC3\xB6rlorade(omg\xC3\xA5ng): ")};
    w.oneTabLabelMin = *std::min_element(std::begin(longs), std::end(longs));
    w.oneTabLabelMax = *std::max_element(std::begin(longs), std::end(longs));
    w.numberMax = width("00000");

    TextLayout layout;
    for (int stop : StatisticsTabStops(w)) layout.tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    // The TAB that ends a line with a percentage stops right after it.
    const int end = static_cast<int>(layout.tabs.back().position) + width("100,0%") + w.averageChar;
    layout.tabs.append(QTextOption::Tab(end, QTextOption::LeftTab));
    layout.tabDistance = 8 * w.averageChar;
    layout.lineWidth = end;
    return layout;
}

constexpr int kLinesShown = 17;  // the normal view's 16 lines and the empty one after
constexpr int kDocumentMargin = 2;

}  // namespace

// The design's sizes were made for a small system font; with a larger one the text
// and the button captions would not fit, so the font shrinks until they do.
void frmStatistik::FitFont() {
    const int innerWidth = Text1->width() - 2 * Text1->frameWidth() - 2 * kDocumentMargin;
    const int innerHeight = Text1->height() - 2 * Text1->frameWidth() - 2 * kDocumentMargin;
    auto fits = [&](const QFont& f) {
        const QFontMetrics fm(f);
        const int pad = 2 * fm.averageCharWidth();
        return fm.lineSpacing() * kLinesShown <= innerHeight &&
               LayoutFor(f).lineWidth <= innerWidth &&
               fm.horizontalAdvance(cmdRensaReg->text()) + pad <= cmdRensaReg->width() &&
               fm.horizontalAdvance(cmdClose->text()) + pad <= cmdClose->width();
    };
    QFont f = font();
    for (int step = 0; step < 40 && !fits(f); ++step) {
        if (f.pointSizeF() > 0) {
            if (f.pointSizeF() <= 6.0) break;
            f.setPointSizeF(f.pointSizeF() - 0.5);
        } else {
            if (f.pixelSize() <= 8) break;
            f.setPixelSize(f.pixelSize() - 1);
        }
    }
    setFont(f);
}

void frmStatistik::ApplyTabStops() {
    const TextLayout layout = LayoutFor(Text1->font());
    QTextOption option = Text1->document()->defaultTextOption();
    option.setTabs(layout.tabs);
    option.setTabStopDistance(layout.tabDistance);
    Text1->document()->setDefaultTextOption(option);
    Text1->document()->setDocumentMargin(kDocumentMargin);
}

void frmStatistik::FormateraStatistiken(std::span<const int32_t> lngStat, int32_t lngAntal) {
    text_ = karvelo::FormateraStatistiken(lngStat, lngAntal, UserNumberFormat());
    QString shown = QString::fromUtf8(text_.data(), static_cast<qsizetype>(text_.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(shown);
}

void frmStatistik::cmdClose_Click() { close(); }

void frmStatistik::cmdRensaReg_Click() {
    if (host().MsgBox(kClearQuestion, Buttons::YesNo, Icon::Exclamation, DefaultButton::Second,
                      kAppTitle) != Answer::Yes)
        return;
    ClearCurrentStatistics();
    FormateraStatistiken(Counters(), 14);
}

std::unique_ptr<frmStatistik> PrepareNormalView(QWidget* owner) {
    LoadStoredCounters();
    auto dialog = std::make_unique<frmStatistik>(owner);
    dialog->FormateraStatistiken(Counters(), 14);
    dialog->setWindowTitle(QString::fromUtf8(kNormalCaption));
    dialog->cmdRensaReg->setVisible(true);
    return dialog;
}

std::unique_ptr<frmStatistik> PrepareFullView(QWidget* owner) {
    const auto record = CombinedRecord();
    auto dialog = std::make_unique<frmStatistik>(owner);
    dialog->FormateraStatistiken(std::span<const int32_t>(record.data() + 1, 6), 6);
    dialog->setWindowTitle(QString::fromUtf8(kFullCaption));
    dialog->cmdRensaReg->setVisible(false);
    return dialog;
}

void OpenStatistics(QWidget* owner) { PrepareNormalView(owner)->exec(); }

void ShowFullStatistics(QWidget* owner) { PrepareFullView(owner)->exec(); }

void AskClearTotalStatistics() {
    if (host().MsgBox("Rensa?", Buttons::YesNo, Icon::Exclamation, DefaultButton::Second,
                      kAppTitle) == Answer::Yes)
        ClearTotalStatistics();
}

void StatisticsKeyDown(QWidget* owner, int virtualKey, int shiftState) {
    switch (StatisticsKeyFor(virtualKey, shiftState)) {
    case KeyAction::ShowFullStatistics:
        ShowFullStatistics(owner);
        break;
    case KeyAction::ClearTotalStatistics:
        AskClearTotalStatistics();
        break;
    case KeyAction::None:
        break;
    }
}

NumberFormat UserNumberFormat() {
    const QLocale locale = QLocale::system();
    NumberFormat format;
    format.decimalPoint = locale.decimalPoint().toStdString();
    format.groupSeparator = locale.numberOptions() & QLocale::OmitGroupSeparator
                                ? std::string()
                                : locale.groupSeparator().toStdString();
    return format;
}

}  // namespace karvelo
