// The five registry operations, against the registry of the platform.
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "reg_backend.h"
#include "regapi.h"
#include "store_test_support.h"

namespace karvelo::test {
namespace {

using RegAPI::HKEY_CURRENT_USER;
using RegAPI::TextToInt32;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(TextToNumber, ReadsTheSameNumberUnrounded) {
    EXPECT_EQ(RegAPI::TextToNumber("17"), 17.0);
    EXPECT_EQ(RegAPI::TextToNumber("  -8x"), -8.0);
    EXPECT_EQ(RegAPI::TextToNumber("\t12.5 steg"), 12.5);
    EXPECT_EQ(RegAPI::TextToNumber(".5"), 0.5);
    EXPECT_EQ(RegAPI::TextToNumber("+2."), 2.0);
    // One reading for both: no exponent, as TextToInt32 reads "1e3" as 1.
    EXPECT_EQ(RegAPI::TextToNumber("3e1"), 3.0);
    for (const char* none : {"abc", "-", "", ".", " . 5", "\n5"})
        EXPECT_EQ(RegAPI::TextToNumber(none), 0.0) << '"' << none << '"';
    EXPECT_EQ(RegAPI::TextToNumber(std::string(400, '9')), 0.0);  // beyond a double
    EXPECT_EQ(RegAPI::TextToNumber("-" + std::string(400, '9')), 0.0);
}

TEST(TextToInt32, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(TextToInt32("17"), 17);
    EXPECT_EQ(TextToInt32("32768"), 32768);
    EXPECT_EQ(TextToInt32("-1"), -1);
    EXPECT_EQ(TextToInt32("   42"), 42);
    EXPECT_EQ(TextToInt32("\t 7"), 7);
    EXPECT_EQ(TextToInt32("12abc"), 12);
    EXPECT_EQ(TextToInt32("+5"), 5);
    EXPECT_EQ(TextToInt32("1e3"), 1);
    EXPECT_EQ(TextToInt32("-0"), 0);
}

TEST(TextToInt32, TextWithoutLeadingNumberIsZero) {
    for (const char* text : {"", " ", "abc", "-", "+", ".", "-.", " x1", "--1", "x1,5"})
        EXPECT_EQ(TextToInt32(text), 0) << '"' << text << '"';
}

TEST(TextToInt32, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(TextToInt32("2.5"), 2);
    EXPECT_EQ(TextToInt32("3.5"), 4);
    EXPECT_EQ(TextToInt32("0.5"), 0);
    EXPECT_EQ(TextToInt32(".5"), 0);
    EXPECT_EQ(TextToInt32("1.5"), 2);
    EXPECT_EQ(TextToInt32("-2.5"), -2);
    EXPECT_EQ(TextToInt32("-3.5"), -4);
    EXPECT_EQ(TextToInt32("2.50000"), 2);
    EXPECT_EQ(TextToInt32("2.500001"), 3);
    EXPECT_EQ(TextToInt32("2.49999"), 2);
    EXPECT_EQ(TextToInt32("2.6"), 3);
    EXPECT_EQ(TextToInt32("-0.6"), -1);
    EXPECT_EQ(TextToInt32("7."), 7);
}

TEST(TextToInt32, SaturatesAtTheEndsOfTheRange) {
    EXPECT_EQ(TextToInt32("2147483647"), kMax);
    EXPECT_EQ(TextToInt32("2147483648"), kMax);
    EXPECT_EQ(TextToInt32("-2147483648"), kMin);
    EXPECT_EQ(TextToInt32("-2147483649"), kMin);
    EXPECT_EQ(TextToInt32("2147483646.5"), 2147483646);
    EXPECT_EQ(TextToInt32("2147483647.5"), kMax);
    EXPECT_EQ(TextToInt32("-2147483648.5"), kMin);
    EXPECT_EQ(TextToInt32("4294967296"), kMax);
    EXPECT_EQ(TextToInt32("-4294967297"), kMin);
    EXPECT_EQ(TextToInt32(std::string(500, '9')), kMax);
    EXPECT_EQ(TextToInt32("-" + std::string(500, '9') + ".9"), kMin);
}

using RegistryOps = StoreTest;

TEST_F(RegistryOps, MissingKeysAndValuesReadZeroWithoutMessage) {
    EXPECT_EQ(Read(kScratch + "\\Nowhere", "Speed"), "0");
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kScratch);
    EXPECT_EQ(Read(kScratch, "Speed"), "0");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(RegistryOps, StringsAreStoredWithTheirTerminatingZero) {
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "String", "Name", "abc");
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(GetRaw(kScratch, "Name", &type, &bytes));
    EXPECT_EQ(type, RegAPI::kRegSz);
    EXPECT_EQ(bytes, std::string("abc\0", 4));
    EXPECT_EQ(Read(kScratch, "Name"), "abc");

    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "String", "Knapp", "St\xC3\xA4ng");
    EXPECT_EQ(Read(kScratch, "Knapp"), "St\xC3\xA4ng");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(RegistryOps, NumbersAndBinariesAreFourLittleEndianBytes) {
    struct Case {
        const char* text;
        const char* bytes;
    };
    for (const Case c : {Case{"17", "11 00 00 00"}, Case{"32768", "00 80 00 00"},
                         Case{"-1", "FF FF FF FF"}, Case{"2.5", "02 00 00 00"},
                         Case{"3.5", "04 00 00 00"}, Case{"abc", "00 00 00 00"}}) {
        for (const char* typeName : {"Number", "Binary"}) {
            RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, typeName, "v", c.text);
            uint32_t type = 0;
            std::string bytes;
            ASSERT_TRUE(GetRaw(kScratch, "v", &type, &bytes));
            EXPECT_EQ(type, std::string(typeName) == "Number" ? RegAPI::kRegDword
                                                              : RegAPI::kRegBinary);
            EXPECT_EQ(Hex(bytes), c.bytes) << typeName << " " << c.text;
        }
    }
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Number", "v", "-2147483648");
    EXPECT_EQ(Read(kScratch, "v"), "-2147483648");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(RegistryOps, ReadsStoredBytesByType) {
    PutRaw(kScratch, "dword", RegAPI::kRegDword, "\xFF\xFF\xFF\xFF");
    PutRaw(kScratch, "binary", RegAPI::kRegBinary, "\xFF\xFF\xFF\xFF");
    PutRaw(kScratch, "short", RegAPI::kRegBinary, "\x34\x12");
    PutRaw(kScratch, "one", RegAPI::kRegBinary, "\x80");
    PutRaw(kScratch, "empty", RegAPI::kRegBinary, "");
    PutRaw(kScratch, "long", RegAPI::kRegBinary, std::string("\x01\x00\x00\x00\x00", 5));
    PutRaw(kScratch, "expand", RegAPI::kRegExpandSz, std::string("17\0", 3));
    PutRaw(kScratch, "multi", RegAPI::kRegMultiSz, std::string("17\0\0", 4));
    PutRaw(kScratch, "none", RegAPI::kRegNone, "\x05");
    PutRaw(kScratch, "bareString", RegAPI::kRegSz, "");
    PutRaw(kScratch, "innerZero", RegAPI::kRegSz, std::string("ab\0cd\0", 6));

    EXPECT_EQ(Read(kScratch, "dword"), "-1");
    EXPECT_EQ(Read(kScratch, "binary"), "-1");
    EXPECT_EQ(Read(kScratch, "short"), "4660");
    EXPECT_EQ(Read(kScratch, "one"), "128");
    EXPECT_EQ(Read(kScratch, "empty"), "0");
    EXPECT_EQ(Read(kScratch, "long"), "0");  // does not fit in four bytes
    EXPECT_EQ(Read(kScratch, "expand"), "0");
    EXPECT_EQ(Read(kScratch, "multi"), "0");
    EXPECT_EQ(Read(kScratch, "none"), "0");
    EXPECT_EQ(Read(kScratch, "bareString"), "");
    EXPECT_EQ(Read(kScratch, "innerZero"), "ab");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(RegistryOps, BadInputIsRefusedWithItsMessageAndWritesNothing) {
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Number", "v", "");
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "number", "v", "5");
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "DWORD", "v", "5");
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, "");
    EXPECT_EQ(host.Texts(), (std::vector<std::string>{
                                "Bad input to creat value\r\nValue =  ",
                                "Bad input to create value\r\nType =  number",
                                "Bad input to create value\r\nType =  DWORD",
                                "Bad input to create key\r\nKey =  ",
                            }));
    for (const Box& b : host.boxes) {
        EXPECT_EQ(b.buttons, Buttons::OK);
        EXPECT_EQ(b.icon, Icon::None);
        EXPECT_EQ(b.title, "Karvelo");
    }
    uint32_t type = 0;
    std::string bytes;
    EXPECT_FALSE(GetRaw(kScratch, "v", &type, &bytes));
}

TEST_F(RegistryOps, SetNewValueCreatesTheKeyWithItsParents) {
    const std::string deep = kScratch + "\\A\\B\\C";
    RegAPI::SetNewValue(HKEY_CURRENT_USER, deep, "Number", "Speed", "9");
    EXPECT_TRUE(KeyExists(kScratch + "\\A"));
    EXPECT_TRUE(KeyExists(kScratch + "\\A\\B"));
    EXPECT_EQ(Read(deep, "Speed"), "9");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(RegistryOps, CreatingAnExistingKeyKeepsItsValues) {
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Number", "Color", "32768");
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kScratch);
    EXPECT_EQ(Read(kScratch, "Color"), "32768");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(RegistryOps, KeysAndValueNamesIgnoreLetterCase) {
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch + "\\Statistik", "Binary", "Stat 1", "5");
    EXPECT_EQ(Read(kScratch + "\\STATISTIK", "stat 1"), "5");
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch + "\\statistik", "Binary", "STAT 1", "6");
    EXPECT_EQ(Read(kScratch + "\\Statistik", "Stat 1"), "6");
    // Letters beyond ASCII too, and the spelling first written is kept.
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch + "\\Inst\xC3\xA4llningar", "Number",
                        "H\xC3\xB6jd", "7");
    EXPECT_EQ(Read(kScratch + "\\INST\xC3\x84LLNINGAR", "H\xC3\x96JD"), "7");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(RegistryOps, DeletingKeysAndValues) {
    const std::string parent = kScratch + "\\Parent";
    RegAPI::SetNewValue(HKEY_CURRENT_USER, parent, "Number", "kept", "1");
    RegAPI::SetNewValue(HKEY_CURRENT_USER, parent + "\\Child", "Number", "gone", "2");

    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, parent);  // has a sub-key: stays, silently
    EXPECT_EQ(Read(parent, "kept"), "1");
    EXPECT_TRUE(host.boxes.empty());

    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, parent + "\\Child");
    EXPECT_FALSE(KeyExists(parent + "\\Child"));
    EXPECT_EQ(Read(parent + "\\Child", "gone"), "0");
    RegAPI::SetNewValue(HKEY_CURRENT_USER, parent + "\\Child", "Number", "other", "3");
    EXPECT_EQ(Read(parent + "\\Child", "gone"), "0");  // values went with the key

    RegAPI::DeleteRegValue(HKEY_CURRENT_USER, parent, "kept");
    EXPECT_EQ(Read(parent, "kept"), "0");
    RegAPI::DeleteRegValue(HKEY_CURRENT_USER, parent, "never there");
    EXPECT_TRUE(host.boxes.empty());

    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, kScratch + "\\Missing");
    RegAPI::DeleteRegValue(HKEY_CURRENT_USER, kScratch + "\\Missing", "x");
    EXPECT_EQ(host.Texts(), (std::vector<std::string>{"Could not open key_DeleteRegKey",
                                                      "Could not open key_DeleteRegValue"}));
}

// A backend that fails or throws where it is told to, and counts its open handles.
class FaultyBackend final : public RegAPI::Backend {
public:
    RegAPI::Status create = RegAPI::kSuccess, open = RegAPI::kSuccess, set = RegAPI::kSuccess,
                   close = RegAPI::kSuccess;
    bool throwOnQuery = false;
    int openHandles = 0;
    std::vector<std::string> calls;

    RegAPI::Status CreateKey(RegAPI::RootKey, const std::string&, uint32_t,
                             RegAPI::KeyHandle* key) override {
        calls.push_back("create");
        if (create) return create;
        ++openHandles;
        *key = 1;
        return RegAPI::kSuccess;
    }
    RegAPI::Status OpenKey(RegAPI::RootKey, const std::string&, uint32_t,
                           RegAPI::KeyHandle* key) override {
        calls.push_back("open");
        if (open) return open;
        ++openHandles;
        *key = 1;
        return RegAPI::kSuccess;
    }
    RegAPI::Status QueryValue(RegAPI::KeyHandle, const std::string&, uint32_t* type, uint8_t*,
                              uint32_t* size) override {
        calls.push_back("query");
        if (throwOnQuery) throw std::runtime_error("Out of memory");
        if (type) *type = RegAPI::kRegDword;
        *size = 4;
        return RegAPI::kIoFailed;
    }
    RegAPI::Status SetValue(RegAPI::KeyHandle, const std::string&, uint32_t, const uint8_t*,
                            uint32_t) override {
        calls.push_back("set");
        return set;
    }
    RegAPI::Status DeleteKey(RegAPI::RootKey, const std::string&) override {
        calls.push_back("deletekey");
        return RegAPI::kAccessDenied;
    }
    RegAPI::Status DeleteValue(RegAPI::KeyHandle, const std::string&) override {
        calls.push_back("deletevalue");
        return RegAPI::kFileNotFound;
    }
    RegAPI::Status CloseKey(RegAPI::KeyHandle) override {
        calls.push_back("close");
        --openHandles;
        return close;
    }
};

TEST_F(RegistryOps, PrimitiveFailuresShowTheirMessagesAndCloseEveryHandle) {
    FaultyBackend fake;
    RegAPI::SetBackend(&fake);

    fake.close = RegAPI::kInvalidHandle;
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kScratch);
    fake.close = RegAPI::kSuccess;
    fake.set = RegAPI::kAccessDenied;
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "Binary", "Stat 1", "1");
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"create", "close", "create", "set", "close"}));
    fake.create = RegAPI::kAccessDenied;
    RegAPI::CreateNewKey(HKEY_CURRENT_USER, kScratch);
    RegAPI::SetNewValue(HKEY_CURRENT_USER, kScratch, "String", "s", "x");
    EXPECT_EQ(Read(kScratch, "v"), "0");  // the data read fails: "0", silently
    RegAPI::DeleteRegKey(HKEY_CURRENT_USER, kScratch);  // deletion refused: silently
    RegAPI::DeleteRegValue(HKEY_CURRENT_USER, kScratch, "v");

    EXPECT_EQ(host.Texts(), (std::vector<std::string>{
                                "Could not close key", "Could not set value",
                                "Could not create key___CreateNewKey",
                                "Could not open key_SetNewValue"}));
    EXPECT_EQ(fake.openHandles, 0);
}

TEST_F(RegistryOps, UnexpectedFailuresAreShownAndReadStillAnswers) {
    FaultyBackend fake;
    fake.throwOnQuery = true;
    RegAPI::SetBackend(&fake);
    EXPECT_EQ(Read(kScratch, "v"), "0");
    EXPECT_EQ(host.Texts(), std::vector<std::string>{"Out of memory"});
    EXPECT_EQ(host.boxes[0].title, "Karvelo");
    EXPECT_EQ(fake.openHandles, 0);
}

}  // namespace
}  // namespace karvelo::test
