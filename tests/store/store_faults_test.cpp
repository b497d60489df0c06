// The SQLite store under faults: damaged and foreign files, folders that cannot be
// created or written, a copy of the game killed in the middle of its writes, and two
// copies writing at once.
#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "regapi.h"
#include "registry_db.h"
#include "sqlite_integrity.h"
#include "store_holders.h"
#include "child_process.h"
#include "statistics.h"
#include "store_test_support.h"
#include "surroundings.h"

namespace karvelo::test {
namespace {

namespace fs = std::filesystem;
using RegAPI::HKEY_CURRENT_USER;
using Strings = std::vector<std::string>;

class StoreFaults : public StoreTest {
protected:

    static std::string File() { return UserRegistryFile(); }
    static std::string Folder() { return fs::path(File()).parent_path().string(); }

    static std::vector<fs::path> SetAsideFiles() {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(Folder()))
            if (entry.path().filename().string().starts_with("registry.db.corrupt-"))
                found.push_back(entry.path());
        return found;
    }

    static std::string Slurp(const fs::path& path) {
        std::string bytes(static_cast<size_t>(fs::file_size(path)), '\0');
        std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return bytes;
    }

    void WriteFile(const std::string& bytes) {
        fs::create_directories(Folder());
        std::ofstream(File(), std::ios::binary | std::ios::trunc) << bytes;
    }

    static std::string IntegrityCheck() { return karvelo::test::IntegrityCheck(File()); }

    // Enough values for a file of several pages, written in one transaction.
    static void StoreSomeValues(int count) {
        std::vector<RegChange> changes;
        for (int i = 0; i < count; ++i)
            changes.push_back({RegChange::Kind::SetValue, kScratch + "\\K" + std::to_string(i % 7),
                               {"v" + std::to_string(i), RegAPI::kRegSz, std::string(120, 'x') + '\0'}});
        ASSERT_EQ(UserRegistry().Apply(changes), RegAPI::kSuccess);
        CloseUserRegistry();
    }

    // The store must serve again, values written and read back, with one message at
    // its first use: what was wrong with the file and where it was kept.
    void ExpectFreshStoreWorksAfterTelling(const std::string& why) {
        host.boxes.clear();
        RegAPI::CreateNewKey(HKEY_CURRENT_USER, kApp + "\\Installningar");
        RegAPI::SetNewValue(HKEY_CURRENT_USER, kApp + "\\Installningar", "Number", "Speed", "9");
        EXPECT_EQ(Read(kApp + "\\Installningar", "Speed"), "9");
        ASSERT_EQ(host.boxes.size(), 1u);
        const std::string& told = host.boxes[0].text;
        EXPECT_NE(told.find("Could not open the store " + File() + ": " + why), std::string::npos)
            << told;
        EXPECT_NE(told.find("It was kept as " + UserRegistry().setAside() + " and a new store begun."),
                  std::string::npos)
            << told;
        EXPECT_EQ(host.boxes[0].title, "Karvelo");
        EXPECT_EQ(IntegrityCheck(), "ok");
    }
};

TEST_F(StoreFaults, GarbageAndForeignFilesAreSetAsideAndAFreshStoreBegun) {
    const std::string garbage = "This is not a database.\n" + std::string(5000, '\x5A');
    WriteFile(garbage);
    ExpectFreshStoreWorksAfterTelling("it is damaged or not a store of this game");
    auto aside = SetAsideFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(Slurp(aside[0]), garbage);  // kept as it was
    EXPECT_EQ(UserRegistry().setAside(), aside[0].string());

    // Some other program's SQLite database in our place.
    CloseUserRegistry();
    fs::remove(File());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(File().c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE notes(t TEXT); INSERT INTO notes VALUES('mine');", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    ExpectFreshStoreWorksAfterTelling("it is damaged or not a store of this game");
    EXPECT_EQ(SetAsideFiles().size(), 2u);
}

TEST_F(StoreFaults, TruncatedFilesAreSetAside) {
    for (const bool toHalf : {false, true}) {
        StoreSomeValues(300);
        const auto size = fs::file_size(File());
        ASSERT_GT(size, 8192u);
        fs::resize_file(File(), toHalf ? size / 2 : 1000);
        ExpectFreshStoreWorksAfterTelling("it is damaged");
        EXPECT_EQ(SetAsideFiles().size(), toHalf ? 2u : 1u);
        EXPECT_EQ(Read(kScratch + "\\K0", "v0"), "0");
        CloseUserRegistry();
    }
}

TEST_F(StoreFaults, DamageWhileRunningFailsOneOperationThenRecovers) {
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Number", "v", "1");
    {
        std::fstream f(File(), std::ios::binary | std::ios::in | std::ios::out);
        f.write(std::string(100, '\x11').data(), 100);
    }
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Number", "v", "2");
    EXPECT_EQ(host.Texts(), Strings{"Could not open key_SetNewValue\r\nThe store " + File() +
                                    " is damaged."});
    ExpectFreshStoreWorksAfterTelling("it is damaged");
    EXPECT_EQ(SetAsideFiles().size(), 1u);
}

// ~/.config being a file: there is nothing of ours to move, so the game says so once and
// plays on with a store in memory, instead of failing every operation.
TEST_F(StoreFaults, AStoreThatCannotBeMadeIsToldOnceAndTheGamePlaysOnInMemory) {
    std::ofstream(configDir + "/blocker") << "a file where a folder should be";
    ::setenv("XDG_CONFIG_HOME", (configDir + "/blocker").c_str(), 1);
    CloseUserRegistry();

    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kApp + "\\Installningar", "Number", "Speed", "9");
    EXPECT_EQ(Read(kApp + "\\Installningar", "Speed"), "9");
    RecordGameResult(true);
    RecordGameResult(false);
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "2");
    ClearCurrentStatistics();
    EXPECT_EQ(CombinedRecord()[1], 2);
    ASSERT_EQ(host.Texts().size(), 1u);
    EXPECT_EQ(host.Texts()[0],
              "Could not open the store " + configDir + "/blocker/karvelo/registry.db: its folder " +
                  configDir + "/blocker/karvelo cannot be made (Not a directory).\r\n"
                  "Settings and statistics are kept only until the game ends.");
    std::ifstream blocker(configDir + "/blocker");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(blocker), {}),
              "a file where a folder should be");
}

// Whatever stands where the store should be is moved aside, told once with the place
// it was moved to, and a fresh store begun that the next start uses without a word.
TEST_F(StoreFaults, WhateverStandsWhereTheStoreShouldBeIsMovedAsideOnce) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* why;
        fs::file_type kept;
    };
    const Case cases[] = {
        {"folder", [](const std::string& f) { fs::create_directories(f + "/inside"); },
         "it is a folder", fs::file_type::directory},
        {"device", [](const std::string& f) { fs::create_symlink("/dev/null", f); },
         "it is a device or other special file", fs::file_type::symlink},
        {"fifo", [](const std::string& f) { ::mkfifo(f.c_str(), 0600); },
         "it is a device or other special file", fs::file_type::fifo},
        {"dangling", [](const std::string& f) { fs::create_symlink("/nonexistent/karvelo/x.db", f); },
         "it is a symbolic link to /nonexistent/karvelo/x.db, which does not exist",
         fs::file_type::symlink},
    };
    for (const Case& c : cases) {
        ::setenv("XDG_CONFIG_HOME", (configDir + "/" + c.name).c_str(), 1);
        CloseUserRegistry();
        fs::create_directories(Folder());
        c.make(File());
        ExpectFreshStoreWorksAfterTelling(c.why);
        RecordGameResult(false);
        EXPECT_EQ(host.boxes.size(), 1u) << c.name;
        ASSERT_EQ(SetAsideFiles().size(), 1u) << c.name;
        EXPECT_EQ(fs::symlink_status(SetAsideFiles()[0]).type(), c.kept) << c.name;

        CloseUserRegistry();  // the next start
        host.boxes.clear();
        EXPECT_EQ(Read(kCurrent, "Stat 1"), "1") << c.name;
        EXPECT_EQ(Read(kApp + "\\Installningar", "Speed"), "9") << c.name;
        EXPECT_TRUE(host.boxes.empty()) << c.name;
        EXPECT_EQ(SetAsideFiles().size(), 1u) << c.name;
    }
}

// A player who may not rename in the store's folder: the folder in the store's place is
// left alone, the game says so once and plays on in memory.
TEST_F(StoreFaults, WhatCannotBeMovedIsLeftAloneAndToldOnce) {
    fs::create_directories(File() + "/inside");
    ::chmod(Folder().c_str(), 0555);  // the player may look, not rename
    const std::string report = InChild(
        [] {
            RecordingHost child;
            const funktioner::Surroundings answering({.host = &child});
            RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);
            RecordGameResult(false);
            RecordGameResult(true);
            const std::string played = RegAPI::ReadRegValue(HKEY_CURRENT_USER, kCurrent, "Stat 1");
            return played + kSeparator + Joined(child.Texts());
        },
        true);
    EXPECT_EQ(report, "2" + std::string(1, kSeparator) + "Could not open the store " + File() +
                          ": it is a folder.\r\nIt was left as it is, and settings and statistics "
                          "are kept only until the game ends." + kSeparator);
    EXPECT_TRUE(fs::is_directory(File() + "/inside"));
    EXPECT_TRUE(SetAsideFiles().empty());
}

TEST_F(StoreFaults, ReadOnlyFolderOrFileKeepsReadingAndIsToldOnce) {
    for (const bool folderReadOnly : {true, false}) {
        RegAPI::SetNewValue(HKEY_CURRENT_USER, kCurrent, "Binary", "Stat 1", "7");
        CloseUserRegistry();
        const std::string before = Slurp(File());
        ::chmod(File().c_str(), 0444);
        if (folderReadOnly) {
            ::chmod(Folder().c_str(), 0555);
        } else {
            ::chmod(Folder().c_str(), 0777);  // anyone may add a journal, not write the file
        }

        const std::string report = InChild(
            [] {
                RecordingHost child;
                const funktioner::Surroundings answering({.host = &child});
                std::string seen = RegAPI::ReadRegValue(HKEY_CURRENT_USER, kCurrent, "Stat 1");
                RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);         // exists: fine
                RegAPI::CreateNewKey(HKEY_CURRENT_USER, kTotal);           // new: fails
                RegAPI::SetNewValue(HKEY_CURRENT_USER, kCurrent, "Binary", "Stat 1", "8");
                RecordGameResult(false);
                return seen + kSeparator + Joined(child.Texts());
            },
            true);
        // One message, naming the cause, for the whole sitting: not one for each game,
        // nor for each of its values.
        const Strings expected{"7", "Could not create key___CreateNewKey\r\nThe store " +
                                        File() + " may not be written (no permission)."};
        EXPECT_EQ(report, Joined(expected)) << (folderReadOnly ? "folder" : "file");

        ::chmod(Folder().c_str(), 0700);
        ::chmod(File().c_str(), 0600);
        EXPECT_EQ(Slurp(File()), before);
        EXPECT_EQ(Read(kCurrent, "Stat 1"), "7");
        CloseUserRegistry();
    }
    EXPECT_TRUE(host.boxes.empty());
}

// The record after g games, by the program's own rules, series runs included (the
// copy that plays them runs from the first game on).
std::vector<std::array<int32_t, 9>> RecordsAfterEachGame(int games, bool (*won)(int)) {
    std::vector<std::array<int32_t, 9>> records(1);
    int32_t seriesWins = 0, seriesLosses = 0;
    for (int g = 0; g < games; ++g) {
        auto c = records.back();
        if (won(g)) {
            ++c[1], ++c[2], ++c[7], c[8] = 0, ++seriesWins, seriesLosses = 0;
            c[3] = std::max(c[3], c[7]);
            c[5] = std::max(c[5], seriesWins);
        } else {
            ++c[1], ++c[8], c[7] = 0, ++seriesLosses, seriesWins = 0;
            c[4] = std::max(c[4], c[8]);
            c[6] = std::max(c[6], seriesLosses);
        }
        records.push_back(c);
    }
    return records;
}

bool WonInDrill(int game) { return game % 5 != 1 && game % 7 != 3; }

// A copy killed anywhere in a game's update leaves the record of the games before it,
// or, once the update's last write is done, of that game too: never a part of it.
TEST_F(StoreFaults, AKilledUpdateKeepsTheGameWholeOrNotAtAll) {
    const auto records = RecordsAfterEachGame(400, WonInDrill);
    // In each game: a yield after counting, then one after each of its eight writes;
    // the update is kept when the game's series ends, after the last of them.
    for (int at = 0; at < 9; ++at) {
        const int killAfter = 9 * (3 + at) + at + 1;
        const std::string dir = configDir + "/run" + std::to_string(at);
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        CloseUserRegistry();

        int reports[2];
        ASSERT_EQ(::pipe(reports), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(reports[0]);
            RecordingHost child;
            uint32_t yield = 0;
            child.onYield = [&] {
                if (::write(reports[1], &yield, sizeof yield) != sizeof yield) ::_exit(4);
                ++yield;
            };
            const funktioner::Surroundings answering({.host = &child});
            for (int g = 0; g < 400; ++g) RecordGameResult(WonInDrill(g));
            ::_exit(0);
        }
        ::close(reports[1]);
        int64_t last = -1;
        uint32_t y = 0;
        while (last + 1 < killAfter && ::read(reports[0], &y, sizeof y) == sizeof y) last = y;
        ::kill(pid, SIGKILL);
        while (::read(reports[0], &y, sizeof y) == sizeof y) last = y;  // sent before death
        ::close(reports[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child finished before it was killed";

        EXPECT_EQ(IntegrityCheck(), "ok");
        std::array<int32_t, 9> stored{};
        for (size_t i = 1; i <= 8; ++i)
            stored[i] = RegAPI::TextToInt32(Read(kCurrent, "Stat " + std::to_string(i)));
        const auto game = static_cast<size_t>(last / 9);
        const bool lastWriteDone = last % 9 == 8;
        EXPECT_TRUE(stored == records[game] || (lastWriteDone && stored == records[game + 1]))
            << "killed after yield " << last << ": Stat 1 = " << stored[1] << ", Stat 8 = "
            << stored[8] << "; before the game " << records[game][1] << " played";
        EXPECT_TRUE(SetAsideFiles().empty());
        EXPECT_TRUE(host.boxes.empty());
        CloseUserRegistry();
        ::setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
    }
}

// Fails the fourth write it is given: a disk that fills up in the middle of an update.
class FailsFourthWrite final : public RegAPI::ForwardingBackend {
public:
    RegAPI::Status SetValue(RegAPI::KeyHandle key, const std::string& name, uint32_t type,
                            const uint8_t* data, uint32_t size) override {
        if (++writes_ == 4) return RegAPI::kIoFailed;
        return ForwardingBackend::SetValue(key, name, type, data, size);
    }

private:
    int writes_ = 0;
};

TEST_F(StoreFaults, AWriteThatFailsHalfwayLosesTheGameWholeAndNothingBefore) {
    const auto records = RecordsAfterEachGame(3, [](int g) { return g != 1; });
    auto stored = [&] {
        std::array<int32_t, 9> values{};
        for (size_t i = 1; i <= 8; ++i)
            values[i] = RegAPI::TextToInt32(Read(kCurrent, "Stat " + std::to_string(i)));
        return values;
    };
    RecordGameResult(true);
    RecordGameResult(false);
    ASSERT_EQ(stored(), records[2]);
    const StatCounterArray counters = StatCounters;
    FailsFourthWrite failing;
    RegAPI::SetBackend(&failing);
    RecordGameResult(true);
    RegAPI::SetBackend(nullptr);
    EXPECT_EQ(host.Texts(), Strings{"Could not set value"});
    EXPECT_EQ(stored(), records[2]);  // Stat 1 to 3 were written, and taken back
    for (int i = 1; i <= 14; ++i) EXPECT_EQ(StatCounters(i), counters(i)) << i;
    RecordGameResult(true);
    EXPECT_EQ(stored(), records[3]);
    EXPECT_EQ(IntegrityCheck(), "ok");
}

// A sub-key under the record (an import or a hand edit) keeps DeleteRegKey from
// removing it. Folded into the total and left in place, its games would be counted
// again by every later clearing: the merge is taken back and the player told once.
TEST_F(StoreFaults, ARecordThatCannotBeRemovedUndoesTheClearing) {
    RecordGameResult(false);
    RecordGameResult(false);
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent + "\\Extra");
    const auto full = CombinedRecord();
    for (int clearing = 0; clearing < 3; ++clearing) {
        host.boxes.clear();
        ClearCurrentStatistics();
        EXPECT_EQ(host.Texts(), Strings{"Could not delete key\r\nKey =  " + kCurrent});
        EXPECT_EQ(CombinedRecord(), full);
        EXPECT_EQ(Read(kTotal, "Stat 1"), "0");
        EXPECT_EQ(StatCounters(1), 2);  // nothing was cleared
    }
    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, kCurrent + "\\Extra");
    host.boxes.clear();
    ClearCurrentStatistics();
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(CombinedRecord(), full);
    EXPECT_EQ(Read(kTotal, "Stat 1"), "2");
    EXPECT_FALSE(KeyExists(kCurrent));

    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kTotal + "\\Extra");
    ClearTotalStatistics();
    EXPECT_EQ(host.Texts(), Strings{"Could not delete key\r\nKey =  " + kTotal});
    EXPECT_EQ(Read(kTotal, "Stat 1"), "2");
}

// A store written before keys were kept by their parent: converted on opening, with
// every key, value and name as written, and the room the whole paths took given back.
TEST_F(StoreFaults, AStoreOfTheFirstVersionIsConverted) {
    fs::create_directories(Folder());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(File().c_str(), &db), SQLITE_OK);
    std::string sql =
        "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, path TEXT NOT NULL,"
        " fold TEXT NOT NULL UNIQUE);"
        "CREATE TABLE vals(key_id INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
        " name TEXT NOT NULL, fold TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL,"
        " UNIQUE(key_id, fold));"
        "INSERT INTO keys(path, fold) VALUES('', '');"
        "PRAGMA application_id = 1263687244; PRAGMA user_version = 1;";
    std::string path, fold;
    for (const char* part : {"Software", "VB and VBA Program Settings", "Karvelo", "Statistik"}) {
        path += (path.empty() ? "" : "\\") + std::string(part);
        fold = path;
        for (char& ch : fold) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        sql += "INSERT INTO keys(path, fold) VALUES('" + path + "', '" + fold + "');";
    }
    sql += "INSERT INTO vals VALUES((SELECT id FROM keys WHERE fold = '" + fold +
           "'), 'Stat 1', 'STAT 1', 3, x'07000000');";
    std::string deep = "Deep";
    sql += "INSERT INTO keys(path, fold) VALUES('Deep', 'DEEP');";
    for (int level = 0; level < 300; ++level) {
        deep += "\\" + std::string(60, 'k');
        std::string upper = deep;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        sql += "INSERT INTO keys(path, fold) VALUES('" + deep + "', '" + upper + "');";
    }
    sql += "INSERT INTO vals VALUES((SELECT max(id) FROM keys), 'V', 'V', 1, x'6100');";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const auto sizeBefore = fs::file_size(File());
    ASSERT_GT(sizeBefore, 5'000'000u);

    EXPECT_EQ(Read(kCurrent, "Stat 1"), "7");
    EXPECT_EQ(Read(deep, "v"), "a");
    RecordGameResult(true);
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "8");
    CloseUserRegistry();
    EXPECT_LT(fs::file_size(File()), 200'000u);
    EXPECT_EQ(IntegrityCheck(), "ok");
    std::vector<RegKey> keys;
    ASSERT_EQ(UserRegistry().ReadAll(&keys), RegAPI::kSuccess);
    ASSERT_EQ(keys.size(), 1u + 4u + 301u + 1u);
    EXPECT_EQ(keys[301].path, deep);  // root, Deep and its 300 levels, then Software...
    EXPECT_EQ(keys[305].path, kApp + "\\Journal");  // left empty after the game
    EXPECT_EQ(keys[306].path, kCurrent);
    EXPECT_TRUE(host.boxes.empty());
}

// The store keeps the registry's limits, and within them grows with the number of keys
// and the length of their names, not with the depth of their paths.
TEST_F(StoreFaults, DeepKeysAndLongNamesWithinTheRegistrysLimits) {
    std::string deep = kScratch;
    for (int level = 3; level <= 512; ++level) deep += "\\" + std::string(100, 'd');
    RegAPI::SetNewValue(HKEY_CURRENT_USER, deep, "String", std::string(16383, 'n'), "at the bottom");
    EXPECT_EQ(Read(deep, std::string(16383, 'N')), "at the bottom");
    EXPECT_TRUE(host.boxes.empty());
    CloseUserRegistry();
    EXPECT_LT(fs::file_size(File()), 1'000'000u);  // whole paths would take tens of MB

    RegAPI::CreateNewKey(HKEY_CURRENT_USER, deep + "\\x");                       // 513 levels
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kScratch + "\\" + std::string(256, 'k'));
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "String", std::string(16384, 'n'), "x");
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kScratch + "\\" + std::string(255, 'k'));
    EXPECT_EQ(host.Texts(), (Strings{"Could not create key___CreateNewKey",
                                     "Could not create key___CreateNewKey", "Could not set value"}));
}

// Another program holding the whole file: the first operation waits for it and gives
// up, the rest of the series give up at once; a game's update then writes nothing
// rather than counters computed from unreadable zeros, and the record is intact.
TEST_F(StoreFaults, AShortHoldIsWaitedFor) {
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Number", "n", "1");
    UserRegistry().SetPatience({5000, 0, 60000});
    Holder other(File());
    ASSERT_TRUE(other.holding());
    std::thread release([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        other.Release();
    });
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Number", "n", "2");
    release.join();
    EXPECT_EQ(Read(kScratch, "n"), "2");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(StoreFaults, TwoCopiesRecordingAtOnceCountEveryGameAndDamageNothing) {
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);
    CloseUserRegistry();
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    auto copy = [&](int id) {
        return [&, id] {
            ::close(gate[1]);
            char go;
            if (::read(gate[0], &go, 1) < 0) return std::string("gate");  // opens at EOF
            RecordingHost child;
            const funktioner::Surroundings answering({.host = &child});
            int mismatches = 0;
            const std::string own = kScratch + "\\Copy" + std::to_string(id);
            for (int g = 0; g < 30; ++g) {
                RecordGameResult(g % 3 == id);
                RegAPI::SetNewValue(HKEY_CURRENT_USER, own, "Number", "n", std::to_string(g + 1));
                if (RegAPI::ReadRegValue(HKEY_CURRENT_USER, own, "n") != std::to_string(g + 1))
                    ++mismatches;
            }
            return std::to_string(mismatches) + kSeparator + Joined(child.Texts());
        };
    };
    Child first = StartChild(copy(0), false);
    Child second = StartChild(copy(1), false);
    ::close(gate[0]);
    ::close(gate[1]);  // both copies start now
    EXPECT_EQ(FinishChild(first), std::string("0") + kSeparator);
    EXPECT_EQ(FinishChild(second), std::string("0") + kSeparator);

    EXPECT_EQ(IntegrityCheck(), "ok");
    // Each copy's update waits for the other's, so every game of both is counted:
    // 30 each, of which copy 0 won 10 and copy 1 won 10.
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "60");
    EXPECT_EQ(Read(kCurrent, "Stat 2"), "20");
    EXPECT_EQ(Read(kScratch + "\\Copy0", "n"), "30");
    EXPECT_EQ(Read(kScratch + "\\Copy1", "n"), "30");
    EXPECT_TRUE(host.boxes.empty());
}

}  // namespace
}  // namespace karvelo::test
