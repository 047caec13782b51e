#include "support/pdf_fixture.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/wine_unix.h"

namespace {

std::string Offset(size_t offset)
{
    char entry[32];
    std::snprintf(entry, sizeof(entry), "%010u 00000 n \n", static_cast<unsigned>(offset));
    return entry;
}

}  // namespace

void WritePdf(const std::string& path, const std::vector<std::string>& pageTexts)
{
    // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content
    // stream for each text.
    std::vector<std::string> objects;
    std::string kids;
    for (size_t i = 0; i < pageTexts.size(); ++i)
        kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageTexts.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (size_t i = 0; i < pageTexts.size(); ++i) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 200] /Resources << /Font << /F1 3 0 R "
                          ">> >> /Contents " +
                          std::to_string(5 + 2 * i) + " 0 R >>");
        const std::string content = "BT /F1 24 Tf 30 90 Td (" + pageTexts[i] + ") Tj ET";
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                          "\nendstream");
    }
    std::string pdf = "%PDF-1.4\n";
    std::string xref = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t i = 0; i < objects.size(); ++i) {
        xref += Offset(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xrefAt = pdf.size();
    pdf += xref + "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xrefAt) + "\n%%EOF\n";
    std::ofstream file(path, std::ios::binary);
    file << pdf;
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

const std::map<std::string, SampleFiles>& SampleJobs()
{
    static const std::map<std::string, SampleFiles> jobs = {
        {"报表", {{"一月.pdf", {"R1-p1", "R1-p2"}}, {"二月.pdf", {"R2-p1"}}}},
        {"jan 2020", {{"first part.pdf", {"J1-p1", "J1-p2", "J1-p3"}}, {"second.pdf", {"J2-p1"}}}},
        {"v1.2", {{"only.pdf", {"V-p1"}}}},
        {"空目录", {}},
        {kCorruptJob, {{"坏.pdf", {}}}},
    };
    return jobs;
}

bool SampleJobMerges(const std::string& name)
{
    return !SampleJobs().at(name).empty() && name != kCorruptJob;
}

void MakeSampleJobs(const std::string& root)
{
    for (const auto& job : SampleJobs()) {
        const std::string folder = root + "\\" + job.first;
        if (!CreateDirectoryA(folder.c_str(), NULL))
            throw std::runtime_error("cannot create " + folder);
        for (const auto& file : job.second) {
            if (job.first == kCorruptJob)
                std::ofstream(folder + "\\" + file.first, std::ios::binary) << "%PDF-1.4 cut short\n";
            else
                WritePdf(folder + "\\" + file.first, file.second);
        }
    }
    std::ofstream(root + "\\空目录\\readme.txt") << "no PDF here\n";
}

namespace {

// Runs a poppler command on the PDF file ($1) and gives what it printed.
std::string PopplerOutput(const std::string& scratch, const char* command, const std::string& pdf)
{
    const std::string output = scratch + "\\poppler-output.txt";
    DeleteFileA(output.c_str());
    const std::string script = std::string(command) + " > \"$2\" 2>/dev/null";
    RunUnix({"/bin/sh", "-c", script, "sh", UnixPath(pdf), UnixPath(output)});
    std::ifstream file(output, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int PdfPageCount(const std::string& scratch, const std::string& pdf)
{
    std::stringstream info(PopplerOutput(scratch, "/usr/bin/pdfinfo \"$1\"", pdf));
    std::string line;
    while (std::getline(info, line)) {
        if (line.compare(0, 6, "Pages:") == 0)
            return std::stoi(line.substr(6));
    }
    return -1;
}

std::vector<std::string> PdfPageTexts(const std::string& scratch, const std::string& pdf)
{
    std::vector<std::string> pages;
    std::stringstream text(PopplerOutput(scratch, "/usr/bin/pdftotext \"$1\" -", pdf));
    std::string page;
    while (std::getline(text, page, '\f')) {
        const size_t first = page.find_first_not_of(" \r\n\t");
        if (first != std::string::npos)
            pages.push_back(page.substr(first, page.find_last_not_of(" \r\n\t") - first + 1));
    }
    return pages;
}
