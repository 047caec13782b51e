#pragma once
#include <map>
#include <string>
#include <vector>

// Writes a small, valid PDF file with one page per text, each page showing
// its text (ASCII) in Helvetica.
void WritePdf(const std::string& path, const std::vector<std::string>& pageTexts);

// The jobs of the sample tree: folder names, the PDF files in each and the
// texts of their pages. One name has a space, one a dot, one is Chinese,
// one file name has a space, one folder holds no PDF file, and one holds a
// corrupt PDF file (kCorruptJob), which pdftk refuses.
typedef std::map<std::string, std::vector<std::string>> SampleFiles;
const std::map<std::string, SampleFiles>& SampleJobs();
const char kCorruptJob[] = "损坏";
// Whether the merge of that sample job makes a file.
bool SampleJobMerges(const std::string& name);

// Makes the sample tree's folders and files inside root, which exists.
void MakeSampleJobs(const std::string& root);

// What poppler reads in a PDF file (run on the Unix side; scratch is a
// folder for its output): the page count (-1 when unreadable) and the text
// of each page, without the blanks around it.
int PdfPageCount(const std::string& scratch, const std::string& pdf);
std::vector<std::string> PdfPageTexts(const std::string& scratch, const std::string& pdf);
