#pragma once
#include <string>
#include <vector>

// Writes a small, valid PDF file with one page per text, each page showing
// its text (ASCII) in Helvetica.
void WritePdf(const std::string& path, const std::vector<std::string>& pageTexts);
