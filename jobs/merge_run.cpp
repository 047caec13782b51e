#include "jobs/merge_run.h"

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "jobs/folder_scan.h"
#include "sys/command_runner.h"
#include "sys/paths.h"

namespace {

const char kPdfPattern[] = "*.pdf";
const char kStarted[] = "已处理";
const char kFailed[] = "处理失败";

// The short form of the folder that receives the merged files: the output
// folder box's, or the program's own while the box is empty; "" when that
// folder does not exist.
Text OutputFolder(HWND window)
{
    const Text box = ControlText(window, 编辑框2);
    return ShortPath(box.empty() ? RunDirectory() : box);
}

// The short forms of the files, without the file that the merge writes: an
// earlier merge's result in the folder itself. pdftk would read the file it
// is overwriting and write blank pages.
TextArray MergeInputs(const TextArray& files, const Text& outputPath)
{
    const Text target = ShortPath(outputPath);
    TextArray inputs;
    for (const Text& file : files) {
        Text input = ShortPath(file);
        if (target.empty() || !SamePath(input, target))
            inputs.push_back(input);
    }
    return inputs;
}

// Starts the merge of one row; true when its process was created.
bool MergeRow(HWND window, HWND list, int row, TextArray& files)
{
    EnumerateFiles(GetCellText(list, row, ColumnPath), kPdfPattern, files);
    // Read after the files were collected: whatever the boxes hold now.
    const Text outputFolder = OutputFolder(window);
    // Without it the output path would point at the root of some drive.
    if (outputFolder.empty())
        return false;
    const Text outputPath = MergeOutputPath(outputFolder, GetCellText(list, row, ColumnTitle));
    const Text inputList = InputList(MergeInputs(files, outputPath));
    return RunCommand(MergeCommandLine(RunDirectory(), inputList, outputPath)) == 1;
}

}  // namespace

Text InputList(const TextArray& inputs)
{
    Text list;
    for (const Text& input : inputs)
        list += " " + QuoteArgument(input) + " ";
    return list;
}

Text MergeOutputPath(const Text& outputFolder, const Text& title)
{
    return outputFolder + "\\" + title + ".pdf";
}

Text MergeCommandLine(const Text& runDirectory, const Text& inputList, const Text& outputPath)
{
    return QuoteArgument(runDirectory + "\\pdftk.exe") + " " + inputList + " cat output " +
           QuoteArgument(outputPath);
}

void MergeAll(HWND window)
{
    HWND list = GetDlgItem(window, 超级列表框1);
    const int rows = RowCount(list);
    TextArray files;
    for (int row = 0; row < rows; ++row) {
        // Once per row as well: a run over folders without PDF files must
        // not freeze the window.
        ProcessEvents();
        SetCellText(list, row, ColumnStatus, MergeRow(window, list, row, files) ? kStarted : kFailed);
    }
}
