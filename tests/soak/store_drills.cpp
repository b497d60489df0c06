// Fault drills on the SQLite store, each in child processes that play the game's part
// and a parent that judges what the store kept. Every drill prints what it did and
// what it found, and fails when something that had been written was lost, a failure
// went unreported, the file was damaged or set aside, or a copy crashed.
//   karvelo_drills quick         the drills that need nothing special (CTest)
//   karvelo_drills kill N        N kills in the middle of statistics updates
//   karvelo_drills full DIR      a full disk: the store in DIR, a small filesystem
//   karvelo_drills fsize         a full disk simulated by a file size limit
//   karvelo_drills copies N      two copies writing N games and values each at once
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "host.h"
#include "registry_db.h"
#include "sqlite_integrity.h"
#include "regapi.h"
#include "statistics.h"

namespace {

namespace fs = std::filesystem;
using RegAPI::HKEY_CURRENT_USER;

const std::string kCurrent = std::string(RegAPI::kAppKey) + "\\Statistik";
const std::string kScratch = "Software\\Karvelo Drill";

// Counts the message boxes the store shows and reports every yield to a callback.
class DrillHost final : public karvelo::Host {
public:
    karvelo::Answer MsgBox(const std::string& text, karvelo::Buttons, karvelo::Icon,
                           karvelo::DefaultButton, const std::string&) override {
        messages.push_back(text);
        shownAfterYield.push_back(yields);
        return karvelo::Answer::OK;
    }
    void DoEvents() override {
        ++yields;
        if (onYield) onYield();
    }
    std::vector<std::string> messages;
    std::vector<int> shownAfterYield;  // for each message, the yields before it
    int yields = 0;
    std::function<void()> onYield;
};

int failures = 0;

void Found(bool ok, const std::string& what) {
    std::printf("    %s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok) ++failures;
}

void UseStoreIn(const std::string& dir) {
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    karvelo::CloseUserRegistry();
}

std::string FreshDir(const std::string& base, const std::string& name) {
    const fs::path dir = fs::path(base) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

int32_t Stat(int i) {
    return RegAPI::TextToInt32(
        RegAPI::ReadRegValue(HKEY_CURRENT_USER, kCurrent, "Stat " + std::to_string(i)));
}

std::string IntegrityCheck() { return karvelo::test::IntegrityCheck(karvelo::UserRegistryFile()); }

bool NothingSetAside() {
    const fs::path folder = fs::path(karvelo::UserRegistryFile()).parent_path();
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().find(".corrupt-") != std::string::npos) return false;
    return true;
}

// Runs body in a child; its exit status (0 when it ran through) and what it wrote.
struct ChildResult {
    int status = -1;  // exit code, or 128 + signal
    std::string output;
};
ChildResult InChild(const std::function<void(int out)>& body, const std::function<void(pid_t, int)>& watch = {}) {
    karvelo::CloseUserRegistry();  // the child opens the store itself
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        body(pipeFds[1]);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    ChildResult r;
    if (watch) {
        watch(pid, pipeFds[0]);
    }
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) r.output.append(buffer, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

void Send(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) ::_exit(4);
        done += static_cast<size_t>(n);
    }
}

// ---- Kills in the middle of statistics updates

// Every game is won, so counters 1, 2 and 7 count the games, and each kill leaves
// each of them at the games whose write of it had returned, or one more when the
// write in flight had reached the disk. (The eight writes of one update are separate:
// a kill between them leaves a record whose counters are a game apart.)
void KillDrill(const std::string& base, int kills) {
    std::printf("kill: %d times SIGKILL in the middle of statistics updates, same store\n", kills);
    UseStoreIn(FreshDir(base, "kill"));
    std::mt19937 rng(20240607);
    long long games = 0;
    int32_t stored[9] = {};
    bool sound = true;
    for (int k = 0; k < kills && sound; ++k) {
        const int after = std::uniform_int_distribution<int>(1, 400)(rng);
        uint32_t last = 0;
        bool any = false;
        const ChildResult r = InChild(
            [](int out) {
                DrillHost host;
                uint32_t yield = 0;
                host.onYield = [&] {
                    Send(out, std::string(reinterpret_cast<const char*>(&yield), sizeof yield));
                    ++yield;
                };
                karvelo::SetHost(&host);
                for (;;) karvelo::RecordGameResult(true);
            },
            [&](pid_t pid, int in) {
                uint32_t y = 0;
                while (::read(in, &y, sizeof y) == sizeof y) {
                    last = y;
                    any = true;
                    if (static_cast<int>(y) + 1 >= after) break;
                }
                ::kill(pid, SIGKILL);
                while (::read(in, &y, sizeof y) == sizeof y) last = y, any = true;
            });
        if (r.status != 128 + SIGKILL) {
            Found(false, "the copy ended by itself (status " + std::to_string(r.status) + ")");
            return;
        }
        // In each game: a yield after counting (0), then one after each write (1..8).
        for (int i : {1, 2, 7}) {
            const long long returned = any ? (last >= static_cast<uint32_t>(i) ? (last - i) / 9 + 1 : 0) : 0;
            const int32_t now = Stat(i);
            const bool ok = now == stored[i] + returned || now == stored[i] + returned + 1;
            if (!ok) {
                Found(false, "kill " + std::to_string(k + 1) + ": Stat " + std::to_string(i) + " = " +
                                 std::to_string(now) + ", writes returned for " +
                                 std::to_string(stored[i] + returned));
                sound = false;
            }
        }
        games += any ? last / 9 : 0;
        for (int i = 1; i <= 8; ++i) stored[i] = Stat(i);
        if (IntegrityCheck() != "ok" || !NothingSetAside()) {
            Found(false, "kill " + std::to_string(k + 1) + " damaged the file");
            sound = false;
        }
    }
    if (sound)
        Found(true, "after " + std::to_string(kills) + " kills during about " + std::to_string(games) +
                        " updates: every returned write kept, the file sound, nothing set aside; "
                        "games played " + std::to_string(stored[1]));
}

// ---- A full disk

// The child writes values until the store cannot take more, then records a game; the
// parent checks that each write either returned or was reported, that the ones that
// returned are all there, and that the store works again once there is room.
void FullDiskDrill(const std::string& dir, bool limitFileSize) {
    std::printf("full disk: %s\n", limitFileSize ? "the store limited to 64 KiB by RLIMIT_FSIZE"
                                                 : ("the store on " + dir).c_str());
    UseStoreIn(dir);
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kCurrent, "Binary", "Stat 1", "5");
    karvelo::CloseUserRegistry();
    const ChildResult r = InChild([&](int out) {
        if (limitFileSize) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        DrillHost host;
        karvelo::SetHost(&host);
        // Large values until none fit, then small ones into the last gaps.
        int i = 0;
        for (const size_t length : {900u, 1u}) {
            const std::string blob(length, 'k');
            for (int refused = 0; i < 20000 && refused < 20; ++i) {
                const size_t before = host.messages.size();
                RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "String", "v" + std::to_string(i),
                                    blob + "|" + std::to_string(i));
                if (host.messages.size() == before) {
                    Send(out, "ok v" + std::to_string(i) + " " + std::to_string(length) + "\n");
                } else {
                    ++refused;
                }
            }
        }
        // The game: a yield after counting, then one after each of the eight writes, so
        // a message shown after yield i - 1 belongs to the write of Stat i.
        const size_t before = host.messages.size();
        host.yields = 0;
        karvelo::RecordGameResult(false);
        Send(out, "game messages " + std::to_string(host.messages.size() - before) + "\n");
        for (size_t m = before; m < host.messages.size(); ++m)
            Send(out, "failed " + std::to_string(host.shownAfterYield[m]) + "\n");
        for (const auto& m : host.messages) Send(out, "message " + m + "\n");
        for (int c = 1; c <= 8; ++c)
            Send(out, "counter " + std::to_string(c) + " " + std::to_string(karvelo::StatCounters(c)) + "\n");
    });
    Found(r.status == 0, "the copy of the game ran through (status " + std::to_string(r.status) + ")");

    std::vector<std::string> kept;  // "v<i> <length>" of each write that returned
    int gameMessages = -1;
    int32_t counters[9] = {};
    bool failed[9] = {};
    bool onlyKnownMessages = true;
    size_t messages = 0;
    size_t pos = 0;
    while (pos < r.output.size()) {
        const size_t end = r.output.find('\n', pos);
        const std::string line = r.output.substr(pos, end - pos);
        pos = end == std::string::npos ? r.output.size() : end + 1;
        if (line.rfind("ok ", 0) == 0) kept.push_back(line.substr(3));
        if (line.rfind("game messages ", 0) == 0) gameMessages = std::atoi(line.c_str() + 14);
        int i = 0, v = 0;
        if (std::sscanf(line.c_str(), "failed %d", &i) == 1 && i >= 1 && i <= 8) failed[i] = true;
        if (std::sscanf(line.c_str(), "counter %d %d", &i, &v) == 2 && i >= 1 && i <= 8) counters[i] = v;
        if (line.rfind("message ", 0) == 0) {
            ++messages;
            const std::string text = line.substr(8);
            if (text != "Could not set value" && text != "Could not open key_SetNewValue")
                onlyKnownMessages = false;
        }
    }
    Found(!kept.empty() && messages > 0,
          std::to_string(kept.size()) + " values written before the disk was full, then " +
              std::to_string(messages) + " failures, each with its message");
    Found(onlyKnownMessages, "every failure said \"Could not set value\" or \"Could not open key_SetNewValue\"");
    Found(counters[1] == 6, "the game recorded on the full disk counted for the run");

    if (limitFileSize) {
        // The limit went with the child.
    } else {
        // Make room again, as a player would.
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename() == "ballast") fs::remove(e.path());
    }
    DrillHost parent;
    karvelo::SetHost(&parent);
    size_t lost = 0;
    for (const std::string& entry : kept) {
        const std::string name = entry.substr(0, entry.find(' '));
        const size_t length = std::strtoul(entry.c_str() + entry.find(' ') + 1, nullptr, 10);
        const std::string v = RegAPI::ReadRegValue(HKEY_CURRENT_USER, kScratch, name);
        if (v != std::string(length, 'k') + "|" + name.substr(1)) ++lost;
    }
    Found(lost == 0, "every value whose write returned is still there (" + std::to_string(lost) + " lost)");
    // Each of the game's eight writes is either stored, or reported with the value
    // before it left as it was.
    int reported = 0;
    bool each = true;
    for (int i = 1; i <= 8; ++i) {
        reported += failed[i] ? 1 : 0;
        each = each && Stat(i) == (failed[i] ? (i == 1 ? 5 : 0) : counters[i]);
    }
    Found(each && reported == gameMessages,
          "of the game's eight writes " + std::to_string(8 - reported) + " were stored and " +
              std::to_string(reported) + " reported, the earlier value kept; Stat 1 = " +
              std::to_string(Stat(1)));
    const int32_t played = Stat(1);
    Found(IntegrityCheck() == "ok" && NothingSetAside(), "the file is sound and was not set aside");
    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, kScratch);
    karvelo::RecordGameResult(true);
    Found(parent.messages.empty() && Stat(1) == played + 1,
          "with room again the store takes writes (" + std::to_string(parent.messages.size()) + " messages)");
    karvelo::SetHost(nullptr);
}

// ---- Two copies at once

void CopiesDrill(const std::string& base, int games) {
    std::printf("copies: two copies of the game each record %d games and write their own values at once\n", games);
    UseStoreIn(FreshDir(base, "copies"));
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kCurrent);
    karvelo::CloseUserRegistry();
    auto copy = [games](int id) {
        return [games, id](int out) {
            DrillHost host;
            karvelo::SetHost(&host);
            int mismatches = 0;
            const std::string own = kScratch + "\\Copy" + std::to_string(id);
            for (int g = 0; g < games; ++g) {
                karvelo::RecordGameResult(g % 3 == id);
                RegAPI::SetNewValue(HKEY_CURRENT_USER, own, "Number", "n", std::to_string(g + 1));
                if (RegAPI::ReadRegValue(HKEY_CURRENT_USER, own, "n") != std::to_string(g + 1))
                    ++mismatches;
            }
            Send(out, std::to_string(mismatches) + " " + std::to_string(host.messages.size()) + "\n");
        };
    };
    ChildResult second;
    const ChildResult first = InChild(copy(0), [&](pid_t, int) { second = InChild(copy(1)); });
    Found(first.status == 0 && second.status == 0, "both copies ran through");
    Found(first.output == "0 0\n" && second.output == "0 0\n",
          "neither copy saw a failure or lost its own write (" + first.output.substr(0, first.output.size() - 1) +
              " / " + second.output.substr(0, second.output.size() - 1) + ")");
    const int32_t played = Stat(1);
    Found(IntegrityCheck() == "ok" && NothingSetAside(), "the file is sound");
    Found(played == 2 * games,
          "games played " + std::to_string(played) + " of " + std::to_string(2 * games) +
              " (each copy's update waits for the other's)");
    Found(RegAPI::ReadRegValue(HKEY_CURRENT_USER, kScratch + "\\Copy0", "n") == std::to_string(games) &&
              RegAPI::ReadRegValue(HKEY_CURRENT_USER, kScratch + "\\Copy1", "n") == std::to_string(games),
          "each copy's own last value is there");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "quick";
    const std::string base = fs::temp_directory_path() / ("karvelo-drills-" + std::to_string(::getpid()));
    fs::create_directories(base);
    if (what == "quick") {
        KillDrill(base, 12);
        FullDiskDrill(FreshDir(base, "fsize"), true);
        CopiesDrill(base, 25);
    } else if (what == "kill") {
        KillDrill(base, argc > 2 ? std::atoi(argv[2]) : 100);
    } else if (what == "full" && argc > 2) {
        FullDiskDrill(argv[2], false);
    } else if (what == "fsize") {
        FullDiskDrill(FreshDir(base, "fsize"), true);
    } else if (what == "copies") {
        CopiesDrill(base, argc > 2 ? std::atoi(argv[2]) : 200);
    } else {
        std::fprintf(stderr, "usage: %s quick | kill N | full DIR | fsize | copies N\n", argv[0]);
        return 2;
    }
    karvelo::CloseUserRegistry();
    fs::remove_all(base);
    std::printf("%s\n", failures == 0 ? "every drill held" : "SOME DRILLS FAILED");
    return failures == 0 ? 0 : 1;
}
