// The statistics window's text.
#include "statistics_text.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

namespace karvelo {
namespace {

const NumberFormat kEnglish{".", ","};
const NumberFormat kSwedish{",", "\xC2\xA0"};

// Counters 1 to 14 from the values given in order.
std::string Text(std::vector<int32_t> counters, int32_t count, const NumberFormat& f = kEnglish) {
    counters.resize(14, 0);
    return FormateraStatistiken(counters, count, f);
}

TEST(StatisticsText, FreshInstallationShowsZerosEverywhere) {
    const std::string expected =
        "Denna omg\xC3\xA5ng:\r\n"
        "\t          Spelade: \t\t0\t\r\n"
        "\t          Vunna: \t\t0\t0%\t\r\n"
        "\t          F\xC3\xB6rlorade: \t\t0\t\r\n"
        "\r\nNuvarande rader av:\r\n"
        "\t          Vunna: \t\t0\t\r\n"
        "\t          Vunna(omg\xC3\xA5ng): \t0\t\r\n"
        "\r\nTotalt:\r\n"
        "\t          Spelade: \t\t0\t\r\n"
        "\t          Vunna: \t\t0\t0%\t\r\n"
        "\t          F\xC3\xB6rlorade: \t\t0\t\r\n"
        "\r\nMax rader av:\r\n"
        "\t          Vunna: \t\t0\t\r\n"
        "\t          F\xC3\xB6rlorade: \t\t0\t\r\n"
        "\t          Vunna(omg\xC3\xA5ng): \t0\t\r\n"
        "\t          F\xC3\xB6rlorade(omg\xC3\xA5ng): \t0\t\r\n";
    EXPECT_EQ(Text({}, 14), expected);
}

TEST(StatisticsText, AfterOneLossTheCurrentRunsShowTheLosses) {
    // One loss: played 1, longest losing runs 1, current losing runs 1, series 1.
    const std::string text = Text({1, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 0, 0, 1}, 14);
    EXPECT_NE(text.find("Nuvarande rader av:\r\n"
                        "\t          F\xC3\xB6rlorade: \t\t1\t\r\n"
                        "\t          F\xC3\xB6rlorade(omg\xC3\xA5ng):\t1\t\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\t          F\xC3\xB6rlorade(omg\xC3\xA5ng): \t1\t\r\n"), std::string::npos);
}

TEST(StatisticsText, PercentagesFollowTheUsersDecimalFormat) {
    const std::vector<int32_t> counters{3, 2, 2, 1, 2, 1, 1, 0, 3, 2};
    const std::string english = Text(counters, 14, kEnglish);
    const std::string swedish = Text(counters, 14, kSwedish);
    EXPECT_NE(english.find("Totalt:\r\n\t          Spelade: \t\t3\t\r\n"
                           "\t          Vunna: \t\t2\t66.7%\t\r\n"
                           "\t          F\xC3\xB6rlorade: \t\t1\t\r\n"),
              std::string::npos)
        << english;
    EXPECT_NE(swedish.find("\t          Vunna: \t\t2\t66,7%\t\r\n"), std::string::npos);
    EXPECT_EQ(swedish.find("66.7"), std::string::npos);
}

TEST(StatisticsText, FullViewHasNoSeriesAndStartsWithAnEmptyLine) {
    const std::array<int32_t, 6> record{8, 5, 3, 2, 3, 2};
    const std::string text = FormateraStatistiken(record, 6, kEnglish);
    EXPECT_EQ(text.rfind("\r\nTotalt:\r\n", 0), 0u) << text;
    EXPECT_EQ(text.find("Denna"), std::string::npos);
    EXPECT_EQ(text.find("Nuvarande"), std::string::npos);
    EXPECT_NE(text.find("\t          Vunna: \t\t5\t62.5%\t\r\n"), std::string::npos);
}

TEST(StatisticsText, PercentageRoundingAndGrouping) {
    EXPECT_EQ(Percentage(1, 3, kEnglish), "33.3%");
    EXPECT_EQ(Percentage(1, 8, kEnglish), "12.5%");
    EXPECT_EQ(Percentage(1, 16, kEnglish), "6.3%");  // 6.25 away from zero
    EXPECT_EQ(Percentage(3, 3, kEnglish), "100.0%");
    EXPECT_EQ(Percentage(1, 2000, kEnglish), "0.1%");
    EXPECT_EQ(Percentage(1, 3000, kEnglish), "0.0%");
    EXPECT_EQ(Percentage(0, 0, kEnglish), "0%");
}

TEST(StatisticsText, ImpossibleCountersNeverDivideByZeroOrOverflow) {
    const int32_t max = std::numeric_limits<int32_t>::max();
    const int32_t min = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(Percentage(5, 2, kEnglish), "250.0%");
    EXPECT_EQ(Percentage(3, 0, kEnglish), "0%");
    EXPECT_EQ(Percentage(-1, 3, kEnglish), "-33.3%");
    EXPECT_EQ(Percentage(-1, -4, kEnglish), "25.0%");
    EXPECT_EQ(Percentage(-1, 3000, kEnglish), "0.0%");
    EXPECT_EQ(Percentage(max, 1, kEnglish), "214,748,364,700.0%");
    EXPECT_EQ(Percentage(min, -1, kSwedish), "214\xC2\xA0" "748\xC2\xA0" "364\xC2\xA0" "800,0%");

    for (const std::vector<int32_t>& counters :
         {std::vector<int32_t>{0, 5}, {min, max, min, max, min, max, min, max, min, max},
          {max, min, 0, 0, 0, 0, 0, 0, max, min, 0, 0, max, min}, {-3, -7}}) {
        const std::string text = Text(counters, 14);
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
    }
    // Played max, won min: lost is their difference, beyond 32 bits, shown exactly.
    EXPECT_NE(Text({max, min}, 14).find("\t4294967295\t"), std::string::npos);
}

TEST(StatisticsText, EntriesMissingFromTheArrayReadAsZero) {
    const std::array<int32_t, 2> shortRecord{4, 1};
    const std::string text = FormateraStatistiken(shortRecord, 14, kEnglish);
    EXPECT_NE(text.find("Spelade: \t\t4\t"), std::string::npos);
    EXPECT_NE(text.find("Vunna(omg\xC3\xA5ng): \t0\t"), std::string::npos);
    EXPECT_EQ(FormateraStatistiken({}, -5, kEnglish).rfind("\r\nTotalt:", 0), 0u);
}

}  // namespace
}  // namespace karvelo
