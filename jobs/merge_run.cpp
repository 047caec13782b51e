#include "jobs/merge_run.h"

// The merge run needs the command runner, which is not built yet: until
// then 合并 does nothing.
void MergeAll(HWND)
{
}
