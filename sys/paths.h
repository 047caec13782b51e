#pragma once
#include "sys/text.h"

// The folder of the program's executable; fixed once by InitRunDirectory.
void InitRunDirectory();
Text RunDirectory();

// The position of the last path separator "\" in text, walking by
// characters of the ANSI code page, so that the trail byte 0x5C of a
// double-byte character is not taken for one; npos when there is none.
std::string::size_type LastSeparator(const Text& text);

// The folder part of an executable's full path: everything before its last
// separator, or "" when it has none.
Text RunDirectoryOf(const Text& modulePath);

// The short (8.3) form of an existing path, or "".
Text ShortPath(const Text& path);

// The folder's own name: the whole last component of the path, or "" for a
// path the system rejects or a name of more than 255 bytes.
Text FileTitle(const Text& path);

// The text without leading and trailing blanks (0x20 and the ideographic
// space 0xA1 0xA1).
Text TrimSpaces(const Text& text);

// True when the two paths are the same text but for case, compared as
// Windows compares file names.
bool SamePath(const Text& a, const Text& b);
