#include "support/temp_folder.h"

#include <windows.h>

#include <stdexcept>

#include "sys/paths.h"

TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH)
        throw std::runtime_error("no temporary folder");
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(temp) + "qv" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), NULL))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + path_);
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

std::string TempFolder::MakeFolder(const std::string& name) const
{
    std::string full = *this / name;
    if (!CreateDirectoryA(full.c_str(), NULL))
        throw std::runtime_error("cannot create folder " + full);
    return full;
}

std::string TempFolder::MakeFile(const std::string& name) const
{
    std::string full = *this / name;
    HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create file " + full);
    CloseHandle(file);
    return full;
}

std::string ShortForm(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = L"";
    DWORD n = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return "";
    char ansi[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, buffer, -1, ansi, sizeof(ansi), NULL, NULL);
    return ansi;
}

std::string TempFolder::MakeFolderW(const std::wstring& name) const
{
    const std::wstring full = ToWide(path_) + L"\\" + name;
    if (!CreateDirectoryW(full.c_str(), NULL))
        throw std::runtime_error("cannot create a folder in " + path_);
    return ShortForm(full);
}

std::string TempFolder::MakeFileW(const std::wstring& name) const
{
    const std::wstring full = ToWide(path_) + L"\\" + name;
    HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create a file in " + path_);
    CloseHandle(file);
    return ShortForm(full);
}

namespace {

// Wide, so that names the code page cannot spell go too.
void RemoveTreeW(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..")
                RemoveTreeW(path + L"\\" + name);
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path)
{
    RemoveTreeW(ToWide(path));
}

std::vector<std::string> NamesInDirectoryOrder(const std::string& folder, const char* pattern, bool folders)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = entry.cFileName;
        bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder == folders && name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

void SettleAccessTimes(const std::string& path)
{
    for (std::string::size_type end = path.find('\\'); ; end = path.find('\\', end + 1)) {
        NamesInDirectoryOrder(end == std::string::npos ? path : path.substr(0, end), "*", true);
        if (end == std::string::npos)
            return;
    }
}

std::string TestProgramFolder()
{
    char module[MAX_PATH] = "";
    GetModuleFileNameA(NULL, module, MAX_PATH);
    std::string path(module);
    return path.substr(0, path.rfind('\\'));
}
