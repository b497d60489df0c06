// What the first frame may leave out: the elements behind the title picture while it
// covers the area painted, and the window icon's large drawings.
#include <QTest>

#include "paint_cover.h"
#include "ui_test_support.h"
#include "window_icon.h"
#include "window_layout.h"

using namespace karvelo;

namespace {

std::vector<SceneElement> Table(bool splashVisible) {
    std::vector<SceneElement> order;
    order.push_back({{ElementKind::Hand, 0}, layout::Cell(0), 0, "", "", true, true, true});
    order.push_back({{ElementKind::LblHand, 0}, layout::kHandLabels[0], 0, "", "H", false, true, true});
    order.push_back({{ElementKind::Splash, 0}, layout::kSplash, 0, "", "", false, splashVisible, true});
    order.push_back({{ElementKind::Kort, 0}, layout::kTemplateCard, 0, "", "", false, true, true});
    return order;
}

}  // namespace

class FirstFrameTest : public QObject {
    Q_OBJECT
private slots:
    void drawingStartsAtATitlePictureThatCoversTheArea() {
        const QRect table(0, 0, 644, 385);
        // Covered: the frame and the label behind it are skipped; what lies in
        // front of it is still drawn.
        QCOMPARE(FirstElementToDraw(Table(true), table), size_t{2});
        QCOMPARE(FirstElementToDraw(Table(true), QRect(600, 400, 40, 40)), size_t{2});
        // Hidden, or not covering all of the area (the picture is 650 x 450 pixels):
        // everything is drawn.
        QCOMPARE(FirstElementToDraw(Table(false), table), size_t{0});
        QCOMPARE(FirstElementToDraw(Table(true), QRect(0, 0, 651, 300)), size_t{0});
        QCOMPARE(FirstElementToDraw(Table(true), QRect(0, 440, 10, 11)), size_t{0});
        QCOMPARE(FirstElementToDraw({}, table), size_t{0});
    }

    void theWindowIconKeepsOnlyTheSmallDrawings() {
        const QIcon icon = WindowIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(!icon.availableSizes().isEmpty());
        for (const QSize& s : icon.availableSizes()) QVERIFY(s.width() <= 64);
        QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    }
};

KARVELO_UI_TEST_MAIN(FirstFrameTest)
#include "tst_first_frame.moc"
