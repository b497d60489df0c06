// karvelo-reg: backs up and restores the per-user store as a Windows registry file.
//   karvelo-reg export [--utf16] [FILE]   the whole store, to FILE or standard output
//   karvelo-reg import FILE               adds FILE's keys and values to the store
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "regfile.h"
#include "registry_db.h"

namespace {

int Usage() {
    std::cerr << "usage: karvelo-reg export [--utf16] [FILE]\n"
                 "       karvelo-reg import FILE\n"
                 "The store is " << karvelo::UserRegistryFile() << "\n";
    return 2;
}

int Export(int argc, char** argv) {
    bool utf16 = false;
    std::string target;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--utf16") == 0)
            utf16 = true;
        else if (target.empty())
            target = argv[i];
        else
            return Usage();
    }
    std::vector<karvelo::RegKey> keys;
    struct stat st {};
    if (::stat(karvelo::UserRegistryFile().c_str(), &st) == 0) {
        const auto s = karvelo::UserRegistry().ReadAll(&keys);
        if (s != 0) {
            std::cerr << "karvelo-reg: cannot read " << karvelo::UserRegistryFile()
                      << " (error " << s << ")\n";
            return 1;
        }
    }
    std::string text = karvelo::regfile::Export(keys);
    if (utf16) text = karvelo::regfile::ToUtf16(text);

    if (target.empty() || target == "-") {
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        std::cerr << "karvelo-reg: cannot write " << target << "\n";
        return 1;
    }
    return 0;
}

int Import(int argc, char** argv) {
    if (argc != 3) return Usage();
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::cerr << "karvelo-reg: cannot open " << argv[2] << "\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const auto parsed = karvelo::regfile::Parse(bytes.str());
    if (!parsed.ok) {
        std::cerr << "karvelo-reg: " << argv[2] << ", " << parsed.error
                  << "\nNothing was imported.\n";
        return 1;
    }
    const auto s = karvelo::UserRegistry().Apply(parsed.changes);
    if (s != 0) {
        std::cerr << "karvelo-reg: cannot write " << karvelo::UserRegistryFile() << " (error "
                  << s << ")\nNothing was imported.\n";
        return 1;
    }
    size_t values = 0;
    for (const auto& c : parsed.changes)
        if (c.kind == karvelo::RegChange::Kind::SetValue) ++values;
    std::cerr << "karvelo-reg: imported " << values << " value(s) into "
              << karvelo::UserRegistryFile() << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "export") return Export(argc, argv);
    if (command == "import") return Import(argc, argv);
    return Usage();
}
