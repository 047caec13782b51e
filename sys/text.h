#pragma once
// Texts are byte strings in the system ANSI code page (GBK on the users'
// machines); lengths and positions count bytes.
#include <string>
#include <vector>

typedef std::string Text;
typedef std::vector<std::string> TextArray;
