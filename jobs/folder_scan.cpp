#include "jobs/folder_scan.h"

#include "sys/paths.h"

namespace {

EventFilter eventFilter = NULL;

bool Accepts(DWORD attributes, DWORD attribute)
{
    bool isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return attribute == FILE_ATTRIBUTE_DIRECTORY ? isDirectory : !isDirectory;
}

}  // namespace

SearchHandle::~SearchHandle()
{
    CloseSearch(*this);
}

void CloseSearch(SearchHandle& search)
{
    if (search.handle != NULL) {
        FindClose(search.handle);
        search.handle = NULL;
    }
}

Text FindEntry(const Text& pattern, DWORD attribute, SearchHandle& search)
{
    WIN32_FIND_DATAA entry;
    if (!pattern.empty()) {
        CloseSearch(search);
        HANDLE found = FindFirstFileA(pattern.c_str(), &entry);
        if (found == INVALID_HANDLE_VALUE)
            return Text();
        search.handle = found;
    } else {
        if (search.handle == NULL)
            return Text();
        if (!FindNextFileA(search.handle, &entry)) {
            CloseSearch(search);
            return Text();
        }
    }
    while (!Accepts(entry.dwFileAttributes, attribute)) {
        if (!FindNextFileA(search.handle, &entry)) {
            CloseSearch(search);
            return Text();
        }
    }
    return Text(entry.cFileName);
}

Text FolderBase(const Text& folder)
{
    // By characters, not bytes: a name ending in a double-byte character
    // whose trail byte is 0x5C (GBK 乗) does not end in a separator.
    if (folder.empty() || LastSeparator(folder) != folder.size() - 1)
        return folder + "\\";
    return folder;
}

int EnumerateSubfolders(const Text& folder, TextArray& folders)
{
    const Text base = FolderBase(folder);
    SearchHandle search;
    for (Text name = FindEntry(base + "*.*", FILE_ATTRIBUTE_DIRECTORY, search); !name.empty();
         name = FindEntry(Text(), FILE_ATTRIBUTE_DIRECTORY, search)) {
        // Drops "." and ".." and every folder whose name begins with a dot.
        if (name[0] != '.')
            folders.push_back(base + name);
    }
    CloseSearch(search);
    return static_cast<int>(folders.size());
}

int EnumerateFiles(const Text& folder, const Text& pattern, TextArray& files)
{
    files.clear();
    const Text base = FolderBase(folder);
    SearchHandle search;
    for (Text name = FindEntry(base + pattern, 0, search); !name.empty();
         name = FindEntry(Text(), 0, search)) {
        files.push_back(base + name);
        ProcessEvents();
    }
    CloseSearch(search);
    return static_cast<int>(files.size());
}

void ProcessEvents()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        // The request to end the message loop belongs to the main loop: put
        // it back, or the program would never end.
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // Esc and Tab work during a run as they do in the main loop.
        if (eventFilter != NULL && eventFilter(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void SetEventFilter(EventFilter filter)
{
    eventFilter = filter;
}
