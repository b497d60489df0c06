#pragma once
// What the registry file tests share: an empty store per test, values put straight in,
// and the karvelo-reg tool run as a child with what it said and how it ended.
#include <sys/types.h>

#include <string>
#include <vector>

#include "regfile.h"
#include "registry_db.h"
#include "store_test_support.h"

namespace karvelo::test {

using Kind = RegChange::Kind;

// Under AddressSanitizer freed memory is held back for a while and the address space
// is reserved in terabytes, so neither the tool's peak memory nor a limit on its
// address space says anything.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMeasuresMemory = false;
#else
inline constexpr bool kMeasuresMemory = true;
#endif
inline constexpr long kNoBound = 1L << 40;

// This process's resident size: a child started from it counts that much as its own
// peak, even after it has become another program.
long OwnResidentKb();

class RegFiles : public StoreTest {
protected:
    static std::vector<RegKey> All();
    static std::vector<RegNode> Tree();
    static void Set(const std::string& path, const std::string& name, uint32_t type,
                    const std::string& data);
    // Points the user's store at a fresh folder below this test's.
    void UseFreshStore(const std::string& name);
    static int RunTool(const std::string& arguments);

    struct Run {
        int status = -1;     // exit code, or -1 when it did not exit
        int signal = 0;      // the signal that ended it, if one did
        std::string said;    // its standard error
        long peakKb = 0;     // its largest resident size
    };
    // Runs `shell` (a command line naming the tool as TOOL; "exec TOOL" to measure the
    // tool's own memory) with standard error caught, and standard output on `out` when
    // given.
    static Run RunShell(const std::string& shell, int out = -1);
    // Starts the tool with `arguments` and standard input from `in`; standard error
    // goes to `err`.
    static pid_t StartTool(const std::vector<std::string>& arguments, int in, int err);
    // How a started tool ended, waiting at most `seconds` (then it is killed and the
    // run reported as ended by that signal).
    static Run Finish(pid_t pid, int err, int seconds);

    // What a reader hands over, as text: "key P", "tree P", "set N", "delete N".
    class Recorder final : public regfile::Sink {
    public:
        bool OpenKey(const std::string& path) override { return Note("key " + path); }
        bool DeleteTree(const std::string& path) override { return Note("tree " + path); }
        bool SetValue(const RegValue& v) override {
            return Note("set " + v.name + " " + std::to_string(v.type) + " " + Hex(v.data));
        }
        bool DeleteValue(const std::string& name) override { return Note("delete " + name); }
        std::vector<std::string> seen;

    private:
        bool Note(const std::string& what) {
            seen.push_back(what);
            return true;
        }
    };
};

}  // namespace karvelo::test
