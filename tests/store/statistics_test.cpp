// The statistics record over the platform's registry.
#include "statistics.h"

#include <gtest/gtest.h>

#include <limits>

#include "regapi.h"
#include "store_test_support.h"

namespace karvelo::test {
namespace {

using RegAPI::HKEY_CURRENT_USER;

class Statistics : public StoreTest {
protected:
    static std::vector<std::string> Stored(const std::string& key, int count) {
        std::vector<std::string> values;
        for (int i = 1; i <= count; ++i) values.push_back(Read(key, "Stat " + std::to_string(i)));
        return values;
    }
    static void Store(const std::string& key, const std::vector<int32_t>& values) {
        for (size_t i = 0; i < values.size(); ++i)
            RegAPI::SetNewValue(HKEY_CURRENT_USER, key, "Binary", "Stat " + std::to_string(i + 1),
                                std::to_string(values[i]));
    }
    using Strings = std::vector<std::string>;
};

TEST_F(Statistics, FirstGameWonWithNothingStored) {
    RecordGameResult(true);
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"1", "1", "1", "0", "1", "0", "1", "0"}));
    EXPECT_EQ(StatCounters(9), 1);
    EXPECT_EQ(StatCounters(10), 1);
    EXPECT_EQ(StatCounters(13), 1);
    EXPECT_EQ(StatCounters(14), 0);
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(GetRaw(kCurrent, "Stat 1", &type, &bytes));
    EXPECT_EQ(type, RegAPI::kRegBinary);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(Statistics, ThreeLossesThenAWin) {
    std::vector<int32_t> lossRuns;
    for (int game = 0; game < 3; ++game) {
        RecordGameResult(false);
        lossRuns.push_back(StatCounters(8));
    }
    EXPECT_EQ(lossRuns, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(StatCounters(14), 3);
    EXPECT_EQ(StatCounters(6), 3);
    RecordGameResult(true);
    EXPECT_EQ(StatCounters(8), 0);
    EXPECT_EQ(StatCounters(7), 1);
    EXPECT_EQ(StatCounters(4), 3);
    EXPECT_EQ(StatCounters(14), 0);
    EXPECT_EQ(StatCounters(13), 1);
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"4", "1", "1", "3", "1", "3", "1", "0"}));
    EXPECT_EQ(StatCounters(9), 4);
    EXPECT_EQ(StatCounters(10), 1);
}

TEST_F(Statistics, StoredRecordWinsOverStaleCounters) {
    // Another copy of the game (or an earlier run) wrote the record: it is the base.
    Store(kCurrent, {10, 4, 2, 5, 0, 0, 0, 5});
    StatCounters(1) = 99;
    RecordGameResult(false);
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"11", "4", "2", "6", "0", "1", "0", "6"}));
}

TEST_F(Statistics, RecordingReadsThenYieldsThenWritesEachValueWithAYield) {
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);  // as start-up does
    std::vector<std::string> log;
    LoggingBackend logging(&log);
    RegAPI::SetBackend(&logging);
    host.log = &log;
    RecordGameResult(true);

    std::vector<std::string> expected;
    for (int i = 1; i <= 8; ++i) expected.push_back("read Statistik/Stat " + std::to_string(i));
    expected.push_back("yield");
    // The whole new record as one value first, then value by value.
    expected.push_back("create Journal");
    ASSERT_GT(log.size(), expected.size());
    EXPECT_EQ(log[expected.size()].rfind("write Journal/Entry=", 0), 0u);
    expected.push_back(log[expected.size()]);
    const char* bytes[] = {"01", "01", "01", "00", "01", "00", "01", "00"};
    for (int i = 1; i <= 8; ++i) {
        expected.push_back("create Statistik");
        expected.push_back("write Statistik/Stat " + std::to_string(i) + "=" + bytes[i - 1] +
                           " 00 00 00");
        expected.push_back("yield");
    }
    EXPECT_EQ(log, expected);
}

TEST_F(Statistics, MergeAddsSumsAndKeepsMaximaInItsOrder) {
    Store(kCurrent, {10, 4, 2, 5, 1, 3, 1, 0});
    Store(kTotal, {7, 3, 4, 1, 0, 6});
    std::vector<std::string> log;
    LoggingBackend logging(&log);
    RegAPI::SetBackend(&logging);
    host.log = &log;
    MergeTotalStatistics();
    RegAPI::SetBackend(nullptr);

    EXPECT_EQ(Stored(kTotal, 6), (Strings{"17", "7", "4", "5", "1", "6"}));
    EXPECT_EQ(Read(kTotal, "Stat 7"), "0");  // current runs are not carried over
    // Everything is read before anything is written, so that the whole merge can go
    // into the journal first.
    ASSERT_EQ(log.size(), 2u + 8u * 2u + 6u * 2u + 2u + 6u * 3u);
    EXPECT_EQ(log[0], "create StatistikTotal");
    EXPECT_EQ(log[1], "yield");
    EXPECT_EQ(std::vector<std::string>(log.begin() + 2, log.begin() + 4),
              (Strings{"read Statistik/Stat 1", "yield"}));
    EXPECT_EQ(std::vector<std::string>(log.begin() + 18, log.begin() + 20),
              (Strings{"read StatistikTotal/Stat 1", "yield"}));
    EXPECT_EQ(log[30], "create Journal");
    EXPECT_EQ(log[31].rfind("write Journal/Entry=", 0), 0u);
    EXPECT_EQ(std::vector<std::string>(log.begin() + 32, log.begin() + 35),
              (Strings{"create StatistikTotal", "write StatistikTotal/Stat 1=11 00 00 00", "yield"}));

    // A second merge of the same record adds it again: merging is the clearing's job.
    // Clearing twice, though, adds zeros and changes nothing.
    ClearCurrentStatistics();
    const auto afterFirst = Stored(kTotal, 6);
    ClearCurrentStatistics();
    EXPECT_EQ(Stored(kTotal, 6), afterFirst);
    EXPECT_EQ(host.Texts(), Strings{"Could not open key_DeleteRegKey"});
}

TEST_F(Statistics, ClearingFoldsIntoTheTotalAndStartsAfresh) {
    for (bool won : {true, true, false, true, true, true, false, false})
        RecordGameResult(won);
    const auto fullBefore = CombinedRecord();
    EXPECT_EQ(fullBefore[1], 8);
    EXPECT_EQ(fullBefore[2], 5);
    EXPECT_EQ(fullBefore[3], 3);
    EXPECT_EQ(fullBefore[4], 2);
    EXPECT_EQ(Stored(kTotal, 6), (Strings{"0", "0", "0", "0", "0", "0"}));  // view only

    ClearCurrentStatistics();
    EXPECT_FALSE(KeyExists(kCurrent));
    for (int i = 0; i <= 14; ++i) EXPECT_EQ(StatCounters(i), 0) << i;
    EXPECT_EQ(CombinedRecord(), fullBefore);  // the full view does not change
    EXPECT_TRUE(host.boxes.empty());

    // A run that spans the clearing is not joined; the total keeps its maxima.
    RecordGameResult(false);
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"1", "0", "0", "1", "0", "1", "0", "1"}));
    const auto full = CombinedRecord();
    EXPECT_EQ(full[1], 9);
    EXPECT_EQ(full[4], 2);
    EXPECT_EQ(full[6], 2);
}

TEST_F(Statistics, CombinedRecordReadsTotalThenCurrent) {
    Store(kCurrent, {3, 1, 1, 2, 1, 2});
    std::vector<std::string> log;
    LoggingBackend logging(&log);
    RegAPI::SetBackend(&logging);
    host.log = &log;
    const auto record = CombinedRecord();
    EXPECT_EQ(record, (std::array<int32_t, 7>{0, 3, 1, 1, 2, 1, 2}));
    ASSERT_EQ(log.size(), 2u + 6u * 4u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 6),
              (Strings{"create StatistikTotal", "yield", "read StatistikTotal/Stat 1", "yield",
                       "read Statistik/Stat 1", "yield"}));
    RegAPI::SetBackend(nullptr);
    EXPECT_TRUE(KeyExists(kTotal));
}

TEST_F(Statistics, ClearingTheTotal) {
    Store(kTotal, {5, 2, 1, 1, 1, 1});
    ClearTotalStatistics();
    EXPECT_FALSE(KeyExists(kTotal));
    EXPECT_TRUE(host.boxes.empty());
    ClearTotalStatistics();
    EXPECT_EQ(host.Texts(), Strings{"Could not open key_DeleteRegKey"});
}

TEST_F(Statistics, LoadingForDisplayTouchesOnlyTheStoredCounters) {
    Store(kCurrent, {6, 3, 2, 1, 2, 1, 0, 1});
    StatCounters(9) = 4;
    StatCounters(13) = 2;
    LoadStoredCounters();
    EXPECT_EQ(StatCounters(1), 6);
    EXPECT_EQ(StatCounters(8), 1);
    EXPECT_EQ(StatCounters(9), 4);
    EXPECT_EQ(StatCounters(13), 2);
    EXPECT_EQ(host.yields, 8);
}

TEST_F(Statistics, CountersStopAtTheEndOfTheirRange) {
    const int32_t max = std::numeric_limits<int32_t>::max();
    Store(kCurrent, {max, max, max, 0, 0, 0, max, 0});
    StatCounters(9) = max;
    StatCounters(10) = max;
    StatCounters(13) = max;
    RecordGameResult(true);
    EXPECT_EQ(Stored(kCurrent, 3), (Strings{"2147483647", "2147483647", "2147483647"}));
    EXPECT_EQ(Read(kCurrent, "Stat 7"), "2147483647");
    EXPECT_EQ(StatCounters(9), max);

    Store(kTotal, {max, max, 0, 0, 0, 0});
    const auto full = CombinedRecord();
    EXPECT_EQ(full[1], max);
    MergeTotalStatistics();
    EXPECT_EQ(Read(kTotal, "Stat 1"), "2147483647");
    EXPECT_TRUE(host.boxes.empty());
}

// Hands every operation to the real store, series included; the faulty stores below
// change one each.
using PassThroughBackend = RegAPI::ForwardingBackend;

// Fails every write below the total key.
class TotalUnwritable final : public PassThroughBackend {
public:
    RegAPI::Status CreateKey(RegAPI::RootKey r, const std::string& k, uint32_t a,
                             RegAPI::KeyHandle* h) override {
        total_ = k.ends_with("StatistikTotal");
        return PassThroughBackend::CreateKey(r, k, a, h);
    }
    RegAPI::Status SetValue(RegAPI::KeyHandle h, const std::string& n, uint32_t t,
                            const uint8_t* d, uint32_t s) override {
        if (total_) return RegAPI::kAccessDenied;
        return PassThroughBackend::SetValue(h, n, t, d, s);
    }

private:
    bool total_ = false;
};

TEST_F(Statistics, ClearingKeepsTheRecordWhenTheTotalCannotBeWritten) {
    RecordGameResult(true);
    RecordGameResult(false);
    TotalUnwritable failing;
    RegAPI::SetBackend(&failing);
    ClearCurrentStatistics();
    RegAPI::SetBackend(nullptr);
    // One message for the clearing, not one for each value it could not write.
    EXPECT_EQ(host.Texts(), Strings{"Could not set value"});
    EXPECT_EQ(Stored(kCurrent, 2), (Strings{"2", "1"}));  // not lost
    // Nothing was cleared, so the counters shown stay as they were.
    EXPECT_EQ(StatCounters(1), 2);
    EXPECT_EQ(StatCounters(9), 2);
}

// Reads below the total key fail as a busy or failing store does.
class TotalUnreadable final : public PassThroughBackend {
public:
    RegAPI::Status OpenKey(RegAPI::RootKey r, const std::string& k, uint32_t a,
                           RegAPI::KeyHandle* h) override {
        if (k.ends_with("StatistikTotal") && a == RegAPI::kKeyQueryValue) return RegAPI::kIoFailed;
        return PassThroughBackend::OpenKey(r, k, a, h);
    }
};

// An unreadable total must not be overwritten with the current games alone, and the
// current record must then stay to be merged by a later clearing.
TEST_F(Statistics, ClearingKeepsBothRecordsWhenTheTotalCannotBeRead) {
    Store(kTotal, {10, 4, 3, 2, 1, 1});
    RecordGameResult(true);
    RecordGameResult(false);
    TotalUnreadable failing;
    RegAPI::SetBackend(&failing);
    ClearCurrentStatistics();
    RegAPI::SetBackend(nullptr);
    EXPECT_EQ(host.Texts(), Strings{"Could not set value"});
    EXPECT_EQ(Stored(kTotal, 6), (Strings{"10", "4", "3", "2", "1", "1"}));
    EXPECT_EQ(Stored(kCurrent, 2), (Strings{"2", "1"}));

    host.boxes.clear();
    ClearCurrentStatistics();  // readable again: merged and cleared as usual
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(Stored(kTotal, 2), (Strings{"12", "5"}));
}

// Refuses every write, as a full disk or a store another program holds does.
class Unwritable final : public PassThroughBackend {
public:
    RegAPI::Status SetValue(RegAPI::KeyHandle, const std::string&, uint32_t, const uint8_t*,
                            uint32_t) override {
        return RegAPI::kIoFailed;
    }
};

// A game the store does not take is not counted in the series either, and the series
// never counts more than the stored record holds; otherwise its longest run is stored
// beyond the record's own at the next good update.
TEST_F(Statistics, TheSeriesNeverRunsAheadOfTheStoredRecord) {
    for (int game = 0; game < 3; ++game) RecordGameResult(false);
    const StatCounterArray before = StatCounters;
    Unwritable full;
    RegAPI::SetBackend(&full);
    RecordGameResult(false);
    RegAPI::SetBackend(nullptr);
    EXPECT_EQ(host.Texts(), Strings{"Could not set value"});  // one for the game
    for (int i = 1; i <= 14; ++i) EXPECT_EQ(StatCounters(i), before(i)) << i;
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"3", "0", "0", "3", "0", "3", "0", "3"}));

    RecordGameResult(false);
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"4", "0", "0", "4", "0", "4", "0", "4"}));
    EXPECT_EQ(StatCounters(14), 4);
    EXPECT_EQ(StatCounters(9), 4);

    // Another copy of the game clears the record: this copy's series starts afresh
    // with the record instead of carrying its four losses into it.
    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, kCurrent);
    RecordGameResult(false);
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"1", "0", "0", "1", "0", "1", "0", "1"}));
    EXPECT_EQ(StatCounters(14), 1);
    EXPECT_EQ(StatCounters(9), 1);
    EXPECT_EQ(host.Texts(), Strings{"Could not set value"});
}

// A record that an earlier fault left contradicting itself (more won than played, a
// current or series run beyond the longest) is made consistent by the next game.
TEST_F(Statistics, AContradictoryRecordIsMendedByTheNextGame) {
    Store(kCurrent, {2, 5, 1, 2, 1, 4, 0, 3});
    RecordGameResult(false);
    EXPECT_EQ(Stored(kCurrent, 8), (Strings{"6", "5", "1", "4", "1", "4", "0", "4"}));
    EXPECT_TRUE(host.boxes.empty());
}

// A missing record is a record of zeros, not an unreadable one: the first game is
// written as usual.
TEST_F(Statistics, AMissingRecordIsNotAnUnreadableOne) {
    RegAPI::DeleteRegKey(RegAPI::HKEY_CURRENT_USER, kCurrent);
    host.boxes.clear();
    RecordGameResult(true);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(Stored(kCurrent, 2), (Strings{"1", "1"}));
}

}  // namespace
}  // namespace karvelo::test
