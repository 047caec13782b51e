// Stands in for pdftk.exe in the tests: appends what it was started with to
// the log that PDFTK_DOUBLE_LOG names (else pdftk-calls.log beside itself),
// writes a small file at its last argument (the output of "cat output") and
// ends with the exit code that PDFTK_DOUBLE_EXIT gives (else 0).
//
// A file pdftk-double.txt in the folder of its first input changes that for
// the merges of that folder, one word a line:
//   exit N      end with N, writing nothing (as pdftk does when it fails)
//   sleep MS    wait MS milliseconds before ending
//   nowrite     write nothing
//   error TEXT  print TEXT on standard error
//
// One record per start, one line each:
//   module <its own path>
//   ids <its process id> <its thread id> <its creation time, in 100 ns>
//   times <when it began> <when it ended>, system time in 100 ns
//   line <the command line exactly as it came>
//   arg <each argument, split by the Windows rules>
//   end
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Ansi(const wchar_t* wide)
{
    int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, NULL, 0, NULL, NULL);
    std::string text(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], n, NULL, NULL);
    return text;
}

std::string ModulePath()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return path;
}

std::string LogPath(const std::string& module)
{
    char log[MAX_PATH] = "";
    DWORD n = GetEnvironmentVariableA("PDFTK_DOUBLE_LOG", log, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        return log;
    return module.substr(0, module.rfind('\\') + 1) + "pdftk-calls.log";
}

unsigned long long Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

std::vector<std::wstring> Arguments()
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> list;
    for (int i = 0; args != NULL && i < count; ++i)
        list.push_back(args[i]);
    LocalFree(args);
    return list;
}

// What pdftk-double.txt beside the first input asks for.
struct Orders {
    int exitCode = 0;
    int sleepMs = 0;
    bool write = true;
    std::string error;
};

Orders ReadOrders(const std::vector<std::wstring>& args)
{
    Orders orders;
    char code[16] = "";
    if (GetEnvironmentVariableA("PDFTK_DOUBLE_EXIT", code, sizeof(code)) > 0)
        orders.exitCode = std::atoi(code);
    if (args.size() < 2)
        return orders;
    const std::wstring& first = args[1];
    std::ifstream file(Ansi((first.substr(0, first.rfind(L'\\') + 1) + L"pdftk-double.txt").c_str()));
    std::string word;
    while (file >> word) {
        if (word == "exit")
            file >> orders.exitCode;
        else if (word == "sleep")
            file >> orders.sleepMs;
        else if (word == "nowrite")
            orders.write = false;
        else if (word == "error")
            std::getline(file >> std::ws, orders.error);
    }
    return orders;
}

std::string Record(const std::string& module, const std::vector<std::wstring>& args,
                   unsigned long long began)
{
    FILETIME created = {}, unused[3];
    GetProcessTimes(GetCurrentProcess(), &created, &unused[0], &unused[1], &unused[2]);
    unsigned long long createdAt = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) |
                                   created.dwLowDateTime;
    std::string record = "module " + module + "\n" + "ids " + std::to_string(GetCurrentProcessId()) +
                         " " + std::to_string(GetCurrentThreadId()) + " " + std::to_string(createdAt) +
                         "\n" + "times " + std::to_string(began) + " " + std::to_string(Now()) + "\n" +
                         "line " + GetCommandLineA() + "\n";
    for (const std::wstring& arg : args)
        record += "arg " + Ansi(arg.c_str()) + "\n";
    return record + "end\n";
}

// Doubles started side by side share the log: each appends its record in
// one write, waiting while another holds the file.
bool Append(const std::string& log, const std::string& record)
{
    for (int attempt = 0; attempt < 500; ++attempt) {
        HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, NULL);
            CloseHandle(file);
            return ok && written == record.size();
        }
        Sleep(10);
    }
    return false;
}

bool WriteOutput(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const char content[] = "%PDF-1.4 written by the pdftk test double\n";
    DWORD written = 0;
    WriteFile(file, content, sizeof(content) - 1, &written, NULL);
    CloseHandle(file);
    return true;
}

}  // namespace

int main()
{
    const unsigned long long began = Now();
    const std::string module = ModulePath();
    const std::vector<std::wstring> args = Arguments();
    const Orders orders = ReadOrders(args);
    if (orders.sleepMs > 0)
        Sleep(orders.sleepMs);
    if (!orders.error.empty())
        std::fprintf(stderr, "%s\n", orders.error.c_str());
    if (orders.write && orders.exitCode == 0 && args.size() > 1 && !WriteOutput(args.back()))
        return 101;
    if (!Append(LogPath(module), Record(module, args, began)))
        return 100;
    return orders.exitCode;
}
