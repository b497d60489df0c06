// Another program holding the store: the game waits once, tells the player once, and
// writes every game it could not write as soon as the store is free, in order and once.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "regapi.h"
#include "registry_db.h"
#include "sqlite_integrity.h"
#include "statistics.h"
#include "store_holders.h"
#include "store_test_support.h"

namespace karvelo::test {
namespace {

using RegAPI::HKEY_CURRENT_USER;
using Strings = std::vector<std::string>;

class HeldStore : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        RecordGameResult(true);
        RecordGameResult(false);
        UserRegistry().SetPatience({300, 20, 1 << 30});
    }
    static Strings Record() {
        Strings values;
        for (int i = 1; i <= 8; ++i) values.push_back(Read(kCurrent, "Stat " + std::to_string(i)));
        return values;
    }
    // The one message of the sitting about a held store.
    size_t HeldMessages() const {
        size_t n = 0;
        for (const auto& text : host.Texts())
            if (text.starts_with("Another program is holding the store")) ++n;
        return n;
    }
};

TEST_F(HeldStore, GamesHeldBackAreWrittenInOrderOnceTheStoreIsFree) {
    for (const char* mode : {"EXCLUSIVE", "IMMEDIATE"}) {
        SCOPED_TRACE(mode);
        const Strings before = Record();
        const int32_t seriesBefore = StatCounters(kSeriesPlayed);
        {
            Holder other(UserRegistryFile(), mode);
            ASSERT_TRUE(other.holding());
            RecordGameResult(true);
            EXPECT_TRUE(UserRegistry().WaitsAreShort());  // after one long wait
            RecordGameResult(false);
            RecordGameResult(false);
            EXPECT_EQ(HeldGames(), 3u);
            EXPECT_EQ(StatCounters(kSeriesPlayed), seriesBefore);  // not counted ahead of the store
        }
        EXPECT_EQ(Record(), before);
        RecordGameResult(true);  // free again: the three held back, then this one
        EXPECT_EQ(HeldGames(), 0u);
        const int played = std::stoi(before[0]) + 4;
        // Win, loss, loss, win in this order: the loss run reached 2 and ended in a win.
        EXPECT_EQ(Record()[0], std::to_string(played));
        EXPECT_EQ(Record()[7], "0");
        EXPECT_EQ(Record()[6], "1");
        EXPECT_EQ(StatCounters(kLongestSeriesLossRun), 2);
        EXPECT_EQ(StatCounters(kSeriesPlayed), seriesBefore + 4);
        UserRegistry().WaitInFullAgain();
    }
    // Told once in the sitting, however many games waited; no other message.
    EXPECT_EQ(HeldMessages(), 1u);
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(IntegrityCheck(UserRegistryFile()), "ok");
}

TEST_F(HeldStore, LookingAtTheStatisticsWritesWhatWasHeldBackFirst) {
    {
        Holder other(UserRegistryFile());
        RecordGameResult(true);
        RecordGameResult(true);
    }
    LoadStoredCounters();
    EXPECT_EQ(HeldGames(), 0u);
    EXPECT_EQ(StatCounters(kPlayed), 4);
    EXPECT_EQ(StatCounters(kWinRun), 2);
    EXPECT_EQ(CombinedRecord()[1], 4);
}

TEST_F(HeldStore, AClearingWaitsForTheGamesBeforeIt) {
    Holder other(UserRegistryFile());
    RecordGameResult(true);
    ClearCurrentStatistics();  // cannot go before the game it would clear
    EXPECT_TRUE(host.Texts().back().starts_with("Could not set value"));
    other.Release();
    EXPECT_EQ(HeldGames(), 1u);
    EXPECT_FALSE(KeyExists(kTotal));
    ClearCurrentStatistics();
    EXPECT_EQ(HeldGames(), 0u);
    EXPECT_FALSE(KeyExists(kCurrent));
    EXPECT_EQ(Read(kTotal, "Stat 1"), "3");  // the two before and the one held back
}

TEST_F(HeldStore, TheEndOfTheProgramWaitsOnceMoreForWhatIsHeldBack) {
    Holder other(UserRegistryFile());
    RecordGameResult(false);
    ASSERT_EQ(HeldGames(), 1u);
    UserRegistry().SetPatience({5000, 20, 1 << 30});
    std::thread release([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        other.Release();
    });
    WriteHeldGamesBeforeTheEnd();
    release.join();
    EXPECT_EQ(HeldGames(), 0u);
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "3");
}

// The lock file held (as `flock -x` does) while the database itself is free: one wait,
// then the game goes on without the lock and is written.
TEST_F(HeldStore, AHeldLockFileCostsOneWaitAndNoGame) {
    LockFileHolder lock(UserRegistryFile());
    ASSERT_TRUE(lock.holding());
    for (int game = 0; game < 3; ++game) RecordGameResult(true);
    EXPECT_TRUE(UserRegistry().WaitsAreShort());
    EXPECT_EQ(HeldGames(), 0u);
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "5");
    EXPECT_EQ(HeldMessages(), 1u);
    EXPECT_EQ(host.boxes.size(), 1u);
}

}  // namespace
}  // namespace karvelo::test
