#pragma once

#include <vector>

#include <QString>

namespace durnak::grid {

class GridModel;

enum class SummaryKind { Count, Sum };

// A summary shown under a column (named by column name or field) in the footer row and,
// in grouped grids, in every group footer.
struct FooterSummary {
    QString column;
    SummaryKind kind = SummaryKind::Sum;
    QString format;  // empty: count as a whole number, sum in the field's display format
};

struct SummaryValue {
    int column = -1;  // grid column it sits under; -1 when the column is unknown
    double value = 0;
    QString text;
};

// Over the given dataset rows, or over every row the grid shows when `sourceRows` is null.
// Count counts the non-null values of a bound column and every row of an unbound one.
SummaryValue computeSummary(const GridModel& model, const FooterSummary& summary,
                            const std::vector<int>* sourceRows = nullptr);

} // namespace durnak::grid
