#include "app/folder_commands.h"

// The folder commands need the folder picker, which is not built yet: until
// then both buttons do nothing.
void SelectSourceFolder(HWND)
{
}

void SetOutputFolder(HWND)
{
}
