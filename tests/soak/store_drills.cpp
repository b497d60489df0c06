// Fault drills on the SQLite store, each in child processes that play the game's part
// and a parent that judges what the store kept. Every drill prints what it did and
// what it found, and fails when something that had been kept was lost, a game or a
// clearing was kept in part, the counters contradict each other, a failure went
// unreported, the file was damaged or set aside, or a copy crashed.
//   karvelo_drills quick         the drills that need nothing special (CTest)
//   karvelo_drills kill N        N kills at random moments of games and clearings
//   karvelo_drills full DIR      a full disk: the store in DIR, a small filesystem
//   karvelo_drills fsize         a full disk simulated by a file size limit
//   karvelo_drills copies N      two copies writing N games and values each at once
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host.h"
#include "registry_db.h"
#include "sqlite_integrity.h"
#include "regapi.h"
#include "stat_model.h"
#include "statistics.h"
#include "surroundings.h"

namespace {

namespace fs = std::filesystem;
using RegAPI::HKEY_CURRENT_USER;

const std::string kCurrent = std::string(RegAPI::kAppKey) + "\\Statistik";
const std::string kTotal = std::string(RegAPI::kAppKey) + "\\StatistikTotal";
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

// ---- Kills at random moments of games and clearings

// What the parent knows of the stored record: the current record and the total.
struct Stored {
    std::array<int32_t, 9> current{};
    std::array<int32_t, 7> total{};
    friend bool operator==(const Stored&, const Stored&) = default;
};

int32_t Value(const std::string& key, int i) {
    return RegAPI::TextToInt32(
        RegAPI::ReadRegValue(HKEY_CURRENT_USER, key, "Stat " + std::to_string(i)));
}

Stored ReadStored() {
    Stored s;
    for (size_t i = 1; i <= 8; ++i) s.current[i] = Value(kCurrent, static_cast<int>(i));
    for (size_t i = 1; i <= 6; ++i) s.total[i] = Value(kTotal, static_cast<int>(i));
    return s;
}

Stored FromModel(const karvelo::soak::StatModel& m) {
    Stored s;
    for (size_t i = 1; i <= 8; ++i) s.current[i] = m.Stored(static_cast<int>(i));
    for (size_t i = 1; i <= 6; ++i) s.total[i] = m.Total(static_cast<int>(i));
    return s;
}

// The relations no record may break, whatever happened before: "" when all hold.
std::string BrokenRelations(const Stored& s) {
    const auto& c = s.current;
    const auto& t = s.total;
    std::string broken;
    auto need = [&](bool holds, const char* what) {
        if (!holds) broken += std::string(broken.empty() ? "" : ", ") + what;
    };
    need(c[1] >= c[2], "played >= won");
    need(c[3] >= c[7] && c[4] >= c[8], "longest runs >= current runs");
    need(c[5] <= c[3] && c[6] <= c[4], "series runs <= overall runs");
    need(c[3] <= c[2] && c[4] <= c[1] - c[2], "runs within the games won and lost");
    need(t[1] >= t[2] && t[5] <= t[3] && t[6] <= t[4], "the total's relations");
    for (int32_t v : c) need(v >= 0, "no negative counter");
    return broken;
}

// The operation with this number in the drill's one long sequence: mostly games, won
// or lost at random, and now and then "Rensa Statistiken" (never two in a row).
enum class Op { Win, Loss, Clear };
Op OpNumber(uint32_t n) {
    std::mt19937 rng(0x4B52564C ^ n);
    const uint32_t r = rng() % 100;
    if (n % 10 == 9) return r < 60 ? Op::Clear : Op::Win;
    return r < 45 ? Op::Win : Op::Loss;
}

// One record a copy of the game sends about its progress.
struct Progress {
    char what;  // 'B' an operation begins, 'E' it is over (and kept), 'Y' a yield
    uint32_t op;
};

// Each round starts a copy of the game on the same store, as a player starting the
// game again would, which plays the sequence on from the first operation the store
// does not hold; the copy is killed after a random number of yields, at once or after
// a random further pause of up to 3 ms, which lands kills between the writes of
// updates and merges and inside their commits. After each kill the store must hold exactly the record
// of the operations before the one in flight, or of that one too: never a part of it.
void KillDrill(const std::string& base, int kills) {
    std::printf("kill: %d times SIGKILL at random moments of games and clearings, same store\n", kills);
    UseStoreIn(FreshDir(base, "kill"));
    std::mt19937 rng(20240607);
    karvelo::soak::StatModel model;  // the record of every operation kept so far
    uint32_t next = 0;               // the first operation the store does not hold
    long long games = 0, clearings = 0, whole = 0, lost = 0, idle = 0;
    for (int k = 0; k < kills; ++k) {
        const int yields = std::uniform_int_distribution<int>(1, 45)(rng);
        // Half the kills right after a yield, between two writes of an operation; the
        // rest anywhere within the next 3 ms, mostly inside a commit.
        const int pauseUs = rng() % 2 ? 0 : std::uniform_int_distribution<int>(0, 3000)(rng);
        const uint32_t first = next;
        int64_t begun = int64_t{first} - 1, ended = int64_t{first} - 1;  // none yet
        const ChildResult r = InChild(
            [first](int out) {
                DrillHost host;
                auto send = [out](char what, uint32_t op) {
                    const Progress p{what, op};
                    Send(out, std::string(reinterpret_cast<const char*>(&p), sizeof p));
                };
                host.onYield = [&] { send('Y', 0); };
                const funktioner::Surroundings answering({.host = &host});
                for (uint32_t op = first;; ++op) {
                    send('B', op);
                    switch (OpNumber(op)) {
                    case Op::Win: karvelo::RecordGameResult(true); break;
                    case Op::Loss: karvelo::RecordGameResult(false); break;
                    case Op::Clear: karvelo::ClearCurrentStatistics(); break;
                    }
                    if (!host.messages.empty()) ::_exit(5);  // a failure shown: judged below
                    send('E', op);
                }
            },
            [&](pid_t pid, int in) {
                Progress p{};
                int seen = 0;
                auto note = [&] {
                    if (p.what == 'B') begun = p.op;
                    if (p.what == 'E') ended = p.op;
                    if (p.what == 'Y') ++seen;
                };
                while (seen < yields && ::read(in, &p, sizeof p) == sizeof p) note();
                std::this_thread::sleep_for(std::chrono::microseconds(pauseUs));
                ::kill(pid, SIGKILL);
                while (::read(in, &p, sizeof p) == sizeof p) note();  // sent before death
            });
        if (r.status != 128 + SIGKILL) {
            Found(false, "kill " + std::to_string(k + 1) + ": the copy ended by itself (status " +
                             std::to_string(r.status) + (r.status == 5 ? ", a failure was shown)" : ")"));
            return;
        }
        // Everything up to the last operation reported over is kept; the one begun
        // after it may or may not be.
        for (uint32_t op = first; static_cast<int64_t>(op) <= ended; ++op) {
            switch (OpNumber(op)) {
            case Op::Win: model.Win(); ++games; break;
            case Op::Loss: model.Loss(); ++games; break;
            case Op::Clear: model.ClearCurrent(); ++clearings; break;
            }
        }
        next = static_cast<uint32_t>(ended + 1);
        karvelo::soak::StatModel withInFlight = model;
        const bool inFlight = begun > ended;
        if (inFlight) {
            switch (OpNumber(next)) {
            case Op::Win: withInFlight.Win(); break;
            case Op::Loss: withInFlight.Loss(); break;
            case Op::Clear: withInFlight.ClearCurrent(); break;
            }
        }
        const Stored stored = ReadStored();
        const std::string what = "kill " + std::to_string(k + 1) + " (operation " + std::to_string(next) + ")";
        if (stored == FromModel(model)) {
            if (inFlight) ++lost; else ++idle;
        } else if (inFlight && stored == FromModel(withInFlight)) {
            ++whole;
            model = withInFlight;
            OpNumber(next) == Op::Clear ? ++clearings : ++games;
            ++next;
        } else {
            Found(false, what + ": the record is neither before nor after the operation in flight "
                                "(Stat 1 = " + std::to_string(stored.current[1]) + ", expected " +
                             std::to_string(model.Stored(1)) + " or " +
                             std::to_string(withInFlight.Stored(1)) + ")");
            return;
        }
        model.NewRun();  // the next copy starts its own series
        if (const std::string broken = BrokenRelations(stored); !broken.empty()) {
            Found(false, what + ": the counters contradict each other: " + broken);
            return;
        }
        if (IntegrityCheck() != "ok" || !NothingSetAside()) {
            Found(false, what + " damaged the file");
            return;
        }
    }
    Found(true, std::to_string(kills) + " kills during " + std::to_string(games) + " games and " +
                    std::to_string(clearings) + " clearings kept: the operation in flight was kept whole " +
                    std::to_string(whole) + " times and lost " + std::to_string(lost) + " times" +
                    (idle ? " (" + std::to_string(idle) + " kills between operations)" : "") +
                    "; nothing before it lost, never a part of one, the counters consistent and "
                    "the file sound after every kill");
}

// ---- A full disk

// The child writes values until the store cannot take more, then records a game and
// clears the statistics; the parent checks that each write either returned or was
// reported, that the ones that returned are all there, that the game and the clearing
// were each kept whole or not at all with at most one message each, and that the store
// works again once there is room.
void FullDiskDrill(const std::string& dir, bool limitFileSize) {
    std::printf("full disk: %s\n", limitFileSize ? "the store limited to 64 KiB by RLIMIT_FSIZE"
                                                 : ("the store on " + dir).c_str());
    UseStoreIn(dir);
    karvelo::soak::StatModel model;  // a record of five games, the last two lost
    for (bool won : {true, true, true, false, false}) won ? model.Win() : model.Loss();
    const Stored fiveGames = FromModel(model);
    for (size_t i = 1; i <= 8; ++i)
        RegAPI::SetNewValue(HKEY_CURRENT_USER, kCurrent, "Binary", "Stat " + std::to_string(i),
                            std::to_string(fiveGames.current[i]));
    karvelo::CloseUserRegistry();
    const ChildResult r = InChild([&](int out) {
        if (limitFileSize) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        DrillHost host;
        const funktioner::Surroundings answering({.host = &host});
        // Large values until none fit, then small ones into the last gaps.
        int i = 0;
        for (const size_t length : {900u, 1u}) {
            const std::string blob(length, 'k');
            for (int refused = 0; i < 20000 && refused < 20; ++i) {
                const uint64_t failed = RegAPI::FailuresShown();
                RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "String", "v" + std::to_string(i),
                                    blob + "|" + std::to_string(i));
                if (RegAPI::FailuresShown() == failed) {
                    Send(out, "ok v" + std::to_string(i) + " " + std::to_string(length) + "\n");
                } else {
                    Send(out, "refused v" + std::to_string(i) + "\n");
                    ++refused;
                }
            }
        }
        size_t shown = host.messages.size();
        karvelo::RecordGameResult(false);
        Send(out, "game messages " + std::to_string(host.messages.size() - shown) + "\n");
        Send(out, "game counted " + std::to_string(karvelo::StatCounters(1)) + "\n");
        shown = host.messages.size();
        karvelo::ClearCurrentStatistics();
        Send(out, "clearing messages " + std::to_string(host.messages.size() - shown) + "\n");
        for (std::string m : host.messages) {
            for (size_t at; (at = m.find("\r\n")) != std::string::npos;) m.replace(at, 2, " / ");
            Send(out, "message " + m + "\n");
        }
    });
    Found(r.status == 0, "the copy of the game ran through (status " + std::to_string(r.status) + ")");

    std::vector<std::string> kept;  // "v<i> <length>" of each write that returned
    int gameMessages = -1, clearingMessages = -1, counted = -1;
    bool onlyKnownMessages = true;
    size_t messages = 0, refusals = 0;
    size_t pos = 0;
    while (pos < r.output.size()) {
        const size_t end = r.output.find('\n', pos);
        const std::string line = r.output.substr(pos, end - pos);
        pos = end == std::string::npos ? r.output.size() : end + 1;
        if (line.rfind("ok ", 0) == 0) kept.push_back(line.substr(3));
        if (line.rfind("refused ", 0) == 0) ++refusals;
        std::sscanf(line.c_str(), "game messages %d", &gameMessages);
        std::sscanf(line.c_str(), "game counted %d", &counted);
        std::sscanf(line.c_str(), "clearing messages %d", &clearingMessages);
        if (line.rfind("message ", 0) == 0) {
            ++messages;
            // What could not be written, and why: the full disk, named once.
            const std::string text = line.substr(8);
            const std::string what = text.substr(0, text.find(" / "));
            if ((what != "Could not set value" && what != "Could not open key_SetNewValue" &&
                 what != "Could not create key___CreateNewKey") ||
                text.find(" is full.") == std::string::npos) {
                onlyKnownMessages = false;
                std::printf("    message: %s\n", text.c_str());
            }
        }
    }
    Found(!kept.empty() && refusals > 0 && messages == 1,
          std::to_string(kept.size()) + " values written before the disk was full, then " +
              std::to_string(refusals) + " refused, told in " + std::to_string(messages) +
              " message");
    Found(onlyKnownMessages, "the message said what could not be written and that the disk is full");

    if (!limitFileSize) {
        // Make room again, as a player would.
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename() == "ballast") fs::remove(e.path());
    }
    DrillHost parent;
    const funktioner::Surroundings answering({.host = &parent});
    size_t lost = 0;
    for (const std::string& entry : kept) {
        const std::string name = entry.substr(0, entry.find(' '));
        const size_t length = std::strtoul(entry.c_str() + entry.find(' ') + 1, nullptr, 10);
        const std::string v = RegAPI::ReadRegValue(HKEY_CURRENT_USER, kScratch, name);
        if (v != std::string(length, 'k') + "|" + name.substr(1)) ++lost;
    }
    Found(lost == 0, "every value whose write returned is still there (" + std::to_string(lost) + " lost)");

    // The game: kept whole (six played, a run of three losses) or not at all, with one
    // message at most, and counted in memory exactly when it was kept.
    karvelo::soak::StatModel clearedFirst = model;  // the clearing kept, the game not
    clearedFirst.ClearCurrent();
    model.NewRun();
    model.Loss();
    const Stored sixGames = FromModel(model);
    model.ClearCurrent();
    const Stored cleared = FromModel(model);
    const Stored now = ReadStored();
    const bool gameKept = now == sixGames || now == cleared;
    const bool ok = now == fiveGames || now == sixGames || now == cleared ||
                    now == FromModel(clearedFirst);
    Found(ok && gameMessages <= 1 && clearingMessages <= 1 &&
              (gameKept ? counted == 6 : counted == 0),
          std::string("the game was ") + (gameKept ? "kept whole" : "not kept (the full disk told before)") +
              " and the clearing " + (now == cleared || now == FromModel(clearedFirst) ? "kept whole" : "not kept") +
              "; Stat 1 = " + std::to_string(now.current[1]) + ", total Stat 1 = " +
              std::to_string(now.total[1]));
    Found(BrokenRelations(now).empty(), "the counters are consistent");
    Found(IntegrityCheck() == "ok" && NothingSetAside(), "the file is sound and was not set aside");
    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, kScratch);
    const int32_t played = Stat(1);
    karvelo::RecordGameResult(true);
    Found(parent.messages.empty() && Stat(1) == played + 1,
          "with room again the store takes writes (" + std::to_string(parent.messages.size()) + " messages)");
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
            const funktioner::Surroundings answering({.host = &host});
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
        KillDrill(base, 25);
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
