#include <doctest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "jobs/merge_run.h"
#include "support/pdf_fixture.h"
#include "support/pdftk_double.h"
#include "support/show_texts.h"
#include "support/temp_folder.h"
#include "support/test_window.h"
#include "support/tool_process.h"
#include "support/wine_unix.h"
#include "sys/paths.h"

TEST_CASE("a user merges real PDF files, folder by folder, through the tool's window")
{
    REQUIRE(GetFileAttributesA("Z:\\usr\\bin\\pdftk") != INVALID_FILE_ATTRIBUTES);
    TempFolder place;
    const std::string toolFolder = place.MakeFolder("Quorvane 工具");
    REQUIRE(CopyFileA((TestProgramFolder() + "\\pdftk_bridge.exe").c_str(), (toolFolder + "\\pdftk.exe").c_str(),
                      FALSE));
    const std::string root = place.MakeFolder("扫描件");
    const std::string output = place.MakeFolder("合并 结果");
    MakeSampleJobs(root);

    ToolProcess tool(toolFolder);
    REQUIRE(tool.window() != NULL);
    REQUIRE(tool.ChooseFolder(按钮1, root));
    REQUIRE(tool.ChooseFolder(按钮3, output));
    CHECK(tool.ControlText(编辑框1) == root);
    CHECK(tool.ControlText(编辑框2) == output);
    tool.Click(按钮2);
    REQUIRE(tool.WaitForMerges());

    const std::vector<std::string> folders = NamesInDirectoryOrder(root, "*", true);
    REQUIRE(folders.size() == SampleJobs().size());
    REQUIRE(tool.RowCount() == static_cast<int>(folders.size()));
    for (size_t i = 0; i < folders.size(); ++i) {
        // The folder found last stands at the top.
        const int row = static_cast<int>(folders.size() - 1 - i);
        const std::string& name = folders[i];
        INFO(name);
        CHECK(tool.CellText(row, ColumnNumber) == std::to_string(i + 1));
        CHECK(tool.CellText(row, ColumnTitle) == name);
        CHECK(tool.CellText(row, ColumnPath) == root + "\\" + name);
        const std::string merged = output + "\\" + name + ".pdf";
        const SampleFiles& files = SampleJobs().at(name);
        if (!SampleJobMerges(name)) {
            // No PDF file, or one that pdftk cannot read: no file, and the
            // row says so.
            CHECK(tool.CellText(row, ColumnStatus) == "处理失败");
            CHECK(GetFileAttributesA(merged.c_str()) == INVALID_FILE_ATTRIBUTES);
            continue;
        }
        CHECK(tool.CellText(row, ColumnStatus) == "已处理");
        std::vector<std::string> expected;
        for (const std::string& file : NamesInDirectoryOrder(root + "\\" + name, "*.pdf", false))
            expected.insert(expected.end(), files.at(file).begin(), files.at(file).end());
        CHECK(PdfPageCount(place.path(), merged) == static_cast<int>(expected.size()));
        CHECK(PdfPageTexts(place.path(), merged) == expected);
    }
    tool.Click(按钮4);
    CHECK(tool.ExitCode() == 0);
}

namespace {

// The PDF files of a folder, by their real names, in the file system's order.
std::vector<std::wstring> WideNamesInDirectoryOrder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*.pdf").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

}  // namespace

TEST_CASE("folders whose names GBK cannot spell merge, through the tool's window, into files of their real names")
{
    REQUIRE(GetFileAttributesA("Z:\\usr\\bin\\pdftk") != INVALID_FILE_ATTRIBUTES);
    TempFolder place;
    // The tool's own folder and the output folder cannot be spelled either.
    const std::string toolFolder = place.MakeFolderW(L"Quorvane 한글");
    REQUIRE(CopyFileA((TestProgramFolder() + "\\pdftk_bridge.exe").c_str(), (toolFolder + "\\pdftk.exe").c_str(),
                      FALSE));
    const std::string root = place.MakeFolder("扫描件");
    const std::string output = place.MakeFolderW(L"출력");
    struct Job {
        std::wstring folder;
        std::vector<std::pair<std::wstring, std::vector<std::string>>> files;
    } jobs[] = {
        {L"报表", {{L"一月.pdf", {"R1-p1", "R1-p2"}}}},
        {L"한글", {{L"가.pdf", {"K1-p1"}}, {L"나.pdf", {"K2-p1", "K2-p2"}}}},
        {L"a\U0001F600b", {{L"x.pdf", {"E1-p1"}}, {L"\U0001F600.pdf", {"E2-p1"}}}},
        {L"Café ñ", {{L"ü€.pdf", {"C1-p1"}}, {L"plain.pdf", {"C2-p1"}}}},
    };
    for (const Job& job : jobs) {
        place.MakeFolderW(L"扫描件\\" + job.folder);
        for (const auto& file : job.files)
            WritePdf(place.MakeFileW(L"扫描件\\" + job.folder + L"\\" + file.first), file.second);
    }

    ToolProcess tool(toolFolder);
    REQUIRE(tool.window() != NULL);
    REQUIRE(tool.ChooseFolder(按钮1, root));
    REQUIRE(tool.ChooseFolder(按钮3, output));
    CHECK(tool.ControlText(编辑框2) == output);
    REQUIRE(tool.RowCount() == 4);
    tool.Click(按钮2);
    REQUIRE(tool.WaitForMerges());
    for (int row = 0; row < tool.RowCount(); ++row)
        CHECK(tool.CellText(row, ColumnStatus) == "已处理");

    for (const Job& job : jobs) {
        const std::string merged = ShortForm(ToWide(output) + L"\\" + job.folder + L".pdf");
        INFO(merged);
        REQUIRE(!merged.empty());
        // Pages in the order the folder lists its files.
        std::vector<std::string> expected;
        for (const std::wstring& name : WideNamesInDirectoryOrder(ToWide(root) + L"\\" + job.folder)) {
            for (const auto& file : job.files) {
                if (file.first == name)
                    expected.insert(expected.end(), file.second.begin(), file.second.end());
            }
        }
        size_t pages = 0;
        for (const auto& file : job.files)
            pages += file.second.size();
        REQUIRE(expected.size() == pages);
        CHECK(PdfPageTexts(place.path(), merged) == expected);
    }
    CHECK(NamesInDirectoryOrder(output, "*", false).size() == 4);
    tool.Click(按钮4);
    CHECK(tool.ExitCode() == 0);
}

TEST_CASE("the tip of a row that pdftk refused shows its exit code and its last line")
{
    REQUIRE(GetFileAttributesA("Z:\\usr\\bin\\pdftk") != INVALID_FILE_ATTRIBUTES);
    TempFolder place;
    InitRunDirectory();
    const std::string pdftk = RunDirectory() + "\\pdftk.exe";
    REQUIRE(CopyFileA((TestProgramFolder() + "\\pdftk_bridge.exe").c_str(), pdftk.c_str(), FALSE));
    const std::string output = place.MakeFolder("out");
    place.MakeFolder("坏");
    std::ofstream(place / "坏\\a.pdf", std::ios::binary) << "%PDF-1.4 cut short\n";

    HWND window = CreateMainWindow(GetModuleHandleA(NULL));
    REQUIRE(window != NULL);
    HWND list = GetDlgItem(window, 超级列表框1);
    InsertRow(list, 0, "1");
    SetCellText(list, 0, ColumnTitle, "坏");
    SetCellText(list, 0, ColumnPath, place / "坏");
    SetControlText(window, 编辑框2, output);
    MergeAll(*MainWindowMerges(window), GetDlgItem(window, 编辑框2));
    CHECK(WaitForMerges(window, 60000));
    CHECK(GetCellText(list, 0, ColumnStatus) == "处理失败");
    CHECK(RowTip(window, 0, "") == "pdftk 退出代码 1\r\nDone.  Input errors, so no output created.");
    DestroyAndDrain(window);
    DeleteFileA(pdftk.c_str());
}
