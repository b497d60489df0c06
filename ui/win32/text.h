#pragma once
// The program's texts are UTF-8; Windows takes UTF-16. Malformed UTF-8 (which the
// program never makes) becomes U+FFFD rather than being cut short.
#include <string>
#include <string_view>

namespace karvelo::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace karvelo::win32
