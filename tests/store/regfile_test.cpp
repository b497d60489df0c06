// Registry files: export and import of the per-user store, and the karvelo-reg tool.
#include "regfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "regfile_fixture.h"

namespace karvelo::test {
namespace {

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
    const std::string text = regfile::Export(Tree()).text;

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
    const std::string text = regfile::Export(Tree()).text;
    const std::string app = "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Karvelo";
    // The keys that only lead to these two are implied by their paths.
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\r\n\r\n" + app +
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
        // A lone CR inside a line: such a name could never be exported again.
        {head + "[HKEY_CURRENT_USER\\A]\rB]\r\n", "line 4: a key name holds a line break"},
        {head + "\"x\ry\"=dword:1\r\n", "line 4: a value name holds a line break"},
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

// The registry's own limits: up to them a file is read, beyond them it is refused with
// the line at fault and nothing of it kept.
TEST_F(RegFiles, NamesAndDepthBeyondTheRegistrysLimitsAreRefusedWithTheirLine) {
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n";
    std::string deep = "HKEY_CURRENT_USER";
    for (int level = 0; level < 512; ++level) deep += "\\k";
    const std::string longKey = std::string(255, 'k');
    const std::string longName = std::string(16383, 'n');
    const std::string wide = "\xF0\x9F\x82\xA1";  // two UTF-16 units, as the registry counts
    const std::string atLimits = head + "[" + deep + "]\r\n\"" + longName + "\"=dword:1\r\n" +
                                 "[HKEY_CURRENT_USER\\" + longKey + "]\r\n" +
                                 "[HKEY_CURRENT_USER\\" + std::string(253, 'k') + wide + "]\r\n";
    const auto parsed = regfile::Parse(atLimits);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(UserRegistry().Apply(parsed.changes), 0);
    EXPECT_EQ(Read(deep.substr(18), longName), "1");

    struct Case {
        std::string file;
        std::string error;
    };
    const Case cases[] = {
        {head + "[" + deep + "\\k]\r\n", "line 3: the key is deeper than 512 levels"},
        {head + "[HKEY_CURRENT_USER\\A]\r\n[-HKEY_CURRENT_USER\\" + longKey + "k]\r\n",
         "line 4: a key name is longer than 255 characters"},
        {head + "[HKEY_CURRENT_USER\\" + std::string(254, 'k') + wide + "]\r\n",
         "line 3: a key name is longer than 255 characters"},
        {head + "[HKEY_CURRENT_USER\\A]\r\n\r\n\"" + longName + "n\"=-\r\n",
         "line 5: a value name is longer than 16383 characters"},
    };
    for (const Case& c : cases) {
        const auto refused = regfile::Parse(c.file);
        EXPECT_FALSE(refused.ok);
        EXPECT_TRUE(refused.changes.empty());
        EXPECT_EQ(refused.error, c.error);
    }

    // Through the tool: refused with the line, nothing of the file imported.
    CloseUserRegistry();
    const std::string file = configDir + "/deep.reg";
    std::ofstream(file, std::ios::binary) << head << "[HKEY_CURRENT_USER\\Before]\r\n\"v\"=dword:1\r\n"
                                          << "[" << deep << "\\k]\r\n";
    const Run run = RunShell("TOOL import " + file);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: " + file +
                            ", line 5: the key is deeper than 512 levels\nNothing was imported.\n");
    EXPECT_FALSE(KeyExists("Before"));
}

// The reader holds one piece of the file at a time: whatever the pieces, UTF-8 or
// UTF-16, surrogate pairs and continued hex lists split anywhere, it reads the same.
TEST_F(RegFiles, AFileReadInPiecesReadsTheSameAsAWhole) {
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Spel \xF0\x9F\x82\xA1\\St\xC3\xA4ng]\r\n"
        "\"Kort \xF0\x9F\x82\xA1\"=\"\xC3\xA5\xC3\xA4\xC3\xB6 \xF0\x9F\x82\xAE\"\r\n"
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
        "  16,17\r\n"
        "\"Gone\"=-\n"
        "[-HKEY_CURRENT_USER\\Old]\r\n";
    for (const std::string& file : {text, regfile::ToUtf16(text.substr(3))}) {
        Recorder whole;
        ASSERT_TRUE(regfile::Read(regfile::TextSource(file), whole).ok);
        ASSERT_EQ(whole.seen.size(), 5u);
        EXPECT_EQ(whole.seen[1], "set Kort \xF0\x9F\x82\xA1 1 C3 A5 C3 A4 C3 B6 20 F0 9F 82 AE 00");
        for (const size_t piece : {1u, 2u, 3u, 5u, 7u}) {
            Recorder pieces;
            const auto result = regfile::Read(regfile::TextSource(file, piece), pieces);
            EXPECT_TRUE(result.ok) << result.error;
            EXPECT_EQ(pieces.seen, whole.seen) << "pieces of " << piece;
        }
    }

    // A fault in a UTF-16 file is met where it is, whatever was read ahead: the lines
    // before it are read, the one with it refuses the file.
    const std::string broken =
        regfile::ToUtf16("Windows Registry Editor Version 5.00\r\n[HKCU\\A]\r\n;") +
        std::string("\x00\xDC", 2) + regfile::ToUtf16("\r\n").substr(2);
    for (const size_t piece : {1u, 2u, 3u, 64u * 1024u}) {
        Recorder pieces;
        const auto result = regfile::Read(regfile::TextSource(broken, piece), pieces);
        EXPECT_EQ(result.error, "the file is not valid UTF-16") << "pieces of " << piece;
        EXPECT_EQ(pieces.seen, std::vector<std::string>{"key A"}) << "pieces of " << piece;
    }
}

// Hostile and mistaken input to karvelo-reg: each refused with its reason, and nothing
// written where it should not be.
TEST_F(RegFiles, TheToolRefusesWhatItCannotUseAndSaysWhy) {
    // Options are spelled exactly; a wrong one is no file name.
    Run run = RunShell("cd " + configDir + " && TOOL export --UTF16");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.said.find("unknown option --UTF16\nusage: karvelo-reg export"), std::string::npos)
        << run.said;
    EXPECT_FALSE(std::filesystem::exists(configDir + "/--UTF16"));
    EXPECT_EQ(RunShell("TOOL import --force x.reg").status, 2);

    run = RunShell("TOOL export >/dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: cannot write to standard output: No space left on device\n");

    run = RunShell("TOOL import " + configDir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: " + configDir +
                            " is a directory, not a registry file\nNothing was imported.\n");

    // Too large: refused before reading when its size is known, else while reading.
    const std::string big = configDir + "/big.reg";
    std::ofstream(big) << "";
    std::filesystem::resize_file(big, regfile::kMaxFileBytes + 1);
    run = RunShell("TOOL import " + big);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: " + big + " is larger than 16 MiB (16777217 bytes)\n"
                                                "Nothing was imported.\n");
    run = RunShell("exec TOOL import /dev/zero");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: /dev/zero, the file is larger than 16 MiB\nNothing was imported.\n");
    EXPECT_LT(run.peakKb, kMeasuresMemory ? OwnResidentKb() + 3 * 16 * 1024 : kNoBound) << run.peakKb;

    // A backup that cannot be written whole leaves the earlier one as it was.
    for (int i = 0; i < 50; ++i) Set(kScratch, "v" + std::to_string(i), 1, std::string(100, 'x') + '\0');
    CloseUserRegistry();
    const std::string backup = configDir + "/backup.reg";
    std::ofstream(backup) << "the earlier backup";
    run = RunShell("trap '' XFSZ; ulimit -f 2; TOOL export " + backup);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "karvelo-reg: cannot write " + backup + ": File too large\n");
    std::ifstream kept(backup);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the earlier backup");
    for (const auto& entry : std::filesystem::directory_iterator(configDir))
        EXPECT_EQ(entry.path().filename().string().find("backup.reg.tmp"), std::string::npos);
}

// Importing reads the file as a stream: memory stays a small multiple of the file,
// however its lines are laid out.
TEST_F(RegFiles, ImportingALargeFileTakesMemoryInProportionToIt) {
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Big]\r\n";
    const size_t size = 12u << 20;
    const std::string breaks = configDir + "/breaks.reg";
    const std::string oneValue = configDir + "/value.reg";
    {
        std::ofstream(breaks, std::ios::binary) << head << std::string(size, '\n');
        std::ofstream out(oneValue, std::ios::binary);
        out << head << "\"v\"=hex:";
        for (size_t n = 8; n + 3 < size; n += 3) out << "a5,";
        out << "a5\r\n";
    }
    const long mb = 1024;
    Run run = RunShell("exec TOOL import " + breaks);
    EXPECT_EQ(run.status, 0) << run.said;
    // None of it held: the tool's own few MB.
    EXPECT_LT(run.peakKb, kMeasuresMemory ? OwnResidentKb() + 16 * mb : kNoBound) << run.peakKb;
    run = RunShell("exec TOOL import " + oneValue);
    EXPECT_EQ(run.status, 0) << run.said;
    // One line of it, and the bytes of its value.
    EXPECT_LT(run.peakKb, kMeasuresMemory ? OwnResidentKb() + 4 * 12 * mb : kNoBound) << run.peakKb;
    uint32_t type = 0;
    std::string bytes;
    ASSERT_TRUE(GetRaw("Big", "v", &type, &bytes));
    EXPECT_EQ(bytes.size(), (size - 8) / 3 + 1);
}

}  // namespace
}  // namespace karvelo::test
