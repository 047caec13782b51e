// Stands in for pdftk.exe in the tests: appends what it was started with to
// the log that PDFTK_DOUBLE_LOG names (else pdftk-calls.log beside itself)
// and ends with the exit code that PDFTK_DOUBLE_EXIT gives (else 0).
//
// One record per start, one line each:
//   module <its own path>
//   ids <its process id> <its thread id> <its creation time, in 100 ns>
//   line <the command line exactly as it came>
//   arg <each argument, split by the Windows rules>
//   end
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

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

std::string Record(const std::string& module)
{
    FILETIME created = {}, unused[3];
    GetProcessTimes(GetCurrentProcess(), &created, &unused[0], &unused[1], &unused[2]);
    unsigned long long createdAt = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) |
                                   created.dwLowDateTime;
    std::string record = "module " + module + "\n" + "ids " + std::to_string(GetCurrentProcessId()) +
                         " " + std::to_string(GetCurrentThreadId()) + " " + std::to_string(createdAt) +
                         "\n" + "line " + GetCommandLineA() + "\n";
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; args != NULL && i < count; ++i)
        record += "arg " + Ansi(args[i]) + "\n";
    LocalFree(args);
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

}  // namespace

int main()
{
    const std::string module = ModulePath();
    if (!Append(LogPath(module), Record(module)))
        return 100;
    char code[16] = "";
    GetEnvironmentVariableA("PDFTK_DOUBLE_EXIT", code, sizeof(code));
    return std::atoi(code);
}
