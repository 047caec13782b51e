#pragma once
#include <windows.h>

#include "jobs/merge_queue.h"
#include "sys/text.h"

// The inputs of one merge, in order, each framed by one space on each side
// and quoted where it holds blanks; "" when there are none.
Text InputList(const TextArray& inputs);

// The file that the merge of a folder with this title writes.
Text MergeOutputPath(const Text& outputFolder, const Text& title);

// The whole command line that starts pdftk.exe from the program's folder
// for one row: its inputs concatenated into the output file.
Text MergeCommandLine(const Text& runDirectory, const Text& inputList, const Text& outputPath);

// The longest command line that the system starts a program with.
const Text::size_type kMaxCommandLine = 32766;

// What the run makes of one row: the merge to queue, or why there is none.
struct RowMerge {
    MergeJob job;
    Text failure;
};

// Composes the merge of a folder's listed PDF files into the output folder
// (its short form, "" when it does not exist), under the title: every file
// goes on the command line, or the merge fails with the reason.
RowMerge ComposeMerge(const TextArray& files, const Text& folder, const Text& title, const Text& outputFolder);

// Composes the merge of the row: lists its folder's PDF files, reads the
// output folder box at that moment (the program's folder while it is
// empty) and the row's title.
RowMerge ComposeRowMerge(HWND list, int rowFromBottom, HWND outputBox, TextArray& files);

// The click of 合并: reaches every row of the queue's list from the top,
// composes its merge and queues it, or marks the row failed. Rows whose
// merge still waits or runs keep their place; within the run, a row whose
// output file an earlier row writes is not merged over it.
void MergeAll(MergeQueue& queue, HWND outputBox);
