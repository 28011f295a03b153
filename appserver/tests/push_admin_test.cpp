// Admin changes reach every registered push channel of a running server.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "domain_fixture.hpp"

namespace durnak::testing {
namespace {

const boost::json::object kRegister{
    {"op", "register"}, {"channel", "DurnakOto"}, {"managerId", "DurnakOtoId"}, {"callback", "DurnakOto"}};

std::unique_ptr<TestClient> subscribe(std::uint16_t port)
{
    auto client = std::make_unique<TestClient>(port);
    client->hello();
    client->send(kRegister);
    client->expect(protocol::op::Ack);
    return client;
}

std::string reasonsOf(const protocol::Envelope& notify)
{
    return boost::json::serialize(notify.json.at("payload"));
}

TEST(PushAdmin, EveryAdminChangeNotifiesEveryChannel)
{
    DemoServer server;
    auto first = subscribe(server.port());
    auto second = subscribe(server.port());
    // Registered and then silent: it must not hold up the others.
    auto stuck = subscribe(server.port());

    const auto picture = std::filesystem::path(::testing::TempDir()) / "push-banner.gif";
    std::ofstream(picture, std::ios::binary) << std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 13);

    struct Case {
        const char* name;
        std::string command;
        const char* reason;
    };
    const Case cases[] = {
        {"by hand", "notify 'kampanya başladı'", "elle: kampanya başladı"},
        {"scrolling text", "set-marquee 'Yeni ürünler geldi'", "ayar:kayan_yazi"},
        {"banner set", "set-banner --slot 2 '" + picture.string() + "'", "banner"},
        {"banner cleared", "clear-banner --slot 2", "banner"},
        {"announcement", "add-screen --kind duyuru --title 'Duyuru' --picture '" + picture.string() + "'", "ekran"},
        {"opening screen", "add-screen --kind reklam --title 'Reklam' --picture '" + picture.string() + "'", "ekran"},
    };
    for (const auto& c : cases) {
        runAdmin(server.db, c.command);
        for (auto* channel : {first.get(), second.get()}) {
            const auto notify = channel->expect(protocol::op::Notify);
            EXPECT_EQ(notify.stringField("channel"), "DurnakOto") << c.name;
            EXPECT_EQ(notify.stringField("callback"), "DurnakOto") << c.name;
            EXPECT_NE(reasonsOf(notify).find(c.reason), std::string::npos) << c.name << ": " << reasonsOf(notify);
            channel->send({{"op", "ack"}, {"value", true}});
        }
    }
    std::filesystem::remove(picture);

    // Keep-alive still works on a notified channel.
    first->send({{"op", "ping"}});
    first->expect(protocol::op::Pong);
}

// Banners as the client reads them: the bytes the admin set, size 0 once cleared.
TEST(PushAdmin, BannersFollowTheAdminTool)
{
    DemoServer server;
    const auto picture = std::filesystem::path(::testing::TempDir()) / "banner3.bmp";
    const std::string bmp = "BM" + std::string(60, '\x7f');
    std::ofstream(picture, std::ios::binary) << bmp;
    runAdmin(server.db, "set-banner --slot 3 '" + picture.string() + "'");
    std::filesystem::remove(picture);
    auto values = callMethod(server.port(), "BannerResimVer3", {protocol::Value()});
    EXPECT_EQ(values.at(0).asInt64(), static_cast<std::int64_t>(bmp.size()));
    EXPECT_EQ(values.back().asStream().bytes, bmp);

    runAdmin(server.db, "clear-banner --slot 3");
    values = callMethod(server.port(), "BannerResimVer3", {protocol::Value()});
    EXPECT_EQ(values.at(0).asInt64(), 0);
    EXPECT_TRUE(values.back().asStream().bytes.empty());
}

TEST(PushAdmin, ChangesMadeWhileTheServerWasDownAreNotReplayed)
{
    const std::string db = seededDatabaseCopy();
    runAdmin(db, "notify eski");
    ServerProcess server(withDatabase(db));
    auto channel = subscribe(server.port());
    runAdmin(db, "notify yeni");
    const auto notify = channel->expect(protocol::op::Notify);
    EXPECT_NE(reasonsOf(notify).find("yeni"), std::string::npos);
    EXPECT_EQ(reasonsOf(notify).find("eski"), std::string::npos);
}

} // namespace
} // namespace durnak::testing
