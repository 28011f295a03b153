#include "durnak/protocol/value.hpp"

#include "durnak/protocol/error.hpp"

namespace durnak::protocol {

std::string_view kindName(Kind kind)
{
    switch (kind) {
    case Kind::None: return "null";
    case Kind::String: return "string";
    case Kind::Int32: return "int32";
    case Kind::Int64: return "int64";
    case Kind::Double: return "double";
    case Kind::Boolean: return "boolean";
    case Kind::Table: return "table";
    case Kind::DataPacket: return "datapacket";
    case Kind::Stream: return "stream";
    case Kind::JsonArray: return "json";
    case Kind::Record: return "record";
    case Kind::Callback: return "callback";
    case Kind::Object: return "object";
    }
    return "?";
}

Kind Value::kind() const
{
    static constexpr Kind kinds[] = {Kind::None,       Kind::String, Kind::Int32,      Kind::Int64,
                                     Kind::Double,     Kind::Boolean, Kind::Table,     Kind::DataPacket,
                                     Kind::Stream,     Kind::JsonArray, Kind::Record};
    return kinds[v_.index()];
}

namespace {
template <class T>
const T& expect(const Value::Storage& v, Kind wanted, Kind actual)
{
    if (const T* p = std::get_if<T>(&v)) return *p;
    throw ProtocolError("Beklenen değer türü " + std::string(kindName(wanted)) + ", gelen " +
                        std::string(kindName(actual)));
}
} // namespace

const std::string& Value::asString() const { return expect<std::string>(v_, Kind::String, kind()); }
std::int32_t Value::asInt32() const { return expect<std::int32_t>(v_, Kind::Int32, kind()); }
std::int64_t Value::asInt64() const { return expect<std::int64_t>(v_, Kind::Int64, kind()); }
double Value::asDouble() const { return expect<double>(v_, Kind::Double, kind()); }
bool Value::asBoolean() const { return expect<bool>(v_, Kind::Boolean, kind()); }
const Table& Value::asTable() const { return expect<Table>(v_, Kind::Table, kind()); }
const Table& Value::asDataPacket() const { return expect<DataPacket>(v_, Kind::DataPacket, kind()).table; }
const Stream& Value::asStream() const { return expect<Stream>(v_, Kind::Stream, kind()); }
const boost::json::array& Value::asJsonArray() const
{
    return expect<boost::json::array>(v_, Kind::JsonArray, kind());
}
const Record& Value::asRecord() const { return expect<Record>(v_, Kind::Record, kind()); }

Table Value::takeTable()
{
    if (auto* t = std::get_if<Table>(&v_)) return std::move(*t);
    if (auto* p = std::get_if<DataPacket>(&v_)) return std::move(p->table);
    throw ProtocolError("Beklenen değer türü table, gelen " + std::string(kindName(kind())));
}

Stream Value::takeStream()
{
    if (auto* s = std::get_if<Stream>(&v_)) return std::move(*s);
    throw ProtocolError("Beklenen değer türü stream, gelen " + std::string(kindName(kind())));
}

} // namespace durnak::protocol
