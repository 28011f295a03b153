#include "durnak/data/datasethelpers.hpp"

#include <algorithm>

#include "fieldvalue.hpp"

namespace durnak::data {

void TabloyaKopyala(const protocol::Table& reader, TClientDataSet& dataSet)
{
    DisableControlsScope quiet(dataSet);
    dataSet.Close();

    const auto& columns = reader.columns();
    const std::size_t kept = std::min(columns.size(), dataSet.defs_.size());
    for (std::size_t i = 0; i < kept; ++i) {
        if (dataSet.defs_[i].name.compare(QString::fromStdString(columns[i].name), Qt::CaseInsensitive) != 0)
            throw DataSetError("Additional columns must be added after the prescribed columns.");
    }
    for (std::size_t i = kept; i < columns.size(); ++i)
        dataSet.AddFieldDef(QString::fromStdString(columns[i].name), columns[i].type, columns[i].size);

    dataSet.CreateDataSet();

    // The kept definitions keep their types; cells whose kind differs go through a conversion.
    auto& table = dataSet.table_;
    std::vector<bool> sameKind(columns.size());
    for (std::size_t col = 0; col < columns.size(); ++col)
        sameKind[col] = detail::domainOf(columns[col].type) == detail::domainOf(dataSet.defs_[col].type);

    table.reserve(reader.rowCount());
    // Text buffers sized up front: growing them by doubling could leave up to half unused.
    std::vector<std::size_t> textBytes(dataSet.defs_.size(), 0);
    for (std::size_t col = 0; col < columns.size(); ++col) {
        if (!sameKind[col] || protocol::storageOf(columns[col].type) != protocol::Storage::Text)
            continue;
        for (std::size_t row = 0; row < reader.rowCount(); ++row)
            textBytes[col] += reader.textAt(row, col).size();
    }
    table.reserveText(textBytes);
    for (std::size_t row = 0; row < reader.rowCount(); ++row) {
        // Row by row: text cells then always grow at the end of their column's buffer.
        const auto target = table.appendRow();
        for (std::size_t col = 0; col < columns.size(); ++col) {
            if (reader.isNull(row, col))
                continue;
            if (!sameKind[col]) {
                const auto& def = dataSet.defs_[col];
                detail::store(table, target, col,
                              detail::convert(columns[col].type, def.type, reader.cell(row, col), def.name));
                continue;
            }
            // Same kind means same storage: the unchecked fill of the row just appended.
            switch (protocol::storageOf(columns[col].type)) {
            case protocol::Storage::Integer:
                table.putInt(col, reader.intAt(row, col));
                break;
            case protocol::Storage::Real:
                table.putReal(col, reader.realAt(row, col));
                break;
            case protocol::Storage::Text:
                table.putText(col, reader.textAt(row, col));
                break;
            case protocol::Storage::Flag:
                table.putFlag(col, reader.flagAt(row, col));
                break;
            }
        }
    }
    dataSet.changed();
    dataSet.First();
}

void AssignPacket(protocol::Table packet, TClientDataSet& dataSet) { dataSet.SetData(std::move(packet)); }

void FloatFormatla(TClientDataSet& dataSet)
{
    // No DisableControls here: a format change repaints its column, it does not reset the grid.
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        if (dataSet.fieldDef(i).type == FieldType::Float64)
            dataSet.SetDisplayFormat(i, kParaFormati);
    }
}

bool DoluMu(const TClientDataSet& dataSet) { return dataSet.Active() && dataSet.RecordCount() > 0; }

bool SeciliVarMi(TClientDataSet& dataSet)
{
    if (!DoluMu(dataSet))
        return false;
    DisableControlsScope quiet(dataSet);
    const TField sec = dataSet.FieldByName(QStringLiteral("SEC"));
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        if (!sec.IsNull() && sec.AsFloat() == 1.0)
            return true;
    }
    return false;
}

} // namespace durnak::data
