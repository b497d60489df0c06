// Whatever type and bytes a value holds in the store, reading it gives a text and
// never reads beyond the value: "0", a decimal number, or the stored string.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "reg_backend.h"
#include "regapi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::UseScratchStore();
    fuzz::Bytes in(data, size);
    const uint32_t type = static_cast<uint32_t>(in.Int32());
    const std::string name = in.Text(8);
    const std::string bytes = in.Rest();

    const std::string subKey = std::string(RegAPI::kAppKey) + "\\Fuzz";
    auto& reg = RegAPI::backend();
    RegAPI::KeyHandle key = 0;
    if (reg.CreateKey(RegAPI::HKEY_CURRENT_USER, subKey, RegAPI::kKeyAllAccess, &key) !=
        RegAPI::kSuccess)
        return 0;
    reg.SetValue(key, name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                 static_cast<uint32_t>(bytes.size()));
    reg.CloseKey(key);

    const std::string text = RegAPI::ReadRegValue(RegAPI::HKEY_CURRENT_USER, subKey, name);
    if (type == RegAPI::kRegDword || type == RegAPI::kRegBinary) {
        // A number: optional minus and digits only.
        if (text.empty() ||
            text.find_first_not_of("-0123456789") != std::string::npos)
            std::abort();
    } else if (type != RegAPI::kRegSz && text != "0") {
        std::abort();
    }
    return 0;
}
