#include "support/pdftk_double.h"

#include "support/temp_folder.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <algorithm>
#include <stdexcept>
#include <utility>

DoubleLog::DoubleLog(int exitCode)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "pdftk-double-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(path_.c_str());
    SetEnvironmentVariableA("PDFTK_DOUBLE_LOG", path_.c_str());
    SetEnvironmentVariableA("PDFTK_DOUBLE_EXIT", std::to_string(exitCode).c_str());
}

DoubleLog::~DoubleLog()
{
    SetEnvironmentVariableA("PDFTK_DOUBLE_LOG", NULL);
    SetEnvironmentVariableA("PDFTK_DOUBLE_EXIT", NULL);
    DeleteFileA(path_.c_str());
}

std::vector<DoubleCall> DoubleLog::Calls(const char* program) const
{
    WaitForProcessesToEnd(program);
    std::vector<DoubleCall> calls;
    std::ifstream log(path_, std::ios::binary);
    std::string line;
    while (std::getline(log, line)) {
        if (line.compare(0, 7, "module ") == 0) {
            calls.push_back(DoubleCall());
            calls.back().module = line.substr(7);
        } else if (calls.empty()) {
            throw std::runtime_error("double log starts without a module line: " + line);
        } else if (line.compare(0, 4, "ids ") == 0) {
            std::sscanf(line.c_str() + 4, "%lu %lu %llu", &calls.back().processId, &calls.back().threadId,
                        &calls.back().createdAt);
        } else if (line.compare(0, 6, "times ") == 0) {
            std::sscanf(line.c_str() + 6, "%llu %llu", &calls.back().beganAt, &calls.back().endedAt);
        } else if (line.compare(0, 5, "line ") == 0) {
            calls.back().line = line.substr(5);
        } else if (line.compare(0, 4, "arg ") == 0) {
            calls.back().args.push_back(line.substr(4));
        }
    }
    return calls;
}

InstalledDouble::InstalledDouble(const std::string& path) : path_(path)
{
    const std::string double_ = TestProgramFolder() + "\\pdftk_double.exe";
    if (!CopyFileA(double_.c_str(), path_.c_str(), FALSE))
        throw std::runtime_error("cannot copy the pdftk double to " + path_);
}

InstalledDouble::~InstalledDouble()
{
    WaitForProcessesToEnd(path_.substr(path_.rfind('\\') + 1).c_str());
    DeleteFileA(path_.c_str());
}

void WaitForProcessesToEnd(const char* program)
{
    const DWORD deadline = GetTickCount() + 20000;
    for (;;) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        bool running = false;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            running = running || lstrcmpiA(entry.szExeFile, program) == 0;
        CloseHandle(snapshot);
        if (!running || GetTickCount() > deadline)
            return;
        Sleep(20);
    }
}

void OrderDouble(const std::string& folder, const std::string& orders)
{
    std::ofstream file(folder + "\\pdftk-double.txt", std::ios::binary | std::ios::trunc);
    file << orders << "\n";
}

int MostAtOnce(const std::vector<DoubleCall>& calls)
{
    // Ends sort before starts at the same moment: one merge ending as the
    // next begins is not two at once.
    std::vector<std::pair<unsigned long long, int>> events;
    for (const DoubleCall& call : calls) {
        events.push_back({call.beganAt, 1});
        events.push_back({call.endedAt, -1});
    }
    std::sort(events.begin(), events.end());
    int now = 0, most = 0;
    for (const std::pair<unsigned long long, int>& event : events) {
        now += event.second;
        most = std::max(most, now);
    }
    return most;
}
