#pragma once
#include <windows.h>

// The click of 按钮1: choose the root folder and list its subfolders.
void SelectSourceFolder(HWND window);
// The click of 按钮3: choose the folder that receives the merged files.
void SetOutputFolder(HWND window);
