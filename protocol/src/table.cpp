#include "durnak/protocol/table.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>

#include "durnak/protocol/error.hpp"

namespace durnak::protocol {

namespace {

constexpr std::array<std::pair<FieldType, std::string_view>, 13> kTypeNames{{
    {FieldType::Int16, "int16"},
    {FieldType::Int32, "int32"},
    {FieldType::Int64, "int64"},
    {FieldType::Float64, "float64"},
    {FieldType::Currency, "currency"},
    {FieldType::Bcd, "bcd"},
    {FieldType::String, "string"},
    {FieldType::WideString, "widestring"},
    {FieldType::Date, "date"},
    {FieldType::Time, "time"},
    {FieldType::DateTime, "datetime"},
    {FieldType::Boolean, "boolean"},
    {FieldType::Blob, "blob"},
}};

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string_view storageName(Storage s)
{
    switch (s) {
    case Storage::Integer: return "tamsayı";
    case Storage::Real: return "ondalıklı sayı";
    case Storage::Text: return "metin";
    case Storage::Flag: return "mantıksal";
    }
    return "?";
}

} // namespace

std::string_view fieldTypeName(FieldType type)
{
    for (const auto& [t, name] : kTypeNames)
        if (t == type) return name;
    return "?";
}

std::optional<FieldType> fieldTypeFromName(std::string_view name)
{
    for (const auto& [t, n] : kTypeNames)
        if (n == name) return t;
    return std::nullopt;
}

Storage storageOf(FieldType type)
{
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64:
    case FieldType::Currency:
    case FieldType::Bcd:
        return Storage::Integer;
    case FieldType::Float64:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
        return Storage::Real;
    case FieldType::Boolean:
        return Storage::Flag;
    case FieldType::String:
    case FieldType::WideString:
    case FieldType::Blob:
        return Storage::Text;
    }
    return Storage::Text;
}

std::int64_t parseDecimal(std::string_view text)
{
    const auto bad = [&]() -> ProtocolError { return ProtocolError("Geçersiz ondalık değer: " + std::string(text)); };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size()) throw bad();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t whole = 0;
    bool digits = false;
    for (; i < text.size() && text[i] != '.'; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) throw bad();
        const int d = text[i] - '0';
        if (whole > (kMax / kDecimalScale - d) / 10) throw bad();
        whole = whole * 10 + d;
        digits = true;
    }
    std::int64_t fraction = 0;
    if (i < text.size()) {
        ++i;  // '.'
        int places = 0;
        for (; i < text.size(); ++i, ++places) {
            if (!std::isdigit(static_cast<unsigned char>(text[i])) || places >= 4) throw bad();
            fraction = fraction * 10 + (text[i] - '0');
            digits = true;
        }
        for (; places < 4; ++places) fraction *= 10;
    }
    if (!digits) throw bad();
    // In unsigned arithmetic: the most negative value has no positive twin.
    const std::uint64_t magnitude = static_cast<std::uint64_t>(whole) * kDecimalScale + static_cast<std::uint64_t>(fraction);
    const std::uint64_t limit = static_cast<std::uint64_t>(kMax) + (negative ? 1 : 0);
    if (magnitude > limit) throw bad();
    return negative ? static_cast<std::int64_t>(std::uint64_t(0) - magnitude) : static_cast<std::int64_t>(magnitude);
}

std::string formatDecimal(std::int64_t scaled)
{
    const bool negative = scaled < 0;
    // Work in unsigned so the most negative value does not overflow.
    const std::uint64_t magnitude =
        negative ? std::uint64_t(0) - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    std::string out = negative ? "-" : "";
    out += std::to_string(magnitude / kDecimalScale);
    std::uint64_t fraction = magnitude % kDecimalScale;
    if (fraction != 0) {
        std::string f = std::to_string(fraction);
        f.insert(0, 4 - f.size(), '0');
        while (!f.empty() && f.back() == '0') f.pop_back();
        out += '.';
        out += f;
    }
    return out;
}

Table::Table(std::vector<Column> columns) : columns_(std::move(columns))
{
    data_.resize(columns_.size());
    for (std::size_t c = 0; c < columns_.size(); ++c) data_[c].storage = storageOf(columns_[c].type);
}

int Table::columnIndex(std::string_view name) const
{
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (sameNameIgnoringCase(columns_[c].name, name)) return static_cast<int>(c);
    return -1;
}

void Table::reserve(std::size_t rows)
{
    for (auto& d : data_) {
        d.nulls.reserve(rows);
        switch (d.storage) {
        case Storage::Integer: d.ints.reserve(rows); break;
        case Storage::Real: d.reals.reserve(rows); break;
        case Storage::Flag: d.flags.reserve(rows); break;
        case Storage::Text: d.ends.reserve(rows); break;
        }
    }
}

void Table::reserveText(const std::vector<std::size_t>& bytesPerColumn)
{
    for (std::size_t c = 0; c < data_.size() && c < bytesPerColumn.size(); ++c)
        if (data_[c].storage == Storage::Text) data_[c].chars.reserve(bytesPerColumn[c]);
}

std::size_t Table::appendRow()
{
    for (auto& d : data_) {
        d.nulls.push_back(1);
        switch (d.storage) {
        case Storage::Integer: d.ints.push_back(0); break;
        case Storage::Real: d.reals.push_back(0); break;
        case Storage::Flag: d.flags.push_back(0); break;
        case Storage::Text: d.ends.push_back(static_cast<std::uint32_t>(d.chars.size())); break;
        }
    }
    return rows_++;
}

void Table::clearRows()
{
    for (auto& d : data_) {
        d.ints.clear();
        d.reals.clear();
        d.flags.clear();
        d.chars.clear();
        d.ends.clear();
        d.nulls.clear();
    }
    rows_ = 0;
}

void Table::checkStorage(std::size_t col, Storage expected) const
{
    if (col >= data_.size()) throw ProtocolError("Geçersiz kolon numarası: " + std::to_string(col));
    if (data_[col].storage != expected)
        throw ProtocolError("Kolon " + columns_[col].name + " " + std::string(storageName(data_[col].storage)) +
                            " tutar, " + std::string(storageName(expected)) + " değil");
}

bool Table::isNull(std::size_t row, std::size_t col) const
{
    return data_.at(col).nulls.at(row) != 0;
}

std::int64_t Table::intAt(std::size_t row, std::size_t col) const
{
    checkStorage(col, Storage::Integer);
    return data_[col].ints.at(row);
}

double Table::realAt(std::size_t row, std::size_t col) const
{
    checkStorage(col, Storage::Real);
    return data_[col].reals.at(row);
}

std::string_view Table::textAt(std::size_t row, std::size_t col) const
{
    checkStorage(col, Storage::Text);
    const auto& d = data_[col];
    const std::uint32_t end = d.ends.at(row);
    const std::uint32_t begin = row == 0 ? 0 : d.ends[row - 1];
    return std::string_view(d.chars).substr(begin, end - begin);
}

bool Table::flagAt(std::size_t row, std::size_t col) const
{
    checkStorage(col, Storage::Flag);
    return data_[col].flags.at(row) != 0;
}

Cell Table::cell(std::size_t row, std::size_t col) const
{
    if (isNull(row, col)) return std::monostate{};
    switch (data_[col].storage) {
    case Storage::Integer: return data_[col].ints[row];
    case Storage::Real: return data_[col].reals[row];
    case Storage::Flag: return data_[col].flags[row] != 0;
    case Storage::Text: return std::string(textAt(row, col));
    }
    return std::monostate{};
}

void Table::setNull(std::size_t row, std::size_t col)
{
    auto& d = data_.at(col);
    if (d.storage == Storage::Text) setText(row, col, {});
    d.nulls.at(row) = 1;
}

void Table::setInt(std::size_t row, std::size_t col, std::int64_t value)
{
    checkStorage(col, Storage::Integer);
    data_[col].ints.at(row) = value;
    data_[col].nulls[row] = 0;
}

void Table::setReal(std::size_t row, std::size_t col, double value)
{
    checkStorage(col, Storage::Real);
    data_[col].reals.at(row) = value;
    data_[col].nulls[row] = 0;
}

void Table::setText(std::size_t row, std::size_t col, std::string_view value)
{
    checkStorage(col, Storage::Text);
    auto& d = data_[col];
    if (row >= rows_) throw ProtocolError("Geçersiz satır numarası: " + std::to_string(row));
    const std::uint32_t begin = row == 0 ? 0 : d.ends[row - 1];
    const std::uint32_t end = d.ends[row];
    // Checked before anything changes, so a refused text leaves the table as it was.
    if (d.chars.size() - (end - begin) + value.size() > std::numeric_limits<std::uint32_t>::max())
        throw ProtocolError("Kolon " + columns_[col].name + " için metin çok büyük");
    if (row + 1 == rows_) {
        // The common case while filling: the last row, so only the tail changes.
        d.chars.resize(begin);
        d.chars.append(value);
        d.ends[row] = static_cast<std::uint32_t>(d.chars.size());
    } else {
        d.chars.replace(begin, end - begin, value);
        const auto delta = static_cast<std::int64_t>(value.size()) - static_cast<std::int64_t>(end - begin);
        for (std::size_t r = row; r < rows_; ++r) d.ends[r] = static_cast<std::uint32_t>(d.ends[r] + delta);
    }
    d.nulls[row] = 0;
}

void Table::setFlag(std::size_t row, std::size_t col, bool value)
{
    checkStorage(col, Storage::Flag);
    data_[col].flags.at(row) = value ? 1 : 0;
    data_[col].nulls[row] = 0;
}

void Table::setCell(std::size_t row, std::size_t col, const Cell& value)
{
    if (col >= data_.size()) throw ProtocolError("Geçersiz kolon numarası: " + std::to_string(col));
    const Storage storage = data_[col].storage;
    const auto mismatch = [&]() -> ProtocolError {
        return ProtocolError("Kolon " + columns_[col].name + " için uygun olmayan değer");
    };
    std::visit(
        [&](const auto& v) {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, std::monostate>) {
                setNull(row, col);
            } else if constexpr (std::is_same_v<V, bool>) {
                if (storage != Storage::Flag) throw mismatch();
                setFlag(row, col, v);
            } else if constexpr (std::is_same_v<V, std::int64_t>) {
                if (storage == Storage::Integer) setInt(row, col, v);
                else if (storage == Storage::Real) setReal(row, col, static_cast<double>(v));
                else throw mismatch();
            } else if constexpr (std::is_same_v<V, double>) {
                const FieldType type = columns_[col].type;
                if (storage == Storage::Real) setReal(row, col, v);
                else if ((type == FieldType::Currency || type == FieldType::Bcd) && std::isfinite(v) &&
                         std::fabs(v) < 9.2e14)
                    setInt(row, col, std::llround(v * static_cast<double>(kDecimalScale)));
                else if (storage == Storage::Integer && std::isfinite(v) && v == std::trunc(v) &&
                         std::fabs(v) < 9.2e18)
                    setInt(row, col, static_cast<std::int64_t>(v));
                else throw mismatch();
            } else {
                if (storage != Storage::Text) throw mismatch();
                setText(row, col, v);
            }
        },
        value);
}

std::size_t Table::memoryBytes() const
{
    std::size_t total = sizeof(*this) + columns_.capacity() * sizeof(Column) + data_.capacity() * sizeof(ColumnData);
    for (const auto& d : data_) {
        total += d.ints.capacity() * sizeof(std::int64_t) + d.reals.capacity() * sizeof(double) +
                 d.flags.capacity() + d.chars.capacity() + d.ends.capacity() * sizeof(std::uint32_t) +
                 d.nulls.capacity();
    }
    return total;
}

bool Table::operator==(const Table& other) const
{
    if (columns_ != other.columns_ || rows_ != other.rows_) return false;
    for (std::size_t c = 0; c < columns_.size(); ++c)
        for (std::size_t r = 0; r < rows_; ++r) {
            const Cell a = cell(r, c);
            const Cell b = other.cell(r, c);
            if (a != b) return false;
        }
    return true;
}

} // namespace durnak::protocol
