#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>

#include "durnak/protocol/table.hpp"

namespace durnak::protocol {

// The value kinds of the method catalogue.
enum class Kind : std::uint8_t {
    None,        // no value (procedures' result); also the kind of a null value
    String,
    Int32,
    Int64,
    Double,      // dates travel as OLE Automation day counts
    Boolean,
    Table,       // forward-only table reader
    DataPacket,  // dataset packet assigned whole to a client dataset
    Stream,      // bytes with a stated length, sent in the frames after the envelope
    JsonArray,
    Record,      // marshalled record object
    Callback,
    Object,      // any record object
};

std::string_view kindName(Kind kind);

struct Null {
    bool operator==(const Null&) const = default;
};
struct DataPacket {
    Table table;
    bool operator==(const DataPacket&) const = default;
};
struct Stream {
    std::string bytes;
    bool operator==(const Stream&) const = default;
};
// A record object in its marshalled form: "<unit>.<Class>" and its fields in declared order.
struct Record {
    std::string type;
    boost::json::object fields;
    bool operator==(const Record&) const = default;
};

class Value {
public:
    using Storage = std::variant<Null, std::string, std::int32_t, std::int64_t, double, bool, Table,
                                 DataPacket, Stream, boost::json::array, Record>;

    Value() = default;
    Value(Null) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(std::int32_t v) : v_(v) {}
    Value(std::int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(bool v) : v_(v) {}
    Value(Table v) : v_(std::move(v)) {}
    Value(DataPacket v) : v_(std::move(v)) {}
    Value(Stream v) : v_(std::move(v)) {}
    Value(boost::json::array v) : v_(std::move(v)) {}
    Value(Record v) : v_(std::move(v)) {}

    Kind kind() const;
    bool isNull() const { return std::holds_alternative<Null>(v_); }

    // Typed access; throws ProtocolError naming the expected and actual kinds.
    const std::string& asString() const;
    std::int32_t asInt32() const;
    std::int64_t asInt64() const;
    double asDouble() const;
    bool asBoolean() const;
    const Table& asTable() const;
    const Table& asDataPacket() const;
    const Stream& asStream() const;
    const boost::json::array& asJsonArray() const;
    const Record& asRecord() const;  // a null value is an error here; check isNull() first

    Table takeTable();    // table or data packet, moved out
    Stream takeStream();  // the stream's bytes, moved out

    const Storage& storage() const { return v_; }
    bool operator==(const Value&) const = default;

private:
    Storage v_;
};

} // namespace durnak::protocol
