#include <doctest.h>

#include <windows.h>

#include <string>

#include "support/temp_folder.h"
#include "sys/paths.h"

// 乗 (GBK 0x81 0x5C) ends in the byte of "\"; 啊 (0xB0 0xA1) ends in half an
// ideographic space (0xA1 0xA1).
static const std::string kNoriko = "乗";
static const std::string kIdeoSpace = "\xA1\xA1";

TEST_CASE("GBK literals are compiled as GBK bytes")
{
    CHECK(kNoriko == "\x81\x5C");
    CHECK(std::string("啊") == "\xB0\xA1");
    CHECK(std::string("　") == kIdeoSpace);
}

TEST_CASE("TrimSpaces drops single-byte and ideographic blanks at both ends only")
{
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"empty", "", ""},
        {"nothing to trim", "D:\\data", "D:\\data"},
        {"spaces at both ends", "  D:\\data  ", "D:\\data"},
        {"ideographic spaces at both ends", kIdeoSpace + "D:\\data" + kIdeoSpace + kIdeoSpace, "D:\\data"},
        {"mixed blanks at both ends", " " + kIdeoSpace + " D:\\数据 " + kIdeoSpace, "D:\\数据"},
        {"blanks only", "  " + kIdeoSpace + " " + kIdeoSpace, ""},
        {"blanks inside stay", "a b" + kIdeoSpace + "c", "a b" + kIdeoSpace + "c"},
        {"tabs stay", "\tD:\\data\t", "\tD:\\data\t"},
        {"line ends stay", "D:\\data\r\n", "D:\\data\r\n"},
        {"lone lead byte at the end is dropped", "啊\xA1", "啊"},
        {"blanks before a lone lead byte are kept", "a \xA1", "a "},
        {"trail byte and next lead byte are no blank", "啊\xA1\xA1", "啊"},
        {"a character ending in 0xA1 before a real blank", "啊" + kIdeoSpace, "啊"},
        {"乗 kept whole", "D:\\" + kNoriko + " ", "D:\\" + kNoriko},
        {"lone ideographic half at the start stays", "\xA1" "a", "\xA1" "a"},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(TrimSpaces(c.text) == c.expected);
    }
}

TEST_CASE("the last separator is found by characters, not bytes")
{
    struct Case {
        const char* name;
        std::string text;
        std::string::size_type expected;
    } cases[] = {
        {"empty", "", std::string::npos},
        {"drive only", "C:", std::string::npos},
        {"folder", "D:\\data", 2},
        {"folder with separator", "D:\\data\\", 7},
        {"name ending in 乗", "D:\\" + kNoriko, 2},
        {"乗 then separator", "D:\\" + kNoriko + "\\", 5},
        {"乗 inside a name", "D:\\a" + kNoriko + "b\\c", 7},
        {"lone lead byte at the end", "D:\\a\x81", 2},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(LastSeparator(c.text) == c.expected);
    }
}

TEST_CASE("the run directory is the executable's path cut at its last separator")
{
    struct Case {
        const char* name;
        std::string modulePath;
        std::string expected;
    } cases[] = {
        {"ordinary folder", "D:\\Tools\\Merge\\quorvane.exe", "D:\\Tools\\Merge"},
        {"drive root", "E:\\quorvane.exe", "E:"},
        {"folder ending in 乗", "D:\\工具" + kNoriko + "\\quorvane.exe", "D:\\工具" + kNoriko},
        {"folder with spaces", "C:\\Program Files\\Q v\\quorvane.exe", "C:\\Program Files\\Q v"},
        {"no separator", "quorvane.exe", ""},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(RunDirectoryOf(c.modulePath) == c.expected);
    }
}

TEST_CASE("InitRunDirectory fixes the executable's folder and makes it current")
{
    char module[MAX_PATH];
    REQUIRE(GetModuleFileNameA(NULL, module, MAX_PATH) > 0);
    std::string expected(module);
    expected.erase(expected.rfind('\\'));

    char elsewhere[MAX_PATH];
    GetTempPathA(MAX_PATH, elsewhere);
    SetCurrentDirectoryA(elsewhere);
    InitRunDirectory();

    CHECK(RunDirectory() == expected);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    CHECK(std::string(current) == expected);
}

static std::string LongForm(const std::string& path)
{
    char buffer[1024] = "";
    GetLongPathNameA(path.c_str(), buffer, sizeof(buffer));
    return buffer;
}

TEST_CASE("ShortPath names the same existing file, and nothing once it is gone")
{
    TempFolder root;
    root.MakeFolder("a folder with spaces");
    root.MakeFolder("中文 目录");
    struct Case {
        const char* name;
        std::string path;
    } cases[] = {
        {"the folder itself", root.path()},
        {"folder with spaces", root / "a folder with spaces"},
        {"file with spaces", root.MakeFile("a folder with spaces\\jan 2020.pdf")},
        {"GBK folder", root / "中文 目录"},
        {"GBK file", root.MakeFile("中文 目录\\二月 报告.pdf")},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        std::string shortPath = ShortPath(c.path);
        REQUIRE(!shortPath.empty());
        CHECK(GetFileAttributesA(shortPath.c_str()) != INVALID_FILE_ATTRIBUTES);
        CHECK(LongForm(shortPath) == LongForm(c.path));
        // Wine and Windows volumes that keep 8.3 names agree on this; a
        // Windows volume without short names keeps the spaces.
        CHECK(shortPath.find(' ') == std::string::npos);
    }

    std::string gone = root.MakeFolder("gone");
    REQUIRE(!ShortPath(gone).empty());
    RemoveDirectoryA(gone.c_str());
    CHECK(ShortPath(gone) == "");
    CHECK(ShortPath("") == "");
}

TEST_CASE("FileTitle gives the folder's whole own name")
{
    struct Case {
        const char* name;
        std::string path;
        std::string expected;
    } cases[] = {
        {"plain folder", "D:\\Scan\\Reports", "Reports"},
        // Windows drops ".01" here when Explorer hides extensions; Wine
        // never does, so under Wine this case holds either way.
        {"dotted folder", "D:\\Scan\\2020.01", "2020.01"},
        {"two dots", "D:\\Scan\\a.b.c", "a.b.c"},
        {"GBK folder", "D:\\扫描\\二月 报告", "二月 报告"},
        {"folder ending in 乗", "D:\\扫描\\工具" + kNoriko, "工具" + kNoriko},
        {"乗 before the separator", "D:\\工具" + kNoriko + "\\x", "x"},
        {"name of 255 bytes fits", "D:\\" + std::string(255, 'n'), std::string(255, 'n')},
        {"name of 256 bytes is too long", "D:\\" + std::string(256, 'n'), ""},
        {"trailing separator is rejected", "D:\\Scan\\", ""},
        {"wildcard is rejected", "D:\\Scan\\*", ""},
        {"empty path is rejected", "", ""},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(FileTitle(c.path) == c.expected);
    }
}

TEST_CASE("the name under which the ANSI calls reach a listed entry")
{
    struct Case {
        const char* name;
        std::wstring listed, shortName;
        bool spells;  // the code page spells the listed name
        std::string expected;
    } cases[] = {
        {"a GBK name", L"报表", L"", true, "报表"},
        {"a GBK name keeps its own name beside a short one", L"二月 报告", L"7C3B~1", true, "二月 报告"},
        {"Korean, with a short name", L"한글", L"__~~~ENG", false, "__~~~ENG"},
        {"an emoji, with a short name", L"a\U0001F600b", L"A__~1", false, "A__~1"},
        {"a letter GBK lacks, never its look-alike", L"Café ñ", L"CAFE~1", false, "CAFE~1"},
        // Wine always makes short names; a Windows volume may keep none.
        {"Korean, no short name", L"한글", L"", false, "??"},
        {"an emoji, no short name", L"a\U0001F600b", L"", false, "a??b"},
        {"a letter GBK lacks, no short name", L"Café ñ", L"", false, "Café ?"},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(SpellableName(c.listed, c.shortName) == c.expected);
        std::string spelled;
        CHECK(ToAnsi(c.listed, spelled) == c.spells);
    }
}

TEST_CASE("a path the code page cannot spell is given in its short form, one it spells unchanged")
{
    TempFolder root;
    const std::wstring names[] = {L"报表 2020", L"한글", L"a\U0001F600b", L"Café ñ"};
    for (const std::wstring& name : names) {
        const std::wstring full = ToWide(root.path()) + L"\\" + name;
        REQUIRE(CreateDirectoryW(full.c_str(), NULL));
        const std::string path = SpellablePath(full);
        INFO(path);
        CHECK(path.find('?') == std::string::npos);
        CHECK(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES);
        CHECK(LongName(path) == name);
    }
    CHECK(SpellablePath(ToWide(root.path()) + L"\\报表 2020") == root / "报表 2020");
    // Gone, or never there: no short form, so the "?" stays and opens nothing.
    // (Outside the check: its text is kept in GBK, which has no Hangul.)
    const std::wstring missing = ToWide(root.path()) + L"\\없음";
    CHECK(SpellablePath(missing) == root / "??");
    CHECK(LongName(root / "??") == L"");
}
