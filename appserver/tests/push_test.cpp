#include <gtest/gtest.h>

#include <thread>

#include "durnak/protocol/error.hpp"
#include "integration.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

const boost::json::object kRegister{
    {"op", "register"}, {"channel", "DurnakOto"}, {"managerId", "DurnakOtoId"}, {"callback", "DurnakOto"}};

std::unique_ptr<TestClient> subscribe(std::uint16_t port)
{
    auto client = std::make_unique<TestClient>(port);
    client->hello();
    client->send(kRegister);
    const auto ack = client->expect(protocol::op::Ack);
    EXPECT_EQ(ack.json.at("value"), boost::json::value(true));
    return client;
}

std::int32_t notifyAll(std::uint16_t port, Value payload)
{
    TestClient caller(port);
    caller.hello();
    return caller.call("TServerMethods1.TestNotify", {std::move(payload)}).back().asInt32();
}

TEST(Push, EverySubscriberGetsTheNotificationAndAcknowledges)
{
    ServerProcess server;
    auto first = subscribe(server.port());
    auto second = subscribe(server.port());

    EXPECT_EQ(notifyAll(server.port(), Value("yenile")), 2);
    for (auto* subscriber : {first.get(), second.get()}) {
        const auto notify = subscriber->expect(protocol::op::Notify);
        EXPECT_EQ(notify.stringField("channel"), "DurnakOto");
        EXPECT_EQ(notify.stringField("callback"), "DurnakOto");
        EXPECT_EQ(notify.json.at("payload"), boost::json::value("yenile"));
        subscriber->send({{"op", "ack"}, {"value", true}});
    }

    // The acks were taken in stride: both channels still answer.
    for (auto* subscriber : {first.get(), second.get()}) {
        subscriber->send({{"op", "ping"}});
        subscriber->expect(protocol::op::Pong);
    }

    // Any payload, and several in a row, arrive in order.
    EXPECT_EQ(notifyAll(server.port(), Value(boost::json::array{1, "iki"})), 2);
    EXPECT_EQ(notifyAll(server.port(), Value()), 2);
    for (auto* subscriber : {first.get(), second.get()}) {
        EXPECT_EQ(subscriber->expect(protocol::op::Notify).json.at("payload"), (boost::json::array{1, "iki"}));
        EXPECT_TRUE(subscriber->expect(protocol::op::Notify).json.at("payload").is_null());
    }
}

TEST(Push, ADisconnectedSubscriberIsForgotten)
{
    ServerProcess server;
    auto staying = subscribe(server.port());
    auto leaving = subscribe(server.port());
    leaving.reset();

    // The server notices the end of the connection asynchronously.
    std::int32_t reached = 0;
    for (int attempt = 0; attempt < 200; ++attempt) {
        reached = notifyAll(server.port(), Value("x"));
        if (reached == 1) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(reached, 1);
    EXPECT_EQ(staying->expect(protocol::op::Notify).json.at("payload"), boost::json::value("x"));
}

TEST(Push, PingsKeepTheChannelOpenPastTheIdleTimeOut)
{
    ConfigFile config("push_idle_timeout = 1\n");
    ServerProcess server(withArgs({"--config", config.path()}));
    auto subscriber = subscribe(server.port());
    // Three idle time-outs' worth of pings.
    for (int i = 0; i < 12; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        subscriber->send({{"op", "ping"}});
        subscriber->expect(protocol::op::Pong);
    }
    EXPECT_EQ(notifyAll(server.port(), Value("hâlâ açık")), 1);
    subscriber->expect(protocol::op::Notify);

    // Without pings the server ends it.
    auto answer = subscriber->receive();
    ASSERT_TRUE(answer.has_value());
    EXPECT_NE(errorText(*answer).find("zaman aşımı"), std::string::npos) << errorText(*answer);
    EXPECT_TRUE(subscriber->waitForClose());
}

TEST(Push, CallsAreRefusedOnThePushChannel)
{
    ServerProcess server;
    auto subscriber = subscribe(server.port());
    EXPECT_THROW(subscriber->call("TServerMethods1.EchoString", {Value("a")}), protocol::ServerError);
    subscriber->send({{"op", "ping"}});
    subscriber->expect(protocol::op::Pong);
}

} // namespace
} // namespace durnak::testing
