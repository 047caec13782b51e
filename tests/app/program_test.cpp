#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "jobs/merge_rules.h"
#include "support/pdftk_double.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

std::string ToolPath()
{
    return TestProgramFolder() + "\\quorvane.exe";
}

// A message that a case sends to the running tool.
struct ToolMessage {
    const char* name;
    int control;  // 0: the main window itself
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

HWND TargetOf(const ToolProcess& tool, const ToolMessage& c)
{
    return c.control == 0 ? tool.window() : tool.Control(c.control);
}

}  // namespace

TEST_CASE("every way of ending the tool ends it with exit code 0")
{
    const ToolMessage cases[] = {
        {"退出 button", 0, WM_COMMAND, MAKEWPARAM(按钮4, BN_CLICKED), 0},
        {"Esc in 编辑框1", 编辑框1, WM_KEYDOWN, VK_ESCAPE, 1},
        {"Esc in the folder list", 超级列表框1, WM_KEYDOWN, VK_ESCAPE, 1},
        {"close button", 0, WM_SYSCOMMAND, SC_CLOSE, 0},
        {"Alt+F4", 0, WM_SYSKEYDOWN, VK_F4, 0x20000001},
    };
    for (const ToolMessage& c : cases) {
        INFO(std::string(c.name));
        TempFolder folder;
        ToolProcess tool(folder.path());
        REQUIRE(tool.window() != NULL);
        HWND target = TargetOf(tool, c);
        REQUIRE(target != NULL);
        PostMessageA(target, c.message, c.wParam, c.lParam);
        CHECK(tool.ExitCode() == 0);
    }
}

TEST_CASE("the tool keeps running while nothing ends it")
{
    TempFolder folder;
    ToolProcess tool(folder.path());
    REQUIRE(tool.window() != NULL);
    PostMessageA(tool.Control(按钮4), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(tool.window(), WM_KEYDOWN, VK_F1, 1);
    CHECK(WaitForSingleObject(tool.process(), 1000) == WAIT_TIMEOUT);
    CHECK(IsWindow(tool.window()));
}

namespace {

// A tool in a folder whose name has a space, beside a decoy that the
// unquoted command line would start instead, over a root of two folders
// with PDF files, both already listed.
struct MergingTool {
    TempFolder place;
    DoubleLog log;
    std::string toolFolder = place.MakeFolder("My Tools");
    InstalledDouble pdftk{toolFolder + "\\pdftk.exe"};
    InstalledDouble decoy{place / "My.exe"};
    std::string root = place.MakeFolder("根");
    ToolProcess tool{toolFolder};

    MergingTool()
    {
        place.MakeFolder("根\\甲");
        place.MakeFile("根\\甲\\a.pdf");
        place.MakeFolder("根\\乙 2");
        place.MakeFile("根\\乙 2\\b c.pdf");
        if (tool.window() != NULL)
            tool.ChooseFolder(按钮1, root);
    }
};

}  // namespace

TEST_CASE("a merge run of the real tool starts pdftk.exe from the tool's own folder")
{
    MergingTool t;
    REQUIRE(t.tool.window() != NULL);
    REQUIRE(t.tool.RowCount() == 2);
    t.tool.Click(按钮2);
    REQUIRE(t.tool.WaitForMerges());
    WaitForProcessesToEnd("My.exe");
    std::vector<DoubleCall> calls = t.log.Calls();
    REQUIRE(calls.size() == 2);
    for (const DoubleCall& call : calls) {
        CHECK(call.module == t.toolFolder + "\\pdftk.exe");
        REQUIRE(call.args.size() == 5);
        CHECK(call.args[2] == "cat");
    }
    CHECK(t.tool.CellText(0, ColumnStatus) == "已处理");
    CHECK(t.tool.CellText(1, ColumnStatus) == "已处理");
}

TEST_CASE("closing the window during a merge run ends the tool at once with exit code 0")
{
    const ToolMessage cases[] = {
        {"close button", 0, WM_SYSCOMMAND, SC_CLOSE, 0},
        {"Alt+F4", 0, WM_SYSKEYDOWN, VK_F4, 0x20000001},
        {"Esc in 编辑框1", 编辑框1, WM_KEYDOWN, VK_ESCAPE, 1},
        {"退出 button", 0, WM_COMMAND, MAKEWPARAM(按钮4, BN_CLICKED), 0},
    };
    for (const ToolMessage& c : cases) {
        INFO(std::string(c.name));
        MergingTool t;
        REQUIRE(t.tool.window() != NULL);
        REQUIRE(t.tool.RowCount() == 2);
        HWND target = TargetOf(t.tool, c);
        // Both wait in the queue before the tool takes either: the close
        // reaches the window while the run is going on.
        REQUIRE(SuspendThread(t.tool.thread()) != static_cast<DWORD>(-1));
        PostMessageA(t.tool.window(), WM_COMMAND, MAKEWPARAM(按钮2, BN_CLICKED), 0);
        PostMessageA(target, c.message, c.wParam, c.lParam);
        ResumeThread(t.tool.thread());
        CHECK(t.tool.ExitCode() == 0);
        CHECK(t.log.Calls().empty());
    }
}

TEST_CASE("closing the window while merges run and wait: exit code 0, running ones go on, waiting ones never start")
{
    TempFolder place;
    DoubleLog log;
    const std::string toolFolder = place.MakeFolder("tool");
    InstalledDouble pdftk(toolFolder + "\\pdftk.exe");
    const std::string root = place.MakeFolder("root");
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const int places = MergeSlots(static_cast<int>(system.dwNumberOfProcessors));
    for (int i = 0; i < places + 2; ++i) {
        const std::string folder = place.MakeFolder("root\\job" + std::to_string(i));
        place.MakeFile("root\\job" + std::to_string(i) + "\\a.pdf");
        OrderDouble(folder, "sleep 1000");
    }
    ToolProcess tool(toolFolder);
    REQUIRE(tool.window() != NULL);
    REQUIRE(tool.ChooseFolder(按钮1, root));
    REQUIRE(tool.RowCount() == places + 2);
    tool.Click(按钮2);
    int waiting = 0;
    for (int row = 0; row < tool.RowCount(); ++row)
        waiting += tool.CellText(row, ColumnStatus) == "等待中";
    CHECK(waiting == 2);
    PostMessageA(tool.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(tool.ExitCode() == 0);
    // The running merges end by themselves after the tool, and log then.
    CHECK(log.Calls().size() == static_cast<size_t>(places));
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
