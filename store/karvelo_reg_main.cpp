// karvelo-reg: backs up and restores the per-user store as a Windows registry file.
//   karvelo-reg export [--utf16] [FILE]   the whole store, to FILE or standard output
//   karvelo-reg import FILE               adds FILE's keys and values to the store
// Exit status: 0 done, 1 failed (the reason on standard error), 2 not understood.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <string>

#include "regfile.h"
#include "regfile_changes.h"
#include "registry_db.h"

namespace {

using karvelo::RegistryDb;

int Usage(const std::string& complaint) {
    std::cerr << "karvelo-reg: " << complaint << "\n"
              << "usage: karvelo-reg export [--utf16] [FILE]\n"
                 "       karvelo-reg import FILE\n"
                 "The store is " << karvelo::UserRegistryFile() << "\n";
    return 2;
}

int Fail(const std::string& what) {
    std::cerr << "karvelo-reg: " << what << "\n";
    return 1;
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// Why the store could not be used: what opening it found, else SQLite's words.
std::string StoreFailure(RegistryDb& db, RegAPI::Status status) {
    const std::string notice = db.TakeNotice();
    if (!notice.empty()) return notice;
    return "cannot use the store " + db.file() + " (" +
           (db.lastError().empty() ? "error " + std::to_string(status) : db.lastError()) + ")";
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes a regular file through a temporary one beside it, so that a write that fails
// (a full disk) leaves an earlier backup of the same name as it was. Anything else (a
// device, a pipe) is written directly. False with errno set on a failure.
bool WriteFile(const std::string& target, const std::string& text) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            return false;
        }
        const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) return false;
        const bool ok = WriteAll(fd, text);
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return ok;
    }
    const std::string temporary = target + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && std::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) ::unlink(temporary.c_str());
    errno = saved;
    return ok;
}

int Export(int argc, char** argv) {
    bool utf16 = false;
    std::string target;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--utf16")
            utf16 = true;
        else if (IsOption(arg))
            return Usage("unknown option " + arg);
        else if (target.empty())
            target = arg;
        else
            return Usage("only one file can be written");
    }
    std::vector<karvelo::RegNode> keys;
    struct stat st {};
    if (::stat(karvelo::UserRegistryFile().c_str(), &st) == 0) {
        RegistryDb& db = karvelo::UserRegistry();
        const auto s = db.ReadTree(&keys);
        if (s != RegAPI::kSuccess) return Fail(StoreFailure(db, s));
    }
    auto exported = karvelo::regfile::Export(
        keys, utf16 ? karvelo::regfile::Encoding::kUtf16 : karvelo::regfile::Encoding::kUtf8);
    keys.clear();
    keys.shrink_to_fit();
    if (!exported.ok) return Fail(exported.error + "; nothing was written");
    const std::string& text = exported.text;

    if (target.empty() || target == "-") {
        if (!WriteAll(STDOUT_FILENO, text))
            return Fail(std::string("cannot write to standard output: ") + std::strerror(errno));
        return 0;
    }
    if (!WriteFile(target, text))
        return Fail("cannot write " + target + ": " + std::strerror(errno));
    return 0;
}

// Hands what a registry file holds to the store, in one transaction.
class StoreSink final : public karvelo::regfile::Sink {
public:
    explicit StoreSink(RegistryDb::Batch& batch) : batch_(batch) {}
    bool OpenKey(const std::string& path) override { return Ok(batch_.OpenKey(path)); }
    bool DeleteTree(const std::string& path) override { return Ok(batch_.DeleteTree(path)); }
    bool SetValue(const karvelo::RegValue& value) override { return Ok(batch_.SetValue(value)); }
    bool DeleteValue(const std::string& name) override { return Ok(batch_.DeleteValue(name)); }
    RegAPI::Status status = RegAPI::kSuccess;

private:
    bool Ok(RegAPI::Status s) {
        status = s;
        return s == RegAPI::kSuccess;
    }
    RegistryDb::Batch& batch_;
};

int Import(int argc, char** argv) {
    if (argc < 3) return Usage("import needs the file to read");
    for (int i = 2; i < argc; ++i)
        if (IsOption(argv[i])) return Usage(std::string("unknown option ") + argv[i]);
    if (argc > 3) return Usage("only one file can be imported");
    const std::string file = argv[2];
    const std::string nothing = "\nNothing was imported.";

    const int fd = file == "-" ? STDIN_FILENO : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail("cannot open " + file + ": " + std::strerror(errno) + nothing);
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        if (S_ISDIR(st.st_mode)) return Fail(file + " is a directory, not a registry file" + nothing);
        if (S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) > karvelo::regfile::kMaxFileBytes)
            return Fail(file + " is larger than " +
                        std::to_string(karvelo::regfile::kMaxFileBytes >> 20) + " MiB (" +
                        std::to_string(st.st_size) + " bytes)" + nothing);
    }

    // The whole file is read and checked before the store is even opened: a file that
    // is slow to come (a pipe, typing) or refused holds nothing a game needs.
    karvelo::regfile::ChangeBuffer changes;
    const karvelo::regfile::Source source = [fd](char* buffer, size_t size) -> long {
        while (true) {
            const ssize_t n = ::read(fd, buffer, size);
            if (n < 0 && errno == EINTR) continue;
            return static_cast<long>(n);
        }
    };
    const auto read = karvelo::regfile::Read(source, changes);
    if (fd != STDIN_FILENO) ::close(fd);
    if (!read.ok) return Fail(file + ", " + read.error + nothing);

    // Only the writing holds the store, in one transaction.
    RegistryDb& db = karvelo::UserRegistry();
    RegistryDb::Batch batch(db);
    StoreSink sink(batch);
    if (!changes.Replay(sink)) return Fail(StoreFailure(db, sink.status) + nothing);
    if (const auto s = batch.Commit(); s != RegAPI::kSuccess)
        return Fail(StoreFailure(db, s) + nothing);
    std::cerr << "karvelo-reg: imported " << read.values << " value(s) into " << db.file() << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that has gone (a closed pipe) and a file size limit make writes fail,
    // which is reported, instead of ending the tool by a signal with nothing said.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        if (argc < 2) return Usage("export or import?");
        const std::string command = argv[1];
        if (command == "export") return Export(argc, argv);
        if (command == "import") return Import(argc, argv);
        return Usage("unknown command " + command);
    } catch (const std::bad_alloc&) {
        // Said without taking memory. An export writes nothing before all of it is
        // made, and an import's transaction is dropped on the way out.
        static const char kExport[] = "karvelo-reg: out of memory; nothing was written\n";
        static const char kImport[] = "karvelo-reg: out of memory\nNothing was imported.\n";
        const bool exporting = argc >= 2 && std::strcmp(argv[1], "export") == 0;
        [[maybe_unused]] const ssize_t n =
            ::write(STDERR_FILENO, exporting ? kExport : kImport,
                    exporting ? sizeof kExport - 1 : sizeof kImport - 1);
        return 1;
    }
}
