#include "durnak/protocol/envelope.hpp"

#include <cmath>
#include <limits>

#include <boost/json.hpp>

#include "durnak/protocol/error.hpp"
#include "json_writer.hpp"

namespace json = boost::json;

namespace durnak::protocol {

namespace {

constexpr std::string_view kHex = "0123456789abcdef";

std::string toHex(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string fromHex(std::string_view hex, std::string_view column)
{
    if (hex.size() % 2 != 0) throw ProtocolError("Kolon " + std::string(column) + ": geçersiz onaltılık veri");
    std::string out(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int hi = hexDigit(hex[2 * i]);
        const int lo = hexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) throw ProtocolError("Kolon " + std::string(column) + ": geçersiz onaltılık veri");
        out[i] = static_cast<char>(hi * 16 + lo);
    }
    return out;
}

double finite(double v)
{
    if (!std::isfinite(v)) throw ProtocolError("Sayı değeri sonlu olmalı");
    return v;
}

// How a column's cells are written and read; decided once per column.
enum class CellReader : std::uint8_t { Int16, Int32, Int64, Decimal, Real, Flag, Text, Blob };

CellReader cellReaderFor(FieldType type)
{
    switch (type) {
    case FieldType::Int16: return CellReader::Int16;
    case FieldType::Int32: return CellReader::Int32;
    case FieldType::Int64: return CellReader::Int64;
    case FieldType::Currency:
    case FieldType::Bcd: return CellReader::Decimal;
    case FieldType::Blob: return CellReader::Blob;
    case FieldType::Boolean: return CellReader::Flag;
    case FieldType::String:
    case FieldType::WideString: return CellReader::Text;
    default: return CellReader::Real;
    }
}

void writeTable(std::string& out, const Table& t)
{
    out.append("{\"columns\":[");
    for (std::size_t c = 0; c < t.columnCount(); ++c) {
        const Column& col = t.columns()[c];
        if (c) out.push_back(',');
        out.append("{\"name\":");
        detail::writeJsonString(out, col.name);
        out.append(",\"type\":\"");
        out.append(fieldTypeName(col.type));
        out.append("\",\"size\":");
        detail::writeJsonInt(out, col.size);
        out.push_back('}');
    }
    out.append("],\"rows\":[");
    std::vector<Table::ColumnView> views;
    std::vector<CellReader> kinds;
    for (std::size_t c = 0; c < t.columnCount(); ++c) {
        views.push_back(t.columnView(c));
        kinds.push_back(cellReaderFor(t.columns()[c].type));
    }
    for (std::size_t r = 0; r < t.rowCount(); ++r) {
        out.append(r ? ",[" : "[");
        for (std::size_t c = 0; c < views.size(); ++c) {
            if (c) out.push_back(',');
            const Table::ColumnView& v = views[c];
            if (v.isNull(r)) {
                out.append("null");
                continue;
            }
            switch (kinds[c]) {
            case CellReader::Int16:
            case CellReader::Int32:
            case CellReader::Int64: detail::writeJsonInt(out, v.ints[r]); break;
            case CellReader::Decimal:
                out.push_back('"');
                out.append(formatDecimal(v.ints[r]));
                out.push_back('"');
                break;
            case CellReader::Real: detail::writeJsonDouble(out, v.reals[r]); break;
            case CellReader::Flag: out.append(v.flags[r] ? "true" : "false"); break;
            case CellReader::Text: detail::writeJsonString(out, v.text(r)); break;
            case CellReader::Blob: detail::writeJsonString(out, toHex(v.text(r))); break;
            }
        }
        out.push_back(']');
    }
    out.append("]}");
}

// The document form of a table, for callers that want one; messages write tables as text.
json::object tableToJson(const Table& t)
{
    std::string text;
    writeTable(text, t);
    return json::parse(text).as_object();
}

[[noreturn]] void badCell(const Column& c, std::size_t row)
{
    throw ProtocolError("Tablo kolonu " + c.name + " (" + std::string(fieldTypeName(c.type)) + "), satır " +
                        std::to_string(row + 1) + ": uygun olmayan değer");
}

void cellFromJson(Table& t, std::size_t row, std::size_t col, CellReader reader, const json::value& v)
{
    if (v.is_null()) return;  // rows start as nulls
    const Column& c = t.columns()[col];
    switch (reader) {
    case CellReader::Int16:
    case CellReader::Int32:
    case CellReader::Int64: {
        std::int64_t n;
        if (v.is_int64()) n = v.get_int64();
        else if (v.is_uint64() && v.get_uint64() <= std::uint64_t(std::numeric_limits<std::int64_t>::max()))
            n = static_cast<std::int64_t>(v.get_uint64());
        else badCell(c, row);
        if ((reader == CellReader::Int16 && (n < -32768 || n > 32767)) ||
            (reader == CellReader::Int32 &&
             (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())))
            badCell(c, row);
        t.putInt(col, n);
        return;
    }
    case CellReader::Decimal:
        if (!v.is_string()) badCell(c, row);
        t.putInt(col, parseDecimal(v.get_string()));
        return;
    case CellReader::Real:
        if (v.is_double()) t.putReal(col, v.get_double());
        else if (v.is_number()) t.putReal(col, v.to_number<double>());
        else badCell(c, row);
        return;
    case CellReader::Flag:
        if (!v.is_bool()) badCell(c, row);
        t.putFlag(col, v.get_bool());
        return;
    case CellReader::Text:
        if (!v.is_string()) badCell(c, row);
        t.putText(col, v.get_string());
        return;
    case CellReader::Blob:
        if (!v.is_string()) badCell(c, row);
        t.putText(col, fromHex(v.get_string(), c.name));
        return;
    }
}

Table tableFromJson(const json::value& v)
{
    if (!v.is_object()) throw ProtocolError("Tablo nesne olmalı");
    const auto& o = v.get_object();
    const auto* columns = o.if_contains("columns");
    const auto* rows = o.if_contains("rows");
    if (!columns || !columns->is_array() || !rows || !rows->is_array())
        throw ProtocolError("Tablo columns ve rows dizilerini taşımalı");
    std::vector<Column> defs;
    defs.reserve(columns->get_array().size());
    for (const auto& cv : columns->get_array()) {
        const auto* co = cv.if_object();
        const json::value* name = co ? co->if_contains("name") : nullptr;
        const json::value* type = co ? co->if_contains("type") : nullptr;
        if (!name || !name->is_string() || !type || !type->is_string())
            throw ProtocolError("Tablo kolonu name ve type taşımalı");
        const auto ft = fieldTypeFromName(type->get_string());
        if (!ft) throw ProtocolError("Bilinmeyen kolon türü: " + std::string(type->get_string()));
        int size = 0;
        if (const auto* s = co->if_contains("size")) {
            if (!s->is_int64() || s->get_int64() < 0 || s->get_int64() > std::numeric_limits<int>::max())
                throw ProtocolError("Kolon boyu geçersiz: " + std::string(name->get_string()));
            size = static_cast<int>(s->get_int64());
        }
        defs.push_back(Column{std::string(name->get_string()), *ft, size});
    }
    std::vector<CellReader> readers;
    readers.reserve(defs.size());
    for (const auto& d : defs) readers.push_back(cellReaderFor(d.type));
    Table t(std::move(defs));
    const auto& rowArray = rows->get_array();
    t.reserve(rowArray.size());
    // Size each text column's buffer once instead of growing it row by row.
    std::vector<std::size_t> textBytes(t.columnCount(), 0);
    for (const auto& rv : rowArray)
        if (const auto* row = rv.if_array(); row && row->size() == t.columnCount())
            for (std::size_t c = 0; c < row->size(); ++c)
                if (readers[c] == CellReader::Text && (*row)[c].is_string())
                    textBytes[c] += (*row)[c].get_string().size();
    t.reserveText(textBytes);
    for (const auto& rv : rowArray) {
        const auto* row = rv.if_array();
        if (!row || row->size() != t.columnCount())
            throw ProtocolError("Tablo satırı " + std::to_string(t.rowCount() + 1) + " kolon sayısına uymuyor");
        const std::size_t r = t.appendRow();
        for (std::size_t c = 0; c < row->size(); ++c) cellFromJson(t, r, c, readers[c], (*row)[c]);
    }
    return t;
}

json::object recordToJson(const Record& r)
{
    return json::object{{"type", r.type}, {"id", 1}, {"fields", r.fields}};
}

Record recordFromJson(const json::value& v)
{
    const auto* o = v.if_object();
    const json::value* type = o ? o->if_contains("type") : nullptr;
    const json::value* fields = o ? o->if_contains("fields") : nullptr;
    if (!type || !type->is_string() || !fields || !fields->is_object())
        throw ProtocolError("Kayıt nesnesi type ve fields taşımalı");
    return Record{std::string(type->get_string()), fields->get_object()};
}

std::int32_t int32FromJson(const json::value& v)
{
    if (!v.is_int64() || v.get_int64() < std::numeric_limits<std::int32_t>::min() ||
        v.get_int64() > std::numeric_limits<std::int32_t>::max())
        throw ProtocolError("int32 değeri geçersiz");
    return static_cast<std::int32_t>(v.get_int64());
}

} // namespace

json::value valueToJson(const Value& value, std::vector<std::string>& attachments)
{
    return std::visit(
        [&](const auto& v) -> json::value {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, Null>) return nullptr;
            else if constexpr (std::is_same_v<V, std::string>) return json::object{{"string", v}};
            else if constexpr (std::is_same_v<V, std::int32_t>) return json::object{{"int32", v}};
            else if constexpr (std::is_same_v<V, std::int64_t>) return json::object{{"int64", v}};
            else if constexpr (std::is_same_v<V, double>) return json::object{{"double", finite(v)}};
            else if constexpr (std::is_same_v<V, bool>) return json::object{{"boolean", v}};
            else if constexpr (std::is_same_v<V, Table>) return json::object{{"table", tableToJson(v)}};
            else if constexpr (std::is_same_v<V, DataPacket>)
                return json::object{{"datapacket", tableToJson(v.table)}};
            else if constexpr (std::is_same_v<V, Stream>) {
                if (attachments.size() >= kMaxAttachments) throw ProtocolError("Bir mesajda çok fazla akış var");
                const auto index = attachments.size();
                attachments.push_back(v.bytes);
                return json::object{
                    {"stream", json::object{{"length", static_cast<std::int64_t>(v.bytes.size())},
                                            {"frame", static_cast<std::int64_t>(index)}}}};
            } else if constexpr (std::is_same_v<V, json::array>) return json::object{{"json", v}};
            else return json::object{{"record", recordToJson(v)}};
        },
        value.storage());
}

Value valueFromJson(const json::value& j, std::vector<std::string>& attachments)
{
    if (j.is_null()) return Null{};
    const auto* o = j.if_object();
    if (!o || o->size() != 1) throw ProtocolError("Değer tek anahtarlı bir nesne ya da null olmalı");
    const auto& [key, v] = *o->begin();
    if (key == "string") {
        if (!v.is_string()) throw ProtocolError("string değeri geçersiz");
        return std::string(v.get_string());
    }
    if (key == "int32") return int32FromJson(v);
    if (key == "int64") {
        if (!v.is_int64()) throw ProtocolError("int64 değeri geçersiz");
        return v.get_int64();
    }
    if (key == "double") {
        if (!v.is_number()) throw ProtocolError("double değeri geçersiz");
        return v.to_number<double>();
    }
    if (key == "boolean") {
        if (!v.is_bool()) throw ProtocolError("boolean değeri geçersiz");
        return v.get_bool();
    }
    if (key == "table") return tableFromJson(v);
    if (key == "datapacket") return DataPacket{tableFromJson(v)};
    if (key == "json") {
        if (!v.is_array()) throw ProtocolError("json değeri dizi olmalı");
        return v.get_array();
    }
    if (key == "record") return recordFromJson(v);
    if (key == "stream") {
        const auto* s = v.if_object();
        const json::value* length = s ? s->if_contains("length") : nullptr;
        const json::value* frame = s ? s->if_contains("frame") : nullptr;
        if (!length || !length->is_int64() || !frame || !frame->is_int64())
            throw ProtocolError("stream değeri length ve frame taşımalı");
        const auto index = frame->get_int64();
        if (index < 0 || static_cast<std::uint64_t>(index) >= attachments.size())
            throw ProtocolError("stream değerinin çerçevesi yok");
        std::string& bytes = attachments[static_cast<std::size_t>(index)];
        if (static_cast<std::int64_t>(bytes.size()) != length->get_int64())
            throw ProtocolError("stream uzunluğu bildirilenden farklı");
        return Stream{std::move(bytes)};
    }
    throw ProtocolError("Bilinmeyen değer türü: " + std::string(key));
}

std::string_view Envelope::op() const { return optionalString("op"); }

std::string_view Envelope::stringField(std::string_view key) const
{
    const auto* v = json.if_contains(key);
    if (!v || !v->is_string()) throw ProtocolError("Mesaj alanı eksik ya da metin değil: " + std::string(key));
    return v->get_string();
}

std::string_view Envelope::optionalString(std::string_view key) const
{
    const auto* v = json.if_contains(key);
    return v && v->is_string() ? std::string_view(v->get_string()) : std::string_view();
}

std::int64_t Envelope::intField(std::string_view key) const
{
    const auto* v = json.if_contains(key);
    if (!v || !v->is_int64()) throw ProtocolError("Mesaj alanı eksik ya da sayı değil: " + std::string(key));
    return v->get_int64();
}

std::string encodeEnvelope(const json::object& envelope, const std::vector<std::string>& attachments)
{
    if (attachments.size() > kMaxAttachments) throw ProtocolError("Bir mesajda çok fazla akış var");
    std::string out;
    if (attachments.empty()) {
        appendFrame(out, json::serialize(envelope));
    } else {
        json::object withCount = envelope;
        withCount["attachments"] = static_cast<std::int64_t>(attachments.size());
        appendFrame(out, json::serialize(withCount));
    }
    for (const auto& a : attachments) appendFrame(out, a);
    return out;
}

namespace {

// Values are written as text directly; only the small parts go through the JSON document.
void writeValue(std::string& out, const Value& value, std::vector<std::string>& attachments)
{
    if (const auto* t = std::get_if<Table>(&value.storage())) {
        out.append("{\"table\":");
        writeTable(out, *t);
        out.push_back('}');
    } else if (const auto* p = std::get_if<DataPacket>(&value.storage())) {
        out.append("{\"datapacket\":");
        writeTable(out, p->table);
        out.push_back('}');
    } else {
        out.append(json::serialize(valueToJson(value, attachments)));
    }
}

// A generous guess of a table's JSON size, so the message buffer is allocated once.
std::size_t estimatedJsonSize(const Table& t)
{
    return t.memoryBytes() + t.rowCount() * t.columnCount() * 8 + 256;
}

std::string encodeValues(std::string_view head, const std::vector<Value>& values)
{
    std::size_t estimate = head.size() + 64;
    for (const auto& v : values) {
        if (const auto* t = std::get_if<Table>(&v.storage())) estimate += estimatedJsonSize(*t);
        else if (const auto* p = std::get_if<DataPacket>(&v.storage())) estimate += estimatedJsonSize(p->table);
    }
    // The envelope is written behind a header placeholder that gets its length at the end.
    std::string out;
    out.reserve(estimate);
    out.assign(kFrameHeaderSize, '\0');
    out.append(head);
    std::vector<std::string> attachments;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out.push_back(',');
        writeValue(out, values[i], attachments);
    }
    out.push_back(']');
    if (!attachments.empty()) {
        out.append(",\"attachments\":");
        detail::writeJsonInt(out, static_cast<std::int64_t>(attachments.size()));
    }
    out.push_back('}');
    const std::size_t length = out.size() - kFrameHeaderSize;
    if (length > 0xFFFFFFFFu) throw ProtocolError("Mesaj çok büyük");
    for (std::size_t i = 0; i < kFrameHeaderSize; ++i)
        out[i] = static_cast<char>(length >> (8 * (kFrameHeaderSize - 1 - i)));
    for (const auto& a : attachments) appendFrame(out, a);
    return out;
}

std::vector<Value> valuesFromEnvelope(Envelope& e, std::string_view key)
{
    const auto* list = e.json.if_contains(key);
    if (!list || !list->is_array()) throw ProtocolError("Mesaj alanı eksik ya da dizi değil: " + std::string(key));
    std::vector<Value> values;
    values.reserve(list->get_array().size());
    for (const auto& v : list->get_array()) values.push_back(valueFromJson(v, e.attachments));
    return values;
}
} // namespace

std::string encodeCall(std::string_view command, const std::vector<Value>& params)
{
    std::string head = "{\"op\":\"call\",\"command\":";
    detail::writeJsonString(head, command);
    head.append(",\"params\":[");
    return encodeValues(head, params);
}

std::string encodeResult(const std::vector<Value>& values)
{
    return encodeValues("{\"op\":\"result\",\"values\":[", values);
}

std::string encodeError(std::string_view message)
{
    return encodeEnvelope(json::object{{"op", op::Error}, {"message", message}});
}

CallRequest decodeCall(Envelope envelope)
{
    if (envelope.op() != op::Call) throw ProtocolError("Çağrı mesajı bekleniyordu");
    CallRequest request;
    request.command = std::string(envelope.stringField("command"));
    request.params = valuesFromEnvelope(envelope, "params");
    return request;
}

std::vector<Value> decodeResult(Envelope envelope)
{
    if (envelope.op() == op::Error) throw ServerError(std::string(envelope.stringField("message")));
    if (envelope.op() != op::Result) throw ProtocolError("Sonuç mesajı bekleniyordu");
    return valuesFromEnvelope(envelope, "values");
}

json::object parseEnvelopeJson(std::string_view payload)
{
    boost::system::error_code ec;
    json::value v = json::parse(payload, ec);
    if (ec) throw ProtocolError("Bozuk JSON mesajı: " + ec.message());
    if (!v.is_object()) throw ProtocolError("Mesaj bir JSON nesnesi olmalı");
    return std::move(v.get_object());
}

std::optional<Envelope> MessageReader::next()
{
    if (!pending_) {
        auto frame = frames_.next();
        if (!frame) return std::nullopt;
        // Constructed in place: assigning would deep-copy the document out of its arena.
        Envelope e{parseEnvelopeJson(*frame), {}};
        std::int64_t count = 0;
        if (const auto* a = e.json.if_contains("attachments")) {
            if (!a->is_int64() || a->get_int64() < 0 || a->get_int64() > std::int64_t(kMaxAttachments))
                throw ProtocolError("Mesajın ek çerçeve sayısı geçersiz");
            count = a->get_int64();
        }
        if (count == 0) return e;
        pending_ = std::move(e);
        attachmentsWanted_ = static_cast<std::size_t>(count);
        attachmentBytes_ = 0;
    }
    while (attachmentsWanted_ > 0) {
        auto frame = frames_.next();
        if (!frame) return std::nullopt;
        attachmentBytes_ += frame->size();
        if (attachmentBytes_ > frameLimit_) throw ProtocolError("Mesajın ekleri boyut sınırını aşıyor");
        pending_->attachments.push_back(std::move(*frame));
        --attachmentsWanted_;
    }
    std::optional<Envelope> done = std::move(pending_);
    pending_.reset();
    return done;
}

} // namespace durnak::protocol
