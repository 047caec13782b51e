#pragma once
// The merges that the tool keeps: those that wait for a free place and
// those whose pdftk runs. Each running merge is followed by a wait of the
// system's thread pool that posts kMergeEndedMessage to the window when the
// process ends; the window hands that message to OnMergeEnded, on its own
// thread, whichever message loop runs (the main one, a dialog's, or the
// run's own). Only that thread touches the list.
#include <windows.h>

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sys/text.h"

const UINT kMergeEndedMessage = WM_APP + 1;

// One row's merge, as the run composed it when it reached the row.
struct MergeJob {
    int rowFromBottom = 0;
    Text commandLine;
    Text output;  // the file that pdftk writes, as the command line names it
    // The file's real name when the folder's name cannot be spelled in the
    // code page (pdftk then writes under its short name): the merged file
    // is renamed to it once pdftk has succeeded. Empty otherwise.
    std::wstring finalPath;
};

struct RunningMerge;

struct MergeQueue {
    HWND window = NULL;  // receives kMergeEndedMessage
    HWND list = NULL;
    int slots = 2;
    std::vector<MergeJob> waiting;  // in the order the runs reached them
    std::list<std::unique_ptr<RunningMerge>> running;
    std::map<int, Text> failures;  // why a row failed, by its place from the bottom
    LPARAM nextId = 1;

    MergeQueue() = default;
    MergeQueue(const MergeQueue&) = delete;
    MergeQueue& operator=(const MergeQueue&) = delete;
    ~MergeQueue();
};

std::unique_ptr<MergeQueue> CreateMergeQueue(HWND window, HWND list, int slots);
// Stops following the running merges (they run on) and drops the waiting
// ones, which are never started.
void DestroyMergeQueue(std::unique_ptr<MergeQueue>& queue);

// True while the row's merge waits or runs.
bool MergeQueued(const MergeQueue& queue, int rowFromBottom);
// True while any merge waits or runs.
bool MergesPending(const MergeQueue& queue);

// The row waits for its merge, which starts as soon as a place and its
// output file are free.
void QueueMerge(MergeQueue& queue, const MergeJob& job);
// The row reads 处理失败, and the reason is kept for its tip.
void FailRow(MergeQueue& queue, int rowFromBottom, const Text& reason);
// Why the row failed, "" unless it reads 处理失败.
Text FailureReason(const MergeQueue& queue, int rowFromBottom);

// The handler of kMergeEndedMessage: writes the ended merge's status and
// starts what waits.
void OnMergeEnded(MergeQueue& queue, LPARAM id);
