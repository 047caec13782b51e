#pragma once
#include "sys/text.h"

// Starts the program that the command line names, with its window hidden,
// and does not wait for it: 1 when the process was created, 0 when not.
int RunCommand(const Text& commandLine);

// One argument as it must stand in a command line so that the started
// program reads it back whole: unchanged without blanks, otherwise in
// double quotes, with the backslashes before a quote doubled.
Text QuoteArgument(const Text& argument);
