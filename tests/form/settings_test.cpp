// Stored settings read at start-up, the window's growth step, and the texts of the
// help and about messages with the lines a message box shows of them.
#include <gtest/gtest.h>

#include <string>

#include "karvelo_version.h"
#include "settings.h"
#include "texts.h"

namespace karvelo {
namespace {

TEST(Settings, SpeedFromStoredText) {
    EXPECT_TRUE((SpeedFromStored("0") == SpeedSetting{17, 2}));
    EXPECT_TRUE((SpeedFromStored("1") == SpeedSetting{1, 0}));
    EXPECT_TRUE((SpeedFromStored("9") == SpeedSetting{9, 1}));
    EXPECT_TRUE((SpeedFromStored("33") == SpeedSetting{33, 4}));
    EXPECT_TRUE((SpeedFromStored("13") == SpeedSetting{13, 2}));   // 1.5 -> 2
    EXPECT_TRUE((SpeedFromStored("5") == SpeedSetting{5, 0}));     // 0.5 -> 0
    EXPECT_TRUE((SpeedFromStored("37") == SpeedSetting{37, 4}));   // 4.5 -> 4
    EXPECT_TRUE((SpeedFromStored("38") == SpeedSetting{17, 2}));   // item 5
    EXPECT_TRUE((SpeedFromStored("-3") == SpeedSetting{17, 2}));
    EXPECT_TRUE((SpeedFromStored("0.6") == SpeedSetting{1, 0}));
    EXPECT_TRUE((SpeedFromStored("0.4") == SpeedSetting{17, 2}));  // no step at all
    EXPECT_TRUE((SpeedFromStored("fort") == SpeedSetting{17, 2}));
    EXPECT_TRUE((SpeedFromStored("2147483647") == SpeedSetting{17, 2}));
    for (int k = 0; k < kSpeedItems; ++k)
        EXPECT_TRUE((SpeedFromStored(std::to_string(SpeedForItem(k))) ==
                 SpeedSetting{SpeedForItem(k), k}));
}

TEST(Settings, ColourFromStoredText) {
    EXPECT_EQ(ColourFromStored("0"), 32768);
    EXPECT_EQ(ColourFromStored("255"), 255);
    EXPECT_EQ(ColourFromStored("16777215"), 0xFFFFFF);
    EXPECT_EQ(ColourFromStored("16777216"), 32768);
    EXPECT_EQ(ColourFromStored("-2147483643"), 32768);  // a system colour code
    EXPECT_EQ(ColourFromStored("grön"), 32768);
}

TEST(Settings, GrowthStep) {
    EXPECT_EQ(GrowthStep(6060, 9015, 100), 30);   // 29.55
    EXPECT_EQ(GrowthStep(6765, 9015, 100), 22);   // 22.5 -> 22
    EXPECT_EQ(GrowthStep(6615, 9015, 100), 24);
    EXPECT_EQ(GrowthStep(9500, 9015, 100), -5);   // 4.85 down
    EXPECT_EQ(GrowthStep(0, 9015, 0), 9015);      // no steps: one
}

TEST(Settings, HelpTextIsFourLines) {
    const std::string help = HelpText();
    EXPECT_EQ(help, std::string("Hjälpfil saknas\t\r\n\t\r\n"
                               "Om någon känner sig manad så tar\t\r\n"
                               "jag gärna emot en hjälp fil ;)\t\r\n"));
    EXPECT_EQ(DisplayText(help), std::string("Hjälpfil saknas\n\n"
                                            "Om någon känner sig manad så tar\n"
                                            "jag gärna emot en hjälp fil ;)\n"));
}

TEST(Settings, DisplayKeepsTheLines) {
    EXPECT_EQ(DisplayText("a\r\nb"), std::string("a\nb"));
    EXPECT_EQ(DisplayText("a\rb\nc"), std::string("a\nb\nc"));
    EXPECT_EQ(DisplayText("a\t\tb\t"), std::string("a\t\tb"));  // inner tabs stay
    EXPECT_EQ(DisplayText("WOW!!  1\r\n\r\nVill du?"), std::string("WOW!!  1\n\nVill du?"));
    EXPECT_EQ(DisplayText(""), std::string());
    EXPECT_EQ(DisplayText("\t\r\n"), std::string("\n"));
    const std::string about = AboutText();
    EXPECT_TRUE(DisplayText(about).starts_with(std::string(16, ' ') + "Karvelo " + KARVELO_VERSION + "\n\n"));
}

}  // namespace
}  // namespace karvelo
