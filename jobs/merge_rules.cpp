#include "jobs/merge_rules.h"

#include <string>

#include "sys/paths.h"

const char kStatusWaiting[] = "等待中";
const char kStatusRunning[] = "处理中";
const char kStatusDone[] = "已处理";
const char kStatusFailed[] = "处理失败";

namespace {

bool AnySame(const TextArray& paths, TextArray::size_type count, const Text& path)
{
    for (TextArray::size_type i = 0; i < count && i < paths.size(); ++i) {
        if (SamePath(paths[i], path))
            return true;
    }
    return false;
}

}  // namespace

int MergeSlots(int processors)
{
    return processors < 2 ? 2 : processors;
}

int NextMergeToStart(const TextArray& waitingOutputs, const TextArray& runningOutputs, int freePlaces)
{
    if (freePlaces <= 0)
        return -1;
    for (TextArray::size_type i = 0; i < waitingOutputs.size(); ++i) {
        const Text& output = waitingOutputs[i];
        if (!AnySame(runningOutputs, runningOutputs.size(), output) && !AnySame(waitingOutputs, i, output))
            return static_cast<int>(i);
    }
    return -1;
}

int EarlierWriter(const TextArray& runOutputs, const Text& output)
{
    for (TextArray::size_type i = 0; i < runOutputs.size(); ++i) {
        if (SamePath(runOutputs[i], output))
            return static_cast<int>(i);
    }
    return -1;
}

MergeOutcome OutcomeOfMerge(DWORD exitCode, bool outputWritten, const Text& errorLine)
{
    MergeOutcome outcome = {kStatusFailed, Text()};
    if (exitCode != 0)
        outcome.reason = "pdftk 退出代码 " + std::to_string(static_cast<unsigned long>(exitCode));
    else if (!outputWritten)
        outcome.reason = "未生成合并文件";
    else
        outcome.status = kStatusDone;
    if (outcome.status == kStatusFailed && !errorLine.empty())
        outcome.reason += "\r\n" + errorLine;
    return outcome;
}

Text StartFailureReason(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return "找不到 pdftk.exe";
    return "无法启动 pdftk.exe（错误代码 " + std::to_string(static_cast<unsigned long>(error)) + "）";
}

Text SameOutputReason(int earlierRowNumber)
{
    return "与第 " + std::to_string(earlierRowNumber) + " 行的输出文件相同";
}
