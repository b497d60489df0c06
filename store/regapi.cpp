// The five registry operations, written once over the primitives of reg_backend.h.
// Failures are shown to the player in OK-only message boxes and never returned.
#include "regapi.h"

#include <array>
#include <exception>
#include <set>
#include <string>
#include <vector>

#include "host.h"
#include "little_endian.h"
#include "reg_backend.h"
#include "store_session.h"

namespace RegAPI {
namespace {

// The layer's state belongs to the store's session of this sitting.
LayerState& S() { return karvelo::session().layer; }

// A read that failed for a reason other than the key or value being absent.
void NoteRead(Status s) {
    if (s != kSuccess && s != kFileNotFound) ++S().unreadable;
    if (s == kBusy) ++S().held;
}

void Box(const std::string& text) {
    karvelo::host().MsgBox(text, karvelo::Buttons::OK, karvelo::Icon::None,
                           karvelo::DefaultButton::First, karvelo::kAppTitle);
}

// A failure: shown, unless the series it belongs to has shown one already, or another
// program holds the store (the store tells that once, for the whole sitting).
void Show(const std::string& text, Status status = kSuccess) {
    ++S().failures;
    if (status == kBusy) {
        ++S().held;
        if (S().seriesDepth > 0) S().failedInSeries = true;
        return;
    }
    if (S().seriesDepth > 0) {
        S().failedInSeries = true;
        if (S().shownInSeries) return;
        S().shownInSeries = true;
    }
    // Where the store names the cause, the player learns it once, with the first
    // failure it causes; later failures of the same cause are only counted.
    std::string cause;
    if (status == kAccessDenied || status == kCantOpen || status == kIoFailed || status == kBadDb) {
        try {
            cause = backend().FailureCause();
        } catch (...) {
        }
    }
    if (!cause.empty()) {
        if (!S().causesTold.insert(cause).second) return;
        Box(text + "\r\n" + cause);
        return;
    }
    Box(text);
}

// What the store did about a file it could not use is told once, when the operation
// that found out is over. It is news, not a failure of the operation.
void TellNotice() {
    try {
        const std::string notice = backend().TakeNotice();
        if (!notice.empty()) Box(notice);
    } catch (...) {
    }
}

class TellNoticeAfter {
public:
    TellNoticeAfter() = default;
    ~TellNoticeAfter() { TellNotice(); }
    TellNoticeAfter(const TellNoticeAfter&) = delete;
    TellNoticeAfter& operator=(const TellNoticeAfter&) = delete;
};

// A failure nobody planned for (out of memory, a backend throwing) is reported with
// its own description, and the operation stops there.
void ShowUnexpected(const std::exception& e) { Show(e.what()); }
void ShowUnexpected() { Show("Unknown error"); }

// An open key that is closed when it goes out of scope, unless closed before.
class OpenedKey {
public:
    explicit OpenedKey(Backend& reg) : reg_(reg) {}
    ~OpenedKey() {
        if (!open_) return;
        try {
            reg_.CloseKey(key_);
        } catch (...) {
        }
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    Status Create(RootKey root, const std::string& subKey) {
        const Status s = reg_.CreateKey(root, subKey, kKeyAllAccess, &key_);
        open_ = s == kSuccess;
        return s;
    }
    Status Open(RootKey root, const std::string& subKey, uint32_t access) {
        const Status s = reg_.OpenKey(root, subKey, access, &key_);
        open_ = s == kSuccess;
        return s;
    }
    Status Close() {
        open_ = false;
        return reg_.CloseKey(key_);
    }
    KeyHandle handle() const { return key_; }

private:
    Backend& reg_;
    KeyHandle key_ = 0;
    bool open_ = false;
};

}  // namespace

Series::Series() {
    if (S().seriesDepth++ == 0) S().failedInSeries = S().shownInSeries = false;
    try {
        backend().BeginSeries();
    } catch (...) {
        // Without the hold the series still runs, as it would in a single copy.
    }
    TellNotice();
}

Series::~Series() {
    try {
        // A series with a failure in it is taken back where the store can do that, so
        // that the record never holds part of one; a store that keeps the series whole
        // reports at its end when it could not.
        if (S().seriesDepth == 1 && S().failedInSeries) backend().UndoSeries();
        if (const Status s = backend().EndSeries(); s != kSuccess) Show("Could not set value", s);
    } catch (...) {
    }
    if (--S().seriesDepth == 0) S().failedInSeries = S().shownInSeries = false;
}

uint64_t FailuresShown() { return S().failures; }
void ShowFailure(const std::string& text, bool storeHeld) {
    Show(text, storeHeld ? kBusy : kIoFailed);
}
uint64_t HeldOperations() { return S().held; }
uint64_t UnreadableReads() { return S().unreadable; }
uint64_t UndeletedKeys() { return S().undeleted; }

Backend& backend() { return S().installed ? *S().installed : PlatformBackend(); }
void SetBackend(Backend* b) { S().installed = b; }

void CreateNewKey(RootKey root, const std::string& subKey) {
    const TellNoticeAfter notices;
    try {
        if (subKey.empty()) {
            Show("Bad input to create key\r\nKey =  " + subKey);
            return;
        }
        OpenedKey key(backend());
        if (const Status s = key.Create(root, subKey); s != kSuccess) {
            Show("Could not create key___CreateNewKey", s);
            return;
        }
        if (key.Close() != kSuccess) Show("Could not close key");
    } catch (const std::exception& e) {
        ShowUnexpected(e);
    } catch (...) {
        ShowUnexpected();
    }
}

void SetNewValue(RootKey root, const std::string& subKey, const std::string& typeName,
                 const std::string& valueName, const std::string& valueText) {
    const TellNoticeAfter notices;
    try {
        if (valueText.empty()) {
            Show("Bad input to creat value\r\nValue =  " + valueText);
            return;
        }
        Backend& reg = backend();
        OpenedKey key(reg);
        if (const Status s = key.Create(root, subKey); s != kSuccess) {
            Show("Could not open key_SetNewValue", s);
            return;
        }
        Status written = kSuccess;
        if (typeName == "String") {
            std::string bytes = reg.EncodeText(valueText);
            bytes.push_back('\0');
            written = reg.SetValue(key.handle(), valueName, kRegSz,
                                   reinterpret_cast<const uint8_t*>(bytes.data()),
                                   static_cast<uint32_t>(bytes.size()));
        } else if (typeName == "Number" || typeName == "Binary") {
            const auto bytes = LittleEndianBytes(static_cast<uint32_t>(TextToInt32(valueText)));
            written = reg.SetValue(key.handle(), valueName,
                                   typeName == "Number" ? kRegDword : kRegBinary,
                                   bytes.data(), static_cast<uint32_t>(bytes.size()));
        } else {
            Show("Bad input to create value\r\nType =  " + typeName);
            key.Close();
            return;
        }
        if (written != kSuccess) Show("Could not set value", written);
        key.Close();
    } catch (const std::exception& e) {
        ShowUnexpected(e);
    } catch (...) {
        ShowUnexpected();
    }
}

std::string ReadRegValue(RootKey root, const std::string& subKey, const std::string& valueName) {
    const TellNoticeAfter notices;
    std::string result = "0";
    try {
        Backend& reg = backend();
        OpenedKey key(reg);
        if (const Status s = key.Open(root, subKey, kKeyQueryValue); s != kSuccess) {
            NoteRead(s);
            return "0";
        }

        uint32_t type = 0;
        uint32_t size = 0;
        // Type and size only.
        NoteRead(reg.QueryValue(key.handle(), valueName, &type, nullptr, &size));

        if (type == kRegSz) {
            std::vector<uint8_t> buffer(size, 0);
            uint32_t got = size;
            const Status read = reg.QueryValue(key.handle(), valueName, nullptr, buffer.data(), &got);
            NoteRead(read);
            if (read == kSuccess) {
                // Drop the terminating zero, and anything after a zero stored inside.
                got = got < size ? got : size;
                std::string stored(buffer.begin(), buffer.begin() + (got > 0 ? got - 1 : 0));
                stored = stored.substr(0, stored.find('\0'));
                result = reg.DecodeText(stored);
            }
        } else if (type == kRegBinary || type == kRegDword) {
            // A 4-byte buffer: shorter data leaves the high bytes 0, longer data does
            // not fit and reads as "0".
            std::array<uint8_t, 4> bytes{};
            uint32_t got = static_cast<uint32_t>(bytes.size());
            const Status read = reg.QueryValue(key.handle(), valueName, nullptr, bytes.data(), &got);
            // Longer data than the buffer is the store's answer, not a failure.
            if (read != kMoreData) NoteRead(read);
            if (read == kSuccess) {
                result = std::to_string(static_cast<int32_t>(FromLittleEndian(bytes)));
            }
        }
        key.Close();
    } catch (const std::exception& e) {
        ++S().unreadable;
        ShowUnexpected(e);
    } catch (...) {
        ++S().unreadable;
        ShowUnexpected();
    }
    return result;
}

void DeleteRegKey(RootKey root, const std::string& subKey) {
    const TellNoticeAfter notices;
    try {
        Backend& reg = backend();
        {
            OpenedKey probe(reg);  // only to learn that the key exists
            if (const Status s = probe.Open(root, subKey, kKeyQueryValue); s != kSuccess) {
                Show("Could not open key_DeleteRegKey", s);
                return;
            }
        }
        // A key that cannot be deleted stays, silently; the caller can tell.
        const Status deleted = reg.DeleteKey(root, subKey);
        if (deleted != kSuccess && deleted != kFileNotFound) ++S().undeleted;
        if (deleted == kBusy) ++S().held;
    } catch (const std::exception& e) {
        ShowUnexpected(e);
    } catch (...) {
        ShowUnexpected();
    }
}

void DeleteRegValue(RootKey root, const std::string& subKey, const std::string& valueName) {
    const TellNoticeAfter notices;
    try {
        Backend& reg = backend();
        OpenedKey key(reg);
        if (const Status s = key.Open(root, subKey, kKeySetValue); s != kSuccess) {
            Show("Could not open key_DeleteRegValue", s);
            return;
        }
        reg.DeleteValue(key.handle(), valueName);  // a missing value is no failure
        key.Close();
    } catch (const std::exception& e) {
        ShowUnexpected(e);
    } catch (...) {
        ShowUnexpected();
    }
}

bool KeyExists(RootKey root, const std::string& subKey) {
    try {
        OpenedKey key(backend());
        return key.Open(root, subKey, kKeyQueryValue) == kSuccess;
    } catch (...) {
        return false;
    }
}

}  // namespace RegAPI
