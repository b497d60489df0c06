// Registry files: export and import of the per-user store, and the karvelo-reg tool.
#include "regfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "registry_db.h"
#include "store_test_support.h"

namespace karvelo::test {
namespace {

using Kind = RegChange::Kind;

class RegFiles : public StoreTest {
protected:
    static std::vector<RegKey> All() {
        std::vector<RegKey> keys;
        EXPECT_EQ(UserRegistry().ReadAll(&keys), 0);
        return keys;
    }
    static void Set(const std::string& path, const std::string& name, uint32_t type,
                    const std::string& data) {
        ASSERT_EQ(UserRegistry().Apply({{Kind::SetValue, path, {name, type, data}}}), 0);
    }
    void UseFreshStore(const std::string& name) {
        const std::string dir = configDir + "/" + name;
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        CloseUserRegistry();
    }
    static int RunTool(const std::string& arguments) {
        const std::string command = std::string(KARVELO_REG_TOOL) + " " + arguments + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(RegFiles, EveryValueOfEveryTypeRoundTripsExactly) {
    const std::string app = kApp;
    Set(app + "\\Installningar", "Speed", 4, std::string("\x11\0\0\0", 4));
    Set(app + "\\Installningar", "Color", 4, std::string("\x00\x80\x00\x00", 4));
    Set(app + "\\Statistik", "Stat 1", 3, "\xFF\xFF\xFF\xFF");
    Set(app + "\\Statistik", "Stat 2", 3, "\x05");
    Set(app + "\\Statistik", "", 1, std::string("default\0", 8));
    Set(kScratch, "quote \" and \\ backslash", 1, std::string("C:\\dir \"x\"\0", 11));
    Set(kScratch, "St\xC3\xA4ng = \xE2\x82\xAC", 1, std::string("\xC3\xA5\xC3\xA4\xC3\xB6 \xF0\x9F\x82\xA1\0", 12));
    Set(kScratch, "no terminator", 1, "abc");
    Set(kScratch, "inner zero", 1, std::string("a\0b\0", 4));
    Set(kScratch, "empty string", 1, "");
    Set(kScratch, "line break", 1, std::string("a\r\nb\0", 5));
    Set(kScratch, "not utf8", 1, std::string("\xE5\xE4\xF6\0", 4));
    Set(kScratch, "short dword", 4, "\x01\x02");
    Set(kScratch, "empty binary", 3, "");
    Set(kScratch, "long binary", 3, std::string(300, '\xA5'));
    Set(kScratch, "expand", 2, std::string("%HOME%\0", 7));
    Set(kScratch, "multi", 7, std::string("a\0b\0\0", 5));
    Set(kScratch, "none", 0, "");
    Set(kScratch, "qword", 11, std::string("\x01\0\0\0\0\0\0\x80", 8));
    Set(kScratch, "odd type", 0xFFFFFFFF, "\x42");
    ASSERT_EQ(UserRegistry().Apply({{Kind::CreateKey, kScratch + "\\Empty\\Deep", {}}}), 0);
    const auto before = All();
    const std::string text = regfile::Export(before);

    int round = 0;
    for (const std::string& file : {text, regfile::ToUtf16(text)}) {
        UseFreshStore("copy" + std::to_string(round++));
        const auto parsed = regfile::Parse(file);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        ASSERT_EQ(UserRegistry().Apply(parsed.changes), 0);
        EXPECT_EQ(All(), before);
    }
}

TEST_F(RegFiles, ExportWritesTheRegistryEditorsFormat) {
    Set(kCurrent, "Stat 1", 3, std::string("\x03\0\0\0", 4));
    Set(kApp + "\\Installningar", "Speed", 4, std::string("\x11\0\0\0", 4));
    Set(kApp + "\\Installningar", "Namn", 1, std::string("a \"b\" c:\\\0", 10));
    std::vector<RegKey> keys = All();
    const std::string text = regfile::Export(keys);
    const std::string app = "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Karvelo";
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings]\r\n\r\n" +
                  app + "]\r\n\r\n" + app +
                  "\\Installningar]\r\n"
                  "\"Speed\"=dword:00000011\r\n"
                  "\"Namn\"=\"a \\\"b\\\" c:\\\\\"\r\n\r\n" +
                  app +
                  "\\Statistik]\r\n"
                  "\"Stat 1\"=hex:03,00,00,00\r\n\r\n");
}

TEST_F(RegFiles, ReadsWhatTheRegistryEditorWrites) {
    const std::string file =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; exported from an earlier installation\r\n"
        "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Karvelo\\Statistik]\r\n"
        "\"Stat 1\"=hex:2a,00,00,00\r\n"
        "@=\"standard\"\r\n"
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
        "  16,17\r\n"
        "\"Gone\"=-\r\n"
        "\r\n"
        "[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
        "[HKCU\\Software\\Other]\r\n"
        "\"Big\"=dword:FFFFFFFF\r\n";
    for (const std::string& bytes : {file, regfile::ToUtf16(file), "\xEF\xBB\xBF" + file}) {
        const auto parsed = regfile::Parse(bytes);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        ASSERT_EQ(parsed.changes.size(), 8u);
        EXPECT_EQ(parsed.changes[1].value, (RegValue{"Stat 1", 3, std::string("*\0\0\0", 4)}));
        EXPECT_EQ(parsed.changes[2].value, (RegValue{"", 1, std::string("standard\0", 9)}));
        EXPECT_EQ(parsed.changes[3].value.data.size(), 24u);
        EXPECT_EQ(parsed.changes[4].kind, Kind::DeleteValue);
        EXPECT_EQ(parsed.changes[5].kind, Kind::DeleteTree);
        EXPECT_EQ(parsed.changes[5].path, "Software\\Old");
        EXPECT_EQ(parsed.changes[7].value.data, "\xFF\xFF\xFF\xFF");
    }

    // Applied: deletions take keys with their sub-keys and single values.
    Set("Software\\Old\\Child", "x", 4, "\x01\0\0\0");
    Set(kCurrent, "Gone", 4, "\x01\0\0\0");
    ASSERT_EQ(UserRegistry().Apply(regfile::Parse(file).changes), 0);
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "42");
    EXPECT_EQ(Read(kCurrent, "Gone"), "0");
    EXPECT_FALSE(KeyExists("Software\\Old"));
    EXPECT_FALSE(KeyExists("Software\\Old\\Child"));
    EXPECT_EQ(Read("Software\\Other", "Big"), "-1");
}

TEST_F(RegFiles, MalformedFilesAreRefusedWithTheirLine) {
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n";
    struct Case {
        std::string file;
        std::string error;
    };
    const Case cases[] = {
        {"", "the file is empty"},
        {"REGEDIT4\r\n", "line 1: the file does not begin with"},
        {"Windows Registry Editor Version 5.00\r\n\"x\"=dword:1\r\n", "line 2: a value outside a key"},
        {head + "\"x\"=dword:123456789\r\n", "line 4: dword:"},
        {head + "\"x\"=dword:\r\n", "line 4: dword:"},
        {head + "\"x\"=hex:1,02\r\n", "line 4: hex bytes"},
        {head + "\"x\"=hex:zz\r\n", "line 4: hex bytes"},
        {head + "\"x\"=hex(q):00\r\n", "line 4: hex(type)"},
        {head + "\"x\"=\"open\r\n", "line 4: a quoted text is not closed"},
        {head + "\"x\"=\"a\\n\"\r\n", "line 4: unknown escape"},
        {head + "\"x\"=\"a\" b\r\n", "line 4: text after the closing quote"},
        {head + "\"x\"=number:5\r\n", "line 4: unknown kind of value"},
        {head + "\"x\" 5\r\n", "line 4: '=' expected"},
        {head + "garbage\r\n", "line 4: neither a key nor a value"},
        {head + "[HKEY_LOCAL_MACHINE\\Software]\r\n", "line 4: only keys under HKEY_CURRENT_USER"},
        {head + "[HKEY_CURRENT_USER\\A\\\\B]\r\n", "line 4: the key path has an empty part"},
        {head + "[HKEY_CURRENT_USER\\A\r\n", "line 4: a key line must end"},
        {head + "[-HKEY_CURRENT_USER]\r\n", "line 4: the whole of HKEY_CURRENT_USER"},
        {head + "\"x\"=hex:00,\\", "the file ends inside a value"},
        {head + "\"x\"=\"\xC3\x28\"\r\n", "neither UTF-8 nor UTF-16"},
        {"\xFF\xFE" "W\0" "x", "not valid UTF-16"},
    };
    for (const Case& c : cases) {
        const auto parsed = regfile::Parse(c.file);
        EXPECT_FALSE(parsed.ok) << c.file;
        EXPECT_TRUE(parsed.changes.empty());
        EXPECT_NE(parsed.error.find(c.error), std::string::npos)
            << "got \"" << parsed.error << "\" for " << c.file;
    }
}

TEST_F(RegFiles, ToolExportsAndImportsAndRefusesABadFileWithoutChangingAnything) {
    Set(kCurrent, "Stat 1", 3, std::string("\x07\0\0\0", 4));
    CloseUserRegistry();
    const std::string exported = configDir + "/backup.reg";
    ASSERT_EQ(RunTool("export " + exported), 0);

    std::ifstream in(exported, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\"Stat 1\"=hex:07,00,00,00"), std::string::npos);

    // A file that is good up to its last line changes nothing at all.
    const std::string bad = configDir + "/bad.reg";
    std::ofstream(bad, std::ios::binary)
        << text.str() << "[HKEY_CURRENT_USER\\New]\r\n\"Stat 1\"=dword:00000001\r\n\"y\"=hex:0\r\n";
    ASSERT_EQ(RunTool("import " + bad), 1);
    EXPECT_FALSE(KeyExists("New"));
    CloseUserRegistry();

    UseFreshStore("restored");
    ASSERT_EQ(RunTool("import " + exported), 0);
    EXPECT_EQ(Read(kCurrent, "Stat 1"), "7");
    EXPECT_EQ(RunTool("import " + configDir + "/missing.reg"), 1);
    EXPECT_EQ(RunTool("frobnicate"), 2);
}

}  // namespace
}  // namespace karvelo::test
