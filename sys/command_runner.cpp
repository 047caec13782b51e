#include "sys/command_runner.h"

#include <windows.h>

#include <vector>

int RunCommand(const Text& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the line it is given.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
        return 0;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return 1;
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
