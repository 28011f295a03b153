#include "domain/documents.hpp"

#include <cstdio>

#include "domain/search_text.hpp"

namespace durnak::server::domain {
namespace {

// A string literal of the PDF content stream: the standard fonts know no Turkish letters.
std::string pdfText(const std::string& utf8)
{
    std::string out = "(";
    for (char c : foldText(utf8)) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) < 127) out += c;
    }
    return out + ")";
}

} // namespace

std::string simplePdf(const std::string& title, const std::vector<std::string>& lines)
{
    std::string content = "BT /F1 14 Tf 50 790 Td " + pdfText(title) + " Tj /F1 10 Tf";
    for (const auto& line : lines) content += " 0 -16 Td " + pdfText(line) + " Tj";
    content += " ET";

    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> >>"
        " /Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (auto offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace durnak::server::domain
