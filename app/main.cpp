#include <windows.h>
#include <ole2.h>

#include "app/main_window.h"
#include "app/program_end.h"
#include "sys/paths.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The shell's new-style folder dialog needs OLE on this thread.
    OleInitialize(NULL);
    InitRunDirectory();
    RegisterExitRoutines();
    HWND window = CreateMainWindow(instance);
    if (window == NULL)
        EndFailedStart();
    EndProgram(RunMessageLoop(window));
}
