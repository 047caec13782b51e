#include "app/folder_commands.h"

#include <string>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "jobs/folder_scan.h"
#include "sys/paths.h"
#include "ui/folder_picker.h"

namespace {

const char kSourceTitle[] = "请选择需转换合并pdf的目录";
const char kOutputTitle[] = "请选择合并后pdf的存放目录";

// Each folder becomes a job row at the top of the list, numbered from 1 in
// the order given, so the last one stands first. The list is painted once,
// after the batch: a visible list repaints after every insert at its top,
// which made a scan of thousands of folders hundreds of times slower.
void AddJobRows(HWND list, const TextArray& folders)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (TextArray::size_type i = 0; i < folders.size(); ++i) {
        int row = InsertRow(list, 0, std::to_string(i + 1));
        if (row < 0)
            continue;
        SetCellText(list, row, ColumnTitle, FileTitle(folders[i]));
        SetCellText(list, row, ColumnPath, folders[i]);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list, NULL, NULL, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

}  // namespace

void SelectSourceFolder(HWND window)
{
    SetControlText(window, 编辑框1, BrowseForFolder(kSourceTitle, RunDirectory(), window));
    const Text folder = ControlText(window, 编辑框1);
    // Cancel leaves no folder: scanning "" would list the root of the
    // current drive (Windows, Program Files...) as merge jobs.
    if (folder.empty())
        return;
    TextArray folders;
    EnumerateSubfolders(folder, folders);
    AddJobRows(GetDlgItem(window, 超级列表框1), folders);
}

void SetOutputFolder(HWND window)
{
    SetControlText(window, 编辑框2, BrowseForFolder(kOutputTitle, RunDirectory(), window));
}
