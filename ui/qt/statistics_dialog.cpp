// The statistics window as a Qt dialog.
#include "statistics_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <memory>

#include "statistics_measure.h"
#include "twips.h"

namespace karvelo {
namespace {

namespace W = statistics_window;

int Px(int twips) { return PixelsFromTwips(twips, kStandardDpi); }

void Place(QWidget* w, const W::Box& b) {
    w->setGeometry(Px(b.left), Px(b.top), Px(b.width), Px(b.height));
}

// The tab stops for the statistics text in a font, and how wide its widest line is.
struct TextLayout {
    QList<QTextOption::Tab> tabs;
    int tabDistance = 0;
    int lineWidth = 0;
};

TextLayout LayoutFor(const QFont& font) {
    const QFontMetrics fm(font);
    const StatisticsTextLayout measured = LayoutStatisticsText(
        [&](const char* utf8) { return fm.horizontalAdvance(QString::fromUtf8(utf8)); },
        fm.averageCharWidth());
    TextLayout layout;
    for (int stop : measured.stops) layout.tabs.append(QTextOption::Tab(stop, QTextOption::LeftTab));
    layout.tabDistance = measured.tabDistance;
    layout.lineWidth = measured.lineWidth;
    return layout;
}

constexpr int kDocumentMargin = 2;

}  // namespace

StatisticsDialog::StatisticsDialog(frmStatistik& window, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      window_(window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QString::fromStdString(window_.Caption()));
    setFixedSize(Px(W::kClientWidth), Px(W::kClientHeight));

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
    Place(Text1, W::kText1);

    cmdClose = new QPushButton(QString::fromUtf8(W::kCloseCaption), this);
    cmdClose->setObjectName("cmdClose");
    cmdClose->setDefault(true);
    Place(cmdClose, W::kClose);

    cmdRensaReg = new QPushButton(QString::fromUtf8(W::kClearCaption), this);
    cmdRensaReg->setObjectName("cmdRensaReg");
    cmdRensaReg->setAutoDefault(false);
    cmdRensaReg->setVisible(window_.ClearButtonVisible());
    Place(cmdRensaReg, W::kClear);

    setTabOrder(Text1, cmdClose);
    setTabOrder(cmdClose, cmdRensaReg);
    Text1->setFocus();

    connect(cmdClose, &QPushButton::clicked, this, [this] {
        window_.cmdClose_Click();
        accept();
    });
    connect(cmdRensaReg, &QPushButton::clicked, this, [this] {
        window_.cmdRensaReg_Click();
        ShowText();
    });
    FitFont();
    ApplyTabStops();
    ShowText();
}

// The dialog's font at the size at which the text and the captions fit the design.
void StatisticsDialog::FitFont() {
    const int inset = 2 * Text1->frameWidth() + 2 * kDocumentMargin;
    const StatisticsRoom room{Text1->width() - inset, Text1->height() - inset, cmdClose->width(),
                              cmdRensaReg->width()};
    const int dpi = logicalDpiY();
    const QFont system = font();
    const int systemPixels = system.pixelSize() > 0
                                 ? system.pixelSize()
                                 : static_cast<int>(system.pointSizeF() * dpi / 72.0 + 0.5);
    QFont f = system;
    const int pixels = FitStatisticsFont(systemPixels, dpi, room, [&f](int px) {
        f.setPixelSize(px);
        auto fm = std::make_shared<QFontMetrics>(f);
        return StatisticsFont{[fm](const char* utf8) { return fm->horizontalAdvance(QString::fromUtf8(utf8)); },
                              std::max(1, fm->averageCharWidth()), fm->lineSpacing()};
    });
    if (pixels == systemPixels) return;  // the system's font fits as it is
    f.setPixelSize(pixels);
    setFont(f);
}

void StatisticsDialog::ApplyTabStops() {
    const TextLayout layout = LayoutFor(Text1->font());
    QTextOption option = Text1->document()->defaultTextOption();
    option.setTabs(layout.tabs);
    option.setTabStopDistance(layout.tabDistance);
    Text1->document()->setDefaultTextOption(option);
    Text1->document()->setDocumentMargin(kDocumentMargin);
}

void StatisticsDialog::ShowText() {
    const std::string& text = window_.Text();
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(shown);
}

}  // namespace karvelo
