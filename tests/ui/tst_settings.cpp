// Stored settings read at start-up, rounding, message texts and their display
// lines, and the keys handed to the key handler.
#include <QTest>

#include <limits>

#include "keys.h"
#include "settings.h"
#include "texts.h"
#include "ui_test_support.h"

using namespace karvelo;

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void roundingGoesHalfToEven() {
        QCOMPARE(RoundHalfEven(1.5), 2);
        QCOMPARE(RoundHalfEven(2.5), 2);
        QCOMPARE(RoundHalfEven(-0.5), 0);
        QCOMPARE(RoundHalfEven(-1.5), -2);
        QCOMPARE(RoundHalfEven(1e300), std::numeric_limits<int32_t>::max());
        QCOMPARE(RoundHalfEven(-1e300), std::numeric_limits<int32_t>::min());
        QCOMPARE(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    }

    void leadingNumbers() {
        QCOMPARE(LeadingNumber("17"), 17.0);
        QCOMPARE(LeadingNumber("  -8x"), -8.0);
        QCOMPARE(LeadingNumber("12.5 steg"), 12.5);
        QCOMPARE(LeadingNumber(".5"), 0.5);
        QCOMPARE(LeadingNumber("3e1"), 30.0);
        QCOMPARE(LeadingNumber("3e"), 3.0);
        QCOMPARE(LeadingNumber("abc"), 0.0);
        QCOMPARE(LeadingNumber("-"), 0.0);
        QCOMPARE(LeadingNumber(""), 0.0);
        QCOMPARE(LeadingNumber("1e999"), 0.0);  // beyond a double: no number
        QCOMPARE(LeadingNumber(std::string(400, '9')), 0.0);
    }

    void speedFromStoredText() {
        QVERIFY((SpeedFromStored("0") == SpeedSetting{17, 2}));
        QVERIFY((SpeedFromStored("1") == SpeedSetting{1, 0}));
        QVERIFY((SpeedFromStored("9") == SpeedSetting{9, 1}));
        QVERIFY((SpeedFromStored("33") == SpeedSetting{33, 4}));
        QVERIFY((SpeedFromStored("13") == SpeedSetting{13, 2}));   // 1.5 -> 2
        QVERIFY((SpeedFromStored("5") == SpeedSetting{5, 0}));     // 0.5 -> 0
        QVERIFY((SpeedFromStored("37") == SpeedSetting{37, 4}));   // 4.5 -> 4
        QVERIFY((SpeedFromStored("38") == SpeedSetting{17, 2}));   // item 5
        QVERIFY((SpeedFromStored("-3") == SpeedSetting{17, 2}));
        QVERIFY((SpeedFromStored("0.6") == SpeedSetting{1, 0}));
        QVERIFY((SpeedFromStored("0.4") == SpeedSetting{17, 2}));  // no step at all
        QVERIFY((SpeedFromStored("fort") == SpeedSetting{17, 2}));
        QVERIFY((SpeedFromStored("2147483647") == SpeedSetting{17, 2}));
        for (int k = 0; k < kSpeedItems; ++k)
            QVERIFY((SpeedFromStored(std::to_string(SpeedForItem(k))) ==
                     SpeedSetting{SpeedForItem(k), k}));
    }

    void colourFromStoredText() {
        QCOMPARE(ColourFromStored("0"), 32768);
        QCOMPARE(ColourFromStored("255"), 255);
        QCOMPARE(ColourFromStored("16777215"), 0xFFFFFF);
        QCOMPARE(ColourFromStored("16777216"), 32768);
        QCOMPARE(ColourFromStored("-2147483643"), 32768);  // a system colour code
        QCOMPARE(ColourFromStored("grön"), 32768);
    }

    void growthStep() {
        QCOMPARE(GrowthStep(6060, 9015, 100), 30);   // 29.55
        QCOMPARE(GrowthStep(6765, 9015, 100), 22);   // 22.5 -> 22
        QCOMPARE(GrowthStep(6615, 9015, 100), 24);
        QCOMPARE(GrowthStep(9500, 9015, 100), -5);   // 4.85 down
        QCOMPARE(GrowthStep(0, 9015, 0), 9015);      // no steps: one
    }

    void helpTextIsFourLines() {
        const std::string help = HelpText();
        QCOMPARE(help, std::string("Hjälpfil saknas\t\r\n\t\r\n"
                                   "Om någon känner sig manad så tar\t\r\n"
                                   "jag gärna emot en hjälp fil ;)\t\r\n"));
        QCOMPARE(DisplayText(help), std::string("Hjälpfil saknas\n\n"
                                                "Om någon känner sig manad så tar\n"
                                                "jag gärna emot en hjälp fil ;)\n"));
    }

    void displayKeepsTheLines() {
        QCOMPARE(DisplayText("a\r\nb"), std::string("a\nb"));
        QCOMPARE(DisplayText("a\rb\nc"), std::string("a\nb\nc"));
        QCOMPARE(DisplayText("a\t\tb\t"), std::string("a\t\tb"));  // inner tabs stay
        QCOMPARE(DisplayText("WOW!!  1\r\n\r\nVill du?"), std::string("WOW!!  1\n\nVill du?"));
        QCOMPARE(DisplayText(""), std::string());
        QCOMPARE(DisplayText("\t\r\n"), std::string("\n"));
        const std::string about = AboutText();
        QVERIFY(DisplayText(about).starts_with(std::string(16, ' ') + "Karvelo 0.9\n\n"));
    }

    void keysForTheKeyHandler() {
        QCOMPARE(VirtualKeyOf(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier), 84);
        QCOMPARE(ShiftStateOf(Qt::ControlModifier | Qt::AltModifier), 6);
        QCOMPARE(VirtualKeyOf(Qt::Key_Minus, Qt::KeypadModifier), 109);
        QCOMPARE(VirtualKeyOf(Qt::Key_Minus, Qt::NoModifier), 0);  // not the keypad's
        QCOMPARE(ShiftStateOf(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                              Qt::KeypadModifier), 7);
        QCOMPARE(VirtualKeyOf(Qt::Key_F2, Qt::NoModifier), 113);
        QCOMPARE(VirtualKeyOf(Qt::Key_5, Qt::KeypadModifier), 101);
        QCOMPARE(VirtualKeyOf(Qt::Key_Escape, Qt::NoModifier), 0);
    }
};

KARVELO_UI_TEST_MAIN(SettingsTest)
#include "tst_settings.moc"
