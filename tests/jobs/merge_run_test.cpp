#include <doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
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
#include "jobs/merge_queue.h"
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
    MergeQueue& Merges() const { return *MainWindowMerges(window); }
    // A run as the click on 合并 starts it; returns once it has reached
    // every row, with the merges still going on.
    void Run() { MergeAll(Merges(), GetDlgItem(window, 编辑框2)); }
    // A run, and then the end of all its merges.
    void RunToEnd()
    {
        Run();
        REQUIRE(WaitForMerges(window));
    }
    // A row at the bottom of the list for a folder of the root.
    std::string AddRow(const std::string& title, const std::vector<std::string>& files = {})
    {
        const std::string folder = root.MakeFolder(title);
        AddRowFor(folder, title);
        for (const std::string& file : files)
            root.MakeFile(title + "\\" + file);
        return folder;
    }
    void AddRowFor(const std::string& folder, const std::string& title)
    {
        int row = InsertRow(list, RowCount(list), std::to_string(RowCount(list) + 1));
        SetCellText(list, row, ColumnTitle, title);
        SetCellText(list, row, ColumnPath, folder);
    }
    std::vector<std::string> Statuses() const
    {
        std::vector<std::string> statuses;
        for (int row = 0; row < RowCount(list); ++row)
            statuses.push_back(GetCellText(list, row, ColumnStatus));
        return statuses;
    }
    std::string Reason(int row) const { return FailureReason(Merges(), RowFromBottom(list, row)); }
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
    // A folder "out" of the root as the output folder box's text.
    std::string UseOutputFolder()
    {
        const std::string output = root.MakeFolder("out");
        SetControlText(window, 编辑框2, output);
        return output;
    }
};

}  // namespace

TEST_CASE_FIXTURE(MergeFixture, "MergeAll merges every row with PDF files, from the top, with the row's files")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string a = AddRow("Alpha", {"b.pdf", "a.pdf", "jan 2020.pdf", "notes.txt"});
    root.MakeFolder("Alpha\\inner.pdf");
    root.MakeFile("Alpha\\inner.pdf\\deep.pdf");
    AddRow("空 目录");
    const std::string c = AddRow("报表", {"一月.pdf"});

    RunToEnd();
    std::vector<DoubleCall> calls = log.Calls();
    const std::string outputFolder = RunDirectory();
    const std::vector<std::vector<std::string>> expected = {
        ExpectedArgs(a, outputFolder, "Alpha"),
        ExpectedArgs(c, outputFolder, "报表"),
    };
    // A folder without PDF files starts no pdftk.
    REQUIRE(calls.size() == expected.size());
    unsigned long long startedBefore = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        CAPTURE(i);
        const DoubleCall* call = CallWriting(calls, expected[i].back());
        REQUIRE(call != NULL);
        CHECK(call->module == RunDirectory() + "\\pdftk.exe");
        CHECK(call->args == expected[i]);
        CHECK(call->createdAt >= startedBefore);
        startedBefore = call->createdAt;
    }
    CHECK(expected[0].size() == 3 + 3 + 1);  // a.pdf, b.pdf and jan 2020.pdf, no other file
    CHECK(Statuses() == std::vector<std::string>{"已处理", "处理失败", "已处理"});
    CHECK(Reason(1) == "目录中没有 PDF 文件");
    CHECK(Reason(0) == "");
    DeleteFileA((outputFolder + "\\Alpha.pdf").c_str());
    DeleteFileA((outputFolder + "\\报表.pdf").c_str());
}

TEST_CASE_FIXTURE(MergeFixture, "MergeAll writes into the folder of the output folder box")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string output = root.MakeFolder("合并 结果");
    SetControlText(window, 编辑框2, output);
    const std::string a = AddRow("Alpha", {"a.pdf"});

    RunToEnd();
    std::vector<DoubleCall> calls = log.Calls();
    REQUIRE(calls.size() == 1);
    CHECK(calls[0].args == ExpectedArgs(a, output, "Alpha"));
    CHECK(Statuses() == std::vector<std::string>{"已处理"});
    CHECK(GetFileAttributesA((output + "\\Alpha.pdf").c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST_CASE("how a merge ends decides what its row reads, and the tip tells why it failed")
{
    struct Case {
        const char* name;
        const char* orders;  // for the double, "" for none
        const char* status;
        const char* reason;
    } cases[] = {
        {"pdftk ends with 0 and writes the file", "", "已处理", ""},
        {"pdftk ends with 1", "exit 1", "处理失败", "pdftk 退出代码 1"},
        {"pdftk ends with 2", "exit 2", "处理失败", "pdftk 退出代码 2"},
        {"pdftk ends with 0 but writes nothing", "nowrite", "处理失败", "未生成合并文件"},
        {"pdftk's error message is shown with its code", "exit 1\nerror Error: Unexpected Exception.",
         "处理失败", "pdftk 退出代码 1\r\nError: Unexpected Exception."},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        MergeFixture f;
        REQUIRE(f.window != NULL);
        f.InstallPdftk();
        f.UseOutputFolder();
        const std::string folder = f.AddRow("Alpha", {"a.pdf"});
        if (*c.orders)
            OrderDouble(folder, c.orders);
        f.RunToEnd();
        CHECK(f.log.Calls().size() == 1);
        CHECK(f.Statuses() == std::vector<std::string>{c.status});
        CHECK(f.Reason(0) == c.reason);
    }
}

TEST_CASE_FIXTURE(MergeFixture, "an older output file does not make a merge that wrote nothing a success")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string output = UseOutputFolder();
    const std::string folder = AddRow("Alpha", {"a.pdf"});
    RunToEnd();
    REQUIRE(Statuses() == std::vector<std::string>{"已处理"});
    OrderDouble(folder, "nowrite");
    RunToEnd();
    CHECK(Statuses() == std::vector<std::string>{"处理失败"});
    CHECK(Reason(0) == "未生成合并文件");
    CHECK(GetFileAttributesA((output + "\\Alpha.pdf").c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST_CASE("runs that must start nothing")
{
    struct Case {
        const char* name;
        bool pdftk;
        int rows;
        const char* outputBox;  // relative to the root; NULL: empty box
        const char* status;
        const char* reason;
    } cases[] = {
        {"an empty folder list", true, 0, NULL, NULL, ""},
        {"pdftk.exe missing from the program's folder", false, 2, NULL, "处理失败", "找不到 pdftk.exe"},
        {"an output folder that does not exist", true, 2, "missing", "处理失败", "存放目录不存在"},
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
        f.RunToEnd();
        CHECK(f.log.Calls().empty());
        CHECK(f.Statuses() == std::vector<std::string>(c.rows, c.status ? c.status : ""));
        for (int row = 0; row < c.rows; ++row)
            CHECK(f.Reason(row) == c.reason);
    }
}

TEST_CASE_FIXTURE(MergeFixture, "a second run starts every row again and rewrites each status")
{
    REQUIRE(window != NULL);
    const std::string output = UseOutputFolder();
    AddRow("Alpha", {"a.pdf"});
    AddRow("Beta", {"b.pdf"});
    RunToEnd();
    CHECK(Statuses() == std::vector<std::string>{"处理失败", "处理失败"});
    InstallPdftk();
    RunToEnd();
    RunToEnd();
    CHECK(log.Calls().size() == 4);
    CHECK(Statuses() == std::vector<std::string>{"已处理", "已处理"});
    CHECK(Reason(0) == "");
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

    RunToEnd();
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

TEST_CASE_FIXTURE(MergeFixture, "no more merges run at once than there are places, and all of them end")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    Merges().slots = 2;
    const std::string output = UseOutputFolder();
    // Long enough that none ends before the run has reached every row.
    for (int i = 0; i < 10; ++i)
        OrderDouble(AddRow("row" + std::to_string(i), {"a.pdf"}), "sleep 400");

    Run();
    // The run has reached every row: two run, the others wait in order.
    const std::vector<std::string> reached = Statuses();
    CHECK(std::count(reached.begin(), reached.end(), std::string("处理中")) == 2);
    CHECK(std::count(reached.begin(), reached.end(), std::string("等待中")) == 8);
    CHECK(reached[0] == "处理中");
    REQUIRE(WaitForMerges(window));
    const std::vector<DoubleCall> calls = log.Calls();
    CHECK(calls.size() == 10);
    CHECK(MostAtOnce(calls) == 2);
    CHECK(Statuses() == std::vector<std::string>(10, "已处理"));
}

TEST_CASE_FIXTURE(MergeFixture, "two rows with one output file never merge at the same time")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string output = UseOutputFolder();
    // Two roots that both hold 2020: within one run, the later row is not
    // merged over the earlier one.
    root.MakeFolder("first");
    root.MakeFolder("second");
    const std::string a = root.MakeFolder("first\\2020"), b = root.MakeFolder("second\\2020");
    root.MakeFile("first\\2020\\a.pdf");
    root.MakeFile("second\\2020\\b.pdf");
    OrderDouble(a, "sleep 1000");
    OrderDouble(b, "sleep 1000");
    AddRowFor(a, "2020");
    AddRowFor(b, "2020");
    Run();
    CHECK(Statuses() == std::vector<std::string>{"处理中", "处理失败"});
    CHECK(Reason(1) == "与第 1 行的输出文件相同");
    // The second root scanned again, and a run while the first merge still
    // writes: the new row waits for the file rather than writing it at the
    // same time.
    InsertRow(list, 0, "1");
    SetCellText(list, 0, ColumnTitle, "2020");
    SetCellText(list, 0, ColumnPath, b);
    Run();
    CHECK(Statuses() == std::vector<std::string>{"等待中", "处理中", "处理失败"});
    REQUIRE(WaitForMerges(window));
    const std::vector<DoubleCall> calls = log.Calls();
    CHECK(calls.size() == 2);
    CHECK(MostAtOnce(calls) == 1);
    CHECK(Statuses() == std::vector<std::string>{"已处理", "已处理", "处理失败"});
}

TEST_CASE_FIXTURE(MergeFixture, "statuses stay with their rows when a scan inserts rows above them")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    Merges().slots = 2;
    const std::string output = UseOutputFolder();
    OrderDouble(AddRow("Alpha", {"a.pdf"}), "sleep 600");
    OrderDouble(AddRow("Beta", {"b.pdf"}), "sleep 600\nexit 1");
    OrderDouble(AddRow("Gamma", {"c.pdf"}), "sleep 600");
    AddRow("Empty");
    Run();
    REQUIRE(Statuses() == std::vector<std::string>{"处理中", "处理中", "等待中", "处理失败"});
    // What a scan does while they run: two new rows at the top.
    for (const char* title : {"New1", "New2"}) {
        InsertRow(list, 0, "1");
        SetCellText(list, 0, ColumnTitle, title);
    }
    REQUIRE(WaitForMerges(window));
    CHECK(Statuses() == std::vector<std::string>{"", "", "已处理", "处理失败", "已处理", "处理失败"});
    CHECK(GetCellText(list, 3, ColumnTitle) == "Beta");
    CHECK(Reason(3) == "pdftk 退出代码 1");
    CHECK(Reason(5) == "目录中没有 PDF 文件");
    CHECK(Reason(0) == "");
}

TEST_CASE_FIXTURE(MergeFixture, "a run during running merges queues no row twice")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    Merges().slots = 2;
    const std::string output = UseOutputFolder();
    for (const char* title : {"A", "B", "C"})
        OrderDouble(AddRow(title, {"a.pdf"}), "sleep 600");
    Run();
    REQUIRE(Statuses() == std::vector<std::string>{"处理中", "处理中", "等待中"});
    Run();
    CHECK(Statuses() == std::vector<std::string>{"处理中", "处理中", "等待中"});
    REQUIRE(WaitForMerges(window));
    CHECK(log.Calls().size() == 3);
    CHECK(Statuses() == std::vector<std::string>(3, "已处理"));
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

    RunToEnd();
    // Handled before the last row was reached.
    REQUIRE(seenStatuses.size() == 2);
    CHECK(seenStatuses.back() == "");
    CHECK(Statuses() == std::vector<std::string>{"处理失败", "处理失败"});
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

TEST_CASE_FIXTURE(MergeFixture, "clicks while the run reaches the rows: 合并 runs after it, 选择文件目录 at once")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    Merges().slots = 2;
    const std::string output = UseOutputFolder();
    OrderDouble(AddRow("Alpha", {"a.pdf", "b.pdf"}), "sleep 800");
    OrderDouble(AddRow("Beta", {"c.pdf"}), "sleep 800");
    HHOOK hook = SetWindowsHookExA(WH_CBT, CancelDialogs, NULL, GetCurrentThreadId());
    dialogsOpened = 0;
    // Waiting in the queue, these reach the window while the run collects
    // the first row's files.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(按钮2, BN_CLICKED), 0);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(按钮1, BN_CLICKED), 0);

    Click(按钮2);
    MSG msg;
    CHECK_FALSE(PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    CHECK(dialogsOpened == 1);
    UnhookWindowsHookEx(hook);
    // The second run found both rows running and queued neither again.
    CHECK(Statuses() == std::vector<std::string>{"处理中", "处理中"});
    REQUIRE(WaitForMerges(window));
    CHECK(log.Calls().size() == 2);
    CHECK(GetCellText(list, 0, ColumnTitle) == "Alpha");

    // Once they have ended, 合并 merges both again.
    Click(按钮2);
    REQUIRE(WaitForMerges(window));
    CHECK(log.Calls().size() == 4);
}

// Wine 8's list view sends no LVN_GETINFOTIP when the pointer rests on an
// item, so the window's answer to that notification is what is tested.
TEST_CASE_FIXTURE(MergeFixture, "the tip of a failed row says why; other rows keep the list's own")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string output = UseOutputFolder();
    AddRow("Alpha", {"a.pdf"});
    AddRow("Empty");
    RunToEnd();
    REQUIRE(Statuses() == std::vector<std::string>{"已处理", "处理失败"});
    CHECK(RowTip(window, 1, "") == "目录中没有 PDF 文件");
    CHECK(RowTip(window, 0, "Alpha") == "Alpha");
}

TEST_CASE_FIXTURE(MergeFixture, "folders whose names the code page cannot spell merge into files of their real names")
{
    REQUIRE(window != NULL);
    InstallPdftk();
    const std::string output = UseOutputFolder();
    const std::wstring names[] = {L"한글", L"a\U0001F600b", L"Café ñ"};
    for (const std::wstring& name : names) {
        const std::string folder = root.MakeFolderW(name);
        root.MakeFileW(name + L"\\ü€.pdf");
        root.MakeFileW(name + L"\\b.pdf");
        // As a scan lists it: under its short name.
        AddRowFor(folder, FileTitle(folder));
    }
    for (int run = 0; run < 2; ++run) {
        CAPTURE(run);
        RunToEnd();
        CHECK(Statuses() == std::vector<std::string>(3, "已处理"));
    }
    const std::vector<DoubleCall> calls = log.Calls();
    REQUIRE(calls.size() == 6);
    for (const DoubleCall& call : calls) {
        REQUIRE(call.args.size() == 1 + 2 + 3);
        for (const std::string& arg : call.args)
            CHECK(arg.find('?') == std::string::npos);
        CHECK(GetFileAttributesA(call.args[1].c_str()) != INVALID_FILE_ATTRIBUTES);
        CHECK(GetFileAttributesA(call.args[2].c_str()) != INVALID_FILE_ATTRIBUTES);
        // Written under the short name, then renamed.
        CHECK(GetFileAttributesA(call.args.back().c_str()) == INVALID_FILE_ATTRIBUTES);
    }
    for (const std::wstring& name : names) {
        const std::wstring merged = ToWide(output) + L"\\" + name + L".pdf";
        CHECK(GetFileAttributesW(merged.c_str()) != INVALID_FILE_ATTRIBUTES);
    }
    CHECK(NamesInDirectoryOrder(output, "*", false).size() == 3);
}

TEST_CASE("every listed file goes on the command line, or the merge fails with its reason")
{
    TempFolder root;
    const std::string folder = root.MakeFolder("Alpha");
    const std::string a = root.MakeFile("Alpha\\a.pdf");
    const std::string output = root.MakeFolder("out");
    struct Case {
        const char* name;
        TextArray files;
        std::string outputFolder;
        std::string failure;
    } cases[] = {
        {"all files there", {a}, output, ""},
        {"a file that vanished after the listing", {a, folder + "\\gone.pdf"}, output,
         "无法读取文件 " + folder + "\\gone.pdf"},
        // What a listing gives for a name the code page cannot spell, on a
        // volume that keeps no short names.
        {"a file the code page cannot spell, without a short name", {folder + "\\??.pdf", a}, output,
         "无法读取文件 " + folder + "\\??.pdf"},
        {"no PDF file", {}, output, "目录中没有 PDF 文件"},
        {"no output folder", {a}, "", "存放目录不存在"},
        {"more files than a command line holds", TextArray(2000, a), output, "PDF 文件太多，命令行过长"},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        const RowMerge merge = ComposeMerge(c.files, folder, "Alpha", c.outputFolder);
        CHECK(merge.failure == c.failure);
    }
}
