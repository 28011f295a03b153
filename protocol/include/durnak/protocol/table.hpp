#pragma once

#include <cassert>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace durnak::protocol {

// Column types of tables and data packets. Currency and Bcd are fixed point with four
// decimals held as scaled 64-bit integers, so no float formatting ever touches them.
enum class FieldType : std::uint8_t {
    Int16,
    Int32,
    Int64,
    Float64,
    Currency,
    Bcd,
    String,     // single-byte string (travels as UTF-8 like every text)
    WideString,
    Date,       // OLE Automation day count
    Time,       // fraction of a day
    DateTime,   // OLE Automation day count with fraction
    Boolean,
    Blob,
};

std::string_view fieldTypeName(FieldType type);
std::optional<FieldType> fieldTypeFromName(std::string_view name);

// How a column's cells are stored.
enum class Storage : std::uint8_t { Integer, Real, Text, Flag };
Storage storageOf(FieldType type);

constexpr std::int64_t kDecimalScale = 10000;
// "12.5" -> 125000; throws ProtocolError on anything but an optional sign, digits and up to four decimals.
std::int64_t parseDecimal(std::string_view text);
// 125000 -> "12.5" (no trailing zeros, "." decimal point, no grouping).
std::string formatDecimal(std::int64_t scaled);

struct Column {
    std::string name;
    FieldType type = FieldType::WideString;
    int size = 0;  // declared size for strings, 0 otherwise

    bool operator==(const Column&) const = default;
};

// One cell as a value: empty for null. Integer storage (ints, Currency/Bcd scaled) uses int64.
using Cell = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

// Typed columnar table with nulls. Strings of a column share one buffer, so a row costs
// little more than its payload.
class Table {
public:
    Table() = default;
    explicit Table(std::vector<Column> columns);

    const std::vector<Column>& columns() const { return columns_; }
    std::size_t columnCount() const { return columns_.size(); }
    std::size_t rowCount() const { return rows_; }
    // Position of a column by name (case-insensitive as dataset field names are), or -1.
    int columnIndex(std::string_view name) const;

    void reserve(std::size_t rows);
    void reserveText(const std::vector<std::size_t>& bytesPerColumn);  // text buffer sizes by column
    std::size_t appendRow();  // a row of nulls; returns its index
    void clearRows();

    bool isNull(std::size_t row, std::size_t col) const;
    std::int64_t intAt(std::size_t row, std::size_t col) const;   // Integer storage; 0 when null
    double realAt(std::size_t row, std::size_t col) const;        // Real storage; 0 when null
    std::string_view textAt(std::size_t row, std::size_t col) const;  // Text storage; empty when null
    bool flagAt(std::size_t row, std::size_t col) const;          // Flag storage; false when null
    Cell cell(std::size_t row, std::size_t col) const;

    void setNull(std::size_t row, std::size_t col);
    void setInt(std::size_t row, std::size_t col, std::int64_t value);
    void setReal(std::size_t row, std::size_t col, double value);
    void setText(std::size_t row, std::size_t col, std::string_view value);
    void setFlag(std::size_t row, std::size_t col, bool value);
    // Sets a cell from a value of another storage where that makes sense: an int to a real
    // column, a whole real to an integer column, a real amount to a Currency/Bcd column
    // (scaled and rounded to four decimals; an int64 there is taken as already scaled, as
    // cell() gives it). Throws ProtocolError otherwise.
    void setCell(std::size_t row, std::size_t col, const Cell& value);

    // Filling the row just appended, without per-cell checks: for decoders that already
    // know each column's storage. `col` must be of the matching storage, after appendRow().
    void putInt(std::size_t col, std::int64_t value)
    {
        auto& d = data_[col];
        assert(d.storage == Storage::Integer && !d.ints.empty());
        d.ints.back() = value;
        d.nulls.back() = 0;
    }
    void putReal(std::size_t col, double value)
    {
        auto& d = data_[col];
        assert(d.storage == Storage::Real && !d.reals.empty());
        d.reals.back() = value;
        d.nulls.back() = 0;
    }
    void putFlag(std::size_t col, bool value)
    {
        auto& d = data_[col];
        assert(d.storage == Storage::Flag && !d.flags.empty());
        d.flags.back() = value ? 1 : 0;
        d.nulls.back() = 0;
    }
    void putText(std::size_t col, std::string_view value)
    {
        auto& d = data_[col];
        assert(d.storage == Storage::Text && !d.ends.empty());
        d.chars.append(value);
        d.ends.back() = static_cast<std::uint32_t>(d.chars.size());
        d.nulls.back() = 0;
    }

    // Read-only view of one column's cells, for bulk readers (encoders) that walk a column
    // without per-cell checks.
    struct ColumnView {
        Storage storage;
        const std::int64_t* ints;
        const double* reals;
        const std::uint8_t* flags;
        const std::uint8_t* nulls;
        std::string_view chars;
        const std::uint32_t* ends;

        bool isNull(std::size_t row) const { return nulls[row] != 0; }
        std::string_view text(std::size_t row) const
        {
            const std::uint32_t begin = row == 0 ? 0 : ends[row - 1];
            return chars.substr(begin, ends[row] - begin);
        }
    };
    ColumnView columnView(std::size_t col) const
    {
        const auto& d = data_.at(col);
        return {d.storage, d.ints.data(), d.reals.data(), d.flags.data(), d.nulls.data(), d.chars, d.ends.data()};
    }

    // Bytes held by the cells (buffers' capacity), for memory accounting.
    std::size_t memoryBytes() const;

    bool operator==(const Table& other) const;

private:
    struct ColumnData {
        Storage storage = Storage::Text;
        std::vector<std::int64_t> ints;
        std::vector<double> reals;
        std::vector<std::uint8_t> flags;
        std::string chars;                // Text: all cells back to back
        std::vector<std::uint32_t> ends;  // Text: end offset of each cell in chars
        std::vector<std::uint8_t> nulls;  // 1 = null
    };
    void checkStorage(std::size_t col, Storage expected) const;

    std::vector<Column> columns_;
    std::vector<ColumnData> data_;
    std::size_t rows_ = 0;
};

} // namespace durnak::protocol
