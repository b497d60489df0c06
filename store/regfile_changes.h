#pragma once
// The changes of a registry file held in memory between reading and writing them, so
// that a file is read and checked whole before the store is touched, and the store is
// held only while they are written. Each change is kept as its kind and the lengths
// and bytes of its texts, one after another in one buffer: a key's path once for the
// values that follow it, never a copy per value, so the buffer stays within a small
// multiple of the file that filled it.
#include <cstdint>
#include <string>

#include "regfile.h"

namespace karvelo::regfile {

class ChangeBuffer final : public Sink {
public:
    bool OpenKey(const std::string& path) override;
    bool DeleteTree(const std::string& path) override;
    bool SetValue(const RegValue& value) override;
    bool DeleteValue(const std::string& name) override;

    // Hands every change to `sink` in the order it was read; false as soon as the sink
    // refuses one.
    bool Replay(Sink& sink) const;
    size_t bytes() const { return buffer_.size(); }

private:
    enum Kind : uint8_t { kOpenKey, kDeleteTree, kSetValue, kDeleteValue };
    void Put(Kind kind);
    void Put(const std::string& text);
    void Put(uint32_t number);

    std::string buffer_;
};

}  // namespace karvelo::regfile
