#include <gtest/gtest.h>

#include <limits>

#include "durnak/protocol/error.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/oledate.hpp"
#include "durnak/protocol/records.hpp"
#include "integration.hpp"

namespace durnak::testing {
namespace {

using protocol::FieldType;
using protocol::Value;

class CallsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = new ServerProcess(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    static ServerProcess* server;
};
ServerProcess* CallsTest::server = nullptr;

TEST_F(CallsTest, EchoAndReverseString)
{
    struct Case {
        std::string method;
        std::string input;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"EchoString", "", ""},
        {"EchoString", "Şişli'de ığdır çiçeği ÖÜĞİ", "Şişli'de ığdır çiçeği ÖÜĞİ"},
        {"EchoString", std::string("a\0b\"\\\n", 6), std::string("a\0b\"\\\n", 6)},
        {"ReverseString", "İstanbul", "lubnatsİ"},
        {"ReverseString", "abc", "cba"},
        {"ReverseString", "", ""},
        {"ReverseString", "kâr 😀", "😀 râk"},
    };
    TestClient client(server->port());
    client.hello();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method + " " + c.input);
        const auto values = client.call("TServerMethods1." + c.method, {Value(c.input)});
        ASSERT_EQ(values.size(), 2u);
        EXPECT_TRUE(values[0].isNull());
        EXPECT_EQ(values[1], Value(c.expected));
    }
}

TEST_F(CallsTest, HelloMayCarryTheSessionIdentity)
{
    TestClient client(server->port());
    client.hello({{"token", "abc123"}, {"user", "ayşe"}, {"password", "gizli"}, {"computerId", "WD-WX12"}});
    EXPECT_EQ(client.call("TServerMethods1.EchoString", {Value("x")}).back(), Value("x"));
}

protocol::Table everyFieldType()
{
    using protocol::Column;
    protocol::Table table({
        Column{"I16", FieldType::Int16},       Column{"I32", FieldType::Int32},
        Column{"I64", FieldType::Int64},       Column{"F64", FieldType::Float64},
        Column{"CUR", FieldType::Currency},    Column{"BCD", FieldType::Bcd},
        Column{"STR", FieldType::String, 20},  Column{"WSTR", FieldType::WideString, 40},
        Column{"DATE", FieldType::Date},       Column{"TIME", FieldType::Time},
        Column{"DT", FieldType::DateTime},     Column{"BOOL", FieldType::Boolean},
        Column{"BLOB", FieldType::Blob},
    });
    auto row = table.appendRow();
    table.setInt(row, 0, -32768);
    table.setInt(row, 1, std::numeric_limits<std::int32_t>::min());
    table.setInt(row, 2, std::numeric_limits<std::int64_t>::max());
    table.setReal(row, 3, 0.1);
    table.setInt(row, 4, protocol::parseDecimal("-922337203685477.5807"));
    table.setInt(row, 5, protocol::parseDecimal("0.0001"));
    table.setText(row, 6, "ABC-123");
    table.setText(row, 7, "Ağrı Dağı ÇÖŞÜĞİ");
    table.setReal(row, 8, protocol::oleDate(2024, 2, 29));
    table.setReal(row, 9, 0.75);
    table.setReal(row, 10, protocol::oleDate(1899, 12, 30) + 0.5);
    table.setFlag(row, 11, true);
    table.setText(row, 12, std::string("\x00\x01\xfe\xff", 4));
    table.appendRow();  // all nulls
    row = table.appendRow();
    table.setText(row, 7, "");  // empty is not null
    table.setFlag(row, 11, false);
    table.setText(row, 12, "");
    return table;
}

std::string binary(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    return bytes;
}

Value sessionRecord()
{
    protocol::TSonucBilgisi record;
    record.FCARINO = 1042;
    record.FCariAdi = "Güneş Oto Yedek Parça";
    record.FVarmi = true;
    record.FMusteriTipi = 3;
    return protocol::toValue(record);
}

TEST_F(CallsTest, TestEchoRoundTripsEveryValueKind)
{
    struct Case {
        std::string name;
        std::vector<Value> params;
    };
    const std::vector<Case> cases = {
        {"no parameters", {}},
        {"strings", {Value(""), Value("çğıöşü ÇĞİÖŞÜ"), Value(std::string("\0", 1))}},
        {"Int32 extremes",
         {Value(std::numeric_limits<std::int32_t>::min()), Value(std::int32_t{0}),
          Value(std::numeric_limits<std::int32_t>::max())}},
        {"Int64 extremes",
         {Value(std::numeric_limits<std::int64_t>::min()), Value(std::int64_t{0}),
          Value(std::numeric_limits<std::int64_t>::max())}},
        {"doubles",
         {Value(0.1), Value(-1.0e300), Value(5e-324), Value(-0.0), Value(protocol::oleDate(2025, 1, 31) + 0.25)}},
        {"booleans", {Value(true), Value(false)}},
        {"table with every field type and nulls", {Value(everyFieldType())}},
        {"empty table", {Value(protocol::Table({protocol::Column{"A", FieldType::Int32}}))}},
        {"data packet", {Value(protocol::DataPacket{everyFieldType()})}},
        {"empty stream", {Value(protocol::Stream{})}},
        {"1 MiB stream", {Value(protocol::Stream{binary(1024 * 1024)})}},
        {"JSON array", {Value(boost::json::array{1, "İ", nullptr, 2.5, boost::json::object{{"a", true}}})}},
        {"empty JSON array", {Value(boost::json::array{})}},
        {"record", {sessionRecord()}},
        {"null", {Value()}},
        {"everything at once",
         {Value("ş"), Value(std::int32_t{-1}), Value(std::int64_t{1} << 40), Value(2.5), Value(true),
          Value(everyFieldType()), Value(protocol::Stream{binary(10)}), Value(protocol::DataPacket{}), Value(),
          Value(protocol::Stream{binary(3)}), sessionRecord(), Value(boost::json::array{"x"})}},
    };
    TestClient client(server->port());
    client.hello();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto values = client.call("TServerMethods1.TestEcho", c.params);
        ASSERT_EQ(values.size(), c.params.size() + 1);
        for (std::size_t i = 0; i < c.params.size(); ++i) {
            SCOPED_TRACE("position " + std::to_string(i));
            EXPECT_EQ(values[i], c.params[i]);
        }
        EXPECT_EQ(values.back(), Value(static_cast<std::int32_t>(c.params.size())));
    }
}

TEST_F(CallsTest, PipelinedCallsAreAnsweredInOrder)
{
    TestClient client(server->port());
    client.hello();
    std::string batch;
    for (int i = 0; i < 20; ++i)
        batch += protocol::encodeCall("TServerMethods1.EchoString", {Value("istek " + std::to_string(i))});
    client.sendRaw(batch);
    for (int i = 0; i < 20; ++i) {
        auto answer = client.expect(protocol::op::Result);
        EXPECT_EQ(protocol::decodeResult(std::move(answer)).back(), Value("istek " + std::to_string(i)));
    }
}

TEST_F(CallsTest, ErrorsAreAnsweredAndTheConnectionGoesOn)
{
    TestClient client(server->port());
    client.hello();
    EXPECT_THROW(client.call("TServerMethods1.EchoString", {Value(std::int32_t{1})}), protocol::ServerError);
    try {
        client.call("TServerMethods1.DepartmanlariGetir", {});
        ADD_FAILURE() << "a method without a handler answered";
    } catch (const protocol::ServerError& e) {
        EXPECT_EQ(std::string(e.what()), "Bu işlem sunucuda tanımlı değil: DepartmanlariGetir");
    }
    EXPECT_EQ(client.call("TServerMethods1.ReverseString", {Value("ab")}).back(), Value("ba"));
}

TEST(Calls, TestMethodsAreOffOutsideTests)
{
    ServerOptions options;
    options.testMethods = false;
    ServerProcess server(options);
    TestClient client(server.port());
    client.hello();
    try {
        client.call("TServerMethods1.TestEcho", {Value("x")});
        ADD_FAILURE() << "TestEcho answered without --test-methods";
    } catch (const protocol::ServerError& e) {
        EXPECT_NE(std::string(e.what()).find("Sunucuda böyle bir işlem yok"), std::string::npos) << e.what();
    }
    EXPECT_EQ(client.call("TServerMethods1.EchoString", {Value("x")}).back(), Value("x"));
}

} // namespace
} // namespace durnak::testing
