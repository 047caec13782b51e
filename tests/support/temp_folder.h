#pragma once
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the holder goes. Paths are ANSI (GBK) texts.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The full path of name inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Create a folder or an empty file at the relative path; the full path.
    std::string MakeFolder(const std::string& name) const;
    std::string MakeFile(const std::string& name) const;
    // The same for names that the code page may not spell, made with the
    // wide calls; the short form of the new path, in ANSI.
    std::string MakeFolderW(const std::wstring& name) const;
    std::string MakeFileW(const std::wstring& name) const;

private:
    std::string path_;
};

// The short form of a wide path in ANSI ("" when it does not exist).
std::string ShortForm(const std::wstring& path);

// Removes a file or a whole folder tree.
void RemoveTree(const std::string& path);

// The names in folder that match the pattern, folders or files only, in
// the order the file system lists them ("." and ".." left out).
std::vector<std::string> NamesInDirectoryOrder(const std::string& folder, const char* pattern, bool folders);

// Wine's shell keeps a folder's last access time in its item ids, and the
// file system (relatime) moves that time on the first listing after a
// change: the folder dialog, walking to a folder so changed, finds an item
// that no longer matches and stops short. Listing the folder and each of
// its parents first settles those times. Windows does not need this.
void SettleAccessTimes(const std::string& path);

// The folder of the running test program, where the build puts the tool
// and the test tools, without a trailing separator.
std::string TestProgramFolder();
