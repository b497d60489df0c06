// karvelo-reg export: files that are compact, always import back to the same store, and
// an export that cannot be written whole ends with exit 1 and a reason, never a signal.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "regfile_fixture.h"

namespace karvelo::test {
namespace {

std::string Slurp(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

uint64_t FileBytes(const std::string& file) {
    std::error_code ignored;
    const auto n = std::filesystem::file_size(file, ignored);
    return ignored ? 0 : n;
}

// Random stores within the registry's limits, with what makes files hard: chains of
// keys hundreds of levels deep, names of the longest length, empty keys, characters
// that mean something in a registry file, text beyond the first plane.
class StoreMaker {
public:
    explicit StoreMaker(uint32_t seed) : random_(seed) {}

    std::vector<RegChange> Make() {
        std::vector<RegChange> changes;
        std::vector<std::pair<std::string, size_t>> keys{{"", 0}};  // path, depth
        const int count = Pick(1, 40);
        for (int k = 0; k < count; ++k) {
            const int at = Pick(0, static_cast<int>(keys.size()) - 1);
            const auto [parent, depth] = keys[static_cast<size_t>(at)];
            if (depth >= kMaxKeyDepth) continue;
            // Now and then a chain down to near the deepest a key may lie, values only
            // at its end, as an import of one deep key makes it.
            const bool chain = Pick(0, 9) == 0;
            const int room = static_cast<int>(kMaxKeyDepth - depth);
            const size_t levels = chain ? static_cast<size_t>(Pick(1, room)) : 1;
            std::string path = parent;
            for (size_t level = 0; level < levels; ++level)
                path +=
                    (path.empty() ? "" : "\\") + Name(chain ? Pick(200, 255) : Pick(1, 12), false);
            keys.emplace_back(path, depth + levels);
            changes.push_back({Kind::CreateKey, path, {}});
            const int values = Pick(0, 2) == 0 ? 0 : Pick(1, 4);  // a third stay empty
            for (int v = 0; v < values; ++v) changes.push_back({Kind::SetValue, path, Value()});
        }
        return changes;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // About `chars` characters as the registry counts them; a key's name has no
    // backslash, no name has a line break.
    std::string Name(int chars, bool value) {
        static const char* const kPieces[] = {
            "a", "Z", "7", " ", "\"", "[", "]", "=", "@", ";", "-", "\t", ":", "hex", "\xC3\xA4",
            "\xE2\x82\xAC", "\xF0\x9F\x82\xA1", "\\", "\\\\",
        };
        std::string name;
        int used = 0;
        while (used < chars) {
            const std::string piece = kPieces[Pick(0, value ? 18 : 16)];
            // Characters as the registry counts them: two for one beyond the first
            // plane, one for each of the others.
            const int cost = piece[0] == '\xF0'                         ? 2
                             : piece == "hex"                          ? 3
                             : piece.size() == 2 && piece[0] == '\\' ? 2
                                                                       : 1;
            if (used + cost > chars) break;
            name += piece;
            used += cost;
        }
        return name.empty() ? "k" : name;
    }

    RegValue Value() {
        RegValue v;
        const int kind = Pick(0, 7);
        v.name = kind == 0 ? "" : Name(Pick(0, 3) == 0 ? Pick(200, 16383) : Pick(1, 20), true);
        std::string bytes;
        const int length = Pick(0, 3) == 0 ? Pick(0, 2000) : Pick(0, 12);
        for (int i = 0; i < length; ++i) bytes += static_cast<char>(Pick(0, 255));
        switch (kind) {
        case 1:  // a string as the game writes one
            v.type = 1;
            v.data = Name(Pick(0, 30), true) + '\0';
            break;
        case 2:  // a string a file cannot quote: no terminator, inner zeros, any bytes
            v.type = 1;
            v.data = bytes;
            break;
        case 3:
            v.type = 4;
            // Mostly the four bytes of a number, now and then any other length.
            v.data = Pick(0, 3) == 0
                         ? bytes
                         : bytes.substr(0, 4) + std::string(4 - std::min<size_t>(4, bytes.size()), '\0');
            break;
        case 4:
            v.type = static_cast<uint32_t>(Pick(0, 12));
            v.data = bytes;
            break;
        case 5:
            v.type = 0xFFFFFFFFu;
            v.data = bytes;
            break;
        default:
            v.type = 3;
            v.data = bytes;
            break;
        }
        return v;
    }

    std::mt19937 random_;
};

// Export, then import into an empty store: the same keys (empty ones too), the same
// values byte for byte, through the tool itself, in both encodings. And the file is
// never much larger than the store it comes from.
TEST_F(RegFiles, EveryExportImportsBackToTheSameStore) {
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        UseFreshStore("from" + std::to_string(seed));
        ASSERT_EQ(UserRegistry().Apply(StoreMaker(seed).Make()), 0);
        const auto before = All();
        const std::string store = UserRegistry().file();
        CloseUserRegistry();

        const std::string file = configDir + "/export" + std::to_string(seed) + ".reg";
        const std::string utf16 = seed % 3 == 0 ? "--utf16 " : "";
        Run run = RunShell("TOOL export " + utf16 + file);
        ASSERT_EQ(run.status, 0) << run.said;
        EXPECT_LE(FileBytes(file), 4 * FileBytes(store) + 4096);

        UseFreshStore("to" + std::to_string(seed));
        run = RunShell("TOOL import " + file);
        ASSERT_EQ(run.status, 0) << run.said;
        EXPECT_EQ(All(), before);
        CloseUserRegistry();
    }
}

// One key 511 levels deep under names of 255 characters is one line, not one line per
// level with every path above it again: eight such keys export to about the file that
// made them, and that file imports back.
TEST_F(RegFiles, ADeepChainOfKeysIsOneLine) {
    std::string file = std::string(regfile::kHeader) + "\r\n\r\n";
    for (char top = 'a'; top < 'a' + 8; ++top) {
        file += "[HKEY_CURRENT_USER\\" + std::string(255, top);
        for (int level = 1; level < 511; ++level) file += "\\" + std::string(255, 'k');
        file += "]\r\n\"end\"=dword:00000001\r\n\r\n";
    }
    const std::string made = configDir + "/deep.reg", exported = configDir + "/exported.reg";
    std::ofstream(made, std::ios::binary) << file;
    ASSERT_EQ(RunTool("import " + made), 0);
    const Run run = RunShell("exec TOOL export " + exported);
    ASSERT_EQ(run.status, 0) << run.said;
    EXPECT_LT(FileBytes(exported), file.size() + 1024);
    EXPECT_LT(run.peakKb, kMeasuresMemory ? OwnResidentKb() + 32 * 1024 : kNoBound) << run.peakKb;
    const auto before = All();
    CloseUserRegistry();

    UseFreshStore("restored");
    ASSERT_EQ(RunTool("import " + exported), 0);
    EXPECT_EQ(All(), before);
}

// What import could not read back is not written: a store beyond one file's size (in
// the encoding asked for), or a name with a line break. The reason is said, an earlier
// backup of the same name stays as it was.
TEST_F(RegFiles, AnExportImportCouldNotReadBackIsRefused) {
    Set(kScratch, "big", 3, std::string(3u << 20, '\x5A'));  // 3 MiB: about 10 MB of hex
    CloseUserRegistry();
    const std::string backup = configDir + "/backup.reg";
    ASSERT_EQ(RunTool("export " + backup), 0);
    EXPECT_LE(FileBytes(backup), regfile::kMaxFileBytes);
    std::ofstream(backup) << "the earlier backup";
    Run run = RunShell("TOOL export --utf16 " + backup);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said,
              "karvelo-reg: the store is too large for one registry file: its export would pass "
              "16 MiB, the most that karvelo-reg import reads; nothing was written\n");
    EXPECT_EQ(Slurp(backup), "the earlier backup");

    // A chain with values at every level cannot be written short: each of its keys
    // needs its whole path.
    std::vector<RegChange> chain;
    std::string path = "Chain";
    for (int level = 1; level < 400; ++level) {
        path += "\\" + std::string(255, 'c');
        chain.push_back({Kind::SetValue, path, {"v", 4, std::string(4, '\0')}});
    }
    UseFreshStore("chain");
    ASSERT_EQ(UserRegistry().Apply(chain), 0);
    const auto refused = regfile::Export(Tree());
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.text.empty());

    UseFreshStore("line break");
    Set(kScratch, "two\nlines", 1, std::string("x\0", 2));
    const auto broken = regfile::Export(Tree());
    EXPECT_FALSE(broken.ok);
    EXPECT_EQ(broken.error, "the value \"two\\x0Alines\" of the key \"Software\\Karvelo Test\" has a "
                            "name that a registry file cannot carry");
}

// A reader that has gone, a full device, too little memory: exit 1 and a reason, never
// a signal, whatever the signals' handling the tool was started with.
TEST_F(RegFiles, AnExportThatCannotBeWrittenEndsWithExitOneNotASignal) {
    Set(kScratch, "v", 3, std::string(100000, '\x01'));
    CloseUserRegistry();

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    ::close(out[0]);  // nobody will read
    Run run = RunShell("exec TOOL export", out[1]);
    ::close(out[1]);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: cannot write to standard output: Broken pipe\n");

    run = RunShell("exec TOOL export --utf16 - >/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: cannot write to standard output: No space left on device\n");

    if (!kMeasuresMemory) return;  // a sanitizer's address space cannot be limited
    // The least address space the tool exports an empty store in, then that with a
    // store that needs megabytes more.
    UseFreshStore("empty");
    ASSERT_EQ(RunTool("export " + configDir + "/empty.reg"), 0);
    long low = 1024, high = 1024 * 1024;  // kB
    while (high - low > 256) {
        const long mid = (low + high) / 2;
        const Run tried = RunShell("ulimit -v " + std::to_string(mid) + "; exec TOOL export /dev/null");
        (tried.status == 0 ? high : low) = mid;
    }
    UseFreshStore("large");
    Set(kScratch, "large", 3, std::string(4u << 20, '\x01'));
    CloseUserRegistry();
    run = RunShell("ulimit -v " + std::to_string(high + 8 * 1024) + "; exec TOOL export /dev/null");
    EXPECT_EQ(run.signal, 0) << run.said;
    EXPECT_EQ(run.status, 1) << run.said;
    EXPECT_EQ(run.said.rfind("karvelo-reg: ", 0), 0u) << run.said;
    EXPECT_NE(run.said.find("out of memory"), std::string::npos) << run.said;
}

}  // namespace
}  // namespace karvelo::test
