#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace durnak::server::pdf {

// "1.234.567,89": the Turkish money format, rounded half away from zero to kuruş.
std::string formatMoney(double amount);
// "31.12.2026" from stored "YYYY-MM-DD..." text; the text itself when it is not a date.
std::string formatDate(std::string_view stored);

struct Column {
    std::string caption;
    double width = 1;  // share of the page width
    bool right = false;  // numbers are right-aligned
};

// A4 documents with Pango text (DejaVu Sans, every Turkish letter) on a cairo PDF surface:
// headings, label/value blocks and tables that break across pages with their header repeated.
class PdfWriter {
public:
    explicit PdfWriter(std::string title);
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    void heading(std::string_view text);
    void paragraph(std::string_view text, bool bold = false);
    void fields(const std::vector<std::pair<std::string, std::string>>& rows);
    // Rows of cells; a totals row, when given, is drawn bold under a rule.
    void table(const std::vector<Column>& columns, const std::vector<std::vector<std::string>>& rows,
               const std::vector<std::string>& totals = {});
    void space(double points);

    // Ends the document and returns its bytes.
    std::string finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace durnak::server::pdf
