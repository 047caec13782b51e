// Stands in for pdftk.exe where the real one cannot run: under Wine, beside
// quorvane.exe, it hands its arguments to Debian's pdftk, with every Windows
// path (8.3 short names included) turned into its Unix path, waits for it
// and ends with its exit code. What pdftk prints goes to the bridge's own
// standard error, as it would from the real pdftk.exe. A test and run tool,
// not part of the product.
#include <windows.h>

#include <string>
#include <vector>

#include "support/wine_unix.h"

namespace {

std::string Text(const wchar_t* wide, UINT codePage)
{
    int n = WideCharToMultiByte(codePage, 0, wide, -1, NULL, 0, NULL, NULL);
    std::string text(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(codePage, 0, wide, -1, &text[0], n, NULL, NULL);
    return text;
}

// "X:\..." or "X:/...", or a path from the root of the current drive.
bool IsWindowsPath(const wchar_t* arg)
{
    if (arg[0] != 0 && arg[1] == L':' && (arg[2] == L'\\' || arg[2] == L'/'))
        return true;
    return arg[0] == L'\\';
}

void CopyToStandardError(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    char buffer[4096];
    DWORD read = 0, written = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, NULL) && read > 0 && error != NULL &&
           error != INVALID_HANDLE_VALUE)
        WriteFile(error, buffer, read, &written, NULL);
    CloseHandle(file);
}

}  // namespace

// wmain: the C runtime splits the wide command line by the Windows rules.
// Not CommandLineToArgvW: loading shell32 would double the start of every
// merge under Wine, which the benchmark counts against the tool.
int wmain(int count, wchar_t** args)
{
    // pdftk runs on the Unix side, whose output does not reach the Windows
    // handles: a file takes it and is copied over afterwards.
    char folder[MAX_PATH] = "", printed[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "pbr", 0, printed);
    std::vector<std::string> unixArgs = {"/bin/sh", "-c", "out=$1; shift; exec \"$@\" >\"$out\" 2>&1", "sh",
                                         UnixPath(printed), "/usr/bin/pdftk"};
    for (int i = 1; i < count; ++i) {
        std::string arg = IsWindowsPath(args[i]) ? UnixPath(Text(args[i], CP_ACP)) : Text(args[i], CP_UTF8);
        if (arg.empty() && args[i][0] != 0)
            return 3;  // a path that Wine cannot map
        unixArgs.push_back(arg);
    }
    int code = RunUnix(unixArgs);
    CopyToStandardError(printed);
    DeleteFileA(printed);
    return code < 0 ? 4 : code;
}
