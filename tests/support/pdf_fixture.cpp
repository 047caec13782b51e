#include "support/pdf_fixture.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

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
