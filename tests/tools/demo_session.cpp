// The run command's session where there is no display: makes a sample tree
// of real PDF files, drives quorvane.exe through one merge as a user would,
// and prints the rows, each merged file with its page count, and where the
// picture of the window was saved.
//   demo_session.exe TOOL-FOLDER SAMPLE-FOLDER PICTURE.bmp
// A tool of the run command, not part of the product.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "support/pdf_fixture.h"
#include "support/pdftk_double.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

// The terminal reads UTF-8; the tool's texts are GBK.
void Print(const std::string& text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, NULL, 0, NULL, NULL);
    std::string utf8(m, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], m, NULL, NULL);
    std::fputs(utf8.c_str(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

// What the screen shows of the window, as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path)
{
    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = ((width * 3 + 3) / 4) * 4, imageBytes = rowBytes * height;
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info.bmiHeader);
    header.bfSize = header.bfOffBits + imageBytes;
    bool saved = false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file != NULL) {
        saved = std::fwrite(&header, sizeof(header), 1, file) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, file) == 1 &&
                std::fwrite(bits, imageBytes, 1, file) == 1;
        std::fclose(file);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return saved;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: demo_session.exe TOOL-FOLDER SAMPLE-FOLDER PICTURE.bmp\n");
        return 2;
    }
    const std::string toolFolder = argv[1], sample = argv[2], picture = argv[3];
    RemoveTree(sample);
    const std::string root = sample + "\\扫描件", output = sample + "\\合并结果";
    CreateDirectoryA(sample.c_str(), NULL);
    CreateDirectoryA(root.c_str(), NULL);
    CreateDirectoryA(output.c_str(), NULL);
    MakeSampleJobs(root);

    ToolProcess tool(toolFolder);
    if (tool.window() == NULL || !tool.ChooseFolder(按钮1, root) || !tool.ChooseFolder(按钮3, output)) {
        std::fprintf(stderr, "the tool's window or its folder dialog did not open\n");
        return 1;
    }
    Print("源目录: " + tool.ControlText(编辑框1));
    Print("存放目录: " + tool.ControlText(编辑框2));
    tool.Click(按钮2);
    if (!tool.WaitForMerges()) {
        std::fprintf(stderr, "the merges did not end within a minute\n");
        return 1;
    }
    Print("序号 | 目录名称 | 目录路径 | 状态");
    for (int row = 0; row < tool.RowCount(); ++row) {
        Print(tool.CellText(row, ColumnNumber) + " | " + tool.CellText(row, ColumnTitle) + " | " +
              tool.CellText(row, ColumnPath) + " | " + tool.CellText(row, ColumnStatus));
    }
    Print("合并后的文件:");
    for (const std::string& name : NamesInDirectoryOrder(output, "*.pdf", false))
        Print("  " + output + "\\" + name + ": " + std::to_string(PdfPageCount(sample, output + "\\" + name)) + " 页");
    const bool saved = SaveWindowPicture(tool.window(), picture);
    tool.Click(按钮4);
    return saved && tool.ExitCode() == 0 ? 0 : 1;
}
