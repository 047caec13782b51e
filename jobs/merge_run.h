#pragma once
#include <windows.h>

// The click of 按钮2: merge the PDF files of every row's folder.
void MergeAll(HWND window);
