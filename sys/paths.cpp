#include "sys/paths.h"

#include <windows.h>
#include <commdlg.h>

namespace {

Text storedRunDirectory;

// Length in bytes of the ANSI character that starts at text[i].
std::string::size_type CharLength(const Text& text, std::string::size_type i)
{
    if (i + 1 < text.size() && IsDBCSLeadByte(static_cast<BYTE>(text[i])))
        return 2;
    return 1;
}

// The position just after the last "\", "/" or ":" by ANSI characters, the
// same separators that GetFileTitleA knows; 0 when there is none.
std::string::size_type LastComponentStart(const Text& path)
{
    std::string::size_type start = 0;
    for (std::string::size_type i = 0; i < path.size(); i += CharLength(path, i)) {
        char c = path[i];
        if (c == '\\' || c == '/' || c == ':')
            start = i + 1;
    }
    return start;
}

}  // namespace

std::string::size_type LastSeparator(const Text& text)
{
    std::string::size_type last = std::string::npos;
    for (std::string::size_type i = 0; i < text.size(); i += CharLength(text, i)) {
        if (text[i] == '\\')
            last = i;
    }
    return last;
}

Text RunDirectoryOf(const Text& modulePath)
{
    std::string::size_type cut = LastSeparator(modulePath);
    if (cut == std::string::npos)
        return Text();
    return modulePath.substr(0, cut);
}

void InitRunDirectory()
{
    // Wide, so that a folder whose name the code page cannot spell is still
    // found, through its short form.
    wchar_t buffer[MAX_PATH] = L"";
    DWORD n = GetModuleFileNameW(NULL, buffer, MAX_PATH);
    storedRunDirectory = RunDirectoryOf(SpellablePath(std::wstring(buffer, n < MAX_PATH ? n : 0)));
    SetCurrentDirectoryA(storedRunDirectory.c_str());
}

Text RunDirectory()
{
    return storedRunDirectory;
}

Text ShortPath(const Text& path)
{
    // One call where the short form fits the usual buffer: each call looks
    // every component up on the disk again, which a merge run of thousands
    // of files feels.
    char fitting[MAX_PATH] = "";
    DWORD needed = GetShortPathNameA(path.c_str(), fitting, MAX_PATH);
    if (needed == 0)
        return Text();
    if (needed < MAX_PATH)
        return Text(fitting);
    std::string buffer(needed, ' ');
    DWORD written = GetShortPathNameA(path.c_str(), &buffer[0], needed);
    // The path may have gone or grown between the two calls: then nothing
    // trustworthy was written.
    if (written == 0 || written >= needed)
        return Text();
    return Text(buffer.c_str());
}

Text FileTitle(const Text& path)
{
    char buffer[256] = "";
    // GetFileTitleA still decides which paths the system rejects, but its
    // title drops the part from the last dot when Explorer hides extensions,
    // which would give folders "2020.01" and "2020.02" the same title.
    if (GetFileTitleA(path.c_str(), buffer, 256) != 0)
        return Text();
    Text title = path.substr(LastComponentStart(path));
    if (title.size() > 255)
        return Text();
    return title;
}

Text TrimSpaces(const Text& text)
{
    const unsigned char kIdeographic = 0xA1;
    const std::string::size_type n = text.size();
    auto byteAt = [&text](std::string::size_type i) { return static_cast<unsigned char>(text[i]); };

    std::string::size_type begin = 0;
    while (begin < n) {
        if (byteAt(begin) == ' ')
            begin += 1;
        else if (byteAt(begin) == kIdeographic && begin + 1 < n && byteAt(begin + 1) == kIdeographic)
            begin += 2;
        else
            break;
    }

    // Walk the rest by characters: a byte of 0x80 or above starts a
    // double-byte character, whatever the active code page.
    std::string::size_type end = n;
    std::string::size_type runStart = std::string::npos;
    std::string::size_type i = begin;
    while (i < n) {
        if (byteAt(i) < 0x80) {
            if (byteAt(i) == ' ') {
                if (runStart == std::string::npos)
                    runStart = i;
            } else {
                runStart = std::string::npos;
            }
            i += 1;
        } else if (i + 1 < n) {
            bool blank = byteAt(i) == kIdeographic && byteAt(i + 1) == kIdeographic;
            if (!blank)
                runStart = std::string::npos;
            else if (runStart == std::string::npos)
                runStart = i;
            i += 2;
        } else {
            // A first byte without its second: dropped, the blanks before it kept.
            end = i;
            runStart = std::string::npos;
            i += 1;
        }
    }
    if (runStart != std::string::npos)
        end = runStart;
    return text.substr(begin, end - begin);
}

std::wstring ToWide(const Text& text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring wide(n, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

bool ToAnsi(const std::wstring& wide, Text& text)
{
    text.clear();
    if (wide.empty())
        return true;
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, NULL, 0, NULL, NULL);
    if (n <= 0)
        return false;
    text.assign(static_cast<Text::size_type>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, &text[0], n, NULL, &usedDefault);
    // A character that maps to a byte sequence but not back (best fit left
    // aside) is no spelling either.
    return !usedDefault && ToWide(text) == wide;
}

Text SpellableName(const std::wstring& name, const std::wstring& shortName)
{
    Text spelled, shortSpelled;
    if (ToAnsi(name, spelled))
        return spelled;
    if (!shortName.empty() && ToAnsi(shortName, shortSpelled))
        return shortSpelled;
    return spelled;
}

Text SpellablePath(const std::wstring& path)
{
    Text spelled;
    if (ToAnsi(path, spelled))
        return spelled;
    DWORD needed = GetShortPathNameW(path.c_str(), NULL, 0);
    if (needed == 0)
        return spelled;
    std::wstring shortPath(needed, L'\0');
    DWORD written = GetShortPathNameW(path.c_str(), &shortPath[0], needed);
    if (written == 0 || written >= needed)
        return spelled;
    shortPath.resize(written);
    Text shortSpelled;
    return ToAnsi(shortPath, shortSpelled) ? shortSpelled : spelled;
}

std::wstring LongName(const Text& path)
{
    const std::wstring wide = ToWide(path);
    DWORD needed = GetLongPathNameW(wide.c_str(), NULL, 0);
    if (needed == 0)
        return std::wstring();
    std::wstring longPath(needed, L'\0');
    DWORD written = GetLongPathNameW(wide.c_str(), &longPath[0], needed);
    if (written == 0 || written >= needed)
        return std::wstring();
    longPath.resize(written);
    const std::wstring::size_type cut = longPath.find_last_of(L"\\/");
    return cut == std::wstring::npos ? longPath : longPath.substr(cut + 1);
}

bool SamePath(const Text& a, const Text& b)
{
    // By UTF-16 characters, not ANSI bytes: the case of a GBK character's
    // trail byte must not count.
    const std::wstring wa = ToWide(a), wb = ToWide(b);
    return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                                static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}
