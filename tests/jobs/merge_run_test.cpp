#include <doctest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "jobs/merge_run.h"
#include "support/pdftk_double.h"
#include "support/show_texts.h"
#include "support/temp_folder.h"
#include "support/test_window.h"
#include "sys/paths.h"

TEST_CASE("the merge command line, byte for byte")
{
    struct Case {
        const char* name;
        const char* runDirectory;
        std::vector<std::string> inputs;
        const char* outputFolder;
        const char* title;
        const char* expected;
    } cases[] = {
        {"the worked example", "D:\\Tools\\Merge",
         {"E:\\Scan\\Reports\\feb.pdf", "E:\\Scan\\Reports\\JAN202~1.PDF"}, "D:\\Tools\\Merge", "Reports",
         "D:\\Tools\\Merge\\pdftk.exe  E:\\Scan\\Reports\\feb.pdf  E:\\Scan\\Reports\\JAN202~1.PDF  cat output "
         "D:\\Tools\\Merge\\Reports.pdf"},
        {"the worked example's row without PDF files", "D:\\Tools\\Merge", {}, "D:\\Tools\\Merge", "Reports",
         "D:\\Tools\\Merge\\pdftk.exe  cat output D:\\Tools\\Merge\\Reports.pdf"},
        {"a program folder with spaces is quoted", "D:\\My Tools", {"E:\\a.pdf"}, "D:\\MYTOOL~1", "Reports",
         "\"D:\\My Tools\\pdftk.exe\"  E:\\a.pdf  cat output D:\\MYTOOL~1\\Reports.pdf"},
        {"an input without a short name keeps its spaces inside quotes", "D:\\Tools",
         {"E:\\Scan\\jan 2020.pdf", "E:\\b.pdf"}, "D:\\Tools", "Reports",
         "D:\\Tools\\pdftk.exe  \"E:\\Scan\\jan 2020.pdf\"  E:\\b.pdf  cat output D:\\Tools\\Reports.pdf"},
        {"a title with spaces quotes the output path", "D:\\Tools", {"E:\\a.pdf"}, "D:\\Tools", "月 报 2020",
         "D:\\Tools\\pdftk.exe  E:\\a.pdf  cat output \"D:\\Tools\\月 报 2020.pdf\""},
        {"a drive root as output folder keeps its own backslash", "D:\\Tools", {"E:\\a.pdf"}, "E:\\", "Reports",
         "D:\\Tools\\pdftk.exe  E:\\a.pdf  cat output E:\\\\Reports.pdf"},
        {"an empty title", "D:\\Tools", {"E:\\a.pdf"}, "D:\\Tools", "",
         "D:\\Tools\\pdftk.exe  E:\\a.pdf  cat output D:\\Tools\\.pdf"},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(MergeCommandLine(c.runDirectory, InputList(c.inputs), MergeOutputPath(c.outputFolder, c.title)) ==
              c.expected);
    }
    CHECK(InputList({}) == "");
    CHECK(InputList({"E:\\a.pdf", "E:\\b.pdf"}) == " E:\\a.pdf  E:\\b.pdf ");
}

namespace {

std::string Short(const std::string& path)
{
    char buffer[MAX_PATH] = "";
    DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? buffer : "";
}

// The folder's PDF files, short forms, in the order the file system lists
// them.
std::vector<std::string> PdfsInDirectoryOrder(const std::string& folder)
{
    std::vector<std::string> files;
    for (const std::string& name : NamesInDirectoryOrder(folder, "*.pdf", false))
        files.push_back(Short(folder + "\\" + name));
    return files;
}

// The call whose last argument, the output file, is outputPath.
const DoubleCall* CallWriting(const std::vector<DoubleCall>& calls, const std::string& outputPath)
{
    for (const DoubleCall& call : calls) {
        if (!call.args.empty() && call.args.back() == outputPath)
            return &call;
    }
    return NULL;
}

// The main window over folders made by the test; the double stands in for
// pdftk.exe in the program's folder while the fixture installs it.
struct MergeFixture {
    TempFolder root;
    DoubleLog log;
    HWND window = NULL;
    HWND list = NULL;
    std::unique_ptr<InstalledDouble> pdftk;

    MergeFixture()
    {
        InitRunDirectory();
        window = CreateMainWindow(GetModuleHandleA(NULL));
        list = GetDlgItem(window, 超级列表框1);
    }
    ~MergeFixture()
    {
        DestroyAndDrain(window);
    }
    void InstallPdftk() { pdftk.reset(new InstalledDouble(RunDirectory() + "\\pdftk.exe")); }
    // A row at the bottom of the list for a folder of the root.
    std::string AddRow(const std::string& title, const std::vector<std::string>& files = {})
    {
        const std::string folder = root.MakeFolder(title);
        for (const std::string& file : files)
            root.MakeFile(title + "\\" + file);
        int row = InsertRow(list, RowCount(list), std::to_string(RowCount(list) + 1));
        SetCellText(list, row, ColumnTitle, title);
        SetCellText(list, row, ColumnPath, folder);
        return folder;
    }
    std::vector<std::string> Statuses() const
    {
        std::vector<std::string> statuses;
        for (int row = 0; row < RowCount(list); ++row)
            statuses.push_back(GetCellText(list, row, ColumnStatus));
        return statuses;
    }
    std::vector<std::string> ExpectedArgs(const std::string& folder, const std::string& outputFolder,
                                          const std::string& title) const
    {
        std::vector<std::string> args = {RunDirectory() + "\\pdftk.exe"};
        for (const std::string& file : PdfsInDirectoryOrder(folder))
            args.push_back(file);
        args.insert(args.end(), {"cat", "output", Short(outputFolder) + "\\" + title + ".pdf"});
        return args;
    }
    void Click(int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
};

}  // namespace

TEST_CASE_FIXTURE(MergeFixture, "MergeAll starts one merge per row, from the top, with the row's PDF files")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string a = AddRow("Alpha", {"b.pdf", "a.pdf", "jan 2020.pdf", "notes.txt"});
    root.MakeFolder("Alpha\\inner.pdf");
    root.MakeFile("Alpha\\inner.pdf\\deep.pdf");
    const std::string b = AddRow("空 目录");
    const std::string c = AddRow("报表", {"一月.pdf"});

    MergeAll(window);
    std::vector<DoubleCall> calls = log.Calls();
    const std::string outputFolder = RunDirectory();
    const std::vector<std::vector<std::string>> expected = {
        ExpectedArgs(a, outputFolder, "Alpha"),
        ExpectedArgs(b, outputFolder, "空 目录"),
        ExpectedArgs(c, outputFolder, "报表"),
    };
    REQUIRE(calls.size() == expected.size());
    unsigned long long startedBefore = 0;
    for (size_t row = 0; row < expected.size(); ++row) {
        CAPTURE(row);
        const DoubleCall* call = CallWriting(calls, expected[row].back());
        REQUIRE(call != NULL);
        CHECK(call->module == RunDirectory() + "\\pdftk.exe");
        CHECK(call->args == expected[row]);
        CHECK(call->createdAt >= startedBefore);
        startedBefore = call->createdAt;
    }
    CHECK(expected[0].size() == 3 + 3 + 1);  // a.pdf, b.pdf and jan 2020.pdf, no other file
    CHECK(expected[1].size() == 3 + 1);      // a folder without PDF files is started all the same
    CHECK(Statuses() == std::vector<std::string>{"已处理", "已处理", "已处理"});
}

TEST_CASE_FIXTURE(MergeFixture, "MergeAll writes into the folder of the output folder box")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string output = root.MakeFolder("合并 结果");
    SetControlText(window, 编辑框2, output);
    const std::string a = AddRow("Alpha", {"a.pdf"});

    MergeAll(window);
    std::vector<DoubleCall> calls = log.Calls();
    REQUIRE(calls.size() == 1);
    CHECK(calls[0].args == ExpectedArgs(a, output, "Alpha"));
    CHECK(Statuses() == std::vector<std::string>{"已处理"});
}

TEST_CASE("runs that must start nothing")
{
    struct Case {
        const char* name;
        bool pdftk;
        int rows;
        const char* outputBox;  // relative to the root; NULL: empty box
        const char* status;
    } cases[] = {
        {"an empty folder list", true, 0, NULL, NULL},
        {"pdftk.exe missing from the program's folder", false, 2, NULL, "处理失败"},
        {"an output folder that does not exist", true, 2, "missing", "处理失败"},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        MergeFixture f;
        REQUIRE(f.window != NULL);
        if (c.pdftk)
            f.InstallPdftk();
        if (c.outputBox != NULL)
            SetControlText(f.window, 编辑框2, f.root / c.outputBox);
        for (int i = 0; i < c.rows; ++i)
            f.AddRow("row" + std::to_string(i), {"a.pdf"});
        MergeAll(f.window);
        CHECK(f.log.Calls().empty());
        CHECK(f.Statuses() == std::vector<std::string>(c.rows, c.status ? c.status : ""));
    }
}

TEST_CASE_FIXTURE(MergeFixture, "a second run starts every row again and rewrites each status")
{
    REQUIRE(window != NULL);
    AddRow("Alpha", {"a.pdf"});
    AddRow("Beta");
    MergeAll(window);
    CHECK(Statuses() == std::vector<std::string>{"处理失败", "处理失败"});
    InstallPdftk();
    MergeAll(window);
    MergeAll(window);
    CHECK(log.Calls().size() == 4);
    CHECK(Statuses() == std::vector<std::string>{"已处理", "已处理"});
}

TEST_CASE_FIXTURE(MergeFixture, "the file that a merge writes is never one of its own inputs")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    // An earlier run wrote Reports.pdf into the folder itself; the box
    // names that folder in another spelling.
    const std::string folder = AddRow("Reports", {"a.pdf", "reports.pdf", "Reports.pdf.pdf"});
    std::string box = folder;
    CharUpperA(&box[0]);
    SetControlText(window, 编辑框2, box);

    MergeAll(window);
    std::vector<DoubleCall> calls = log.Calls();
    REQUIRE(calls.size() == 1);
    std::vector<std::string> inputs(calls[0].args.begin() + 1, calls[0].args.end() - 3);
    std::vector<std::string> expected;
    for (const std::string& file : PdfsInDirectoryOrder(folder)) {
        if (file != Short(folder + "\\reports.pdf"))
            expected.push_back(file);
    }
    CHECK(expected.size() == 2);
    CHECK(inputs == expected);
    CHECK(calls[0].args.back() == Short(box) + "\\Reports.pdf");
}

namespace {

// What the folder list showed when a message posted before the run was
// handled.
std::vector<std::string> seenStatuses;
HWND seenList = NULL;
const UINT kProbe = WM_APP + 7;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe) {
        for (int row = 0; row < RowCount(seenList); ++row)
            seenStatuses.push_back(GetCellText(seenList, row, ColumnStatus));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST_CASE_FIXTURE(MergeFixture, "the window handles its messages once per row, also without PDF files")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    AddRow("Alpha");
    AddRow("Beta");
    TestWindow probe;
    SetWindowLongPtrA(probe.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeProc));
    seenStatuses.clear();
    seenList = list;
    PostMessageA(probe.handle(), kProbe, 0, 0);

    MergeAll(window);
    // Handled before the last row was reached.
    REQUIRE(seenStatuses.size() == 2);
    CHECK(seenStatuses.back() == "");
    CHECK(log.Calls().size() == 2);
}

namespace {

// Dialogs that a command opened during the test, closed at once.
int dialogsOpened = 0;

LRESULT CALLBACK CancelDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    char name[16] = "";
    if (code == HCBT_ACTIVATE && GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name)) &&
        lstrcmpA(name, "#32770") == 0) {
        ++dialogsOpened;
        PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

}  // namespace

TEST_CASE_FIXTURE(MergeFixture, "a click on 合并 or 选择文件目录 during a run changes nothing")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    AddRow("Alpha", {"a.pdf", "b.pdf"});
    AddRow("Beta", {"c.pdf"});
    HHOOK hook = SetWindowsHookExA(WH_CBT, CancelDialogs, NULL, GetCurrentThreadId());
    dialogsOpened = 0;
    // Waiting in the queue, these reach the window while the run collects
    // the first row's files.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(按钮2, BN_CLICKED), 0);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(按钮1, BN_CLICKED), 0);

    Click(按钮2);
    MSG msg;
    CHECK_FALSE(PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    CHECK(log.Calls().size() == 2);
    CHECK(dialogsOpened == 0);
    CHECK(RowCount(list) == 2);
    CHECK(GetCellText(list, 0, ColumnTitle) == "Alpha");

    // Once the run is over, 合并 works again.
    Click(按钮2);
    CHECK(log.Calls().size() == 4);
    UnhookWindowsHookEx(hook);
}
