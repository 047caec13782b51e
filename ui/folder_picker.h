#pragma once
#include <windows.h>

#include "sys/text.h"

// Lets the user choose a folder in the shell's folder dialog, owned by
// owner, with the title as its line of instructions and the initial folder
// selected; the chosen folder's path without leading or trailing blanks, or
// "" on Cancel and for an item that is no file-system folder.
Text BrowseForFolder(const Text& title, const Text& initialFolder, HWND owner);

// The dialog's callback: selects the initial folder when the dialog opens.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);

// Releases the initial folder that the folder dialog keeps between calls.
void ReleasePickerInitialFolder();
