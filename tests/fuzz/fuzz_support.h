#pragma once
// Shared set-up of the fuzz targets: a throw-away per-user store and a host that
// counts message boxes instead of showing them.
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Points the per-user store at a fresh temporary folder and installs a silent host.
// Safe to call on every input; the work is done once.
void UseScratchStore();

// Where scratch stores go: memory-backed when the system has such a folder, so that
// the store's synchronised writes do not wait for a disk.
std::string ScratchFolder();

// Reads successive values out of the fuzzer's bytes.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool empty() const { return p_ == end_; }
    uint8_t Byte() { return p_ == end_ ? 0 : *p_++; }
    int32_t Int32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(Byte()) << (8 * i);
        return static_cast<int32_t>(v);
    }
    std::string Text(size_t maxLength) {
        size_t n = Byte();
        if (n > maxLength) n = maxLength;
        std::string s;
        while (n-- > 0 && p_ != end_) s.push_back(static_cast<char>(*p_++));
        return s;
    }
    std::string Rest() {
        std::string s(reinterpret_cast<const char*>(p_), static_cast<size_t>(end_ - p_));
        p_ = end_;
        return s;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

}  // namespace fuzz
