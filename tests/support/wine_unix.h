#pragma once
#include <string>
#include <vector>

// What Wine offers a Windows program about the Unix system under it. Only
// the test tools use this: the tool itself never runs anything but
// pdftk.exe.

// The Unix path of a Windows path (8.3 short names included), in UTF-8; ""
// when Wine cannot map it.
std::string UnixPath(const std::string& windowsPath);

// Runs a Unix program with these arguments (argv[0] a path) and waits for
// it; its exit code, or -1 when Wine offers no way to start one.
int RunUnix(const std::vector<std::string>& argv);
