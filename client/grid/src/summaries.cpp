#include "durnak/grid/summaries.hpp"

#include "durnak/data/numberformat.hpp"
#include "durnak/grid/gridmodel.hpp"

namespace durnak::grid {

namespace {

// Reads the table directly: a footer over a million rows must not build a QVariant per cell.
struct CellReader {
    const protocol::Table* table = nullptr;
    std::size_t column = 0;
    protocol::Storage storage = protocol::Storage::Text;
    double scale = 1;

    bool isNull(int row) const { return table->isNull(static_cast<std::size_t>(row), column); }
    double number(int row) const
    {
        const auto r = static_cast<std::size_t>(row);
        switch (storage) {
        case protocol::Storage::Integer: return static_cast<double>(table->intAt(r, column)) / scale;
        case protocol::Storage::Real: return table->realAt(r, column);
        case protocol::Storage::Flag: return table->flagAt(r, column) ? 1 : 0;
        case protocol::Storage::Text: break;
        }
        return QString::fromUtf8(table->textAt(r, column)).toDouble();
    }
};

} // namespace

SummaryValue computeSummary(const GridModel& model, const FooterSummary& summary, const std::vector<int>* sourceRows)
{
    SummaryValue result;
    result.column = model.columnIndex(summary.column);
    const int src = result.column >= 0 ? model.sourceColumn(result.column) : model.fieldColumn(summary.column);
    auto* ds = model.dataSet();
    const int rows = sourceRows ? static_cast<int>(sourceRows->size()) : model.rowCount();
    auto rowAt = [&](int i) { return sourceRows ? (*sourceRows)[static_cast<std::size_t>(i)] : model.sourceRow(i); };

    if (src < 0 || !ds) {
        result.value = summary.kind == SummaryKind::Count ? rows : 0;
    } else {
        const auto type = ds->fieldDef(src).type;
        CellReader reader{&ds->Data(), static_cast<std::size_t>(src), protocol::storageOf(type), 1};
        if (type == protocol::FieldType::Currency || type == protocol::FieldType::Bcd)
            reader.scale = static_cast<double>(protocol::kDecimalScale);
        double total = 0;
        for (int i = 0; i < rows; ++i) {
            const int row = rowAt(i);
            if (reader.isNull(row))
                continue;
            total += summary.kind == SummaryKind::Count ? 1 : reader.number(row);
        }
        result.value = total;
    }

    QString format = summary.format;
    if (format.isEmpty() && summary.kind == SummaryKind::Sum && src >= 0 && ds)
        format = ds->DisplayFormat(src);
    const QLocale locale = model.locale();
    if (!format.isEmpty())
        result.text = data::FormatFloat(format, result.value, locale);
    else if (summary.kind == SummaryKind::Count)
        result.text = QString::number(static_cast<qlonglong>(result.value));
    else
        result.text = data::FloatToString(result.value, locale);
    return result;
}

} // namespace durnak::grid
