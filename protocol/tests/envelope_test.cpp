#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <boost/json.hpp>

#include "durnak/protocol/envelope.hpp"
#include "durnak/protocol/error.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"

using namespace durnak::protocol;
namespace json = boost::json;

namespace {

Table everyColumnType()
{
    Table t({{"I16", FieldType::Int16}, {"I32", FieldType::Int32}, {"I64", FieldType::Int64},
             {"F64", FieldType::Float64}, {"CUR", FieldType::Currency}, {"BCD", FieldType::Bcd},
             {"STR", FieldType::String, 20}, {"WSTR", FieldType::WideString, 100}, {"D", FieldType::Date},
             {"T", FieldType::Time}, {"DT", FieldType::DateTime}, {"B", FieldType::Boolean},
             {"BLOB", FieldType::Blob}});
    const auto r = t.appendRow();
    t.setInt(r, 0, -32768);
    t.setInt(r, 1, std::numeric_limits<std::int32_t>::max());
    t.setInt(r, 2, std::numeric_limits<std::int64_t>::min());
    t.setReal(r, 3, 0.1);
    t.setInt(r, 4, parseDecimal("1234.5"));
    t.setInt(r, 5, parseDecimal("-0.0001"));
    t.setText(r, 6, "ABC");
    t.setText(r, 7, "Ğİşçö \"tırnak\" \\ /");
    t.setReal(r, 8, 46000);
    t.setReal(r, 9, 0.75);
    t.setReal(r, 10, 46000.25);
    t.setFlag(r, 11, true);
    t.setText(r, 12, std::string("\0\x01\xff", 3));
    t.appendRow();  // a row of nulls
    return t;
}

// Encodes, splits the bytes again and decodes: what a peer sees.
std::vector<Value> roundTrip(const std::vector<Value>& values)
{
    MessageReader reader;
    reader.feed(encodeResult(values));
    auto envelope = reader.next();
    EXPECT_TRUE(envelope.has_value());
    EXPECT_TRUE(reader.idle());
    return decodeResult(std::move(*envelope));
}

} // namespace

TEST(Envelope, EveryValueKindSurvivesTheWire)
{
    json::array array{1, "iki", json::object{{"üç", 3}}};
    TAcilisEkran screen{3, "0aF0", "Başlık", "#YENİ#"};
    std::string binary(1 << 20, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7);

    const std::vector<Value> cases{
        Null{},
        std::string("İstanbul çğıöşü ÇĞİÖŞÜ"),
        std::string(),
        std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max(),
        std::numeric_limits<std::int64_t>::min(),
        std::numeric_limits<std::int64_t>::max(),
        0.1 + 0.2,
        -1e-300,
        true,
        false,
        everyColumnType(),
        DataPacket{everyColumnType()},
        Table({{"BOS", FieldType::Int32}}),
        Stream{},
        Stream{binary},
        Stream{"ikinci akış"},
        array,
        toValue(screen),
    };
    const auto back = roundTrip(cases);
    ASSERT_EQ(back.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i].kind(), cases[i].kind());
        EXPECT_EQ(back[i], cases[i]);
    }
    EXPECT_EQ(fromValue<TAcilisEkran>(back.back()), screen);
}

TEST(Envelope, StreamsTravelAsRawFramesAfterTheEnvelope)
{
    const std::string wire = encodeResult({Stream{"PDF-BYTES"}, std::int64_t{9}});
    // envelope frame, then the stream's bytes verbatim (no base64)
    FrameDecoder frames;
    frames.feed(wire);
    const auto envelope = json::parse(*frames.next()).as_object();
    EXPECT_EQ(envelope.at("attachments").as_int64(), 1);
    EXPECT_EQ(*frames.next(), "PDF-BYTES");
}

TEST(Envelope, CallsCarryCommandAndParameters)
{
    TSonucBilgisi session;
    session.FCARINO = 42;
    MessageReader reader;
    reader.feed(encodeCall("TServerMethods1.SepetHepsiniSil", {toValue(session)}));
    auto call = decodeCall(std::move(*reader.next()));
    EXPECT_EQ(call.command, "TServerMethods1.SepetHepsiniSil");
    ASSERT_EQ(call.params.size(), 1u);
    EXPECT_EQ(fromValue<TSonucBilgisi>(call.params[0]).FCARINO, 42);
}

TEST(Envelope, ErrorEnvelopeRaisesTheServerText)
{
    MessageReader reader;
    reader.feed(encodeError("Sepet bulunamadı"));
    try {
        decodeResult(std::move(*reader.next()));
        FAIL() << "no error raised";
    } catch (const ServerError& e) {
        EXPECT_STREQ(e.what(), "Sepet bulunamadı");
    }
}

TEST(Envelope, RejectsMalformedInput)
{
    struct Case {
        const char* name;
        std::string payload;
    };
    const Case cases[] = {
        {"not json", "{\"op\":"},
        {"array instead of object", "[1,2]"},
        {"bad attachment count", R"({"op":"result","attachments":-1})"},
        {"too many attachments", R"({"op":"result","attachments":1000})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageReader reader;
        std::string wire;
        appendFrame(wire, c.payload);
        reader.feed(wire);
        EXPECT_THROW(reader.next(), ProtocolError);
    }

    const Case badValues[] = {
        {"unknown kind", R"({"op":"result","values":[{"float":1}]})"},
        {"two keys", R"({"op":"result","values":[{"int32":1,"int64":2}]})"},
        {"int32 out of range", R"({"op":"result","values":[{"int32":4294967296}]})"},
        {"stream without frame", R"({"op":"result","values":[{"stream":{"length":3,"frame":0}}]})"},
        {"row too short", R"({"op":"result","values":[{"table":{"columns":[{"name":"A","type":"int32"}],"rows":[[]]}}]})"},
        {"text in int column", R"({"op":"result","values":[{"table":{"columns":[{"name":"A","type":"int32"}],"rows":[["1"]]}}]})"},
        {"int16 overflow", R"({"op":"result","values":[{"table":{"columns":[{"name":"A","type":"int16"}],"rows":[[40000]]}}]})"},
        {"float currency", R"({"op":"result","values":[{"table":{"columns":[{"name":"A","type":"currency"}],"rows":[[1.5]]}}]})"},
        {"odd blob", R"({"op":"result","values":[{"table":{"columns":[{"name":"A","type":"blob"}],"rows":[["abc"]]}}]})"},
        {"unknown column type", R"({"op":"result","values":[{"table":{"columns":[{"name":"A","type":"money"}],"rows":[]}}]})"},
        {"values not an array", R"({"op":"result","values":{}})"},
        {"neither result nor error", R"({"op":"welcome"})"},
    };
    for (const auto& c : badValues) {
        SCOPED_TRACE(c.name);
        MessageReader reader;
        std::string wire;
        appendFrame(wire, c.payload);
        reader.feed(wire);
        auto envelope = reader.next();
        ASSERT_TRUE(envelope);
        EXPECT_THROW(decodeResult(std::move(*envelope)), ProtocolError);
    }
}

TEST(Envelope, StreamLengthMustMatchItsFrame)
{
    std::string wire;
    appendFrame(wire, R"({"op":"result","attachments":1,"values":[{"stream":{"length":5,"frame":0}}]})");
    appendFrame(wire, "1234");
    MessageReader reader;
    reader.feed(wire);
    EXPECT_THROW(decodeResult(std::move(*reader.next())), ProtocolError);
}

TEST(Envelope, NonFiniteNumbersAreNotSent)
{
    EXPECT_THROW(encodeResult({std::nan("")}), ProtocolError);
    Table t({{"F", FieldType::Float64}});
    t.setReal(t.appendRow(), 0, std::numeric_limits<double>::infinity());
    EXPECT_THROW(encodeResult({t}), ProtocolError);
}
