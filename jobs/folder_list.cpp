#include "jobs/folder_list.h"

#include <commctrl.h>

#include <climits>
#include <new>

namespace {

struct ColumnLayout {
    const char* title;
    int width;
};

const ColumnLayout kColumns[] = {
    {"序号", 50},
    {"目录名称", 150},
    {"目录路径", 200},
    {"状态", 50},
};

void AddColumns(HWND list)
{
    int index = 0;
    for (const ColumnLayout& layout : kColumns) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = layout.width;
        column.pszText = const_cast<char*>(layout.title);
        column.iSubItem = index;
        SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}

}  // namespace

HWND CreateFolderList(HWND parent, int id, int x, int y, int width, int height)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);

    // No sorting style: a row stays at the index it was inserted at.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL;
    HWND list = CreateWindowExA(WS_EX_STATICEDGE, WC_LISTVIEWA, "", style, x, y, width, height,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(NULL), NULL);
    if (list == NULL)
        return NULL;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ~0u, LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES);
    SendMessageA(list, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
    SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(list, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    AddColumns(list);
    return list;
}

int RowCount(HWND list)
{
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

int InsertRow(HWND list, int position, const Text& text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = position;
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(text.c_str());
    // No image; -1 would be I_IMAGECALLBACK and make the list ask its
    // parent for one on every paint.
    item.iImage = I_IMAGENONE;
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void SetCellText(HWND list, int row, int column, const Text& text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

Text GetCellText(HWND list, int row, int column)
{
    try {
        std::string buffer(512, '\0');
        for (;;) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = &buffer[0];
            item.cchTextMax = static_cast<int>(buffer.size());
            buffer[0] = '\0';
            int copied = static_cast<int>(SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
            // A double-byte character that does not fit is left out whole,
            // so a cut text may fill the buffer but two bytes. (Wine leaves
            // such a cut unterminated; the string's own terminator past the
            // buffer ends it there.)
            int size = static_cast<int>(buffer.size());
            if (copied < size - 2 || size > INT_MAX / 2)
                break;
            buffer.assign(static_cast<std::string::size_type>(size) * 2, '\0');
        }
        return Text(buffer.c_str());
    } catch (const std::bad_alloc&) {
        // No memory for a longer buffer: a cut text would name another
        // folder, so give none.
        return Text();
    }
}

Text WindowText(HWND control)
{
    const int length = GetWindowTextLengthA(control);
    if (length <= 0)
        return Text();
    Text text(static_cast<Text::size_type>(length) + 1, '\0');
    text.resize(static_cast<Text::size_type>(GetWindowTextA(control, &text[0], length + 1)));
    return text;
}

int RowFromBottom(HWND list, int row)
{
    return RowCount(list) - 1 - row;
}

int RowIndexFromBottom(HWND list, int fromBottom)
{
    return RowCount(list) - 1 - fromBottom;
}
