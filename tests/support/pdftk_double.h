#pragma once
#include <string>
#include <vector>

// One start of the pdftk.exe test double, as it recorded it.
struct DoubleCall {
    std::string module;             // the program file that was started
    unsigned long processId = 0, threadId = 0;
    // The process's creation time. Doubles started one after another may
    // log in any order, since they run side by side; this tells the order
    // of their starts (Windows keeps it at the clock tick, Wine finer, so
    // starts in a row may have equal times).
    unsigned long long createdAt = 0;
    // When it began and ended, system time in 100 ns.
    unsigned long long beganAt = 0, endedAt = 0;
    std::string line;               // its command line, unchanged
    std::vector<std::string> args;  // split by the Windows rules, program first
};

// The log that every double started from now on writes to (through the
// inherited environment), with the exit code they give; removed with the
// holder.
class DoubleLog {
public:
    explicit DoubleLog(int exitCode = 0);
    ~DoubleLog();
    DoubleLog(const DoubleLog&) = delete;
    DoubleLog& operator=(const DoubleLog&) = delete;

    // Waits until no program of that file name runs any more, then reads
    // the calls in the order they were logged.
    std::vector<DoubleCall> Calls(const char* program = "pdftk.exe") const;

private:
    std::string path_;
};

// A copy of the double at a path of the test's choice (pdftk.exe beside a
// tool, or a decoy), deleted with the holder.
class InstalledDouble {
public:
    explicit InstalledDouble(const std::string& path);
    ~InstalledDouble();
    InstalledDouble(const InstalledDouble&) = delete;
    InstalledDouble& operator=(const InstalledDouble&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Waits up to 20 s until no process of that file name runs any more.
void WaitForProcessesToEnd(const char* program);

// Tells the double what to do when it merges the files of folder (see
// tests/tools/pdftk_double.cpp): "exit 1", "sleep 300", "nowrite", ...
void OrderDouble(const std::string& folder, const std::string& orders);

// The largest number of the calls that ran at the same time.
int MostAtOnce(const std::vector<DoubleCall>& calls);
