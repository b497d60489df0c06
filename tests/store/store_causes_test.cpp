// Each cause of an unusable store is told once at start-up, in words that name it,
// and not again in the sitting; the statistics window never shows zeros for games it
// could not read; the store is never made through a broken link or in the current
// folder.
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "child_process.h"
#include "frm_statistik.h"
#include "regapi.h"
#include "registry_db.h"
#include "statistics.h"
#include "store_holders.h"
#include "store_test_support.h"

namespace karvelo::test {
namespace {

namespace fs = std::filesystem;
using RegAPI::HKEY_CURRENT_USER;
using Strings = std::vector<std::string>;

// What the main window does with the store when the program starts.
void StartUp() {
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kApp + "\\Installningar");
    CompleteInterruptedStatistics();
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);
    RegAPI::ReadRegValue(HKEY_CURRENT_USER, kApp + "\\Installningar", "Speed");
    RegAPI::ReadRegValue(HKEY_CURRENT_USER, kApp + "\\Installningar", "Color");
}

// A sitting: start, three games, a look at the statistics; every message shown.
Strings Sitting() {
    const StoreSession sitting;
    RecordingHost host;
    const funktioner::Surroundings attached{{.host = &host}};
    StartUp();
    RecordGameResult(true);
    RecordGameResult(false);
    RecordGameResult(false);
    PrepareNormalView({});
    WriteHeldGamesBeforeTheEnd();
    return host.Texts();
}

class StoreCauses : public StoreTest {
protected:
    static std::string File() { return UserRegistryFile(); }
    static std::string Folder() { return fs::path(File()).parent_path().string(); }
    static void FiveGames() {
        for (int i = 0; i < 5; ++i) RecordGameResult(i % 2 == 0);
        CloseUserRegistry();
    }
};

TEST_F(StoreCauses, AFolderWhereTheJournalBelongsIsMovedAsideOnceAndNothingIsLost) {
    FiveGames();
    fs::create_directories(File() + "-journal/inside");
    const Strings told = Sitting();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(File() + "-journal is a folder"), std::string::npos) << told[0];
    EXPECT_NE(told[0].find("It was kept as " + File() + "-journal.corrupt-"), std::string::npos);
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "8");  // the five before and the three of the sitting
    EXPECT_TRUE(Sitting().empty());            // the next start says nothing
}

// The same, where the player may not move it: the game plays on in memory, and its
// statistics window does not pass the empty record in memory off as the stored one.
TEST_F(StoreCauses, AJournalFolderThatCannotBeMovedLeavesTheWindowSayingSo) {
    FiveGames();
    fs::create_directories(File() + "-journal/inside");
    ::chmod(Folder().c_str(), 0555);
    const std::string report = InChild(
        [] {
            const Strings told = Sitting();
            const StoreSession sitting;
            RecordingHost child;
            const funktioner::Surroundings attached{{.host = &child}};
            const std::string shown = PrepareNormalView({})->Text();
            return std::to_string(told.size()) + kSeparator + shown;
        },
        true);
    ::chmod(Folder().c_str(), 0700);
    EXPECT_EQ(report, "1" + std::string(1, kSeparator) + kStatisticsUnreadable);
    host.boxes.clear();
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "5");  // allowed to move it now: nothing was lost
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(StoreCauses, AFullDiskIsToldOncePerSittingEvenOnTheVeryFirstStart) {
    auto start = [] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};  // no file may grow: as a full disk
        ::setrlimit(RLIMIT_FSIZE, &none);
        return Joined(Sitting());
    };
    const std::string once = "Could not create key___CreateNewKey\r\nThe disk holding the store " +
                             File() + " is full." + kSeparator;
    EXPECT_EQ(InChild(start, false), once);
    EXPECT_EQ(InChild(start, false), once);  // the next start: once again
}

TEST_F(StoreCauses, AStoreHeldAtStartUpIsToldOnceAndItsGamesAreKept) {
    FiveGames();
    UserRegistry().SetPatience({200, 20, 1 << 30});
    Holder other(File());
    ASSERT_TRUE(other.holding());
    const std::string report = InChild(
        [] {
            UserRegistry().SetPatience({200, 20, 1 << 30});
            RecordingHost child;
            const funktioner::Surroundings attached{{.host = &child}};
            StartUp();
            RecordGameResult(true);
            const auto window = PrepareNormalView({});
            const std::string shown = window->Text();
            return Joined(child.Texts()) + shown;
        },
        false);
    EXPECT_EQ(report, "Another program is holding the store " + File() +
                          ". The game does not wait for it long again; a game it cannot record "
                          "now is recorded as soon as the store is free." +
                          kSeparator + kStatisticsUnreadable);
}

TEST_F(StoreCauses, AFolderThatMayNotBeWrittenIsToldAsSuch) {
    fs::create_directories(Folder());
    ::chmod(Folder().c_str(), 0555);
    const std::string report = InChild([] { return Joined(Sitting()); }, true);
    ::chmod(Folder().c_str(), 0700);
    EXPECT_EQ(report, "Could not open the store " + File() +
                          ": its folder may not be written (Permission denied).\r\n"
                          "Settings and statistics are kept only until the game ends." +
                          kSeparator);
    EXPECT_FALSE(fs::exists(File()));
}

TEST_F(StoreCauses, ABrokenLinkIsNeverFollowedToMakeAStore) {
    const std::string target = configDir + "/elsewhere/store.db";
    fs::create_directories(configDir + "/elsewhere");  // where it points exists; the file not
    fs::create_directories(Folder());
    fs::create_symlink(target, File());
    const Strings told = Sitting();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("it is a symbolic link to " + target + ", which does not exist"),
              std::string::npos)
        << told[0];
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(File())));  // a store of its own
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "3");
}

TEST_F(StoreCauses, WithoutHomeTheStoreIsInTheHomeOfThePasswordDatabase) {
    const std::string cwd = fs::current_path().string();
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("HOME");
    fs::current_path(configDir);
    const std::string file = UserRegistryFile();
    fs::current_path(cwd);
    const passwd* me = ::getpwuid(::getuid());
    ASSERT_NE(me, nullptr);
    const std::string home = me->pw_dir;
    EXPECT_EQ(file, (home == "/" ? "" : home) + "/.config/karvelo/registry.db");
    ::setenv("HOME", "relative/home", 1);  // not a folder one can rely on either
    EXPECT_EQ(UserRegistryFile(), file);
}

TEST_F(StoreCauses, TheWindowSaysTheRecordCouldNotBeReadInsteadOfShowingZeros) {
    FiveGames();
    Holder other(File());
    UserRegistry().SetPatience({100, 20, 1 << 30});
    EXPECT_EQ(PrepareNormalView({})->Text(), kStatisticsUnreadable);
    EXPECT_EQ(PrepareFullView({})->Text(), kStatisticsUnreadable);
    other.Release();
    EXPECT_NE(PrepareNormalView({})->Text().find("Spelade: \t\t5\t"), std::string::npos);
}

}  // namespace
}  // namespace karvelo::test
