#pragma once

#include <stdexcept>

#include <QString>

namespace durnak::grid {

class DurnakGrid;
class DurnakGroupGrid;

// A failed export; the text reaches the user's error display.
class ExcelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the grid as an .xlsx worksheet: the visible columns in display order with their
// captions, every row the grid holds (groups expanded, each with its footer), numbers as
// numbers in their display format, then the footer summaries.
void ExcelKaydet(const DurnakGrid& grid, const QString& path);
void ExcelKaydet(const DurnakGroupGrid& grid, const QString& path);

// "#,###,##0.00" -> "#,##0.00": a display pattern as an Excel number format.
QString excelNumberFormat(const QString& pattern);

} // namespace durnak::grid
