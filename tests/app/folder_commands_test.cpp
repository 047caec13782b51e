#include <doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "support/dialog_script.h"
#include "support/show_texts.h"
#include "support/temp_folder.h"
#include "support/test_window.h"
#include "sys/paths.h"

namespace {

const char kSourceTitle[] = "请选择需转换合并pdf的目录";
const char kOutputTitle[] = "请选择合并后pdf的存放目录";
const char kTestDrive[] = "Q:\\";

// The main window of the tool in this process, its buttons clicked as the
// user clicks them.
struct CommandsFixture {
    HWND window = NULL;
    HWND list = NULL;
    CommandsFixture()
    {
        OleInitialize(NULL);
        InitRunDirectory();
        window = CreateMainWindow(GetModuleHandleA(NULL));
        list = GetDlgItem(window, 超级列表框1);
    }
    ~CommandsFixture()
    {
        DestroyAndDrain(window);
        OleUninitialize();
    }
    void Click(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    // Each row as "序号 目录名称 目录路径", from the top.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int row = 0; row < RowCount(list); ++row)
            rows.push_back(GetCellText(list, row, ColumnNumber) + " " + GetCellText(list, row, ColumnTitle) +
                           " " + GetCellText(list, row, ColumnPath));
        return rows;
    }
};

// The rows that one scan of base (which ends in "\") puts at the top: the
// folder found last first, numbered down to 1.
std::vector<std::string> ScanRows(const std::string& base)
{
    std::vector<std::string> rows;
    std::vector<std::string> names;
    for (const std::string& name : NamesInDirectoryOrder(base.substr(0, base.size() - 1), "*", true)) {
        if (name[0] != '.')
            names.push_back(name);
    }
    for (size_t i = names.size(); i > 0; --i)
        rows.push_back(std::to_string(i) + " " + names[i - 1] + " " + base + names[i - 1]);
    return rows;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool Holds(const std::vector<std::string>& texts, const std::string& text)
{
    for (const std::string& t : texts) {
        if (t == text)
            return true;
    }
    return false;
}

}  // namespace

TEST_CASE_FIXTURE(CommandsFixture, "two scans put their subfolders at the top, each numbered from 1")
{
    REQUIRE(window != NULL);
    TempFolder first, second;
    for (const char* name : {"A", "B 报表", "C"})
        first.MakeFolder(name);
    first.MakeFolder(".hidden");
    first.MakeFile("a.pdf");
    for (const char* name : {"D", "E"})
        second.MakeFolder(name);

    DialogScript script({{first.path(), true}, {second.path(), true}});
    Click(按钮1);
    CHECK(ControlText(window, 编辑框1) == first.path());
    Click(按钮1);
    CHECK(ControlText(window, 编辑框1) == second.path());

    const std::vector<std::string> expected = Joined(ScanRows(second.path() + "\\"), ScanRows(first.path() + "\\"));
    CHECK(expected.size() == 5);
    CHECK(Rows() == expected);
    REQUIRE(script.seen().size() == 2);
    for (const DialogSeen& seen : script.seen()) {
        CHECK(Holds(seen.texts, kSourceTitle));
        CHECK(seen.owner == window);
    }
}

namespace {

// Paints of the folder list, counted while a case watches it.
int listPaints = 0;
WNDPROC listProc = NULL;

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        ++listPaints;
    return CallWindowProcA(listProc, window, message, wParam, lParam);
}

}  // namespace

// Painting is held off while a scan fills the list (how much time that
// saves, the benchmark shows); it must come back, with the whole list to
// paint.
TEST_CASE_FIXTURE(CommandsFixture, "after a scan the list is painted again, with every row")
{
    REQUIRE(window != NULL);
    TempFolder root;
    const int folders = 60;
    for (int i = 0; i < folders; ++i)
        root.MakeFolder("f" + std::to_string(i));
    UpdateWindow(window);
    {
        DialogScript script({{root.path(), true}});
        Click(按钮1);
    }
    CHECK(RowCount(list) == folders);
    CHECK(IsWindowVisible(list));
    listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountPaints)));
    listPaints = 0;
    UpdateWindow(list);
    CHECK(listPaints == 1);
    CHECK(GetUpdateRect(list, NULL, FALSE) == FALSE);
    // Painting goes on as before: a change shows.
    SetCellText(list, 0, ColumnTitle, "changed");
    UpdateWindow(list);
    CHECK(listPaints == 2);
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
}

TEST_CASE_FIXTURE(CommandsFixture, "a drive's root folder gives paths with a single backslash")
{
    REQUIRE(window != NULL);
    REQUIRE(GetDriveTypeA(kTestDrive) != DRIVE_NO_ROOT_DIR);
    const std::string x = std::string(kTestDrive) + "甲", y = std::string(kTestDrive) + "乙 2";
    CreateDirectoryA(x.c_str(), NULL);
    CreateDirectoryA(y.c_str(), NULL);

    DialogScript script({{kTestDrive, true}});
    Click(按钮1);
    CHECK(ControlText(window, 编辑框1) == kTestDrive);
    CHECK(Rows() == ScanRows(kTestDrive));
    CHECK(RowCount(list) == 2);
    CHECK(GetCellText(list, 0, ColumnPath).find("\\\\") == std::string::npos);
    RemoveTree(x);
    RemoveTree(y);
}

TEST_CASE_FIXTURE(CommandsFixture, "both dialogs open at the program's folder, also after a choice")
{
    REQUIRE(window != NULL);
    TempFolder chosen;
    DialogScript script({{chosen.path(), true}, {"", true}, {chosen.path(), true}});
    Click(按钮3);
    CHECK(ControlText(window, 编辑框2) == chosen.path());
    Click(按钮3);
    CHECK(ControlText(window, 编辑框2) == RunDirectory());
    Click(按钮1);
    REQUIRE(script.seen().size() == 3);
    CHECK(Holds(script.seen()[0].texts, kOutputTitle));
    CHECK(Holds(script.seen()[2].texts, kSourceTitle));

    // The source dialog too, after the choice above.
    DialogScript again({{"", true}});
    Click(按钮1);
    CHECK(ControlText(window, 编辑框1) == RunDirectory());
}

TEST_CASE_FIXTURE(CommandsFixture, "Cancel empties the box and adds no row")
{
    REQUIRE(window != NULL);
    TempFolder root;
    root.MakeFolder("A");
    DialogScript script({{root.path(), true}, {"", false}, {root.path(), true}, {"", false}});
    Click(按钮1);
    const std::vector<std::string> before = Rows();
    REQUIRE(before.size() == 1);
    Click(按钮1);
    CHECK(ControlText(window, 编辑框1) == "");
    CHECK(Rows() == before);

    Click(按钮3);
    REQUIRE(ControlText(window, 编辑框2) == root.path());
    Click(按钮3);
    CHECK(ControlText(window, 编辑框2) == "");
    CHECK(script.seen().size() == 4);
}
