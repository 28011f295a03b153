#pragma once

#include "durnak/data/clientdataset.hpp"
#include "durnak/protocol/table.hpp"

namespace durnak::data {

// Table reader -> dataset. Existing field definitions stay where the name at the same position
// matches, further reader columns are added, a different name at a position already defined
// raises DataSetError("Additional columns must be added after the prescribed columns.").
// The dataset is then created empty and gets every reader row. Observers hear one reset.
void TabloyaKopyala(const protocol::Table& reader, TClientDataSet& dataSet);

// Data-packet assignment: the dataset becomes the packet (columns, types, rows), with new
// fields and so without display formats; FloatFormatla must follow.
void AssignPacket(protocol::Table packet, TClientDataSet& dataSet);

// Every Float64 field gets "#,###,##0.00"; fixed-point and the rest keep theirs.
void FloatFormatla(TClientDataSet& dataSet);

// Open and at least one row.
bool DoluMu(const TClientDataSet& dataSet);

// True when a row has SEC = 1; the cursor is left on the first such row, or at the end.
bool SeciliVarMi(TClientDataSet& dataSet);

} // namespace durnak::data
