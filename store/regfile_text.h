#pragma once
// What reading and writing registry files share: the registry's root and value types
// as the files name them, and UTF-8 and UTF-16 one character or unit at a time.
#include <cstddef>
#include <cstdint>
#include <string>

namespace karvelo::regfile {

inline constexpr const char* kRoot = "HKEY_CURRENT_USER";

inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;

// Decodes one UTF-8 sequence at text[i] and moves i past it; false when it is not
// valid UTF-8.
bool DecodeUtf8(const std::string& text, size_t& i, char32_t* c);
bool ValidUtf8(const std::string& text);
void AppendUtf8(std::string& out, char32_t c);
// One UTF-16 unit, little-endian.
void AppendUnit(std::string& out, uint16_t unit);

}  // namespace karvelo::regfile
