#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include <QBuffer>
#include <QImage>

#include "durnak/data/clientdataset.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/columns.hpp"
#include "durnak/protocol/table.hpp"

namespace durnak::grid::test {

using protocol::Cell;
using protocol::Column;
using protocol::FieldType;
using protocol::Table;

inline Cell i(std::int64_t v) { return v; }
inline Cell r(double v) { return v; }
inline Cell s(const char* v) { return std::string(v); }
inline Cell null() { return {}; }

inline std::unique_ptr<data::TClientDataSet> makeDataSet(std::vector<Column> columns,
                                                         std::initializer_list<std::vector<Cell>> rows)
{
    Table table(std::move(columns));
    for (const auto& cells : rows) {
        const auto row = table.appendRow();
        for (std::size_t col = 0; col < cells.size(); ++col)
            table.setCell(row, col, cells[col]);
    }
    auto dataSet = std::make_unique<data::TClientDataSet>();
    data::AssignPacket(std::move(table), *dataSet);
    data::FloatFormatla(*dataSet);
    return dataSet;
}

// A small basket: ticks, dates, texts, amounts, availability and flags. Dates are OLE day
// counts (45000 = 15.03.2023).
inline std::unique_ptr<data::TClientDataSet> basket()
{
    return makeDataSet(
        {{"SIRANO", FieldType::Int32},
         {"SEC", FieldType::Int32},
         {"VERILISTARIHI", FieldType::Date},
         {"STOKADI", FieldType::WideString, 100},
         {"MARKA", FieldType::WideString, 50},
         {"MIKTAR", FieldType::Float64},
         {"NETTUTAR", FieldType::Float64},
         {"DURUM", FieldType::Int32},
         {"Y", FieldType::Int32},
         {"K", FieldType::Int32},
         {"RESIM", FieldType::Int32}},
        {
            {i(1), i(1), r(45000), s("FREN BALATASI"), s("BOSCH"), r(2), r(1234.5), i(1), i(1), i(0), i(1)},
            {i(2), i(0), r(45001), s("ŞANZIMAN YAĞI"), s("CASTROL"), r(10), r(99.99), i(0), i(0), i(1), i(0)},
            {i(3), i(1), r(45002), s("FİLTRE"), s("BOSCH"), r(1), r(10), i(3), i(0), i(0), i(0)},
            {i(4), i(0), null(), s("FAR AMPULÜ"), s("OSRAM"), r(4), r(25.25), i(5), i(1), i(2), i(1)},
            {i(5), i(1), r(45004), s("İTİCİ"), s("BOSCH"), null(), r(1000), i(2), null(), i(0), i(0)},
        });
}

// The basket grid's columns in the shape windows declare them.
inline GridColumns basketColumns()
{
    return {
        kindColumn("cxSEC", "Seç", "SEC", 1, CellKind::Check, Visibility::Pinned),
        textColumn("cxVERILISTARIHI", "Sipariş Tarihi", "VERILISTARIHI", 1),
        textColumn("cxSTOKADI", "Stok Açıklama", "STOKADI", 3, Visibility::Shown, true),
        textColumn("cxMARKA", "Marka", "MARKA", 1, Visibility::Offered),
        textColumn("cxMIKTAR", "Miktar", "MIKTAR", 1),
        textColumn("cxNETTUTAR", "Net Tutar", "NETTUTAR", 1),
        kindColumn("cxDURUM", "Durum", "DURUM", 1, CellKind::Durum),
        textColumn("cxSIRANO", "", "SIRANO", 0, Visibility::Never),
    };
}

inline QByteArray pngBytes(const QColor& colour, QSize size = QSize(40, 30))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace durnak::grid::test
