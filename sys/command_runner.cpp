#include "sys/command_runner.h"

#include <windows.h>

#include <vector>

namespace {

// A handle that the started program may inherit only while it is started:
// merges started one after another must not hold each other's files open.
class InheritableWhileStarting {
public:
    explicit InheritableWhileStarting(HANDLE handle) : handle_(handle)
    {
        if (handle_ != NULL)
            SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    ~InheritableWhileStarting()
    {
        if (handle_ != NULL)
            SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, 0);
    }
    InheritableWhileStarting(const InheritableWhileStarting&) = delete;
    InheritableWhileStarting& operator=(const InheritableWhileStarting&) = delete;

private:
    HANDLE handle_;
};

}  // namespace

StartedCommand StartCommand(const Text& commandLine, HANDLE output)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    if (output != NULL) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the line it is given.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    StartedCommand started;
    InheritableWhileStarting inherit(output);
    // Its output goes to the file: it needs no console, and making one for
    // every merge (hidden or not) costs as much as the start itself.
    const DWORD flags = output != NULL ? DETACHED_PROCESS : 0;
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, TRUE, flags, NULL, NULL, &startup, &process)) {
        started.error = GetLastError();
        return started;
    }
    CloseHandle(process.hThread);
    started.process = process.hProcess;
    return started;
}

int RunCommand(const Text& commandLine)
{
    StartedCommand started = StartCommand(commandLine, NULL);
    if (started.process == NULL)
        return 0;
    CloseHandle(started.process);
    return 1;
}

HANDLE CreateOutputCapture()
{
    char folder[MAX_PATH + 1] = "";
    char path[MAX_PATH + 1] = "";
    DWORD n = GetTempPathA(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH || GetTempFileNameA(folder, "qvm", 0, path) == 0)
        return NULL;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(path);
        return NULL;
    }
    return file;
}

Text LastCapturedLine(HANDLE capture)
{
    // The end of the output is enough: an error is its last line.
    const LONG kTail = 4096;
    LARGE_INTEGER size = {};
    if (capture == NULL || !GetFileSizeEx(capture, &size) || size.QuadPart == 0)
        return Text();
    LARGE_INTEGER from = {};
    from.QuadPart = size.QuadPart > kTail ? size.QuadPart - kTail : 0;
    SetFilePointerEx(capture, from, NULL, FILE_BEGIN);
    std::vector<char> tail(static_cast<size_t>(size.QuadPart - from.QuadPart));
    DWORD read = 0;
    if (!ReadFile(capture, tail.data(), static_cast<DWORD>(tail.size()), &read, NULL))
        return Text();
    const Text text(tail.data(), read);
    const Text::size_type last = text.find_last_not_of(" \t\r\n");
    if (last == Text::npos)
        return Text();
    const Text::size_type begin = text.find_last_of("\r\n", last);
    return text.substr(begin == Text::npos ? 0 : begin + 1, last - (begin == Text::npos ? 0 : begin + 1) + 1);
}

Text QuoteArgument(const Text& argument)
{
    if (argument.find_first_of(" \t") == Text::npos)
        return argument;
    Text quoted = "\"";
    Text::size_type backslashes = 0;
    for (Text::size_type i = 0; i < argument.size(); ++i) {
        char c = argument[i];
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote, and then must be doubled.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
        // The trail byte of a double-byte character (0x5C in GBK 乗) is
        // no backslash: the started program reads its line by characters.
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < argument.size())
            quoted += argument[++i];
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}
