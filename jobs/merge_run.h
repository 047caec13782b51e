#pragma once
#include <windows.h>

#include "sys/text.h"

// The inputs of one merge, in order, each framed by one space on each side
// and quoted where it holds blanks; "" when there are none.
Text InputList(const TextArray& inputs);

// The file that the merge of a folder with this title writes.
Text MergeOutputPath(const Text& outputFolder, const Text& title);

// The whole command line that starts pdftk.exe from the program's folder
// for one row: its inputs concatenated into the output file.
Text MergeCommandLine(const Text& runDirectory, const Text& inputList, const Text& outputPath);

// The click of 合并: starts one merge per row of the main window's folder
// list, from the top, and writes each row's status.
void MergeAll(HWND window);
