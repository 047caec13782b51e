#pragma once
#include <windows.h>

#include <string>

// A copy of quorvane.exe started in its own process, driven from outside
// as a user drives it; ended by force if a test leaves it running.
class ToolProcess {
public:
    // Copies quorvane.exe from beside the test program into folder and
    // starts it from there.
    explicit ToolProcess(const std::string& folder);
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    HWND window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    HANDLE process() const { return process_.hProcess; }
    // The tool's one thread, the one that runs its window.
    HANDLE thread() const { return process_.hThread; }

    // Clicks a folder command's button, selects path in the folder dialog
    // that opens and presses OK (Cancel when path is ""); false when no
    // dialog opened. Returns once the command has been handled.
    bool ChooseFolder(int button, const std::string& path);
    // The same in two steps: click the button and select path in the dialog
    // that opens (the dialog, NULL when none opened), then press OK or
    // Cancel and return once the command has been handled.
    HWND OpenFolderDialog(int button, const std::string& path);
    bool CloseFolderDialog(HWND dialog, bool ok);
    // Clicks a button and returns once its handler has run.
    void Click(int id);

    // Waits until no row reads 等待中 or 处理中 any more: every merge of the
    // runs so far has ended. False after timeoutMs.
    bool WaitForMerges(DWORD timeoutMs = 60000) const;

    int RowCount() const;
    std::string CellText(int row, int column) const;
    std::string ControlText(int id) const;

    // The exit code once the tool has ended, STILL_ACTIVE after 10 s.
    DWORD ExitCode();

private:
    std::string folder_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = NULL;
    // Memory in the tool's process for reading cells, kept for all reads:
    // taking it anew costs the tool time under Wine on every read.
    char* cellMemory_ = NULL;
    HWND FindDialog(DWORD timeoutMs) const;
    // Waits until the tool's thread is back in its message loop.
    void Sync() const;
};
