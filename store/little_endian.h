#pragma once
// The registry's four-byte numbers (REG_DWORD, and the REG_BINARY counters the program
// writes) are little-endian whatever the processor: the lowest byte first.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace RegAPI {

inline std::array<uint8_t, 4> LittleEndianBytes(uint32_t u) {
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

inline uint32_t FromLittleEndian(const std::array<uint8_t, 4>& b) {
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

// The same over text that holds raw bytes (a value as a registry file carries it).
inline std::string LittleEndianText(uint32_t u) {
    const auto b = LittleEndianBytes(u);
    return std::string(b.begin(), b.end());
}

// `bytes` must hold exactly four bytes.
inline uint32_t FromLittleEndian(std::string_view bytes) {
    return FromLittleEndian({static_cast<uint8_t>(bytes[0]), static_cast<uint8_t>(bytes[1]),
                             static_cast<uint8_t>(bytes[2]), static_cast<uint8_t>(bytes[3])});
}

}  // namespace RegAPI
