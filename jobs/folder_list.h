#pragma once
#include <windows.h>

#include "sys/text.h"

// The table of jobs lives in a report list view: one row per subfolder, with
// the columns below. The control holds the only copy of the rows.
enum FolderListColumn {
    ColumnNumber = 0,  // 序号
    ColumnTitle = 1,   // 目录名称
    ColumnPath = 2,    // 目录路径
    ColumnStatus = 3,  // 状态
};

// Creates the report list with its four columns, empty.
HWND CreateFolderList(HWND parent, int id, int x, int y, int width, int height);

int RowCount(HWND list);
// Inserts a row whose first cell is text; the index of the new row, -1 when
// the control refuses it.
int InsertRow(HWND list, int position, const Text& text);
void SetCellText(HWND list, int row, int column, const Text& text);
// The cell's whole text, however long; "" for an empty cell.
Text GetCellText(HWND list, int row, int column);

// The whole text of a control, however long (the folder boxes beside the
// list).
Text WindowText(HWND control);

// Rows are only ever inserted at the top and never removed, so a row's
// place counted from the bottom stays the same while its index grows: the
// one name of a row that holds across scans.
int RowFromBottom(HWND list, int row);
int RowIndexFromBottom(HWND list, int fromBottom);
