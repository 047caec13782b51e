#include "ui/folder_picker.h"

#include <shlobj.h>

#include <vector>

#include "sys/paths.h"

namespace {

// The folder that the dialog selects when it opens; kept after each call.
Text PickerInitialFolder;

// Folders only, the resizable dialog with its new-folder button, and an
// edit field for typing a name.
const UINT kBrowseFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;

}  // namespace

Text BrowseForFolder(const Text& title, const Text& initialFolder, HWND owner)
{
    const Text titleCopy = title;
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = titleCopy.c_str();
    browse.ulFlags = kBrowseFlags;
    browse.lpfn = BrowseCallback;
    // Spaces, not NULs: whatever the shell leaves unwritten trims away.
    std::vector<wchar_t> path(512, L' ');
    path.push_back(L'\0');
    PickerInitialFolder = initialFolder;

    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&browse);
    // Cancel gives no item, and no path can be asked of it.
    if (item != NULL) {
        // Wide, so that a folder whose name the code page cannot spell comes
        // back in its short form rather than with "?".
        SHGetPathFromIDListW(item, path.data());
        CoTaskMemFree(item);
    }
    return TrimSpaces(SpellablePath(path.data()));
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM)
{
    if (message == BFFM_INITIALIZED)
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(PickerInitialFolder.c_str()));
    return 1;
}

void ReleasePickerInitialFolder()
{
    Text().swap(PickerInitialFolder);
}
