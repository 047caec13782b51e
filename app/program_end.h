#pragma once

// Registers the exit routines; start-up calls it once OLE is initialised.
void RegisterExitRoutines();

// Ends the program: runs the exit routines, releases OLE and ends the
// process with the exit code.
[[noreturn]] void EndProgram(int exitCode);

// The click of 按钮4: ends the program at once, with exit code 0.
[[noreturn]] void ExitProgram();

// The exit routine: releases what the folder picker keeps.
void ExitCleanup();

// Tells the user that the main window could not be created and ends the
// process with exit code -1, without the exit routines.
[[noreturn]] void EndFailedStart();
