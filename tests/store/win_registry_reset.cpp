// Emptying the real registry between tests (Windows only).
#include <string>

#include <windows.h>

namespace karvelo::test {

void DeleteUserKeyTree(const std::string& path) { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

}  // namespace karvelo::test
