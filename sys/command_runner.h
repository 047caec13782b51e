#pragma once
#include <windows.h>

#include "sys/text.h"

// Starts the program that the command line names, with its window hidden,
// and does not wait for it: 1 when the process was created, 0 when not.
int RunCommand(const Text& commandLine);

// The same start, keeping what a caller that follows the process needs:
// the process handle (NULL when it was not created; the caller closes it)
// and the system's error code of a failed start. When output is given, the
// program's standard output and standard error go to that file, and it
// runs without a console.
struct StartedCommand {
    HANDLE process = NULL;
    DWORD error = 0;
};
StartedCommand StartCommand(const Text& commandLine, HANDLE output);

// A file of the tool's own that takes a program's output: a temporary file,
// removed by the system once the last handle to it is closed. A file, not a
// pipe, so that a program that prints much never blocks. NULL on failure.
HANDLE CreateOutputCapture();
// The last line that is not blank of what was written to the capture.
Text LastCapturedLine(HANDLE capture);

// One argument as it must stand in a command line so that the started
// program reads it back whole: unchanged without blanks, otherwise in
// double quotes, with the backslashes before a quote doubled.
Text QuoteArgument(const Text& argument);
