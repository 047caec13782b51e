#include <doctest.h>

#include <windows.h>

#include <fstream>
#include <map>
#include <sstream>
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

namespace {

// Runs a poppler tool on a PDF file and gives what it wrote.
std::string PopplerOutput(const TempFolder& scratch, const char* tool, const std::string& pdf)
{
    const std::string output = scratch / "poppler-output.txt";
    DeleteFileA(output.c_str());
    const std::string script = std::string("/usr/bin/") + tool + " \"$1\" \"$2\" 2>/dev/null";
    RunUnix({"/bin/sh", "-c", script, "sh", UnixPath(pdf), UnixPath(output)});
    std::ifstream file(output, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs pdfinfo through sh, whose output goes to a file of the test.
int PageCount(const TempFolder& scratch, const std::string& pdf)
{
    const std::string output = scratch / "pdfinfo.txt";
    DeleteFileA(output.c_str());
    RunUnix({"/bin/sh", "-c", "/usr/bin/pdfinfo \"$1\" > \"$2\" 2>/dev/null", "sh", UnixPath(pdf),
             UnixPath(output)});
    std::ifstream file(output, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, 6, "Pages:") == 0)
            return std::stoi(line.substr(6));
    }
    return -1;
}

// The text of each page, in order, without the blanks around it.
std::vector<std::string> PageTexts(const TempFolder& scratch, const std::string& pdf)
{
    std::vector<std::string> pages;
    std::string text = PopplerOutput(scratch, "pdftotext", pdf), page;
    std::stringstream stream(text);
    while (std::getline(stream, page, '\f')) {
        const size_t first = page.find_first_not_of(" \r\n\t");
        if (first == std::string::npos)
            continue;
        pages.push_back(page.substr(first, page.find_last_not_of(" \r\n\t") - first + 1));
    }
    return pages;
}

// The job folders of the fixture: file names and the texts of their pages.
typedef std::map<std::string, std::vector<std::string>> Files;
const std::map<std::string, Files> kFixture = {
    {"报表", {{"一月.pdf", {"R1-p1", "R1-p2"}}, {"二月.pdf", {"R2-p1"}}}},
    {"jan 2020", {{"first part.pdf", {"J1-p1", "J1-p2", "J1-p3"}}, {"second.pdf", {"J2-p1"}}}},
    {"v1.2", {{"only.pdf", {"V-p1"}}}},
    {"空目录", {}},
};

}  // namespace

TEST_CASE("a user merges real PDF files, folder by folder, through the tool's window")
{
    REQUIRE(GetFileAttributesA("Z:\\usr\\bin\\pdftk") != INVALID_FILE_ATTRIBUTES);
    TempFolder place;
    const std::string toolFolder = place.MakeFolder("Quorvane 工具");
    REQUIRE(CopyFileA((TestProgramFolder() + "\\pdftk_bridge.exe").c_str(), (toolFolder + "\\pdftk.exe").c_str(),
                      FALSE));
    const std::string root = place.MakeFolder("扫描件");
    const std::string output = place.MakeFolder("合并 结果");
    for (const auto& folder : kFixture) {
        place.MakeFolder("扫描件\\" + folder.first);
        for (const auto& file : folder.second)
            WritePdf(root + "\\" + folder.first + "\\" + file.first, file.second);
    }
    place.MakeFile("扫描件\\空目录\\readme.txt");

    ToolProcess tool(toolFolder);
    REQUIRE(tool.window() != NULL);
    REQUIRE(tool.ChooseFolder(按钮1, root));
    REQUIRE(tool.ChooseFolder(按钮3, output));
    CHECK(tool.ControlText(编辑框1) == root);
    CHECK(tool.ControlText(编辑框2) == output);
    tool.Click(按钮2);
    // The bridge waits for pdftk: when no pdftk.exe runs, every merge is over.
    WaitForProcessesToEnd("pdftk.exe");

    const std::vector<std::string> folders = NamesInDirectoryOrder(root, "*", true);
    REQUIRE(folders.size() == kFixture.size());
    REQUIRE(tool.RowCount() == static_cast<int>(folders.size()));
    for (size_t i = 0; i < folders.size(); ++i) {
        // The folder found last stands at the top.
        const int row = static_cast<int>(folders.size() - 1 - i);
        const std::string& name = folders[i];
        INFO(name);
        CHECK(tool.CellText(row, ColumnNumber) == std::to_string(i + 1));
        CHECK(tool.CellText(row, ColumnTitle) == name);
        CHECK(tool.CellText(row, ColumnPath) == root + "\\" + name);
        CHECK(tool.CellText(row, ColumnStatus) == "已处理");

        const std::string merged = output + "\\" + name + ".pdf";
        const Files& files = kFixture.at(name);
        if (files.empty()) {
            // pdftk refuses a merge without inputs; the status only tells
            // that it was started.
            CHECK(GetFileAttributesA(merged.c_str()) == INVALID_FILE_ATTRIBUTES);
            continue;
        }
        std::vector<std::string> expected;
        for (const std::string& file : NamesInDirectoryOrder(root + "\\" + name, "*.pdf", false))
            expected.insert(expected.end(), files.at(file).begin(), files.at(file).end());
        CHECK(PageCount(place, merged) == static_cast<int>(expected.size()));
        CHECK(PageTexts(place, merged) == expected);
    }
    tool.Click(按钮4);
    CHECK(tool.ExitCode() == 0);
}
