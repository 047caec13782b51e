// The Windows side of scripts/bench.sh: drives quorvane.exe as a user does
// and measures it, and measures a bare floor of the same work in the same
// run. One figure a line on standard output, times in milliseconds:
//   bench_driver.exe scan ROOT COUNT          -> scan COUNT <tool> <floor>
//   bench_driver.exe merge ROOT OUTPUT PDFTK  -> merge <tool> <floor> <p99 reply> <max reply>
//   bench_driver.exe real ROOT OUTPUT PDFTK   -> real <tool> <bare loop through the same pdftk.exe>
//   bench_driver.exe pdfs ROOT FOLDERS FILES  makes FOLDERS folders of FILES small real PDF files
// A benchmark tool, not part of the product.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "jobs/merge_rules.h"
#include "support/pdf_fixture.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench_driver: %s\n", what.c_str());
    std::exit(1);
}

std::vector<std::string> Listing(const std::string& pattern, bool folders)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder == folders && entry.cFileName[0] != '.')
            names.push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

std::string Short(const std::string& path)
{
    char buffer[MAX_PATH] = "";
    DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? buffer : "";
}

int Slots()
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return MergeSlots(static_cast<int>(system.dwNumberOfProcessors));
}

// The floor of a scan: the same listing and the same list-view calls into a
// visible report list of its own, with painting held off for the batch.
double ScanFloor(const std::string& root, int count)
{
    HWND frame = CreateWindowExA(0, "STATIC", "floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 372, NULL,
                                 NULL, GetModuleHandleA(NULL), NULL);
    HWND list = CreateWindowExA(WS_EX_STATICEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 8, 86, 480,
                                216, frame, NULL, GetModuleHandleA(NULL), NULL);
    const int widths[] = {50, 150, 200, 50};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = widths[i];
        column.pszText = const_cast<char*>("c");
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    UpdateWindow(frame);
    const double start = Now();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int number = 0;
    for (const std::string& name : Listing(root + "\\*.*", true)) {
        const std::string text = std::to_string(++number), path = root + "\\" + name;
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(name.c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = const_cast<char*>(path.c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list, NULL, NULL, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const double elapsed = Now() - start;
    if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != count)
        Fail("the floor's list does not hold " + std::to_string(count) + " rows");
    DestroyWindow(frame);
    return elapsed;
}

// The tool's scan: from the dialog's OK to the list holding every row.
double ScanTool(const std::string& root, int count)
{
    TempFolder place;
    ToolProcess tool(place.path());
    if (tool.window() == NULL)
        Fail("the tool's window did not open");
    HWND dialog = tool.OpenFolderDialog(按钮1, root);
    if (dialog == NULL)
        Fail("the folder dialog did not open");
    const double start = Now();
    tool.CloseFolderDialog(dialog, true);
    while (tool.RowCount() < count)
        Sleep(1);
    const double elapsed = Now() - start;
    tool.Click(按钮4);
    return elapsed;
}

// The floor of a merge run: the same listing, short names and process
// starts in a bare loop that keeps as many processes running as the tool.
double MergeFloor(const std::string& root, const std::string& output, const std::string& pdftk)
{
    const int slots = Slots();
    const double start = Now();
    std::vector<HANDLE> running;
    for (const std::string& name : Listing(root + "\\*.*", true)) {
        const std::string folder = root + "\\" + name;
        std::string line = pdftk + " ";
        for (const std::string& file : Listing(folder + "\\*.pdf", false))
            line += " " + Short(folder + "\\" + file) + " ";
        line += " cat output " + Short(output) + "\\" + name + ".pdf";
        if (static_cast<int>(running.size()) == slots) {
            DWORD ended = WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), FALSE, INFINITE);
            CloseHandle(running[ended - WAIT_OBJECT_0]);
            running.erase(running.begin() + (ended - WAIT_OBJECT_0));
        }
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        // The tool's flags: no console for the started program. Wine has
        // been seen to refuse a start once in a long run: try again before
        // giving up a run of minutes.
        bool started = false;
        for (int attempt = 0; attempt < 3 && !started; ++attempt) {
            started = CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, DETACHED_PROCESS, NULL, NULL, &startup,
                                     &process) != 0;
            if (!started)
                Sleep(100);
        }
        if (!started)
            Fail("the floor could not start " + pdftk + ", error " + std::to_string(GetLastError()));
        CloseHandle(process.hThread);
        running.push_back(process.hProcess);
    }
    WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), TRUE, INFINITE);
    for (HANDLE process : running)
        CloseHandle(process);
    return Now() - start;
}

// How long the window takes to answer WM_NULL, asked every 20 ms while
// the flag is up.
struct ReplyProbe {
    HWND window;
    volatile LONG measuring;
    std::vector<double> replies;
};

DWORD WINAPI MeasureReplies(LPVOID context)
{
    ReplyProbe& probe = *static_cast<ReplyProbe*>(context);
    HWND window = probe.window;
    std::vector<double>& replies = probe.replies;
    while (InterlockedCompareExchange(&probe.measuring, 1, 1) == 1) {
        const double asked = Now();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
        const double answered = Now();
        replies.push_back(answered - asked);
        const double wait = 20 - (answered - asked);
        if (wait > 0)
            Sleep(static_cast<DWORD>(wait));
    }
    return 0;
}

bool Final(const std::string& status)
{
    return status == "已处理" || status == "处理失败";
}

struct ToolRun {
    double elapsed = 0;
    int done = 0, rows = 0;
    std::vector<double> replies;
};

// True while a process of that file name runs.
bool Running(const char* program)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool running = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !running; more = Process32Next(snapshot, &entry))
        running = lstrcmpiA(entry.szExeFile, program) == 0;
    CloseHandle(snapshot);
    return running;
}

// Real merging ends when every output is written: all files there and no
// pdftk.exe left running. Watched from outside, without reading the tool's
// memory, which under Wine stops its thread for a moment at every look.
void WaitUntilWritten(const std::string& output, size_t count)
{
    while (Listing(output + "\\*.pdf", false).size() < count || Running("pdftk.exe"))
        Sleep(10);
}

// The tool's merge run: from the click on 合并 to the last row's final
// status (or, with real merging, to the last output written), with the
// window's replies measured meanwhile where asked.
ToolRun MergeTool(const std::string& root, const std::string& output, const std::string& pdftk, bool real)
{
    TempFolder place;
    if (!CopyFileA(pdftk.c_str(), (place.path() + "\\pdftk.exe").c_str(), FALSE))
        Fail("cannot copy " + pdftk);
    ToolProcess tool(place.path());
    if (tool.window() == NULL || !tool.ChooseFolder(按钮1, root) || !tool.ChooseFolder(按钮3, output))
        Fail("the tool's window or its folder dialog did not open");
    ToolRun run;
    run.rows = tool.RowCount();
    ReplyProbe probe = {tool.window(), 1, {}};
    HANDLE replies = real ? NULL : CreateThread(NULL, 0, MeasureReplies, &probe, 0, NULL);
    const double start = Now();
    PostMessageA(tool.window(), WM_COMMAND, MAKEWPARAM(按钮2, BN_CLICKED), 0);
    if (real) {
        WaitUntilWritten(output, static_cast<size_t>(run.rows));
        run.elapsed = Now() - start;
    }
    // Rows end about in the order they started: wait for each in turn.
    for (int row = 0; row < run.rows; ++row) {
        while (!Final(tool.CellText(row, ColumnStatus)))
            Sleep(10);
    }
    if (!real)
        run.elapsed = Now() - start;
    InterlockedExchange(&probe.measuring, 0);
    if (replies != NULL) {
        WaitForSingleObject(replies, INFINITE);
        CloseHandle(replies);
    }
    run.replies = probe.replies;
    for (int row = 0; row < run.rows; ++row)
        run.done += tool.CellText(row, ColumnStatus) == "已处理";
    tool.Click(按钮4);
    return run;
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size()) + 0.999999);
    return values[std::min(values.size(), std::max<size_t>(index, 1)) - 1];
}

std::string Folder(const std::string& parent, const char* name)
{
    const std::string path = parent + "\\" + name;
    CreateDirectoryA(path.c_str(), NULL);
    return path;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "scan" && argc == 4) {
        const int count = std::atoi(argv[3]);
        const double floor = ScanFloor(argv[2], count);
        const double tool = ScanTool(argv[2], count);
        std::printf("scan %d %.1f %.1f\n", count, tool, floor);
    } else if (mode == "merge" && argc == 5) {
        const double floor = MergeFloor(argv[2], Folder(argv[3], "floor"), argv[4]);
        const ToolRun tool = MergeTool(argv[2], Folder(argv[3], "tool"), argv[4], false);
        if (tool.done != tool.rows)
            Fail(std::to_string(tool.rows - tool.done) + " rows did not read 已处理");
        std::printf("merge %.1f %.1f %.1f %.1f\n", tool.elapsed, floor, Percentile(tool.replies, 0.99),
                    Percentile(tool.replies, 1.0));
    } else if (mode == "real" && argc == 5) {
        // The floor runs unwatched: so does the tool here.
        const ToolRun tool = MergeTool(argv[2], Folder(argv[3], "tool"), argv[4], true);
        if (tool.done != tool.rows)
            Fail(std::to_string(tool.rows - tool.done) + " rows did not read 已处理");
        const double loop = MergeFloor(argv[2], Folder(argv[3], "loop"), argv[4]);
        std::printf("real %.1f %.1f\n", tool.elapsed, loop);
    } else if (mode == "pdfs" && argc == 5) {
        CreateDirectoryA(argv[2], NULL);
        for (int folder = 1; folder <= std::atoi(argv[3]); ++folder) {
            const std::string name = "f" + std::to_string(1000 + folder).substr(1);
            const std::string path = Folder(argv[2], name.c_str());
            for (int file = 1; file <= std::atoi(argv[4]); ++file)
                WritePdf(path + "\\p" + std::to_string(file) + ".pdf", {name + "-" + std::to_string(file)});
        }
    } else {
        std::fprintf(stderr, "usage: bench_driver.exe scan ROOT COUNT | merge ROOT OUTPUT PDFTK | real ROOT OUTPUT PDFTK | pdfs ROOT FOLDERS FILES\n");
        return 2;
    }
    return 0;
}
