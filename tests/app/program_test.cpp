#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"

namespace {

// quorvane.exe lies beside the test program.
std::string ToolPath()
{
    char module[MAX_PATH] = "";
    GetModuleFileNameA(NULL, module, MAX_PATH);
    std::string path(module);
    return path.substr(0, path.rfind('\\') + 1) + "quorvane.exe";
}

struct FindData {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindToolWindow(HWND window, LPARAM lParam)
{
    FindData* data = reinterpret_cast<FindData*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    if (owner == data->processId && std::string(name) == kMainWindowClass) {
        data->window = window;
        return FALSE;
    }
    return TRUE;
}

// The tool, started as the user starts it, ended by force if a case leaves
// it running.
struct RunningTool {
    PROCESS_INFORMATION process = {};
    HWND window = NULL;

    RunningTool()
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        std::string commandLine = "\"" + ToolPath() + "\"";
        if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
            return;
        WaitForInputIdle(process.hProcess, 10000);
        FindData data = {process.dwProcessId, NULL};
        for (int i = 0; i < 200 && data.window == NULL; ++i) {
            EnumWindows(FindToolWindow, reinterpret_cast<LPARAM>(&data));
            if (data.window == NULL)
                Sleep(50);
        }
        window = data.window;
    }
    ~RunningTool()
    {
        if (process.hProcess == NULL)
            return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    // The exit code once the tool has ended, or STILL_ACTIVE after 10 s.
    DWORD ExitCode()
    {
        WaitForSingleObject(process.hProcess, 10000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        return code;
    }
};

}  // namespace

TEST_CASE("every way of ending the tool ends it with exit code 0")
{
    struct Case {
        const char* name;
        int control;  // 0: the main window itself
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {"退出 button", 0, WM_COMMAND, MAKEWPARAM(按钮4, BN_CLICKED), 0},
        {"Esc in 编辑框1", 编辑框1, WM_KEYDOWN, VK_ESCAPE, 1},
        {"Esc in the folder list", 超级列表框1, WM_KEYDOWN, VK_ESCAPE, 1},
        {"close button", 0, WM_SYSCOMMAND, SC_CLOSE, 0},
        {"Alt+F4", 0, WM_SYSKEYDOWN, VK_F4, 0x20000001},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        RunningTool tool;
        REQUIRE(tool.window != NULL);
        HWND target = c.control == 0 ? tool.window : GetDlgItem(tool.window, c.control);
        REQUIRE(target != NULL);
        PostMessageA(target, c.message, c.wParam, c.lParam);
        CHECK(tool.ExitCode() == 0);
    }
}

TEST_CASE("the tool keeps running while nothing ends it")
{
    RunningTool tool;
    REQUIRE(tool.window != NULL);
    HWND exitButton = GetDlgItem(tool.window, 按钮4);
    PostMessageA(exitButton, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(tool.window, WM_KEYDOWN, VK_F1, 1);
    CHECK(WaitForSingleObject(tool.process.hProcess, 1000) == WAIT_TIMEOUT);
    CHECK(IsWindow(tool.window));
}

namespace {

std::string VersionString(const std::vector<char>& block, const char* name)
{
    char* value = NULL;
    UINT size = 0;
    std::string key = std::string("\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &size) || size == 0)
        return "";
    return std::string(value);
}

}  // namespace

TEST_CASE("the executable carries its version block and its common controls manifest")
{
    std::string tool = ToolPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(tool.c_str(), &handle);
    REQUIRE(size > 0);
    std::vector<char> block(size);
    REQUIRE(GetFileVersionInfoA(tool.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = NULL;
    UINT fixedSize = 0;
    REQUIRE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    CHECK(fixed->dwFileVersionMS == MAKELONG(0, 1));
    CHECK(fixed->dwFileVersionLS == 0);
    CHECK(fixed->dwProductVersionMS == MAKELONG(0, 1));
    CHECK(fixed->dwProductVersionLS == 0);
    CHECK(VersionString(block, "FileVersion") == "1.0.0.0");
    CHECK(VersionString(block, "ProductVersion") == "1.0.0.0");
    CHECK(VersionString(block, "ProductName") == "Quorvane");

    HMODULE image = LoadLibraryExA(tool.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(image != NULL);
    HRSRC resource = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    REQUIRE(resource != NULL);
    const char* manifest = static_cast<const char*>(LockResource(LoadResource(image, resource)));
    std::string text(manifest, SizeofResource(image, resource));
    CHECK(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") != std::string::npos);
    FreeLibrary(image);
}
