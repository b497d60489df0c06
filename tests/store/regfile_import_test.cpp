// karvelo-reg import beside a running game: the file is read and checked whole before
// the store is touched, so an import waiting for its input holds nothing.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "regfile_fixture.h"
#include "statistics.h"

namespace karvelo::test {
namespace {

std::string ImportFile(int values) {
    std::string file =
        std::string(regfile::kHeader) + "\r\n\r\n[HKEY_CURRENT_USER\\Software\\Restored]\r\n";
    for (int i = 0; i < values; ++i)
        file += "\"v" + std::to_string(i) + "\"=dword:0000000" + std::to_string(i % 10) + "\r\n";
    return file;
}

bool WriteAll(int fd, const std::string& text) {
    return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// Waits until the reader of a pipe has taken all that was written to it (at most ten
// seconds, a guard against a reader that never comes).
bool Drained(int pipeEnd) {
    for (int tenth = 0; tenth < 100; ++tenth) {
        int waiting = -1;
        if (::ioctl(pipeEnd, FIONREAD, &waiting) == 0 && waiting == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

TEST_F(RegFiles, AnImportWaitingForItsInputDelaysNoGame) {
    RecordGameResult(false);  // the store is there, as once the game has been played
    const std::string file = ImportFile(400);
    const size_t half = file.size() / 2;
    int in[2], err[2];
    ASSERT_EQ(::pipe(in), 0);
    ASSERT_EQ(::pipe(err), 0);
    ::fcntl(in[1], F_SETFD, FD_CLOEXEC);
    ::fcntl(err[0], F_SETFD, FD_CLOEXEC);
    const pid_t tool = StartTool({"import", "-"}, in[0], err[1]);
    ::close(in[0]);
    ::close(err[1]);

    // Half the file, and the tool waiting for the rest, as from a slow pipe or a
    // keyboard.
    ASSERT_TRUE(WriteAll(in[1], file.substr(0, half)));
    ASSERT_TRUE(Drained(in[1]));

    // No waiting at all: a game that met a held store would fail, and say so.
    UserRegistry().SetPatience({0, 0, 0});
    for (int game = 0; game < 3; ++game) RecordGameResult(game == 1);
    EXPECT_TRUE(host.boxes.empty()) << host.boxes.front().text;
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "4");
    EXPECT_EQ(Read(kCurrent, "Stat 2"), "1");
    EXPECT_FALSE(KeyExists("Software\\Restored"));  // nothing of a file read in part

    // The rest: the import adds the whole file, and the games stay.
    ASSERT_TRUE(WriteAll(in[1], file.substr(half)));
    ::close(in[1]);
    const Run run = Finish(tool, err[0], 60);
    EXPECT_EQ(run.status, 0) << run.said;
    CloseUserRegistry();
    EXPECT_EQ(Read("Software\\Restored", "v399"), "9");
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "4");
}

// A file that is refused never opens the store: not even a store that cannot be used
// hears of it, and the reason is the file's.
TEST_F(RegFiles, AFileIsCheckedWholeBeforeTheStoreIsOpened) {
    const std::string bad = configDir + "/bad.reg";
    std::ofstream(bad, std::ios::binary) << ImportFile(3) << "\"x\"=hex:0\r\n";
    const std::string store = configDir + "/karvelo";
    std::filesystem::create_directories(store);
    std::ofstream(store + "/registry.db") << "not a database at all";
    const Run run = RunShell("TOOL import " + bad);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: " + bad +
                            ", line 7: hex bytes must be pairs of hex digits separated by commas\n"
                            "Nothing was imported.\n");
}

}  // namespace
}  // namespace karvelo::test
