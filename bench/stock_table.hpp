#pragma once

// A stock-search answer of realistic shape: 40 columns (codes, names, OEM numbers, prices,
// discounts, flags) for benchmarks of the codec and the client datasets.

#include <cstddef>
#include <string>

#include "durnak/protocol/table.hpp"

namespace durnak::bench {

inline protocol::Table makeStockTable(std::size_t rows)
{
    using protocol::FieldType;
    std::vector<protocol::Column> columns;
    const char* texts[] = {"STOK_KODU", "STOK_ADI", "OEM1", "OEM2", "OEM3", "OEM4", "BARKOD", "MARKA",
                           "MODEL", "ANAGRUP", "ALTGRUP", "BIRIM", "URETICIKODU", "OZELKOD", "INDIRIMYAZI"};
    const char* ints[] = {"STOK_STOKNO", "DURUM", "YENI", "KAMPANYALI", "RESIMVAR", "DEPARTMAN", "SIRA",
                          "GRUPNO", "MARKANO", "MODELNO"};
    const char* reals[] = {"LISTEFIYAT1", "LISTEFIYAT2", "KAMPANYAFIYAT", "NETFIYAT", "KDVDAHIL", "KDV",
                           "INDIRIMORANI1", "INDIRIMORANI2", "INDIRIMORANI3", "INDIRIMORANI4", "KALAN",
                           "ALINANSIPARIS"};
    for (const char* n : texts) columns.push_back({n, FieldType::WideString, 60});
    for (const char* n : ints) columns.push_back({n, FieldType::Int32});
    for (const char* n : reals) columns.push_back({n, FieldType::Float64});
    columns.push_back({"TUTAR", FieldType::Currency});
    columns.push_back({"SEC", FieldType::Boolean});
    columns.push_back({"TARIH", FieldType::DateTime});

    protocol::Table t(std::move(columns));
    t.reserve(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        t.appendRow();
        std::size_t c = 0;
        for (std::size_t i = 0; i < std::size(texts); ++i, ++c) {
            if (i == 1) t.setText(r, c, "FREN BALATASI ÖN TAKIM " + std::to_string(r % 977));
            else if (i == 14 && r % 3 == 0) continue;  // some nulls
            else t.setText(r, c, "KOD-" + std::to_string(r * 31 + i));
        }
        for (std::size_t i = 0; i < std::size(ints); ++i, ++c) t.setInt(r, c, static_cast<std::int64_t>(r + i));
        for (std::size_t i = 0; i < std::size(reals); ++i, ++c)
            t.setReal(r, c, static_cast<double>((r * 37 + i * 11) % 100000) / 100.0);
        t.setInt(r, c++, static_cast<std::int64_t>(r) * 125);
        t.setFlag(r, c++, r % 2 == 0);
        t.setReal(r, c++, 46000.0 + static_cast<double>(r % 365) + 0.5);
    }
    return t;
}

} // namespace durnak::bench
