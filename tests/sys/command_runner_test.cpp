#include <doctest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "support/pdftk_double.h"
#include "support/show_texts.h"
#include "support/temp_folder.h"
#include "sys/command_runner.h"

namespace {

// How a started program splits the argument back out of its command line.
std::vector<std::string> SplitAsWindowsDoes(const std::string& line)
{
    int n = MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, NULL, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, line.c_str(), -1, &wide[0], n);
    int count = 0;
    wchar_t** args = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> result;
    for (int i = 0; args != NULL && i < count; ++i) {
        int m = WideCharToMultiByte(CP_ACP, 0, args[i], -1, NULL, 0, NULL, NULL);
        std::string arg(m - 1, '\0');
        WideCharToMultiByte(CP_ACP, 0, args[i], -1, &arg[0], m, NULL, NULL);
        result.push_back(arg);
    }
    LocalFree(args);
    return result;
}

}  // namespace

TEST_CASE("QuoteArgument quotes only what holds blanks, and the program reads it back whole")
{
    struct Case {
        const char* name;
        const char* argument;
        const char* expected;
    } cases[] = {
        {"no blanks: unchanged", "E:\\Scan\\Reports\\JAN202~1.PDF", "E:\\Scan\\Reports\\JAN202~1.PDF"},
        {"space", "D:\\My Tools\\pdftk.exe", "\"D:\\My Tools\\pdftk.exe\""},
        {"tab", "D:\\a\tb.pdf", "\"D:\\a\tb.pdf\""},
        {"Chinese with an ideographic space only: unchanged", "D:\\报表　一月.pdf", "D:\\报表　一月.pdf"},
        {"trailing backslash before the closing quote", "D:\\My Tools\\", "\"D:\\My Tools\\\\\""},
        {"backslashes inside stay single", "D:\\a b\\\\c", "\"D:\\a b\\\\c\""},
        {"a quote and the backslashes before it", "a \\\"b", "\"a \\\\\\\"b\""},
        {"trail byte 0x5C at the end is no backslash", "D:\\工具 乗", "\"D:\\工具 乗\""},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        const std::string quoted = QuoteArgument(c.argument);
        CHECK(quoted == c.expected);
        std::vector<std::string> args = SplitAsWindowsDoes("x.exe " + quoted + " next");
        REQUIRE(args.size() == 3);
        CHECK(args[1] == c.argument);
        CHECK(args[2] == "next");
    }
}

TEST_CASE("RunCommand is 1 exactly when the process was created")
{
    TempFolder folder;
    DoubleLog log(3);
    InstalledDouble program(folder / "pdftk.exe");
    const std::string tooLong = program.path() + " " + std::string(33000, 'a');

    struct Case {
        const char* name;
        std::string line;
        int expected;
        bool logged;
    } cases[] = {
        {"a program that exists and ends at once with an error", program.path() + "  a.pdf  cat output b.pdf", 1, true},
        {"a program that does not exist", folder / "missing.exe" + " a.pdf", 0, false},
        {"a line longer than the platform accepts", tooLong, 0, false},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        std::vector<DoubleCall> before = log.Calls();
        CHECK(RunCommand(c.line) == c.expected);
        std::vector<DoubleCall> after = log.Calls();
        REQUIRE(after.size() == before.size() + (c.logged ? 1 : 0));
        if (c.logged)
            CHECK(after.back().line == c.line);
    }
}

bool CanOpen(const DoubleCall& call)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, call.processId);
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, call.threadId);
    bool open = process != NULL || thread != NULL;
    if (process != NULL)
        CloseHandle(process);
    if (thread != NULL)
        CloseHandle(thread);
    return open;
}

// A process or thread that has ended can still be opened only while some
// handle to it is open. Wine lets an ended console process go a moment
// later than Windows: give it 5 s.
bool StillHeld(const DoubleCall& call)
{
    for (int i = 0; i < 100; ++i) {
        if (!CanOpen(call))
            return false;
        Sleep(50);
    }
    return true;
}

TEST_CASE("RunCommand keeps no handle and starts one process per call")
{
    TempFolder folder;
    DoubleLog log;
    InstalledDouble program(folder / "pdftk.exe");
    CHECK(RunCommand(program.path() + " one") == 1);
    CHECK(RunCommand(program.path() + " one") == 1);
    std::vector<DoubleCall> calls = log.Calls();
    REQUIRE(calls.size() == 2);
    CHECK(calls[0].args == calls[1].args);
    CHECK(calls[0].processId != calls[1].processId);
    for (const DoubleCall& call : calls)
        CHECK_FALSE(StillHeld(call));
}

TEST_CASE("StartCommand hands back the process, and its output lands in the capture file")
{
    TempFolder folder;
    DoubleLog log;
    InstalledDouble program(folder / "pdftk.exe");
    const std::string input = folder.MakeFile("a.pdf");
    OrderDouble(folder.path(), "exit 3\nerror Error: Failed to open PDF file:");
    HANDLE capture = CreateOutputCapture();
    REQUIRE(capture != NULL);
    StartedCommand started = StartCommand(program.path() + " " + input + " cat output " + (folder / "o.pdf"), capture);
    REQUIRE(started.process != NULL);
    CHECK(WaitForSingleObject(started.process, 20000) == WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(started.process, &code);
    CHECK(code == 3);
    CHECK(LastCapturedLine(capture) == "Error: Failed to open PDF file:");
    // The capture is the tool's own: the started program holds no copy once
    // it has been started, the next one inherits none.
    DWORD flags = 0;
    CHECK(GetHandleInformation(capture, &flags));
    CHECK((flags & HANDLE_FLAG_INHERIT) == 0);
    CloseHandle(started.process);
    CloseHandle(capture);

    StartedCommand missing = StartCommand(folder / "none.exe", NULL);
    CHECK(missing.process == NULL);
    CHECK(missing.error == ERROR_FILE_NOT_FOUND);
}

TEST_CASE("the last line of a capture")
{
    const struct {
        const char* written;
        const char* line;
    } cases[] = {
        {"", ""},
        {"one line", "one line"},
        {"first\r\nsecond\r\n", "second"},
        {"first\nError: No input files\n\n  \r\n", "Error: No input files"},
    };
    for (const auto& c : cases) {
        CAPTURE(std::string(c.written));
        HANDLE capture = CreateOutputCapture();
        REQUIRE(capture != NULL);
        DWORD written = 0;
        WriteFile(capture, c.written, lstrlenA(c.written), &written, NULL);
        CHECK(LastCapturedLine(capture) == c.line);
        CloseHandle(capture);
    }
}
