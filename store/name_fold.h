#pragma once
// Key paths and value names compare without regard to letter case, as in the
// registry. Folding maps a UTF-8 name to the form that is compared and indexed.
#include <string>

namespace karvelo {

// Upper-cases ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters; every
// other character, and bytes that are not valid UTF-8, are kept as they are.
std::string FoldName(const std::string& utf8);

}  // namespace karvelo
