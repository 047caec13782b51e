#pragma once
#include <string>

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

// Windows names are Unicode; the tool works in the ANSI code page, which
// cannot spell every character (Korean, emoji, many symbols).

std::wstring ToWide(const Text& text);
// The text in the ANSI code page; false when some character has no
// spelling there (that character then stands as "?"). No best-fit
// stand-ins: "ñ" never silently becomes "n".
bool ToAnsi(const std::wstring& wide, Text& text);

// The name under which the ANSI calls can reach a listed entry: its own
// name where the code page spells it, else its 8.3 name where it has one,
// else its own name with "?" for what cannot be spelled (it then opens
// nothing, and what uses it fails).
Text SpellableName(const std::wstring& name, const std::wstring& shortName);

// The same for a whole path: the path itself, else its short form, else
// the path with "?".
Text SpellablePath(const std::wstring& path);

// The real name of the last component of an existing path, however the
// path spells it (through short names too); "" when it does not exist.
std::wstring LongName(const Text& path);
