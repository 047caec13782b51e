#include "support/tool_process.h"

#include <commctrl.h>
#include <shlobj.h>

#include <stdexcept>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "support/pdftk_double.h"
#include "support/temp_folder.h"

namespace {

struct Search {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    if (owner == search->processId && lstrcmpA(name, search->className) == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs)
{
    const DWORD end = GetTickCount() + timeoutMs;
    do {
        Search search = {processId, className, NULL};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found != NULL)
            return search.found;
        Sleep(50);
    } while (GetTickCount() < end);
    return NULL;
}

// Memory in the tool's process, for the messages whose pointers the system
// does not carry from one process to another.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size) : process_(process)
    {
        address_ = VirtualAllocEx(process, NULL, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (address_ == NULL)
            throw std::runtime_error("VirtualAllocEx failed");
    }
    ~RemoteMemory() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    void Write(size_t offset, const void* data, size_t size)
    {
        WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, NULL);
    }
    void Read(size_t offset, void* data, size_t size) const
    {
        ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, NULL);
    }
    char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }

private:
    HANDLE process_;
    void* address_;
};

}  // namespace

ToolProcess::ToolProcess(const std::string& folder) : folder_(folder)
{
    const std::string tool = folder + "\\quorvane.exe";
    if (!CopyFileA((TestProgramFolder() + "\\quorvane.exe").c_str(), tool.c_str(), FALSE))
        throw std::runtime_error("cannot copy quorvane.exe to " + folder);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + tool + "\"";
    if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process_))
        throw std::runtime_error("cannot start " + tool);
    WaitForInputIdle(process_.hProcess, 10000);
    window_ = WaitForWindow(process_.dwProcessId, kMainWindowClass, 10000);
}

ToolProcess::~ToolProcess()
{
    if (cellMemory_ != NULL)
        VirtualFreeEx(process_.hProcess, cellMemory_, 0, MEM_RELEASE);
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND ToolProcess::FindDialog(DWORD timeoutMs) const
{
    return WaitForWindow(process_.dwProcessId, "#32770", timeoutMs);
}

void ToolProcess::Sync() const
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
}

HWND ToolProcess::OpenFolderDialog(int button, const std::string& path)
{
    SettleAccessTimes(folder_);
    if (!path.empty())
        SettleAccessTimes(path);
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(Control(button)));
    HWND dialog = FindDialog(10000);
    if (dialog != NULL && !path.empty()) {
        RemoteMemory text(process_.hProcess, path.size() + 1);
        text.Write(0, path.c_str(), path.size() + 1);
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(text.at(0)));
    }
    return dialog;
}

bool ToolProcess::CloseFolderDialog(HWND dialog, bool ok)
{
    const int pressed = ok ? IDOK : IDCANCEL;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(pressed, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, pressed)));
    for (int i = 0; i < 2000 && IsWindow(dialog); ++i)
        Sleep(5);
    Sync();
    return !IsWindow(dialog);
}

bool ToolProcess::ChooseFolder(int button, const std::string& path)
{
    HWND dialog = OpenFolderDialog(button, path);
    return dialog != NULL && CloseFolderDialog(dialog, !path.empty());
}

void ToolProcess::Click(int id)
{
    SendMessageA(Control(id), BM_CLICK, 0, 0);
    Sync();
}

bool ToolProcess::WaitForMerges(DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        bool pending = false;
        for (int row = 0; row < RowCount() && !pending; ++row) {
            const std::string status = CellText(row, ColumnStatus);
            pending = status == "等待中" || status == "处理中";
        }
        if (!pending)
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
}

int ToolProcess::RowCount() const
{
    return static_cast<int>(SendMessageA(Control(超级列表框1), LVM_GETITEMCOUNT, 0, 0));
}

std::string ToolProcess::CellText(int row, int column) const
{
    const size_t size = 4096;
    char*& memory = const_cast<char*&>(cellMemory_);
    if (memory == NULL) {
        memory = static_cast<char*>(
            VirtualAllocEx(process_.hProcess, NULL, sizeof(LVITEMA) + size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (memory == NULL)
            throw std::runtime_error("VirtualAllocEx failed");
    }
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = memory + sizeof(LVITEMA);
    item.cchTextMax = static_cast<int>(size);
    WriteProcessMemory(process_.hProcess, memory, &item, sizeof(item), NULL);
    const char empty = '\0';
    WriteProcessMemory(process_.hProcess, memory + sizeof(LVITEMA), &empty, 1, NULL);
    SendMessageA(Control(超级列表框1), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(memory));
    std::vector<char> text(size + 1, '\0');
    ReadProcessMemory(process_.hProcess, memory + sizeof(LVITEMA), text.data(), size, NULL);
    return text.data();
}

std::string ToolProcess::ControlText(int id) const
{
    char text[2048] = "";
    // WM_GETTEXT is one of the messages the system carries between processes.
    SendMessageA(Control(id), WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

DWORD ToolProcess::ExitCode()
{
    WaitForSingleObject(process_.hProcess, 10000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}
