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
    // The wide listing gives each entry's real name, so that a name the code
    // page cannot spell is told apart and reached through its 8.3 name; the
    // ANSI listing would give "?" (under Wine) or a best-fit look-alike
    // (under Windows) that opens nothing.
    WIN32_FIND_DATAW entry;
    if (!pattern.empty()) {
        CloseSearch(search);
        // The ANSI calls that take the paths afterwards reach no further
        // than MAX_PATH; Wine's wide search would, Windows' would not.
        const std::wstring widePattern = ToWide(pattern);
        if (widePattern.size() >= MAX_PATH)
            return Text();
        HANDLE found = FindFirstFileW(widePattern.c_str(), &entry);
        if (found == INVALID_HANDLE_VALUE)
            return Text();
        search.handle = found;
    } else {
        if (search.handle == NULL)
            return Text();
        if (!FindNextFileW(search.handle, &entry)) {
            CloseSearch(search);
            return Text();
        }
    }
    while (!Accepts(entry.dwFileAttributes, attribute)) {
        if (!FindNextFileW(search.handle, &entry)) {
            CloseSearch(search);
            return Text();
        }
    }
    return SpellableName(entry.cFileName, entry.cAlternateFileName);
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
