#include "jobs/merge_run.h"

#include <string>

#include "jobs/folder_list.h"
#include "jobs/folder_scan.h"
#include "jobs/merge_rules.h"
#include "sys/command_runner.h"
#include "sys/paths.h"

namespace {

const char kPdfPattern[] = "*.pdf";

// The short form of the folder that receives the merged files: the output
// folder box's, or the program's own while the box is empty; "" when that
// folder does not exist.
Text OutputFolder(HWND outputBox)
{
    const Text box = WindowText(outputBox);
    return ShortPath(box.empty() ? RunDirectory() : box);
}

// The short forms of the files, without the file that the merge writes: an
// earlier merge's result in the folder itself. pdftk would read the file it
// is overwriting and write blank pages. A file that has no short form (it
// has gone since it was listed) is named in unreadable, not left out.
TextArray MergeInputs(const TextArray& files, const Text& outputPath, Text& unreadable)
{
    const Text target = ShortPath(outputPath);
    TextArray inputs;
    for (const Text& file : files) {
        Text input = ShortPath(file);
        if (input.empty() && unreadable.empty())
            unreadable = file;
        if (!input.empty() && (target.empty() || !SamePath(input, target)))
            inputs.push_back(input);
    }
    return inputs;
}

Text CellOfRow(HWND list, int rowFromBottom, int column)
{
    return GetCellText(list, RowIndexFromBottom(list, rowFromBottom), column);
}

// The merged file's real path where the folder's own name cannot be spelled
// in the code page (its row then names it by its short name); "" otherwise.
std::wstring RealOutputPath(const Text& folder, const Text& outputFolder)
{
    // A short name always holds "~"; without one the name is the folder's
    // own, and asking the disk for it would cost every row a look-up.
    const std::string::size_type separator = LastSeparator(folder);
    if (folder.find('~', separator == Text::npos ? 0 : separator) == Text::npos)
        return std::wstring();
    const std::wstring name = LongName(folder);
    Text spelled;
    if (name.empty() || ToAnsi(name, spelled))
        return std::wstring();
    return ToWide(outputFolder) + L"\\" + name + L".pdf";
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

RowMerge ComposeMerge(const TextArray& files, const Text& folder, const Text& title, const Text& outputFolder)
{
    RowMerge merge;
    // Without it the output path would point at the root of some drive.
    if (outputFolder.empty()) {
        merge.failure = "存放目录不存在";
        return merge;
    }
    merge.job.output = MergeOutputPath(outputFolder, title);
    merge.job.finalPath = RealOutputPath(folder, outputFolder);
    Text unreadable;
    const TextArray inputs = MergeInputs(files, merge.job.output, unreadable);
    if (!unreadable.empty())
        merge.failure = "无法读取文件 " + unreadable;
    else if (inputs.empty())
        merge.failure = "目录中没有 PDF 文件";
    merge.job.commandLine = MergeCommandLine(RunDirectory(), InputList(inputs), merge.job.output);
    if (merge.failure.empty() && merge.job.commandLine.size() > kMaxCommandLine)
        merge.failure = "PDF 文件太多，命令行过长";
    return merge;
}

RowMerge ComposeRowMerge(HWND list, int rowFromBottom, HWND outputBox, TextArray& files)
{
    const Text folder = CellOfRow(list, rowFromBottom, ColumnPath);
    EnumerateFiles(folder, kPdfPattern, files);
    // Read after the files were collected: whatever the box and the row
    // hold now.
    RowMerge merge = ComposeMerge(files, folder, CellOfRow(list, rowFromBottom, ColumnTitle),
                                  OutputFolder(outputBox));
    merge.job.rowFromBottom = rowFromBottom;
    return merge;
}

void MergeAll(MergeQueue& queue, HWND outputBox)
{
    const int rows = RowCount(queue.list);
    TextArray runOutputs;
    std::vector<int> runRows;
    TextArray files;
    for (int fromBottom = rows - 1; fromBottom >= 0; --fromBottom) {
        // Once per row as well: a run over folders without PDF files must
        // not freeze the window.
        ProcessEvents();
        if (MergeQueued(queue, fromBottom))
            continue;
        const RowMerge merge = ComposeRowMerge(queue.list, fromBottom, outputBox, files);
        if (!merge.failure.empty()) {
            FailRow(queue, fromBottom, merge.failure);
            continue;
        }
        const int earlier = EarlierWriter(runOutputs, merge.job.output);
        if (earlier >= 0) {
            FailRow(queue, fromBottom, SameOutputReason(RowIndexFromBottom(queue.list, runRows[earlier]) + 1));
        } else {
            runOutputs.push_back(merge.job.output);
            runRows.push_back(fromBottom);
            QueueMerge(queue, merge.job);
        }
    }
}
