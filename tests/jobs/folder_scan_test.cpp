#include <doctest.h>

#include <windows.h>

#include <algorithm>

#include "jobs/folder_scan.h"
#include "sys/paths.h"
#include "support/temp_folder.h"
#include "support/test_window.h"

namespace {

// The names that the file system itself lists for a pattern, in its order.
TextArray SystemListing(const std::string& pattern, bool directories)
{
    TextArray names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDirectory == directories)
            names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

TextArray Prefixed(const std::string& base, const TextArray& names)
{
    TextArray paths;
    for (const std::string& name : names)
        paths.push_back(base + name);
    return paths;
}

TextArray Sorted(TextArray texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

// A root folder with subfolders and files of every kind the scans tell
// apart, one level deeper too.
struct ScanFixture {
    TempFolder root;
    ScanFixture()
    {
        for (const char* name : {"b", "a.b", "中文 目录", "x.pdf", "hidden", "system", ".git", ".dotted"})
            root.MakeFolder(name);
        SetFileAttributesA((root / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((root / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
        root.MakeFolder("a.b\\deeper");
        for (const char* name : {"f.pdf", "jan 2020.pdf", ".dot.pdf", "二月.pdf", "h.pdf", "readme.txt",
                                 "a.b\\deep.pdf", "a.b\\deeper\\deepest.pdf"})
            root.MakeFile(name);
        SetFileAttributesA((root / "h.pdf").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    }
};

}  // namespace

TEST_CASE_FIXTURE(ScanFixture, "EnumerateSubfolders lists the folders one level deep, skipping dot names")
{
    const std::string base = root.path() + "\\";
    const TextArray expected = Prefixed(base, {"b", "a.b", "中文 目录", "x.pdf", "hidden", "system"});

    for (const std::string& folder : {root.path(), base}) {
        CAPTURE(folder);
        TextArray folders;
        int count = EnumerateSubfolders(folder, folders);
        CHECK(count == 6);
        CHECK(Sorted(folders) == Sorted(expected));

        // In the file system's own order, unsorted.
        TextArray listed;
        for (const std::string& name : SystemListing(base + "*.*", true)) {
            if (name[0] != '.')
                listed.push_back(base + name);
        }
        CHECK(folders == listed);
    }
}

TEST_CASE_FIXTURE(ScanFixture, "EnumerateSubfolders appends to what the array held")
{
    TextArray folders = {"earlier"};
    CHECK(EnumerateSubfolders(root.path(), folders) == 7);
    CHECK(folders.front() == "earlier");
}

TEST_CASE_FIXTURE(ScanFixture, "EnumerateFiles lists the matching files directly in the folder")
{
    const std::string base = root.path() + "\\";
    const TextArray expected = Prefixed(base, {"f.pdf", "jan 2020.pdf", ".dot.pdf", "二月.pdf", "h.pdf"});

    for (const std::string& folder : {root.path(), base}) {
        CAPTURE(folder);
        TextArray files = {"left over from an earlier folder"};
        int count = EnumerateFiles(folder, "*.pdf", files);
        CHECK(count == 5);
        CHECK(Sorted(files) == Sorted(expected));
        CHECK(files == Prefixed(base, SystemListing(base + "*.pdf", false)));
    }

    TextArray deeper;
    CHECK(EnumerateFiles(root / "a.b", "*.pdf", deeper) == 1);
    CHECK(deeper == TextArray{root / "a.b\\deep.pdf"});
}

TEST_CASE("scans of an empty, a missing and an unreadable folder find nothing")
{
    TempFolder root;
    std::string empty = root.MakeFolder("empty");
    root.MakeFolder("holds folders only");
    root.MakeFolder("holds folders only\\sub.pdf");
    std::string file = root.MakeFile("a.pdf");

    struct Case {
        const char* name;
        std::string folder;
    } cases[] = {
        {"empty folder", empty},
        {"missing folder", root / "missing"},
        {"a file, not a folder", file},
        {"folders only, one named like a PDF", root / "holds folders only"},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        TextArray files = {"old"};
        CHECK(EnumerateFiles(c.folder, "*.pdf", files) == 0);
        CHECK(files.empty());
    }
    for (size_t i = 0; i < 3; ++i) {
        INFO(std::string(cases[i].name));
        TextArray folders = {"old"};
        CHECK(EnumerateSubfolders(cases[i].folder, folders) == 1);
        CHECK(folders == TextArray{"old"});
    }
}

static std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return wide;
}

TEST_CASE("a folder whose search pattern is longer than MAX_PATH yields nothing")
{
    TempFolder root;
    // Made with the long-path form of the wide calls, which the ANSI search
    // cannot reach: the folder exists and holds a subfolder and a file.
    std::string deep = root.path();
    std::vector<std::wstring> made;
    while (deep.size() < MAX_PATH + 20) {
        deep += "\\" + std::string(60, 'd');
        made.push_back(L"\\\\?\\" + Wide(deep));
        REQUIRE(CreateDirectoryW(made.back().c_str(), NULL));
    }
    std::wstring sub = made.back() + L"\\sub";
    std::wstring file = made.back() + L"\\a.pdf";
    REQUIRE(CreateDirectoryW(sub.c_str(), NULL));
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    REQUIRE(handle != INVALID_HANDLE_VALUE);
    CloseHandle(handle);

    TextArray folders;
    CHECK(EnumerateSubfolders(deep, folders) == 0);
    CHECK(folders.empty());
    TextArray files;
    CHECK(EnumerateFiles(deep, "*.pdf", files) == 0);

    DeleteFileW(file.c_str());
    RemoveDirectoryW(sub.c_str());
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        RemoveDirectoryW(it->c_str());
}

TEST_CASE("a folder ending in 乗 (trail byte 0x5C) is searched itself, not its parent")
{
    TempFolder root;
    // Siblings whose names begin with the same character: a byte-wise test
    // would take "\x81\x5C" for a separator and list these instead.
    std::string noriko = root.MakeFolder("工具乗");
    root.MakeFolder("工具乗其他");
    root.MakeFile("工具乗.pdf");
    root.MakeFolder("工具乗\\a");
    root.MakeFolder("工具乗\\b");
    root.MakeFile("工具乗\\c.pdf");

    TextArray folders;
    CHECK(EnumerateSubfolders(noriko, folders) == 2);
    CHECK(Sorted(folders) == TextArray{noriko + "\\a", noriko + "\\b"});

    TextArray files;
    CHECK(EnumerateFiles(noriko, "*.pdf", files) == 1);
    CHECK(files == TextArray{noriko + "\\c.pdf"});
}

TEST_CASE("the folder base ends in exactly one separator")
{
    struct Case {
        const char* name;
        std::string folder;
        std::string expected;
    } cases[] = {
        {"folder", "D:\\data", "D:\\data\\"},
        {"folder with separator", "D:\\data\\", "D:\\data\\"},
        {"drive", "C:", "C:\\"},
        {"drive root", "C:\\", "C:\\"},
        {"empty: root of the current drive", "", "\\"},
        {"name ending in 乗", "D:\\工具乗", "D:\\工具乗\\"},
        {"乗 then separator", "D:\\工具乗\\", "D:\\工具乗\\"},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(FolderBase(c.folder) == c.expected);
    }
}

TEST_CASE("FindEntry ends a finished search and ignores a continuation without one")
{
    TempFolder root;
    root.MakeFile("only.pdf");
    SearchHandle search;
    CHECK(FindEntry("", 0, search) == "");
    CHECK(search.handle == NULL);

    CHECK(FindEntry(root / "*.pdf", 0, search) == "only.pdf");
    CHECK(search.handle != NULL);
    CHECK(FindEntry("", 0, search) == "");
    CHECK(search.handle == NULL);

    CHECK(FindEntry(root / "*.none", 0, search) == "");
    CHECK(search.handle == NULL);
}

namespace {

int dispatched = 0;

// Counts what reaches it; the first message posts a second one.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        ++dispatched;
        PostMessageA(window, WM_APP + 1, 0, 0);
        return 0;
    }
    if (message == WM_APP + 1) {
        ++dispatched;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ThreadMessageWaiting(UINT message)
{
    MSG msg;
    return PeekMessageA(&msg, NULL, message, message, PM_REMOVE) != 0;
}

}  // namespace

TEST_CASE("ProcessEvents dispatches everything waiting, also what the dispatched messages post")
{
    TestWindow window;
    SetWindowLongPtrA(window.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc));
    dispatched = 0;
    PostMessageA(window.handle(), WM_APP, 0, 0);
    ProcessEvents();
    CHECK(dispatched == 2);
    SetWindowLongPtrA(window.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
}

TEST_CASE("ProcessEvents leaves the request to end the program for the main loop")
{
    PostQuitMessage(7);
    ProcessEvents();
    MSG msg;
    REQUIRE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    CHECK(msg.message == WM_QUIT);
    CHECK(msg.wParam == 7);
}

TEST_CASE("EnumerateFiles lets the window handle its messages only once a file is found")
{
    TempFolder root;
    std::string empty = root.MakeFolder("empty");
    root.MakeFile("a.pdf");
    TextArray files;

    PostThreadMessageA(GetCurrentThreadId(), WM_APP + 2, 0, 0);
    EnumerateFiles(empty, "*.pdf", files);
    CHECK(ThreadMessageWaiting(WM_APP + 2));

    PostThreadMessageA(GetCurrentThreadId(), WM_APP + 2, 0, 0);
    EnumerateFiles(root.path(), "*.pdf", files);
    CHECK_FALSE(ThreadMessageWaiting(WM_APP + 2));
}

TEST_CASE("names the code page cannot spell are listed under names that reach them")
{
    TempFolder root;
    const std::wstring names[] = {L"报表", L"한글", L"a\U0001F600b", L"Café ñ"};
    for (const std::wstring& name : names)
        root.MakeFolderW(name);
    const std::string cafe = ShortForm(ToWide(root.path()) + L"\\Café ñ");
    root.MakeFileW(L"Café ñ\\ü€.pdf");
    root.MakeFileW(L"Café ñ\\plain.pdf");

    TextArray folders;
    REQUIRE(EnumerateSubfolders(root.path(), folders) == 4);
    std::vector<std::wstring> found;
    for (const std::string& folder : folders) {
        INFO(folder);
        CHECK(folder.find('?') == std::string::npos);
        CHECK(GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES);
        found.push_back(LongName(folder));
    }
    std::sort(found.begin(), found.end());
    std::vector<std::wstring> expected(std::begin(names), std::end(names));
    std::sort(expected.begin(), expected.end());
    CHECK(found == expected);
    // A name that the code page spells is listed as it is.
    CHECK(std::count(folders.begin(), folders.end(), root / "报表") == 1);

    TextArray files;
    REQUIRE(EnumerateFiles(cafe, "*.pdf", files) == 2);
    std::vector<std::wstring> fileNames;
    for (const std::string& file : files) {
        CHECK(file.compare(0, cafe.size() + 1, cafe + "\\") == 0);
        CHECK(GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES);
        fileNames.push_back(LongName(file));
    }
    std::sort(fileNames.begin(), fileNames.end());
    CHECK(fileNames == std::vector<std::wstring>{L"plain.pdf", L"ü€.pdf"});
    CHECK(std::count(files.begin(), files.end(), cafe + "\\plain.pdf") == 1);
}
