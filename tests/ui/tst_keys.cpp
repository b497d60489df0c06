// Qt's keys as the main window's key handler takes them.
#include <QTest>

#include "keys.h"
#include "ui_test_support.h"

using namespace karvelo;

class KeysTest : public QObject {
    Q_OBJECT
private slots:
    void keysForTheKeyHandler() {
        QCOMPARE(VirtualKeyOf(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier), 84);
        QCOMPARE(ShiftStateOf(Qt::ControlModifier | Qt::AltModifier), 6);
        QCOMPARE(VirtualKeyOf(Qt::Key_Minus, Qt::KeypadModifier), 109);
        QCOMPARE(VirtualKeyOf(Qt::Key_Minus, Qt::NoModifier), 0);  // not the keypad's
        QCOMPARE(ShiftStateOf(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                              Qt::KeypadModifier), 7);
        QCOMPARE(VirtualKeyOf(Qt::Key_F2, Qt::NoModifier), 113);
        QCOMPARE(VirtualKeyOf(Qt::Key_5, Qt::KeypadModifier), 101);
        QCOMPARE(VirtualKeyOf(Qt::Key_Escape, Qt::NoModifier), 27);
        // Keyboard play: both Enter keys, and the arrows also from the keypad.
        QCOMPARE(VirtualKeyOf(Qt::Key_Enter, Qt::KeypadModifier), 13);
        QCOMPARE(VirtualKeyOf(Qt::Key_Return, Qt::NoModifier), 13);
        QCOMPARE(VirtualKeyOf(Qt::Key_Up, Qt::KeypadModifier | Qt::ShiftModifier), 38);
        QCOMPARE(VirtualKeyOf(Qt::Key_Tab, Qt::NoModifier), 0);
    }
};

KARVELO_UI_TEST_MAIN(KeysTest)
#include "tst_keys.moc"
