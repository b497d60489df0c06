#pragma once
// The registry layer: every read and write of what outlives a run goes through these
// five operations. Values are exchanged as text; failures are shown to the player in
// OK-only message boxes titled "Karvelo" and never returned to the caller.
#include <cstdint>
#include <string>

namespace RegAPI {

using RootKey = uint32_t;
inline constexpr RootKey HKEY_CURRENT_USER = 0x80000001u;

// The application key; sub-keys are appended directly ("...\\Karvelo\\Installningar").
inline constexpr const char* kAppKey = "Software\\VB and VBA Program Settings\\Karvelo";

void CreateNewKey(RootKey root, const std::string& subKey);
void SetNewValue(RootKey root, const std::string& subKey, const std::string& typeName,
                 const std::string& valueName, const std::string& valueText);
std::string ReadRegValue(RootKey root, const std::string& subKey, const std::string& valueName);
void DeleteRegKey(RootKey root, const std::string& subKey);
void DeleteRegValue(RootKey root, const std::string& subKey, const std::string& valueName);
// Whether the key can be opened; silent, for callers that only need to know.
bool KeyExists(RootKey root, const std::string& subKey);

// Text to number as the layer reads it: leading blanks skipped, optional minus, "."
// as decimal point, no leading number gives 0, halves to the even neighbour, and
// values beyond the signed 32-bit range saturate at its ends.
int32_t TextToInt32(const std::string& text);
// The same number unrounded (the settings keep a stored speed's fraction for choosing
// its menu item); a number beyond a double's range counts as 0.
double TextToNumber(const std::string& text);

// How many failures the layer has reported since the program started; lets a caller
// tell whether a series of operations went through. Inside a series only the first
// failure is shown as a message box, but every one is counted.
uint64_t FailuresShown();

// Holds the store for a series of operations that belong together, for as long as it
// lives (see Backend::BeginSeries). Where the store has transactions the series is
// kept whole or not at all: its writes become durable when the outermost Series ends,
// and nothing of it is kept when any of its operations reported a failure. A failure
// that loses it at the end is shown then ("Could not set value"). The player sees at
// most one failure message for a whole series.
class Series {
public:
    Series();
    ~Series();
    Series(const Series&) = delete;
    Series& operator=(const Series&) = delete;
};

// Shows a failure of the store the way the operations show theirs (an OK box with the
// application title), counted in FailuresShown. A failure because another program
// holds the store is only counted: the store tells that once for the sitting.
void ShowFailure(const std::string& text, bool storeHeld = false);

// How many operations since the program started failed, or read nothing, because
// another program held the store.
uint64_t HeldOperations();

// How many ReadRegValue calls since the program started found the store itself
// unreadable (busy, damaged, failing), rather than the key or value merely missing.
// Such a read still answers "0" without a message; a caller about to write back
// something computed from it can tell that the "0" is not a stored 0.
uint64_t UnreadableReads();

// How many DeleteRegKey calls found their key but could not delete it (it has
// sub-keys, or the store refused). The operation itself stays silent about it.
uint64_t UndeletedKeys();

}  // namespace RegAPI
