#include "jobs/merge_queue.h"

#include <algorithm>

#include "jobs/folder_list.h"
#include "jobs/merge_rules.h"
#include "sys/command_runner.h"
#include "sys/paths.h"

namespace {

// What the wait callback needs, apart from the queue: it runs on a thread
// of the pool and may only post.
struct EndNotice {
    HWND window;
    LPARAM id;
};

// When a file was last written; a file that does not exist has none.
struct FileStamp {
    bool exists = false;
    FILETIME written = {};
};

FileStamp StampOf(const Text& path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.exists = true;
        stamp.written = data.ftLastWriteTime;
    }
    return stamp;
}

// An older file of the same name does not count: the merge must have
// written the file itself.
bool WrittenSince(const FileStamp& before, const Text& path)
{
    const FileStamp after = StampOf(path);
    return after.exists && (!before.exists || CompareFileTime(&before.written, &after.written) != 0);
}

}  // namespace

struct RunningMerge {
    MergeJob job;
    LPARAM id = 0;
    HANDLE process = NULL;
    HANDLE capture = NULL;  // the file that takes its output
    HANDLE wait = NULL;
    FileStamp before;
    EndNotice notice = {};

    ~RunningMerge()
    {
        // Waits for a callback under way, so that none outlives the notice.
        if (wait != NULL)
            UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);
        if (process != NULL)
            CloseHandle(process);
        if (capture != NULL)
            CloseHandle(capture);
    }
};

namespace {

// Runs in the pool's wait thread itself (it only posts), so that the
// window learns of the end without a hop to a worker thread.
VOID CALLBACK PostMergeEnded(PVOID context, BOOLEAN)
{
    const EndNotice* notice = static_cast<const EndNotice*>(context);
    PostMessageA(notice->window, kMergeEndedMessage, 0, notice->id);
}

void SetRowStatus(MergeQueue& queue, int rowFromBottom, const char* status)
{
    SetCellText(queue.list, RowIndexFromBottom(queue.list, rowFromBottom), ColumnStatus, status);
}

// Starts the job's pdftk and follows it, or marks the row failed.
void StartMerge(MergeQueue& queue, const MergeJob& job)
{
    std::unique_ptr<RunningMerge> merge(new RunningMerge);
    merge->job = job;
    merge->id = queue.nextId++;
    merge->before = StampOf(job.output);
    merge->capture = CreateOutputCapture();
    StartedCommand started = StartCommand(job.commandLine, merge->capture);
    if (started.process == NULL) {
        FailRow(queue, job.rowFromBottom, StartFailureReason(started.error));
        return;
    }
    merge->process = started.process;
    merge->notice.window = queue.window;
    merge->notice.id = merge->id;
    if (!RegisterWaitForSingleObject(&merge->wait, merge->process, PostMergeEnded, &merge->notice, INFINITE,
                                     WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD)) {
        merge->wait = NULL;
        FailRow(queue, job.rowFromBottom, "无法跟踪 pdftk.exe 的结束");
        return;
    }
    SetRowStatus(queue, job.rowFromBottom, kStatusRunning);
    queue.running.push_back(std::move(merge));
}

// Renames the merged file to the folder's real name where pdftk wrote it
// under a short one, replacing an older file of that name as a re-run does.
bool GiveRealName(const MergeJob& job)
{
    if (job.finalPath.empty())
        return true;
    return MoveFileExW(ToWide(job.output).c_str(), job.finalPath.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

TextArray WaitingOutputs(const MergeQueue& queue)
{
    TextArray outputs;
    for (const MergeJob& job : queue.waiting)
        outputs.push_back(job.output);
    return outputs;
}

TextArray RunningOutputs(const MergeQueue& queue)
{
    TextArray outputs;
    for (const std::unique_ptr<RunningMerge>& merge : queue.running)
        outputs.push_back(merge->job.output);
    return outputs;
}

void StartWaitingMerges(MergeQueue& queue)
{
    for (;;) {
        const int freePlaces = queue.slots - static_cast<int>(queue.running.size());
        const int next = NextMergeToStart(WaitingOutputs(queue), RunningOutputs(queue), freePlaces);
        if (next < 0)
            return;
        const MergeJob job = queue.waiting[next];
        queue.waiting.erase(queue.waiting.begin() + next);
        StartMerge(queue, job);
    }
}

}  // namespace

MergeQueue::~MergeQueue() = default;

std::unique_ptr<MergeQueue> CreateMergeQueue(HWND window, HWND list, int slots)
{
    std::unique_ptr<MergeQueue> queue(new MergeQueue);
    queue->window = window;
    queue->list = list;
    queue->slots = slots;
    return queue;
}

void DestroyMergeQueue(std::unique_ptr<MergeQueue>& queue)
{
    queue.reset();
}

bool MergeQueued(const MergeQueue& queue, int rowFromBottom)
{
    for (const MergeJob& job : queue.waiting) {
        if (job.rowFromBottom == rowFromBottom)
            return true;
    }
    for (const std::unique_ptr<RunningMerge>& merge : queue.running) {
        if (merge->job.rowFromBottom == rowFromBottom)
            return true;
    }
    return false;
}

bool MergesPending(const MergeQueue& queue)
{
    return !queue.waiting.empty() || !queue.running.empty();
}

void QueueMerge(MergeQueue& queue, const MergeJob& job)
{
    queue.failures.erase(job.rowFromBottom);
    SetRowStatus(queue, job.rowFromBottom, kStatusWaiting);
    queue.waiting.push_back(job);
    StartWaitingMerges(queue);
}

void FailRow(MergeQueue& queue, int rowFromBottom, const Text& reason)
{
    queue.failures[rowFromBottom] = reason;
    SetRowStatus(queue, rowFromBottom, kStatusFailed);
}

Text FailureReason(const MergeQueue& queue, int rowFromBottom)
{
    std::map<int, Text>::const_iterator found = queue.failures.find(rowFromBottom);
    return found == queue.failures.end() ? Text() : found->second;
}

void OnMergeEnded(MergeQueue& queue, LPARAM id)
{
    std::list<std::unique_ptr<RunningMerge>>::iterator it =
        std::find_if(queue.running.begin(), queue.running.end(),
                     [id](const std::unique_ptr<RunningMerge>& merge) { return merge->id == id; });
    if (it == queue.running.end())
        return;
    std::unique_ptr<RunningMerge> merge = std::move(*it);
    queue.running.erase(it);
    DWORD exitCode = 1;
    GetExitCodeProcess(merge->process, &exitCode);
    MergeOutcome outcome =
        OutcomeOfMerge(exitCode, WrittenSince(merge->before, merge->job.output), LastCapturedLine(merge->capture));
    if (outcome.status == kStatusDone && !GiveRealName(merge->job)) {
        outcome.status = kStatusFailed;
        outcome.reason = "无法把合并文件改名为 " + SpellableName(merge->job.finalPath, std::wstring());
    }
    if (outcome.status == kStatusDone) {
        queue.failures.erase(merge->job.rowFromBottom);
        SetRowStatus(queue, merge->job.rowFromBottom, kStatusDone);
    } else {
        FailRow(queue, merge->job.rowFromBottom, outcome.reason);
    }
    merge.reset();
    StartWaitingMerges(queue);
}
