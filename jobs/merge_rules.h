#pragma once
// The decisions of the merge supervision, with no window and no process:
// how many merges may run, which waiting merge starts next, which rows may
// not write the same file, and what a merge's end means for its row.
#include <windows.h>

#include "sys/text.h"

// The words of the 状态 column.
extern const char kStatusWaiting[];  // 等待中: waits for a free place or its file
extern const char kStatusRunning[];  // 处理中: its pdftk runs
extern const char kStatusDone[];     // 已处理: pdftk ended with 0 and wrote the file
extern const char kStatusFailed[];   // 处理失败

// How many merges run at once on a machine with this many logical
// processors: one each, at least 2.
int MergeSlots(int processors);

// The index of the waiting merge that may start now: the first, in the
// order the runs reached them, whose output file no running merge writes
// (nor an earlier waiting one, which goes first); -1 when there is no free
// place or every waiting merge waits for its file.
int NextMergeToStart(const TextArray& waitingOutputs, const TextArray& runningOutputs, int freePlaces);

// The index of the earlier merge of the same run that writes this output
// file, -1 when none does. Paths compare without regard to case.
int EarlierWriter(const TextArray& runOutputs, const Text& output);

// What a row reads once its merge has ended, and why when it failed.
struct MergeOutcome {
    const char* status;
    Text reason;  // "" for 已处理
};
MergeOutcome OutcomeOfMerge(DWORD exitCode, bool outputWritten, const Text& errorLine);

// Why a merge could not be started, from the system's error code.
Text StartFailureReason(DWORD error);
// Why a row's merge is not merged over an earlier row's of the same run;
// row numbers count from 1 at the top.
Text SameOutputReason(int earlierRowNumber);
