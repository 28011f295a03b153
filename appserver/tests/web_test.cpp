// The web endpoints through the real server: pictures, what-is-my-IP, the setup download,
// the request form up to the admin's approval, and hostile requests.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "domain_fixture.hpp"
#include "web_test_support.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

std::string queryBlob(const std::string& db, const std::string& sql)
{
    sqlite3* handle = nullptr;
    sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        value.assign(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(handle);
    return value;
}

protocol::TSonucBilgisi accountOf(std::uint16_t port, const std::string& computerId)
{
    auto values = callMethod(port, "BuyukGetir", {Value(computerId)});
    return protocol::fromValue<protocol::TSonucBilgisi>(values.back());
}

TEST(Web, WhatIsMyIpAnswersTheCallersAddress)
{
    ServerProcess server;
    const auto reply = httpGet(server.webPort(), "/ip");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "127.0.0.1");
    EXPECT_EQ(reply.header("content-type"), "text/plain; charset=utf-8");
}

TEST(Web, PictureServiceAnswersTheItemsJpeg)
{
    DemoServer server;
    const long long withPicture = queryInt(server.db, "SELECT MIN(stokno) FROM stock_pictures");
    const long long withoutPicture =
        queryInt(server.db, "SELECT MIN(stokno) FROM stock WHERE stokno NOT IN (SELECT stokno FROM stock_pictures)");
    ASSERT_GT(withPicture, 0);
    ASSERT_GT(withoutPicture, 0);
    const std::string stored =
        queryBlob(server.db, "SELECT jpeg FROM stock_pictures WHERE stokno = " + std::to_string(withPicture));
    // The client shows only bodies of 1200 bytes and more.
    ASSERT_GE(stored.size(), 1200u);

    const auto reply = httpGet(server.process->webPort(), "/resimgoster.ashx?id=" + std::to_string(withPicture));
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("content-type"), "image/jpeg");
    EXPECT_EQ(reply.header("content-length"), std::to_string(stored.size()));
    EXPECT_TRUE(reply.body == stored) << "picture bytes differ";
    // The same bytes as the remote call hands out.
    const auto viaCall = callMethod(server.port(), "ResimVer5", {Value(static_cast<std::int32_t>(withPicture)), Value()});
    EXPECT_TRUE(viaCall.back().asStream().bytes == reply.body);

    // The old server's path spelling works as well.
    EXPECT_EQ(httpGet(server.process->webPort(), "/ResimGoster.ashx?id=" + std::to_string(withPicture)).status, 200);

    const auto none = httpGet(server.process->webPort(), "/resimgoster.ashx?id=" + std::to_string(withoutPicture));
    EXPECT_EQ(none.status, 404);
    EXPECT_TRUE(none.body.empty());
    EXPECT_EQ(httpGet(server.process->webPort(), "/resimgoster.ashx?id=2000000000").status, 404);
}

TEST(Web, BadRequestsGetAClearRefusalAndTheServerStaysUp)
{
    ServerProcess server;
    const auto port = server.webPort();
    struct Case {
        const char* name;
        std::string request;
        int status;
    };
    auto get = [](const std::string& target) {
        return "GET " + target + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n";
    };
    const Case cases[] = {
        {"picture without id", get("/resimgoster.ashx"), 400},
        {"picture id not a number", get("/resimgoster.ashx?id=abc"), 400},
        {"picture id negative", get("/resimgoster.ashx?id=-5"), 400},
        {"picture id zero", get("/resimgoster.ashx?id=0"), 400},
        {"picture id past 32 bits", get("/resimgoster.ashx?id=99999999999"), 400},
        {"picture id with trailing text", get("/resimgoster.ashx?id=12;DROP%20TABLE%20stock"), 400},
        {"picture id with NUL", get("/resimgoster.ashx?id=1%00"), 400},
        {"broken escape", get("/resimgoster.ashx?id=%zz"), 400},
        {"dot-dot path", get("/../../etc/passwd"), 400},
        {"encoded dot-dot path", get("/exe/%2e%2e/%2e%2e/etc/passwd"), 400},
        {"backslash path", get("/exe\\..\\secret"), 400},
        {"absolute-form target", get("http://evil/ip"), 400},
        {"unknown path", get("/etc/passwd"), 404},
        {"other published name", get("/exe/other.exe"), 404},
        {"form without computer id", get("/formmailgonder.aspx?carino=0&kullanici=%20"), 400},
        {"form with markup as computer id", get("/formmailgonder.aspx?id=%3Cscript%3E"), 400},
        {"garbage request line", "HELLO THERE\r\n\r\n", 400},
        {"head over 8 KiB", "GET /ip HTTP/1.1\r\nHost: x\r\nX-Big: " + std::string(9000, 'a') + "\r\n\r\n", 400},
        {"body over 64 KiB",
         "POST /formmailgonder.aspx HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n"
         "Content-Length: 200000\r\n\r\n" +
             std::string(200000, 'a'),
         413},
        {"form posted as another type",
         "POST /formmailgonder.aspx HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: text/plain\r\n"
         "Content-Length: 4\r\n\r\nid=1",
         400},
        {"picture by POST", "POST /resimgoster.ashx?id=1 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 405},
    };
    for (const auto& c : cases) {
        const auto reply = httpRaw(port, c.request);
        EXPECT_EQ(reply.status, c.status) << c.name << "\n" << reply.raw.substr(0, 300);
        EXPECT_EQ(reply.body.find("<script>"), std::string::npos) << c.name;
    }
    EXPECT_EQ(httpGet(port, "/ip").body, "127.0.0.1");
    expectServerAnswers(server.port());
}

TEST(Web, KeepAliveServesSeveralRequestsOnOneConnection)
{
    ServerProcess server;
    const std::string one = "GET /ip HTTP/1.1\r\nHost: x\r\n\r\n";
    const auto reply = httpRaw(server.webPort(), one + one + "GET /ip HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    std::size_t answers = 0;
    for (auto at = reply.raw.find("HTTP/1.1 200"); at != std::string::npos; at = reply.raw.find("HTTP/1.1 200", at + 1))
        ++answers;
    EXPECT_EQ(answers, 3u);
}

TEST(Web, SetupDownloadServesThePublishedFileWithItsLength)
{
    const std::string db = seededDatabaseCopy();
    ServerProcess server(withDatabase(db));
    const auto port = server.webPort();
    EXPECT_EQ(httpGet(port, "/exe/DurnakOtoSetup.exe").status, 404);

    std::string setup(300 * 1024 + 7, '\0');
    std::mt19937 random(7);
    for (auto& c : setup) c = static_cast<char>(random());
    const auto path = std::filesystem::path(::testing::TempDir()) / "DurnakOtoSetup-test.exe";
    std::ofstream(path, std::ios::binary) << setup;
    runAdmin(db, "publish-setup '" + path.string() + "'");
    std::filesystem::remove(path);

    const auto reply = httpGet(port, "/exe/DurnakOtoSetup.exe");
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.header("content-length"), std::to_string(setup.size()));
    EXPECT_EQ(reply.header("content-type"), "application/octet-stream");
    EXPECT_TRUE(reply.body == setup) << "setup bytes differ";

    const auto head = httpGet(port, "/exe/DurnakOtoSetup.exe", "HEAD");
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.header("content-length"), std::to_string(setup.size()));
    EXPECT_TRUE(head.body.empty());

    // The root page offers the download once it exists.
    const auto root = httpGet(port, "/");
    EXPECT_EQ(root.status, 200);
    EXPECT_NE(root.body.find("Durnak Otomotiv"), std::string::npos);
    EXPECT_NE(root.body.find("exe/DurnakOtoSetup.exe"), std::string::npos);
}

std::string requestBody(const std::map<std::string, std::string>& fields)
{
    std::string body;
    for (const auto& [k, v] : fields) body += (body.empty() ? "" : "&") + k + "=" + formEncode(v);
    return body;
}

std::map<std::string, std::string> validRequest(const std::string& computerId)
{
    return {{"id", computerId},        {"firma", "Şahin Oto Yedek Parça Ltd. Şti."},
            {"yetkili", "Ayşe Çelik"}, {"telefon", "+90 (212) 555 01 02"},
            {"sehir", "İzmir"},        {"mail", "ayse@sahinoto.com.tr"},
            {"kullanici", "sahin1"},   {"sifre", "gizli42"},
            {"sifre2", "gizli42"},     {"not", "Depo bilgisayarı\nİkinci satır"}};
}

TEST(Web, RequestFormStoresARequestThatTheAdminApproves)
{
    DemoServer server;
    const auto port = server.process->webPort();
    const std::string computerId = "WD-NEW-0042";
    EXPECT_FALSE(accountOf(server.port(), computerId).FVarmi);

    // The client's own address: the blank of "kullanici= " arrives as %20.
    const auto form = httpGet(port, "/formmailgonder.aspx?carino=0&kullanici=%20&id=" + computerId);
    EXPECT_EQ(form.status, 200);
    EXPECT_NE(form.body.find("Durnak Otomotiv B2B İstek Formu"), std::string::npos);
    EXPECT_NE(form.body.find("value=\"" + computerId + "\""), std::string::npos);

    const auto stored = httpPostForm(port, "/formmailgonder.aspx", requestBody(validRequest(computerId)));
    EXPECT_EQ(stored.status, 200) << stored.body;
    EXPECT_NE(stored.body.find("İsteğiniz alındı"), std::string::npos);
    // Sending again replaces the open request instead of piling up.
    EXPECT_EQ(httpPostForm(port, "/formmailgonder.aspx", requestBody(validRequest(computerId))).status, 200);
    EXPECT_EQ(queryInt(server.db, "SELECT COUNT(*) FROM user_requests"), 1);
    // The dealer hears of it by mail, and the password is kept only as a hash.
    EXPECT_EQ(queryInt(server.db, "SELECT COUNT(*) FROM mail_outbox WHERE kind = 'istek'"), 2);
    EXPECT_EQ(queryInt(server.db, "SELECT COUNT(*) FROM user_requests WHERE password_hash LIKE '%GIZLI42%'"
                                  " OR password_hash LIKE '%gizli42%'"),
              0);

    const std::string listed = runAdmin(server.db, "requests");
    EXPECT_NE(listed.find(computerId), std::string::npos) << listed;
    EXPECT_NE(listed.find("SAHIN1"), std::string::npos) << listed;
    EXPECT_FALSE(accountOf(server.port(), computerId).FVarmi);

    const long long id = queryInt(server.db, "SELECT id FROM user_requests");
    runAdmin(server.db, "approve-request " + std::to_string(id) + " --carino " + std::to_string(kDemoCustomer));
    const auto account = accountOf(server.port(), computerId);
    EXPECT_TRUE(account.FVarmi);
    EXPECT_EQ(account.FCARINO, kDemoCustomer);
    EXPECT_EQ(account.FAKTIF, 1);
    // Approving twice is refused; the bound workstation now gets no form.
    EXPECT_THROW(runAdmin(server.db, "approve-request " + std::to_string(id) + " --carino 1001"), std::runtime_error);
    const auto again = httpGet(port, "/formmailgonder.aspx?carino=0&kullanici=%20&id=" + computerId);
    EXPECT_NE(again.body.find("zaten tanımlı"), std::string::npos);
}

TEST(Web, RequestFormRefusesBadFieldsAndShowsThemEscaped)
{
    DemoServer server;
    const auto port = server.process->webPort();
    const std::string markup = "<script>alert('x')</script>";
    struct Case {
        const char* name;
        std::string field;
        std::string value;
    };
    const Case cases[] = {
        {"firm name missing", "firma", "   "},
        {"e-mail without at sign", "mail", "ayse.sahinoto.com"},
        {"e-mail with a header break", "mail", "a@b.com\r\nBcc: x@y.z"},
        {"passwords differ", "sifre2", "baska"},
        {"user name with Turkish letters", "kullanici", "şahin"},
        {"user name taken", "kullanici", "DEMO"},
        {"phone with letters", "telefon", "bir iki üç"},
        {"firm name with control characters", "firma", std::string("Firma\x01\x02")},
        {"firm name too long", "firma", std::string(300, 'x')},
        {"broken UTF-8", "yetkili", std::string("\xc3\x28")},
    };
    for (const auto& c : cases) {
        auto fields = validRequest("WD-BAD-0001");
        fields["yetkili"] = markup;  // shown again in the form
        fields[c.field] = c.value;
        if (c.field == "yetkili") fields["firma"] = markup;
        const auto reply = httpPostForm(port, "/formmailgonder.aspx", requestBody(fields));
        EXPECT_EQ(reply.status, 400) << c.name;
        EXPECT_EQ(reply.body.find("<script>"), std::string::npos) << c.name;
        EXPECT_NE(reply.body.find("class=\"hata\""), std::string::npos) << c.name;
        EXPECT_EQ(reply.body.find("gizli42"), std::string::npos) << c.name << ": a password was sent back";
    }
    // Markup typed into a valid field is stored as text and comes back escaped.
    auto fields = validRequest("WD-BAD-0001");
    fields["mail"] = "yanlis";
    fields["yetkili"] = markup;
    const auto reply = httpPostForm(port, "/formmailgonder.aspx", requestBody(fields));
    EXPECT_NE(reply.body.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"), std::string::npos);

    auto badId = validRequest("WD-BAD-0001");
    badId["id"] = "../../x";
    EXPECT_EQ(httpPostForm(port, "/formmailgonder.aspx", requestBody(badId)).status, 400);
    EXPECT_EQ(queryInt(server.db, "SELECT COUNT(*) FROM user_requests"), 0);
    EXPECT_EQ(queryInt(server.db, "SELECT COUNT(*) FROM mail_outbox"), 0);
}

} // namespace
} // namespace durnak::testing
