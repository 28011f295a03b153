#pragma once

#include <initializer_list>
#include <vector>

#include "durnak/protocol/table.hpp"

namespace durnak::data::test {

using protocol::Cell;
using protocol::Column;
using protocol::FieldType;
using protocol::Table;

// A reader/packet as the server would send it.
inline Table makeTable(std::vector<Column> columns, std::initializer_list<std::vector<Cell>> rows = {})
{
    Table table(std::move(columns));
    for (const auto& cells : rows) {
        const auto row = table.appendRow();
        for (std::size_t col = 0; col < cells.size(); ++col)
            table.setCell(row, col, cells[col]);
    }
    return table;
}

inline Cell i(std::int64_t v) { return v; }
inline Cell r(double v) { return v; }
inline Cell s(const char* v) { return std::string(v); }
inline Cell null() { return {}; }

} // namespace durnak::data::test
