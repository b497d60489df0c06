// A registry file's changes held compactly in one buffer, and handed on later.
#include "regfile_changes.h"


#include "little_endian.h"

namespace karvelo::regfile {

void ChangeBuffer::Put(Kind kind) { buffer_ += static_cast<char>(kind); }

void ChangeBuffer::Put(uint32_t number) { buffer_ += RegAPI::LittleEndianText(number); }

void ChangeBuffer::Put(const std::string& text) {
    // A line of the file is at most kMaxFileBytes long, well within four bytes.
    Put(static_cast<uint32_t>(text.size()));
    buffer_ += text;
}

bool ChangeBuffer::OpenKey(const std::string& path) {
    Put(kOpenKey);
    Put(path);
    return true;
}

bool ChangeBuffer::DeleteTree(const std::string& path) {
    Put(kDeleteTree);
    Put(path);
    return true;
}

bool ChangeBuffer::SetValue(const RegValue& value) {
    Put(kSetValue);
    Put(value.name);
    Put(value.type);
    Put(value.data);
    return true;
}

bool ChangeBuffer::DeleteValue(const std::string& name) {
    Put(kDeleteValue);
    Put(name);
    return true;
}

bool ChangeBuffer::Replay(Sink& sink) const {
    size_t at = 0;
    const auto number = [&] {
        const uint32_t n = RegAPI::FromLittleEndian(std::string_view(buffer_).substr(at, 4));
        at += 4;
        return n;
    };
    const auto text = [&] {
        const uint32_t n = number();
        std::string out = buffer_.substr(at, n);
        at += n;
        return out;
    };
    while (at < buffer_.size()) {
        const auto kind = static_cast<Kind>(buffer_[at++]);
        bool ok = true;
        switch (kind) {
        case kOpenKey:
            ok = sink.OpenKey(text());
            break;
        case kDeleteTree:
            ok = sink.DeleteTree(text());
            break;
        case kSetValue: {
            RegValue value;
            value.name = text();
            value.type = number();
            value.data = text();
            ok = sink.SetValue(value);
            break;
        }
        case kDeleteValue:
            ok = sink.DeleteValue(text());
            break;
        }
        if (!ok) return false;
    }
    return true;
}

}  // namespace karvelo::regfile
