#pragma once
// The engine's draw from the random source.

namespace funktioner {

// The next value of the installed source, always in [0, 1): values a source should
// never give (negative, 1 or more, not a number) are brought into that range.
float NextRandom();

}  // namespace funktioner
