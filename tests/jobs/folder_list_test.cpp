#include <doctest.h>

#include <windows.h>
#include <commctrl.h>

#include "jobs/folder_list.h"
#include "support/test_window.h"

namespace {

struct FolderListFixture {
    TestWindow parent;
    HWND list = CreateFolderList(parent.handle(), 1, 0, 0, 480, 216);
};

}  // namespace

TEST_CASE_FIXTURE(FolderListFixture, "a new folder list is an empty report list of four columns")
{
    REQUIRE(list != NULL);
    CHECK(RowCount(list) == 0);

    char className[64] = "";
    GetClassNameA(list, className, sizeof(className));
    CHECK(std::string(className) == WC_LISTVIEWA);

    LONG style = GetWindowLongA(list, GWL_STYLE);
    CHECK((style & LVS_TYPEMASK) == LVS_REPORT);
    CHECK((style & LVS_SINGLESEL) != 0);
    CHECK((style & WS_TABSTOP) != 0);
    CHECK((style & (LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
                    LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER)) == 0);
    CHECK((GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0);
    CHECK(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) == (LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES));
    CHECK(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0) == RGB(0, 0, 0));
    CHECK(SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0) == RGB(255, 255, 255));
    CHECK(SendMessageA(list, LVM_GETBKCOLOR, 0, 0) == RGB(255, 255, 255));
    CHECK(reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)) == GetStockObject(DEFAULT_GUI_FONT));

    struct Column {
        const char* title;
        int width;
    } columns[] = {{"序号", 50}, {"目录名称", 150}, {"目录路径", 200}, {"状态", 50}};
    int index = 0;
    for (const Column& expected : columns) {
        CAPTURE(index);
        char title[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = sizeof(title);
        REQUIRE(SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
        CHECK(std::string(title) == expected.title);
        CHECK(column.cx == expected.width);
        CHECK((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_LEFT);
        ++index;
    }
    LVCOLUMNA beyond = {};
    beyond.mask = LVCF_WIDTH;
    CHECK(SendMessageA(list, LVM_GETCOLUMNA, 4, reinterpret_cast<LPARAM>(&beyond)) == FALSE);
}

TEST_CASE_FIXTURE(FolderListFixture, "rows inserted at the top stand in reverse order")
{
    CHECK(InsertRow(list, 0, "1") == 0);
    CHECK(RowCount(list) == 1);
    for (int column = 1; column <= 3; ++column) {
        CAPTURE(column);
        CHECK(GetCellText(list, 0, column) == "");
    }

    CHECK(InsertRow(list, 0, "2") == 0);
    CHECK(InsertRow(list, 0, "3") == 0);
    CHECK(RowCount(list) == 3);
    const char* fromTop[] = {"3", "2", "1"};
    for (int row = 0; row < 3; ++row) {
        CAPTURE(row);
        CHECK(GetCellText(list, row, 0) == fromTop[row]);
    }
}

TEST_CASE_FIXTURE(FolderListFixture, "a cell holds the last text set into it")
{
    int row = InsertRow(list, 0, "1");
    SetCellText(list, row, 1, "报告");
    SetCellText(list, row, 3, "已处理");
    SetCellText(list, row, 3, "处理失败");
    CHECK(GetCellText(list, row, 1) == "报告");
    CHECK(GetCellText(list, row, 3) == "处理失败");
    CHECK(GetCellText(list, row, 2) == "");
}

TEST_CASE_FIXTURE(FolderListFixture, "GetCellText gives long texts back whole")
{
    // Lengths around the first buffer of 512 bytes, in single-byte and in
    // double-byte characters. Where a double-byte character that does not
    // fit is left out whole, a cut text is one byte shorter than a cut
    // single-byte text; Wine's list instead leaves such a cut unterminated,
    // so there the GBK cases pass either way.
    std::string gbk = "a";
    while (gbk.size() < 2001)
        gbk += "目录";
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"300 bytes", std::string(300, 'p')},
        {"510 bytes", std::string(510, 'p')},
        {"511 bytes", std::string(511, 'p')},
        {"512 bytes", std::string(512, 'p')},
        {"2000 bytes", std::string(2000, 'p')},
        {"path of 300 bytes", "D:\\" + std::string(295, 'x') + "\\y"},
        {"510 bytes of GBK", gbk.substr(1, 510)},
        {"511 bytes, GBK after one ASCII", gbk.substr(0, 511)},
        {"600 bytes of GBK", gbk.substr(1, 600)},
        {"2000 bytes of GBK", gbk.substr(1, 2000)},
    };
    int row = InsertRow(list, 0, "1");
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        SetCellText(list, row, 2, c.text);
        CHECK(GetCellText(list, row, 2) == c.text);
    }
}

TEST_CASE_FIXTURE(FolderListFixture, "clicks and keys in the list change no cell")
{
    int row = InsertRow(list, 0, "1");
    SetCellText(list, row, 1, "A");
    SendMessageA(list, WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 30));
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageA(list, WM_KEYDOWN, VK_F2, 0);
    CHECK(RowCount(list) == 1);
    CHECK(GetCellText(list, row, 0) == "1");
    CHECK(GetCellText(list, row, 1) == "A");
    CHECK(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0) == 0);
}
