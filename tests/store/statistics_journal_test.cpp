// A game's update and a clearing cut short between any two of their writes, on a store
// that keeps each write on its own as the Windows registry does: the next start
// completes the change from the journal, once, and a journal that is damaged or no
// longer fits the record is never applied.
#include "statistics_journal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "reg_backend.h"
#include "regapi.h"
#include "statistics.h"
#include "store_test_support.h"

#ifndef _WIN32
#include "registry_db.h"
#endif

namespace karvelo::test {
namespace {

using RegAPI::HKEY_CURRENT_USER;
using RegAPI::KeyHandle;
using RegAPI::Status;
using Values = std::vector<int32_t>;

const std::string kJournal = kApp + "\\Journal";

// The platform's store without series (every write kept on its own, nothing taken
// back), which dies after a given number of writes: from then on nothing more reaches
// the store, as when the program is killed.
class DyingBackend final : public RegAPI::ForwardingBackend {
public:
    explicit DyingBackend(int writesBeforeDeath) : left_(writesBeforeDeath) {}
    bool died() const { return died_; }

    Status CreateKey(RegAPI::RootKey root, const std::string& subKey, uint32_t access,
                     KeyHandle* key) override {
        // Making a key is not counted: an empty key changes no record.
        if (!died_) return to().CreateKey(root, subKey, access, key);
        if (to().OpenKey(root, subKey, access, key) != RegAPI::kSuccess) *key = kDead;
        return RegAPI::kSuccess;
    }
    Status SetValue(KeyHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                    uint32_t size) override {
        if (key == kDead || !Write()) return RegAPI::kSuccess;
        return to().SetValue(key, name, type, data, size);
    }
    Status DeleteKey(RegAPI::RootKey root, const std::string& subKey) override {
        if (!Write()) return RegAPI::kSuccess;
        return to().DeleteKey(root, subKey);
    }
    Status DeleteValue(KeyHandle key, const std::string& name) override {
        if (key == kDead || !Write()) return RegAPI::kSuccess;
        return to().DeleteValue(key, name);
    }
    Status CloseKey(KeyHandle key) override {
        return key == kDead ? RegAPI::kSuccess : to().CloseKey(key);
    }
    void BeginSeries() override {}
    Status EndSeries() override { return RegAPI::kSuccess; }
    bool UndoSeries() override { return false; }

private:
    static constexpr KeyHandle kDead = 0;
    bool Write() {
        if (left_ == 0) died_ = true;
        if (died_) return false;
        --left_;
        return true;
    }
    int left_;
    bool died_ = false;
};

class StatisticsJournal : public StoreTest {
protected:
    static Values Stored(const std::string& key, int count) {
        Values values;
        for (int i = 1; i <= count; ++i)
            values.push_back(RegAPI::TextToInt32(Read(key, "Stat " + std::to_string(i))));
        return values;
    }
    static void Store(const std::string& key, const Values& values) {
        for (size_t i = 0; i < values.size(); ++i)
            RegAPI::SetNewValue(HKEY_CURRENT_USER, key, "Binary", "Stat " + std::to_string(i + 1),
                                std::to_string(values[i]));
    }
    static bool JournalLeft() {
        uint32_t type = 0;
        std::string bytes;
        return GetRaw(kJournal, "Entry", &type, &bytes);
    }
    // The program ends (killed) and starts again: nothing of the run is left in memory,
    // and the start completes what the journal holds.
    void Restart() {
        host.boxes.clear();  // a killed program shows nothing more
        session.reset();     // nothing of the sitting is left
        session.emplace();
        CompleteInterruptedStatistics();
    }

    // Runs `change` dying after 0, 1, 2... writes until it runs to its end; after each
    // death and restart, `check` gets the number of writes that got through.
    template <typename Change, typename Check>
    void KillAtEveryWrite(const Values& current, const Values& total, Change change,
                          Check check) {
        for (int writes = 0;; ++writes) {
            SCOPED_TRACE("killed after " + std::to_string(writes) + " writes");
            SetUp();
            Store(kCurrent, current);
            if (!total.empty()) Store(kTotal, total);
            DyingBackend dying(writes);
            RegAPI::SetBackend(&dying);
            change();
            Restart();
            check(writes);
            EXPECT_FALSE(JournalLeft());
            EXPECT_EQ(host.Texts(), std::vector<std::string>{});
            const bool finished = !dying.died();
            TearDown();
            if (finished || writes > 40) break;
        }
    }
};

TEST_F(StatisticsJournal, AGameKilledBetweenAnyTwoWritesIsWholeAfterTheNextStart) {
    const Values before = {10, 4, 3, 5, 2, 1, 0, 2};
    const Values lost = {11, 4, 3, 5, 2, 1, 0, 3};
    const Values won = {11, 5, 3, 5, 2, 1, 1, 0};
    for (const bool win : {false, true}) {
        KillAtEveryWrite(
            before, {}, [&] { RecordGameResult(win); },
            [&](int writes) {
                // Nothing written, or the journal is in: the game is then there whole.
                EXPECT_EQ(Stored(kCurrent, 8), writes == 0 ? before : (win ? won : lost));
            });
    }
}

TEST_F(StatisticsJournal, AClearingKilledBetweenAnyTwoWritesNeverCountsTwice) {
    const Values current = {10, 4, 3, 5, 2, 1, 0, 2};
    const Values total = {7, 3, 4, 1, 0, 6};
    const Values merged = {17, 7, 4, 5, 2, 6};
    KillAtEveryWrite(
        current, total, [] { ClearCurrentStatistics(); },
        [&](int writes) {
            if (writes == 0) {
                EXPECT_EQ(Stored(kCurrent, 8), current);
                EXPECT_EQ(Stored(kTotal, 6), total);
            } else {
                EXPECT_FALSE(KeyExists(kCurrent));
                EXPECT_EQ(Stored(kTotal, 6), merged);
            }
            // Starting once more changes nothing.
            Restart();
            EXPECT_EQ(Stored(kTotal, 6), writes == 0 ? total : merged);
        });
}

// Completing a clearing is itself cut short, at every write, and completed again.
TEST_F(StatisticsJournal, CompletingIsSafeToRepeatWhereverItIsCut) {
    const Values current = {10, 4, 3, 5, 2, 1, 0, 2};
    const Values total = {7, 3, 4, 1, 0, 6};
    const Values merged = {17, 7, 4, 5, 2, 6};
    for (const int first : {1, 4}) {  // the journal alone; the journal and three totals
        for (int second = 0;; ++second) {
            SCOPED_TRACE(std::to_string(first) + " then " + std::to_string(second) + " writes");
            SetUp();
            Store(kCurrent, current);
            Store(kTotal, total);
            {
                DyingBackend dying(first);
                RegAPI::SetBackend(&dying);
                ClearCurrentStatistics();
            }
            RegAPI::SetBackend(nullptr);
            DyingBackend dyingAgain(second);
            RegAPI::SetBackend(&dyingAgain);
            CompleteInterruptedStatistics();
            Restart();
            EXPECT_FALSE(KeyExists(kCurrent));
            EXPECT_EQ(Stored(kTotal, 6), merged);
            EXPECT_FALSE(JournalLeft());
            const bool finished = !dyingAgain.died();
            TearDown();
            if (finished || second > 20) break;
        }
    }
}

TEST_F(StatisticsJournal, AClearingThatCannotDeleteTheRecordPutsTheTotalBack) {
    const Values current = {10, 4, 3, 5, 2, 1, 0, 2};
    const Values total = {7, 3, 4, 1, 0, 6};
    for (const int writes : {1, 4, 7, 8, 9, 10}) {
        SCOPED_TRACE(writes);
        SetUp();
        Store(kCurrent, current);
        Store(kTotal, total);
        RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent + "\\Below");  // keeps it from going
        {
            DyingBackend dying(writes);
            RegAPI::SetBackend(&dying);
            ClearCurrentStatistics();
        }
        Restart();
        EXPECT_EQ(Stored(kCurrent, 8), current);
        EXPECT_EQ(Stored(kTotal, 6), total);
        EXPECT_FALSE(JournalLeft());
        TearDown();
    }
}

// A journal left by a killed game, with a backup of the record put back in the meantime:
// the journal does not fit the record and is dropped unapplied.
TEST_F(StatisticsJournal, AJournalThatNoLongerFitsTheRecordIsDropped) {
    Store(kCurrent, {10, 4, 3, 5, 2, 1, 0, 2});
    {
        DyingBackend dying(3);  // the journal and two values
        RegAPI::SetBackend(&dying);
        RecordGameResult(true);
    }
    RegAPI::SetBackend(nullptr);
    ASSERT_TRUE(JournalLeft());
    const Values backup = {20, 9, 4, 5, 2, 1, 1, 0};
    Store(kCurrent, backup);
    Restart();
    EXPECT_EQ(Stored(kCurrent, 8), backup);
    EXPECT_FALSE(JournalLeft());

    // The same for a clearing.
    Store(kTotal, {7, 3, 4, 1, 0, 6});
    {
        DyingBackend dying(2);
        RegAPI::SetBackend(&dying);
        ClearCurrentStatistics();
    }
    RegAPI::SetBackend(nullptr);
    ASSERT_TRUE(JournalLeft());
    Store(kTotal, {1, 1, 1, 1, 1, 1});
    Restart();
    EXPECT_EQ(Stored(kCurrent, 8), backup);
    EXPECT_EQ(Stored(kTotal, 6), (Values{1, 1, 1, 1, 1, 1}));
    EXPECT_FALSE(JournalLeft());
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(StatisticsJournal, DamagedOrForeignJournalValuesAreNeverApplied) {
    JournalEntry entry;
    entry.currentBefore = {0, 10, 4, 3, 5, 2, 1, 0, 2};
    entry.currentAfter = {0, 99, 99, 99, 99, 99, 99, 99, 99};
    const std::string good = EncodeJournal(entry);
    const Values record = {99, 4, 3, 5, 2, 1, 0, 2};  // fits the journal: would be applied
    struct Odd {
        uint32_t type;
        std::string bytes;
    };
    const std::vector<Odd> odd = {
        {RegAPI::kRegSz, good.substr(0, good.size() - 1) + '\0'},
        {RegAPI::kRegSz, good.substr(0, 20) + '\0'},
        {RegAPI::kRegSz, good + " 1" + '\0'},
        {RegAPI::kRegSz, std::string("K1 game") + '\0'},
        {RegAPI::kRegSz, std::string(70000, '7') + '\0'},
        {RegAPI::kRegSz, std::string("\xff\xfe K1 \x01", 7) + '\0'},
        {RegAPI::kRegSz, ""},
        {RegAPI::kRegBinary, "\x01\x02"},
        {RegAPI::kRegDword, std::string("\x05\x00\x00\x00", 4)},
        {RegAPI::kRegMultiSz, good + '\0' + '\0'},
    };
    for (const Odd& value : odd) {
        SCOPED_TRACE(value.bytes.substr(0, 40));
        Store(kCurrent, record);
        PutRaw(kJournal, "Entry", value.type, value.bytes);
        Restart();
        RecordGameResult(false);
        EXPECT_EQ(Stored(kCurrent, 2), (Values{100, 4}));
        Store(kCurrent, {0, 0});
    }
    EXPECT_TRUE(host.boxes.empty());
}

TEST(JournalText, ReadsBackWhatItWritesAndNothingElse) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    for (int round = 0; round < 60; ++round) {
        JournalEntry entry;
        entry.kind = static_cast<JournalEntry::Kind>(round % 3);
        for (size_t i = 1; i < 9; ++i) {
            entry.currentBefore[i] = any(random);
            if (entry.kind == JournalEntry::Kind::Game) entry.currentAfter[i] = any(random);
        }
        if (entry.kind != JournalEntry::Kind::Game)
            for (size_t i = 1; i < 7; ++i) {
                entry.totalBefore[i] = any(random);
                entry.totalAfter[i] = any(random);
            }
        const std::string text = EncodeJournal(entry);
        ASSERT_EQ(DecodeJournal(text), entry) << text;
        // Cut anywhere, or any one character changed: refused.
        for (size_t n = 0; n < text.size(); ++n) {
            EXPECT_FALSE(DecodeJournal(text.substr(0, n))) << n;
            std::string changed = text;
            changed[n] = changed[n] == '1' ? '2' : '1';
            EXPECT_FALSE(DecodeJournal(changed)) << changed;
        }
    }
}

}  // namespace
}  // namespace karvelo::test
