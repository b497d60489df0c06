// The statistics window as far as it is not drawing: its two views, the clearing from
// the window and the clearing of the total, over the platform's registry.
#include "frm_statistik.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "statistics.h"
#include "store_test_support.h"

namespace karvelo::test {
namespace {

namespace W = statistics_window;

class FrmStatistikTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        RegAPI::CreateNewKey(RegAPI::HKEY_CURRENT_USER, kCurrent);  // as start-up does
        for (bool won : {true, false, true, true, false, false, false, true, true})
            RecordGameResult(won);
        host.boxes.clear();
    }
    static std::string Stored(const std::string& key, int i) {
        return Read(key, "Stat " + std::to_string(i));
    }
    static size_t Occurrences(const std::string& text, const std::string& piece) {
        size_t n = 0;
        for (size_t at = 0; (at = text.find(piece, at)) != std::string::npos; ++at) ++n;
        return n;
    }
    NumberFormat format;
};

TEST_F(FrmStatistikTest, EachViewHasItsCaptionButtonAndText) {
    session.emplace();  // a new sitting over the stored record
    const auto normal = PrepareNormalView(format);
    EXPECT_EQ(normal->Caption(), "Statistik - Karvelo");
    EXPECT_TRUE(normal->ClearButtonVisible());
    EXPECT_EQ(normal->Text().rfind("Denna omg\xC3\xA5ng:\r\n", 0), 0u);
    EXPECT_NE(normal->Text().find("Spelade: \t\t9\t"), std::string::npos)
        << "the stored record is loaded before it is shown";
    EXPECT_EQ(StatCounters(kSeriesPlayed), 0) << "looking does not touch the series";

    const auto full = PrepareFullView(format);
    EXPECT_EQ(full->Caption(), "Den hemliga fullst\xC3\xA4ndiga statistiken - Karvelo");
    EXPECT_FALSE(full->ClearButtonVisible());
    EXPECT_EQ(full->Text().rfind("\r\nTotalt:\r\n", 0), 0u);
    EXPECT_FALSE(full->Closed());
    full->cmdClose_Click();
    EXPECT_TRUE(full->Closed());
}

TEST_F(FrmStatistikTest, ClearingFromTheWindowKeepsTheFullViewWhole) {
    const std::string fullBefore = PrepareFullView(format)->Text();
    const auto window = PrepareNormalView(format);

    host.answers = {Answer::Yes};
    window->cmdRensaReg_Click();
    ASSERT_EQ(host.boxes.size(), 1u);
    const Box& question = host.boxes[0];
    EXPECT_EQ(question.text, W::kClearQuestion);
    EXPECT_EQ(question.buttons, Buttons::YesNo);
    EXPECT_EQ(question.icon, Icon::Exclamation);
    EXPECT_EQ(question.defaultButton, DefaultButton::Second);
    EXPECT_EQ(question.title, "Karvelo");

    // The window stays and shows zeros; the full view has not changed.
    EXPECT_FALSE(window->Closed());
    EXPECT_EQ(Occurrences(window->Text(), "Vunna: \t\t0\t0%\t"), 2u);
    EXPECT_EQ(window->Text().find("Spelade: \t\t9"), std::string::npos);
    EXPECT_EQ(Stored(kCurrent, 1), "0");
    EXPECT_EQ(PrepareFullView(format)->Text(), fullBefore);

    // Again, without a game in between: the record is already gone.
    host.boxes.clear();
    host.answers = {Answer::Yes};
    window->cmdRensaReg_Click();
    EXPECT_EQ(host.Texts(), (std::vector<std::string>{W::kClearQuestion,
                                                      "Could not open key_DeleteRegKey"}));
    EXPECT_EQ(PrepareFullView(format)->Text(), fullBefore);
}

TEST_F(FrmStatistikTest, NoAnswersChangeNothing) {
    MergeTotalStatistics();  // some total to keep
    host.boxes.clear();
    const auto window = PrepareNormalView(format);
    const std::string shown = window->Text();
    const std::string current = Stored(kCurrent, 1), total = Stored(kTotal, 1);

    host.answers = {Answer::No};
    window->cmdRensaReg_Click();
    EXPECT_EQ(window->Text(), shown);
    host.answers = {Answer::No};
    AskClearTotalStatistics();
    EXPECT_EQ(host.Texts(), (std::vector<std::string>{W::kClearQuestion, "Rensa?"}));
    EXPECT_EQ(Stored(kCurrent, 1), current);
    EXPECT_EQ(Stored(kTotal, 1), total);

    // The default answer is No as well.
    host.boxes.clear();
    AskClearTotalStatistics();
    EXPECT_EQ(Stored(kTotal, 1), total);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].defaultButton, DefaultButton::Second);
    EXPECT_EQ(host.boxes[0].icon, Icon::Exclamation);

    host.answers = {Answer::Yes};
    AskClearTotalStatistics();
    EXPECT_EQ(Stored(kTotal, 1), "0");
    EXPECT_EQ(Stored(kCurrent, 1), current);
}

TEST_F(FrmStatistikTest, PercentagesFollowTheUsersNumberFormat) {
    format.decimalPoint = ",";
    const auto window = PrepareNormalView(format);
    EXPECT_NE(window->Text().find("Vunna: \t\t5\t55,6%\t"), std::string::npos) << window->Text();
}

}  // namespace
}  // namespace karvelo::test
