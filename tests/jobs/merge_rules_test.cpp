#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "jobs/merge_rules.h"

TEST_CASE("how many merges run at once")
{
    const struct {
        int processors, slots;
    } cases[] = {{0, 2}, {1, 2}, {2, 2}, {4, 4}, {16, 16}};
    for (const auto& c : cases) {
        CAPTURE(c.processors);
        CHECK(MergeSlots(c.processors) == c.slots);
    }
}

TEST_CASE("which waiting merge starts next")
{
    struct Case {
        const char* name;
        TextArray waiting, running;
        int freePlaces;
        int next;
    } cases[] = {
        {"nothing waits", {}, {}, 2, -1},
        {"no free place", {"C:\\o\\a.pdf"}, {"C:\\o\\b.pdf", "C:\\o\\c.pdf"}, 0, -1},
        {"the first waiting one, in the order reached", {"C:\\o\\a.pdf", "C:\\o\\b.pdf"}, {}, 1, 0},
        {"one whose file a running merge writes waits; the next goes", {"C:\\o\\a.pdf", "C:\\o\\b.pdf"},
         {"C:\\o\\a.pdf"}, 1, 1},
        {"the same file in another case", {"C:\\O\\A.PDF"}, {"c:\\o\\a.pdf"}, 1, -1},
        {"the same Chinese file name", {"C:\\o\\报表.pdf"}, {"C:\\o\\报表.pdf"}, 1, -1},
        {"a later one waits behind an earlier waiting one with its file", {"C:\\o\\a.pdf", "C:\\o\\a.pdf"},
         {"C:\\o\\b.pdf"}, 2, 0},
        {"everything waits for its file", {"C:\\o\\a.pdf", "C:\\o\\b.pdf"}, {"C:\\o\\b.pdf", "C:\\o\\a.pdf"},
         3, -1},
    };
    for (const Case& c : cases) {
        INFO(std::string(c.name));
        CHECK(NextMergeToStart(c.waiting, c.running, c.freePlaces) == c.next);
    }
}

TEST_CASE("the earlier row of a run that writes the same file")
{
    const TextArray run = {"C:\\out\\2019.pdf", "C:\\out\\2020.pdf", "D:\\out\\2020.pdf"};
    const struct {
        const char* output;
        int earlier;
    } cases[] = {
        {"C:\\out\\2020.pdf", 1},
        {"c:\\OUT\\2020.PDF", 1},
        {"D:\\out\\2020.pdf", 2},
        {"C:\\out\\2021.pdf", -1},
        {"C:\\out\\2020.pdf.pdf", -1},
    };
    for (const auto& c : cases) {
        CAPTURE(std::string(c.output));
        CHECK(EarlierWriter(run, c.output) == c.earlier);
    }
    CHECK(EarlierWriter({}, "C:\\out\\2020.pdf") == -1);
    CHECK(SameOutputReason(3) == "与第 3 行的输出文件相同");
}

TEST_CASE("what a row reads when its merge has ended")
{
    const struct {
        const char* name;
        DWORD exitCode;
        bool written;
        const char* error;
        const char* status;
        const char* reason;
    } cases[] = {
        {"exit 0 with the file", 0, true, "", "已处理", ""},
        {"exit 0 with the file and a warning", 0, true, "Warning: odd", "已处理", ""},
        {"exit 0 without the file", 0, false, "", "处理失败", "未生成合并文件"},
        {"exit 1", 1, false, "", "处理失败", "pdftk 退出代码 1"},
        {"exit 1 with the file", 1, true, "", "处理失败", "pdftk 退出代码 1"},
        {"exit 2 with its error line", 2, false, "Error: No input files", "处理失败",
         "pdftk 退出代码 2\r\nError: No input files"},
        {"a crash", 0xC0000005, false, "", "处理失败", "pdftk 退出代码 3221225477"},
    };
    for (const auto& c : cases) {
        INFO(std::string(c.name));
        const MergeOutcome outcome = OutcomeOfMerge(c.exitCode, c.written, c.error);
        CHECK(std::string(outcome.status) == c.status);
        CHECK(outcome.reason == c.reason);
    }
}

TEST_CASE("why a merge could not start")
{
    CHECK(StartFailureReason(ERROR_FILE_NOT_FOUND) == "找不到 pdftk.exe");
    CHECK(StartFailureReason(ERROR_PATH_NOT_FOUND) == "找不到 pdftk.exe");
    CHECK(StartFailureReason(ERROR_ACCESS_DENIED) == "无法启动 pdftk.exe（错误代码 5）");
}
