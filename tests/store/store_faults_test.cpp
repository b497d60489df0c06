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

#include <array>
#include <filesystem>
#include <fstream>
#include <chrono>
#include <functional>
#include <thread>

#include "regapi.h"
#include "registry_db.h"
#include "sqlite_integrity.h"
#include "statistics.h"
#include "store_test_support.h"

namespace karvelo::test {
namespace {

namespace fs = std::filesystem;
using RegAPI::HKEY_CURRENT_USER;
using Strings = std::vector<std::string>;

constexpr char kSeparator = '\x1E';

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

    // The store must serve again: no messages, values written and read back.
    void ExpectFreshStoreWorks() {
        host.boxes.clear();
        RegAPI::CreateNewKey(HKEY_CURRENT_USER, kApp + "\\Installningar");
        RegAPI::SetNewValue(HKEY_CURRENT_USER, kApp + "\\Installningar", "Number", "Speed", "9");
        EXPECT_EQ(Read(kApp + "\\Installningar", "Speed"), "9");
        EXPECT_TRUE(host.boxes.empty()) << host.boxes.front().text;
        EXPECT_EQ(IntegrityCheck(), "ok");
    }

    struct Child {
        pid_t pid = -1;
        int fd = -1;
    };

    // Runs body in a child process, as an unprivileged user when asked and the tests
    // run as root (root writes through any read-only permission).
    static Child StartChild(const std::function<std::string()>& body, bool dropPrivileges) {
        CloseUserRegistry();  // the child must not share our connection
        int out[2];
        if (::pipe(out) != 0) return {};
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(out[0]);
            if (dropPrivileges && ::geteuid() == 0 &&
                (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(3);
            const std::string report = body();
            size_t done = 0;
            while (done < report.size()) {
                const ssize_t n = ::write(out[1], report.data() + done, report.size() - done);
                if (n <= 0) ::_exit(4);
                done += static_cast<size_t>(n);
            }
            ::_exit(0);
        }
        ::close(out[1]);
        return {pid, out[0]};
    }

    // Everything the child reported, once it has ended.
    static std::string FinishChild(const Child& child) {
        if (child.pid < 0) return "no child";
        std::string report;
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(child.fd, buffer, sizeof buffer)) > 0)
            report.append(buffer, static_cast<size_t>(n));
        ::close(child.fd);
        int status = 0;
        ::waitpid(child.pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed";
        return report;
    }

    static std::string InChild(const std::function<std::string()>& body, bool dropPrivileges) {
        return FinishChild(StartChild(body, dropPrivileges));
    }

    static std::string Joined(const Strings& texts) {
        std::string out;
        for (const auto& t : texts) out += t + kSeparator;
        return out;
    }
};

TEST_F(StoreFaults, GarbageAndForeignFilesAreSetAsideAndAFreshStoreBegun) {
    const std::string garbage = "This is not a database.\n" + std::string(5000, '\x5A');
    WriteFile(garbage);
    ExpectFreshStoreWorks();
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
    ExpectFreshStoreWorks();
    EXPECT_EQ(SetAsideFiles().size(), 2u);
}

TEST_F(StoreFaults, TruncatedFilesAreSetAside) {
    for (const bool toHalf : {false, true}) {
        StoreSomeValues(300);
        const auto size = fs::file_size(File());
        ASSERT_GT(size, 8192u);
        fs::resize_file(File(), toHalf ? size / 2 : 1000);
        ExpectFreshStoreWorks();
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
    EXPECT_EQ(host.Texts(), Strings{"Could not open key_SetNewValue"});
    ExpectFreshStoreWorks();
    EXPECT_EQ(SetAsideFiles().size(), 1u);
}

TEST_F(StoreFaults, AFolderThatCannotBeCreatedFailsEachOperationWithItsMessage) {
    std::ofstream(configDir + "/blocker") << "a file where a folder should be";
    ::setenv("XDG_CONFIG_HOME", (configDir + "/blocker").c_str(), 1);
    CloseUserRegistry();

    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kCurrent, "Binary", "Stat 1", "1");
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "0");
    RegAPI::DeleteRegValue(HKEY_CURRENT_USER, kCurrent, "Stat 1");
    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, kCurrent);
    EXPECT_EQ(host.Texts(),
              (Strings{"Could not create key___CreateNewKey", "Could not open key_SetNewValue",
                       "Could not open key_DeleteRegValue", "Could not open key_DeleteRegKey"}));
    host.boxes.clear();
    RecordGameResult(true);
    // The record cannot be read, so nothing is written over it: one message for the
    // update instead of a failed write of each counter.
    EXPECT_EQ(host.Texts(), Strings{"Could not set value"});
    EXPECT_EQ(StatCounters(1), 1);  // the game still counts for this run
}

TEST_F(StoreFaults, ReadOnlyFolderOrFileKeepsReadingAndReportsEachWrite) {
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
                SetHost(&child);
                std::string seen = RegAPI::ReadRegValue(HKEY_CURRENT_USER, kCurrent, "Stat 1");
                RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);         // exists: fine
                RegAPI::CreateNewKey(HKEY_CURRENT_USER, kTotal);           // new: fails
                RegAPI::SetNewValue(HKEY_CURRENT_USER, kCurrent, "Binary", "Stat 1", "8");
                RecordGameResult(false);
                SetHost(nullptr);
                return seen + kSeparator + Joined(child.Texts());
            },
            true);
        Strings expected{"7", "Could not create key___CreateNewKey", "Could not set value"};
        for (int i = 0; i < 8; ++i) expected.push_back("Could not set value");
        EXPECT_EQ(report, Joined(expected)) << (folderReadOnly ? "folder" : "file");

        ::chmod(Folder().c_str(), 0700);
        ::chmod(File().c_str(), 0600);
        EXPECT_EQ(Slurp(File()), before);
        EXPECT_EQ(Read(kCurrent, "Stat 1"), "7");
        CloseUserRegistry();
    }
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(StoreFaults, WritesThatReturnedSurviveAKill) {
    // The child records games and reports every yield; the yield after a write means
    // the write has returned. In each game: one yield after counting, then one after
    // each of the eight writes.
    auto won = [](int game) { return game % 5 != 1 && game % 7 != 3; };
    std::vector<std::array<int32_t, 9>> model(1);  // model[g]: stored values after g games
    for (int g = 0; g < 400; ++g) {
        StatCounters.Clear();
        for (int i = 1; i <= 8; ++i) StatCounters(i) = model.back()[static_cast<size_t>(i)];
        // The same rules as the program, here without a store.
        auto& c = StatCounters;
        if (won(g)) {
            ++c(1), ++c(2), ++c(7), c(8) = 0;
            if (c(7) > c(3)) c(3) = c(7);
        } else {
            ++c(1), ++c(8), c(7) = 0;
            if (c(8) > c(4)) c(4) = c(8);
        }
        c(5) = 0, c(6) = 0;  // series runs are checked elsewhere; not compared here
        std::array<int32_t, 9> next{};
        for (int i = 1; i <= 8; ++i) next[static_cast<size_t>(i)] = c(i);
        model.push_back(next);
    }
    StatCounters.Clear();

    for (const int killAfter : {40, 157, 290}) {
        const std::string dir = configDir + "/run" + std::to_string(killAfter);
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
            SetHost(&child);
            for (int g = 0; g < 400; ++g) RecordGameResult(won(g));
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
        for (int i = 1; i <= 8; ++i) {
            if (i == 5 || i == 6) continue;
            // Stat i of game g returned at yield 9 * g + i.
            const int64_t games = last >= i ? (last - i) / 9 + 1 : 0;
            const auto gi = static_cast<size_t>(games);
            const int32_t stored =
                RegAPI::TextToInt32(Read(kCurrent, "Stat " + std::to_string(i)));
            const int32_t written = model[gi][static_cast<size_t>(i)];
            const int32_t inFlight = model[gi + 1][static_cast<size_t>(i)];
            EXPECT_TRUE(stored == written || stored == inFlight)
                << "Stat " << i << " after yield " << last << ": " << stored << ", expected "
                << written;
        }
        EXPECT_TRUE(SetAsideFiles().empty());
        EXPECT_TRUE(host.boxes.empty());
        CloseUserRegistry();
        ::setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
    }
}

// Another program holding the whole file: the first operation waits for it and gives
// up, the rest of the series give up at once; a game's update then writes nothing
// rather than counters computed from unreadable zeros, and the record is intact.
class Holder {
public:
    explicit Holder(const std::string& file) {
        sqlite3_open(file.c_str(), &db_);
        ok_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Holder() { Release(); sqlite3_close(db_); }
    bool holding() const { return ok_; }
    void Release() {
        if (ok_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        ok_ = false;
    }

private:
    sqlite3* db_ = nullptr;
    bool ok_ = false;
};

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

TEST_F(StoreFaults, ALongHoldCostsOneWaitAndLosesNoStatistics) {
    RecordGameResult(true);
    RecordGameResult(false);
    const Strings before = {Read(kCurrent, "Stat 1"), Read(kCurrent, "Stat 2"), Read(kCurrent, "Stat 8")};
    ASSERT_EQ(before, (Strings{"2", "1", "1"}));
    UserRegistry().SetPatience({400, 0, 60000});
    host.boxes.clear();
    {
        Holder other(File());
        ASSERT_TRUE(other.holding());
        auto start = std::chrono::steady_clock::now();
        RecordGameResult(true);
        // One message for the update left unwritten, not eight failed writes.
        EXPECT_EQ(host.Texts(), Strings{"Could not set value"});
        EXPECT_GE(MsSince(start), 300.0);  // it did wait for the first read
        start = std::chrono::steady_clock::now();
        EXPECT_EQ(Read(kCurrent, "Stat 1"), "0");  // unreadable, and not waited for again
        EXPECT_LT(MsSince(start), 200.0);
    }
    EXPECT_EQ((Strings{Read(kCurrent, "Stat 1"), Read(kCurrent, "Stat 2"), Read(kCurrent, "Stat 8")}),
              before);
    RecordGameResult(true);  // the next game counts again
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "3");
    EXPECT_EQ(host.Texts(), Strings{"Could not set value"});
    EXPECT_EQ(IntegrityCheck(), "ok");
}

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
            SetHost(&child);
            int mismatches = 0;
            const std::string own = kScratch + "\\Copy" + std::to_string(id);
            for (int g = 0; g < 30; ++g) {
                RecordGameResult(g % 3 == id);
                RegAPI::SetNewValue(HKEY_CURRENT_USER, own, "Number", "n", std::to_string(g + 1));
                if (RegAPI::ReadRegValue(HKEY_CURRENT_USER, own, "n") != std::to_string(g + 1))
                    ++mismatches;
            }
            SetHost(nullptr);
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
