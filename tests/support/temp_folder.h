#pragma once
#include <string>

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

private:
    std::string path_;
};

// Removes a file or a whole folder tree.
void RemoveTree(const std::string& path);
