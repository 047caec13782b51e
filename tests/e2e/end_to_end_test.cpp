#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "jobs/folder_list.h"
#include "support/pdf_fixture.h"
#include "support/pdftk_double.h"
#include "support/show_texts.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"
#include "support/wine_unix.h"

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
