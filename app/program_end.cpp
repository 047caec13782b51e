#include "app/program_end.h"

#include <windows.h>
#include <ole2.h>

#include <cstdlib>

#include "ui/folder_picker.h"

namespace {

void ReleaseOle()
{
    OleUninitialize();
}

}  // namespace

void RegisterExitRoutines()
{
    // The runtime runs these in reverse order of registration: ExitCleanup
    // first, then OLE is released.
    std::atexit(ReleaseOle);
    std::atexit(ExitCleanup);
}

void EndProgram(int exitCode)
{
    std::exit(exitCode);
}

void ExitProgram()
{
    EndProgram(0);
}

void ExitCleanup()
{
    ReleasePickerInitialFolder();
}

void EndFailedStart()
{
    MessageBoxA(NULL, "无法创建主窗口，程序将退出。", "Quorvane", MB_OK | MB_ICONERROR);
    std::_Exit(-1);
}
