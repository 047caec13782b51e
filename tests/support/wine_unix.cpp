#include "support/wine_unix.h"

#include <windows.h>

namespace {

typedef char*(CDECL* UnixFileNameFunction)(const WCHAR*);
typedef LONG(WINAPI* SpawnFunction)(char* const argv[], int wait);

std::wstring Wide(const std::string& text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    return wide;
}

}  // namespace

std::string UnixPath(const std::string& windowsPath)
{
    UnixFileNameFunction unixFileName = reinterpret_cast<UnixFileNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixFileName == NULL)
        return "";
    char* unixPath = unixFileName(Wide(windowsPath).c_str());
    if (unixPath == NULL)
        return "";
    std::string result(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

int RunUnix(const std::vector<std::string>& argv)
{
    SpawnFunction spawn = reinterpret_cast<SpawnFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
    if (spawn == NULL || argv.empty())
        return -1;
    std::vector<std::string> copies(argv);
    std::vector<char*> pointers;
    for (std::string& arg : copies)
        pointers.push_back(&arg[0]);
    pointers.push_back(NULL);
    return static_cast<int>(spawn(pointers.data(), 1));
}
