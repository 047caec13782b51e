#pragma once
#include <windows.h>

#include "sys/text.h"

// One directory search: none (no open search) or the handle that
// FindFirstFileA returned. Whatever is still open is closed when the holder
// goes, so a scan never leaks its search on any path.
struct SearchHandle {
    HANDLE handle = NULL;
    SearchHandle() = default;
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;
    ~SearchHandle();
};

// The name of the next entry that passes the filter, or "" when there is
// none: its own name, or its 8.3 name where the code page cannot spell its
// own (see SpellableName). A non-empty pattern starts a new search; an
// empty one continues the search held in the handle. attribute 0 accepts
// files only, FILE_ATTRIBUTE_DIRECTORY folders only.
Text FindEntry(const Text& pattern, DWORD attribute, SearchHandle& search);
void CloseSearch(SearchHandle& search);

// The folder text ending in exactly one separator; "" becomes "\".
Text FolderBase(const Text& folder);

// Appends the full paths of folder's immediate subfolders, in the file
// system's order, skipping names that begin with "."; returns how many
// texts folders then holds.
int EnumerateSubfolders(const Text& folder, TextArray& folders);

// Fills files with the full paths of the files in folder that match the
// pattern, in the file system's order; returns their number. Lets the window
// handle its messages after each file found.
int EnumerateFiles(const Text& folder, const Text& pattern, TextArray& files);

// Dispatches every message waiting in the thread's queue, without waiting.
void ProcessEvents();

// A message that the window takes before it is dispatched (the keys that the
// main window handles itself); true when it was taken. ProcessEvents offers
// it every message, as the main loop does.
typedef bool (*EventFilter)(const MSG& msg);
void SetEventFilter(EventFilter filter);
