#include <gtest/gtest.h>

#include <filesystem>

#include <soci/soci.h>

#include "dispatch/dispatcher.hpp"
#include "durnak/protocol/error.hpp"
#include "methods/methods.hpp"
#include "net/push_hub.hpp"
#include "store/migrations.hpp"
#include "store/store.hpp"

namespace durnak::server {
namespace {

using protocol::Value;

std::string failureText(const Dispatcher& dispatcher, std::string command, std::vector<Value> params)
{
    protocol::CallRequest request{std::move(command), std::move(params)};
    try {
        dispatcher.call(request, ConnectionInfo{});
    } catch (const CallFailed& e) {
        return e.what();
    }
    return "(no error)";
}

protocol::Envelope decodeFrame(const std::string& frame)
{
    protocol::MessageReader reader;
    reader.feed(frame);
    auto message = reader.next();
    if (!message) throw std::runtime_error("incomplete frame");
    return std::move(*message);
}

class DispatcherTest : public ::testing::Test {
protected:
    DispatcherTest()
    {
        registerGeneralMethods(registry);
        registry.add("KayanYaziGetir", [](CallContext&, std::vector<Value>&) -> std::vector<Value> {
            throw std::runtime_error("Kayan yazı bulunamadı.");
        });
        registry.add("AcilisReklamAdet", [](CallContext&, std::vector<Value>&) -> std::vector<Value> { throw 42; });
        // Declared Int32, answers a string: a server bug the client must not receive.
        registry.add("SepetSayisi", [](CallContext& call, std::vector<Value>&) { return call.reply("yedi"); });
        registry.add("ResimVer5", [](CallContext& call, std::vector<Value>& params) {
            std::string bytes(static_cast<std::size_t>(params.at(0).asInt32()), '\x7f');
            const auto size = static_cast<std::int64_t>(bytes.size());
            return call.reply(protocol::Stream{std::move(bytes)}, {{1, size}});
        });
    }

    MethodRegistry registry;
    Dispatcher dispatcher{registry, nullptr, nullptr};
};

TEST_F(DispatcherTest, AnswersOutValuesAtTheirPositionsAndTheResultLast)
{
    protocol::CallRequest request{"TServerMethods1.ResimVer5", {Value(std::int32_t{5}), Value()}};
    const auto values = dispatcher.call(request, ConnectionInfo{});
    ASSERT_EQ(values.size(), 3u);
    EXPECT_TRUE(values[0].isNull());
    EXPECT_EQ(values[1], Value(std::int64_t{5}));
    EXPECT_EQ(values[2], Value(protocol::Stream{std::string(5, '\x7f')}));
}

TEST_F(DispatcherTest, RefusedCallsGetTheUsersText)
{
    struct Case {
        const char* name;
        std::string command;
        std::vector<Value> params;
        std::string expected;  // part of the text
    };
    const std::vector<Case> cases = {
        {"unknown method", "TServerMethods1.Yok", {}, "Sunucuda böyle bir işlem yok: TServerMethods1.Yok"},
        {"another class", "TServerMethods2.EchoString", {Value("a")}, "Sunucuda böyle bir işlem yok"},
        {"no method name", "TServerMethods1.", {}, "Sunucuda böyle bir işlem yok"},
        {"catalogue method without handler", "TServerMethods1.BannerResimVer", {Value()},
         "Bu işlem sunucuda tanımlı değil: BannerResimVer"},
        {"diagnostic not registered", "TServerMethods1.TestEcho", {}, "Sunucuda böyle bir işlem yok"},
        {"too few parameters", "TServerMethods1.EchoString", {}, "EchoString: 1 parametre bekleniyordu, 0 geldi"},
        {"too many parameters", "TServerMethods1.EchoString", {Value("a"), Value("b")},
         "EchoString: 1 parametre bekleniyordu, 2 geldi"},
        {"wrong kind", "TServerMethods1.ReverseString", {Value(std::int32_t{1})},
         "ReverseString: Value parametresi string olmalı"},
        {"out position not null", "TServerMethods1.ResimVer5", {Value(std::int32_t{1}), Value(std::int64_t{0})},
         "ResimVer5: çıkış parametresi boy boş gönderilmeli"},
        {"handler error", "TServerMethods1.KayanYaziGetir", {}, "Kayan yazı bulunamadı."},
        {"non-standard exception", "TServerMethods1.AcilisReklamAdet", {},
         "Sunucuda beklenmeyen bir hata oluştu: AcilisReklamAdet"},
        {"answer of the wrong kind", "TServerMethods1.SepetSayisi", {Value()},
         "Sunucu SepetSayisi için geçersiz bir cevap üretti."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto text = failureText(dispatcher, c.command, c.params);
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    }
}

TEST_F(DispatcherTest, ExecuteTurnsEveryFailureIntoAnErrorEnvelope)
{
    struct Case {
        const char* name;
        boost::json::object call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"no command", {{"op", "call"}, {"params", boost::json::array{}}}, "Geçersiz çağrı"},
        {"params not a list", {{"op", "call"}, {"command", "TServerMethods1.EchoString"}, {"params", 1}},
         "Geçersiz çağrı"},
        {"unknown value kind", {{"op", "call"}, {"command", "TServerMethods1.EchoString"},
                                {"params", boost::json::array{boost::json::object{{"text", "a"}}}}},
         "Geçersiz çağrı"},
        {"handler error", {{"op", "call"}, {"command", "TServerMethods1.KayanYaziGetir"}, {"params", boost::json::array{}}},
         "Kayan yazı bulunamadı."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto answer = decodeFrame(dispatcher.execute(protocol::Envelope{c.call, {}}, ConnectionInfo{}));
        ASSERT_EQ(answer.op(), protocol::op::Error);
        EXPECT_NE(std::string(answer.stringField("message")).find(c.expected), std::string::npos)
            << answer.stringField("message");
    }

    const auto echo = decodeFrame(
        dispatcher.execute(protocol::Envelope{boost::json::object{{"op", "call"},
                                                                  {"command", "TServerMethods1.ReverseString"},
                                                                  {"params", boost::json::array{boost::json::object{
                                                                                 {"string", "Iğdır"}}}}},
                                              {}},
                           ConnectionInfo{}));
    EXPECT_EQ(protocol::decodeResult(echo), (std::vector<Value>{Value(), Value("rıdğI")}));
}

TEST(MethodRegistry, RefusesNamesThatWouldBypassTheCatalogue)
{
    MethodRegistry registry;
    auto handler = [](CallContext& call, std::vector<Value>&) { return call.reply(); };
    EXPECT_THROW(registry.add("Yok", handler), std::logic_error);
    registry.add("CikisGonder", handler);
    EXPECT_THROW(registry.add("CikisGonder", handler), std::logic_error);
    EXPECT_THROW(registry.addDiagnostic("EchoString", handler), std::logic_error);
    EXPECT_THROW(registry.add("SepetVer", nullptr), std::logic_error);
    registry.addDiagnostic("TestSomething", handler);
    EXPECT_EQ(registry.size(), 2u);
}

TEST(CallContext, DatabaseConnectionGoesBackToThePoolAfterEveryCall)
{
    const auto path = std::filesystem::path(::testing::TempDir()) / "durnak-dispatch-test.db";
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
    {
        Store store({path.string(), 1});
        {
            soci::session sql(store.pool());
            applyMigrations(sql, schemaMigrations());
        }
        MethodRegistry registry;
        registry.add("KayanYaziGetir", [](CallContext& call, std::vector<Value>&) {
            const std::string name = "kayan_yazi";
            std::string text;
            soci::indicator found = soci::i_null;
            call.db() << "SELECT value FROM settings WHERE name = :name", soci::use(name), soci::into(text, found);
            if (found != soci::i_ok) {
                text = "Hoş geldiniz";
                call.db() << "INSERT INTO settings (name, value) VALUES (:name, :value)", soci::use(name),
                    soci::use(text);
            }
            return call.reply(text);
        });
        PushHub hub;
        Dispatcher dispatcher(registry, &store, &hub);
        // One pooled connection: the second call only gets it if the first gave it back.
        for (int i = 0; i < 2; ++i) {
            protocol::CallRequest request{"TServerMethods1.KayanYaziGetir", {}};
            EXPECT_EQ(dispatcher.call(request, ConnectionInfo{}).back(), Value("Hoş geldiniz"));
            std::size_t slot = 0;
            ASSERT_TRUE(store.pool().try_lease(slot, 1000));
            store.pool().give_back(slot);
        }
    }
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
}

} // namespace
} // namespace durnak::server
