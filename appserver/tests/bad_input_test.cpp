#include <gtest/gtest.h>

#include <thread>

#include "durnak/protocol/frame.hpp"
#include "integration.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

std::string frame(std::string_view payload)
{
    std::string out;
    protocol::appendFrame(out, payload);
    return out;
}

std::string header(std::uint32_t length)
{
    const char bytes[4] = {static_cast<char>(length >> 24), static_cast<char>(length >> 16),
                           static_cast<char>(length >> 8), static_cast<char>(length)};
    return std::string(bytes, 4);
}

const std::string kEchoCall = R"({"op":"call","command":"TServerMethods1.EchoString","params":[{"string":"a"}]})";

TEST(BadInput, EachGetsAnErrorTextAndTheServerServesOthers)
{
    struct Case {
        const char* name;
        bool helloFirst;
        std::string bytes;
        bool halfClose;        // end our side after the bytes, as a peer that gives up would
        std::string expected;  // part of the error text
        bool closes;           // the server ends the connection (else it answers the next call)
    };
    const std::vector<Case> cases = {
        {"truncated frame", true, header(100) + "{\"op\":\"ca", true, "bir mesajın ortasında kapandı", true},
        {"truncated header", true, std::string("\0\0", 2), true, "bir mesajın ortasında kapandı", true},
        {"length over the limit", true, header(protocol::kDefaultFrameLimit + 1) + "{}", false,
         "Çerçeve boyu sınırı aşıyor", true},
        {"largest length", false, header(0xFFFFFFFFu), false, "Çerçeve boyu sınırı aşıyor", true},
        {"malformed JSON", true, frame("{\"op\":\"call\","), false, "Bozuk JSON", true},
        {"not UTF-8", true, frame("{\"op\":\"\xff\"}"), false, "Bozuk JSON", true},
        {"JSON array", true, frame("[1,2,3]"), false, "JSON nesnesi olmalı", true},
        {"JSON string", false, frame("\"hello\""), false, "JSON nesnesi olmalı", true},
        {"empty frame", true, frame(""), false, "Bozuk JSON", true},
        {"first frame not hello", false, frame(kEchoCall), false, "ilk mesajı 'hello' olmalı", true},
        {"first frame without op", false, frame(R"({"protocol":1})"), false, "ilk mesajı 'hello' olmalı", true},
        {"hello without version", false, frame(R"({"op":"hello"})"), false, "protocol", true},
        {"unsupported version", false, frame(R"({"op":"hello","protocol":2})"), false,
         "Desteklenmeyen protokol sürümü: 2", true},
        {"unknown op", true, frame(R"({"op":"dance"})"), false, "Beklenmeyen mesaj: 'dance'", true},
        {"second hello", true, frame(R"({"op":"hello","protocol":1})"), false, "Beklenmeyen mesaj: 'hello'", true},
        {"register without channel", true, frame(R"({"op":"register"})"), false, "channel", true},
        {"bad attachment count", true, frame(R"({"op":"call","attachments":-1})"), false, "ek çerçeve", true},
        {"unknown method", true, frame(R"({"op":"call","command":"TServerMethods1.Uydurma","params":[]})"), false,
         "Sunucuda böyle bir işlem yok: TServerMethods1.Uydurma", false},
        {"wrong parameter kind", true,
         frame(R"({"op":"call","command":"TServerMethods1.EchoString","params":[{"int32":5}]})"), false,
         "EchoString: Value parametresi string olmalı, int32 geldi", false},
        {"too many parameters", true,
         frame(R"({"op":"call","command":"TServerMethods1.EchoString","params":[{"string":"a"},{"string":"b"}]})"),
         false, "EchoString: 1 parametre bekleniyordu, 2 geldi", false},
        {"too few parameters", true, frame(R"({"op":"call","command":"TServerMethods1.ReverseString","params":[]})"),
         false, "ReverseString: 1 parametre bekleniyordu, 0 geldi", false},
        {"call without command", true, frame(R"({"op":"call","params":[]})"), false, "Geçersiz çağrı", false},
        {"malformed value", true,
         frame(R"({"op":"call","command":"TServerMethods1.EchoString","params":[{"int32":"x"}]})"), false,
         "Geçersiz çağrı", false},
        {"stream longer than its frame", true,
         frame(R"({"op":"call","command":"TServerMethods1.TestEcho","params":[{"stream":{"length":9,"frame":0}}],)"
               R"("attachments":1})") +
             frame("abc"),
         false, "Geçersiz çağrı", false},
        {"stream without its frame", true,
         frame(R"({"op":"call","command":"TServerMethods1.TestEcho","params":[{"stream":{"length":0,"frame":3}}]})"),
         false, "Geçersiz çağrı", false},
    };

    ServerProcess server;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            TestClient client(server.port());
            if (c.helloFirst) client.hello();
            client.sendRaw(c.bytes);
            if (c.halfClose) client.shutdownSend();
            auto answer = client.receive();
            ASSERT_TRUE(answer.has_value()) << "closed without an error text";
            ASSERT_EQ(answer->op(), protocol::op::Error);
            EXPECT_NE(errorText(*answer).find(c.expected), std::string::npos) << errorText(*answer);
            if (c.closes) {
                EXPECT_TRUE(client.waitForClose());
            } else {
                EXPECT_EQ(client.call("TServerMethods1.EchoString", {Value("sonra")}).back(), Value("sonra"));
            }
        }
        expectServerAnswers(server.port());
    }
}

TEST(BadInput, SilentAndStalledPeersAreTimedOut)
{
    struct Case {
        const char* name;
        bool helloFirst;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"says nothing", false, ""},
        {"silent after hello", true, ""},
        {"stops inside a header", true, std::string("\0\0", 2)},
        {"stops inside a frame", true, header(50) + "{\"op\":"},
    };
    ConfigFile config("idle_timeout = 1\n");
    ServerProcess server(withArgs({"--config", config.path()}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestClient client(server.port());
        if (c.helloFirst) client.hello();
        if (!c.bytes.empty()) client.sendRaw(c.bytes);
        auto answer = client.receive();
        ASSERT_TRUE(answer.has_value());
        EXPECT_NE(errorText(*answer).find("zaman aşımı"), std::string::npos) << errorText(*answer);
        EXPECT_TRUE(client.waitForClose());
    }
    expectServerAnswers(server.port());
}

TEST(BadInput, ConnectionsBeyondTheLimitAreToldTheServerIsBusy)
{
    ConfigFile config("max_connections = 2\n");
    ServerProcess server(withArgs({"--config", config.path()}));
    auto first = std::make_unique<TestClient>(server.port());
    first->hello();
    TestClient second(server.port());
    second.hello();

    TestClient third(server.port());
    third.send({{"op", "hello"}, {"protocol", 1}});
    auto answer = third.receive();
    ASSERT_TRUE(answer.has_value());
    EXPECT_NE(errorText(*answer).find("çok yoğun"), std::string::npos) << errorText(*answer);
    EXPECT_TRUE(third.waitForClose());

    // A slot frees up once the server has seen a connection end.
    first.reset();
    bool served = false;
    for (int attempt = 0; attempt < 200 && !served; ++attempt) {
        TestClient next(server.port());
        next.send({{"op", "hello"}, {"protocol", 1}});
        auto reply = next.receive();
        served = reply && reply->op() == protocol::op::Welcome;
        if (!served) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(served);
    EXPECT_EQ(second.call("TServerMethods1.EchoString", {Value("b")}).back(), Value("b"));
}

} // namespace
} // namespace durnak::testing
