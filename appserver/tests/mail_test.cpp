// Mail to the dealer through the real server and a real SMTP sink (aiosmtpd) on loopback.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/json/parse.hpp>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "domain_fixture.hpp"
#include "mail/message.hpp"
#include "mail/outbox_sender.hpp"
#include "web_test_support.hpp"

namespace durnak::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Decodes each message with Python's own mail parser and leaves it as one JSON file.
constexpr const char* kSinkScript = R"PY(
import email, json, os, sys, time
from email import policy
from aiosmtpd.controller import Controller

port, folder = int(sys.argv[1]), sys.argv[2]

class Keep:
    async def handle_DATA(self, server, session, envelope):
        msg = email.message_from_bytes(envelope.content, policy=policy.default)
        record = {
            "from": envelope.mail_from,
            "to": envelope.rcpt_tos,
            "subject": str(msg["subject"]),
            "body": msg.get_content().replace("\r\n", "\n"),
            "charset": msg.get_content_charset(),
            "ascii_only": all(b < 128 for b in envelope.content),
        }
        name = os.path.join(folder, "%d.json" % time.time_ns())
        with open(name + ".tmp", "w", encoding="utf-8") as f:
            json.dump(record, f, ensure_ascii=False)
        os.rename(name + ".tmp", name)
        return "250 OK"

controller = Controller(Keep(), hostname="127.0.0.1", port=port)
controller.start()
print("ready", flush=True)
while True:
    time.sleep(1)
)PY";

std::uint16_t freeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

fs::path freshFolder(const std::string& name)
{
    static int counter = 0;
    auto dir = fs::path(::testing::TempDir()) / (name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// The SMTP sink as a child process on a loopback port, stopped with the object.
class SmtpSink {
public:
    SmtpSink(std::uint16_t port, fs::path folder) : folder_(std::move(folder))
    {
        const auto script = folder_ / "sink.py";
        std::ofstream(script) << kSinkScript;
        const auto ready = folder_ / "ready.txt";
        const std::string portText = std::to_string(port);
        const std::string mailDir = (folder_ / "mail").string();
        fs::create_directories(mailDir);
        std::fflush(nullptr);  // nothing buffered may be written twice by the child
        pid_ = ::fork();
        if (pid_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            std::FILE* out = std::freopen(ready.c_str(), "w", stdout);
            (void)out;
            ::execl("/usr/bin/python3", "python3", script.c_str(), portText.c_str(), mailDir.c_str(), nullptr);
            ::_exit(127);
        }
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < deadline) {
            std::ifstream in(ready);
            std::string word;
            if (in >> word && word == "ready") return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        throw std::runtime_error("SMTP sink did not start (is python3-aiosmtpd installed?)");
    }
    ~SmtpSink()
    {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }

    // The messages received so far, oldest first; waits until there are at least `count`.
    std::vector<boost::json::object> waitForMessages(std::size_t count, std::chrono::seconds limit = std::chrono::seconds(30))
    {
        const auto deadline = Clock::now() + limit;
        while (true) {
            std::vector<fs::path> files;
            for (const auto& e : fs::directory_iterator(folder_ / "mail"))
                if (e.path().extension() == ".json") files.push_back(e.path());
            if (files.size() >= count || Clock::now() > deadline) {
                std::sort(files.begin(), files.end());
                std::vector<boost::json::object> messages;
                for (const auto& f : files) {
                    std::ifstream in(f);
                    std::stringstream text;
                    text << in.rdbuf();
                    messages.push_back(boost::json::parse(text.str()).as_object());
                }
                return messages;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

private:
    fs::path folder_;
    pid_t pid_ = -1;
};

void execSql(const std::string& db, const std::string& sql)
{
    sqlite3* handle = nullptr;
    sqlite3_open(db.c_str(), &handle);
    sqlite3_busy_timeout(handle, 10000);
    char* error = nullptr;
    const int rc = sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &error);
    std::string text = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(handle);
    if (rc != SQLITE_OK) throw std::runtime_error("sqlite: " + text);
}

std::string mailConfig(std::uint16_t smtpPort, const std::string& extra = "")
{
    return "smtp_url = smtp://127.0.0.1:" + std::to_string(smtpPort) +
           "\nmail_to = bayi@durnak.test\nmail_from = b2b@durnak.test\n" + extra;
}

const std::string kSubject = "Şifre Değiştirme İsteği — Çağrı Öztürk, Iğdır Şubesi (uzun başlık ğüşıöç)";
const std::string kBody = "Merhaba,\n\"Yeni şifre\" için talep: ĞÜŞİÖÇ ğüşıöç\nSatır 3: 1.234,56 TL\n.\nSon.";

// Stands in for a mail method's row: the server takes any outbox row as it was stored.
void queueMail(const std::string& db)
{
    execSql(db, "INSERT INTO mail_outbox (kind, computer_id, subject, body) VALUES ('sifre', 'WD-1', '" + kSubject +
                    "', '" + kBody + "')");
}

void submitRequestForm(std::uint16_t webPort, const std::string& computerId)
{
    const std::string body = "id=" + computerId + "&firma=" + formEncode("Işık Oto Ltd. Şti.") +
                             "&yetkili=" + formEncode("Gülşen Ünal") + "&telefon=05325550000&mail=g%40isik.com.tr" +
                             "&kullanici=ISIK&sifre=abcd12&sifre2=abcd12&not=" + formEncode("Çok acil\nİkinci satır");
    const auto reply = httpPostForm(webPort, "/formmailgonder.aspx", body);
    ASSERT_EQ(reply.status, 200) << reply.body;
}

TEST(MailText, RetriesBackOffUpToTheLimit)
{
    using durnak::server::mail::OutboxSender;
    const std::chrono::seconds min(5), max(60);
    const struct {
        int attempts;
        long seconds;
    } cases[] = {{1, 5}, {2, 10}, {3, 20}, {4, 40}, {5, 60}, {40, 60}};
    for (const auto& c : cases) EXPECT_EQ(OutboxSender::backoff(c.attempts, min, max).count(), c.seconds) << c.attempts;
}

TEST(MailText, HeadersStayAsciiAndCannotBeInjected)
{
    namespace mail = durnak::server::mail;
    mail::Message m{"b2b@durnak.test", "bayi@durnak.test",
                    "Konu\r\nBcc: kurban@example.com " + std::string(40, 'x') + " ĞÜŞİÖÇ ğüşıöç", "Gövde\n.\nSon",
                    "outbox-1@durnak-b2b", 0};
    const std::string text = mail::render(m);
    const auto head = text.substr(0, text.find("\r\n\r\n"));
    EXPECT_EQ(head.find("\nBcc:"), std::string::npos) << head;
    for (unsigned char c : text) ASSERT_LT(c, 0x80) << "8-bit byte in the message";
    // Folded encoded words, none over 75 characters.
    std::size_t lineStart = 0;
    while (lineStart < head.size()) {
        const auto end = std::min(head.find("\r\n", lineStart), head.size());
        EXPECT_LE(end - lineStart, 78u) << head.substr(lineStart, end - lineStart);
        lineStart = end + 2;
    }
    EXPECT_FALSE(mail::isPlainAddress("a@b.c>\r\nRCPT TO:<x@y.z"));
    EXPECT_FALSE(mail::isPlainAddress("bayi"));
    EXPECT_TRUE(mail::isPlainAddress("bayi@durnak.com.tr"));
}

TEST(Mail, OutboxReachesTheDealerWithTurkishTextIntact)
{
    const auto smtpPort = freeLoopbackPort();
    SmtpSink sink(smtpPort, freshFolder("sink"));
    const std::string db = seededDatabaseCopy();
    ConfigFile config(mailConfig(smtpPort));
    ServerProcess server([&] {
        auto o = withDatabase(db);
        o.extraArgs = {"--config", config.path()};
        return o;
    }());

    queueMail(db);
    submitRequestForm(server.webPort(), "WD-MAIL-0001");
    const auto messages = sink.waitForMessages(2);
    ASSERT_EQ(messages.size(), 2u) << server.errorOutput();

    const auto& first = messages[0];
    EXPECT_EQ(first.at("subject").as_string(), kSubject);
    EXPECT_EQ(first.at("body").as_string(), kBody);
    EXPECT_EQ(first.at("from").as_string(), "b2b@durnak.test");
    ASSERT_EQ(first.at("to").as_array().size(), 1u);
    EXPECT_EQ(first.at("to").as_array()[0].as_string(), "bayi@durnak.test");
    EXPECT_EQ(first.at("charset").as_string(), "utf-8");
    EXPECT_TRUE(first.at("ascii_only").as_bool()) << "headers or body not transfer-encoded";

    const std::string requestBody(messages[1].at("body").as_string());
    EXPECT_EQ(messages[1].at("subject").as_string(), "Yeni kullanıcı isteği: Işık Oto Ltd. Şti.");
    EXPECT_NE(requestBody.find("Gülşen Ünal"), std::string::npos) << requestBody;
    EXPECT_NE(requestBody.find("Çok acil\nİkinci satır"), std::string::npos) << requestBody;
    EXPECT_EQ(requestBody.find("ABCD12"), std::string::npos) << "the password must not be mailed";

    // Marked sent once delivered, and not sent again.
    for (int i = 0; i < 100 && queryInt(db, "SELECT COUNT(*) FROM mail_outbox WHERE sent_at IS NULL") != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM mail_outbox WHERE sent_at IS NULL"), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(sink.waitForMessages(3, std::chrono::seconds(0)).size(), 2u);
}

// The mail window's call: the message in the outbox in the call's own transaction, then
// delivered with every Turkish letter of the subject and the comma text of the lines.
TEST(Mail, MailWindowMessageReachesTheSink)
{
    const auto smtpPort = freeLoopbackPort();
    SmtpSink sink(smtpPort, freshFolder("sink"));
    const std::string db = seededDatabaseCopy();
    ConfigFile config(mailConfig(smtpPort));
    auto options = withDatabase(db);
    options.extraArgs = {"--config", config.path()};
    ServerProcess server(options);

    using protocol::Value;
    std::vector<Value> params = {Value(kDemoComputerId), Value("Sipariş hakkında: ÇĞİÖŞÜ çğıöşü")};
    for (const char* field : {"Yıldız Oto", "Atatürk Cad. 5", "", "Çankaya", "Ankara", "0312 555 00 00", "", "Çankaya VD",
                              "1234567890", "Gülay Şen", "DEMO", "GIZLI", "g@yildiz.com.tr", ""})
        params.emplace_back(field);
    params.emplace_back("Merhaba,\"İki kelime\"");
    callMethod(server.port(), "MailGonserCariNormal", params);
    EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM mail_outbox WHERE kind = 'mesaj'"), 1);

    const auto messages = sink.waitForMessages(1);
    ASSERT_EQ(messages.size(), 1u) << server.errorOutput();
    EXPECT_EQ(messages[0].at("subject").as_string(), "Sipariş hakkında: ÇĞİÖŞÜ çğıöşü");
    const std::string body(messages[0].at("body").as_string());
    for (const char* word : {"Yıldız Oto", "Gülay Şen", "Çankaya VD", "Merhaba,\"İki kelime\""})
        EXPECT_NE(body.find(word), std::string::npos) << word << "\n" << body;
}

TEST(Mail, NothingIsLostWhileTheMailServerIsDownAcrossARestart)
{
    const auto smtpPort = freeLoopbackPort();  // nobody listens yet
    const std::string db = seededDatabaseCopy();
    ConfigFile config(mailConfig(smtpPort, "mail_retry_min = 1\nmail_retry_max = 1\n"));
    auto options = withDatabase(db);
    options.extraArgs = {"--config", config.path()};
    {
        ServerProcess server(options);
        queueMail(db);
        // Tried, failed, kept for later.
        for (int i = 0; i < 200 && queryInt(db, "SELECT MAX(attempts) FROM mail_outbox") < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_GE(queryInt(db, "SELECT MAX(attempts) FROM mail_outbox"), 2);
        EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM mail_outbox WHERE sent_at IS NULL"), 1);
        const std::string queue = runAdmin(db, "mail-queue");
        EXPECT_NE(queue.find("1 ileti"), std::string::npos) << queue;
        EXPECT_NE(queue.find("son hata"), std::string::npos) << queue;
        EXPECT_EQ(server.stop(), 0);
    }

    SmtpSink sink(smtpPort, freshFolder("sink"));
    ServerProcess restarted(options);
    const auto messages = sink.waitForMessages(1);
    ASSERT_EQ(messages.size(), 1u) << restarted.errorOutput();
    EXPECT_EQ(messages[0].at("subject").as_string(), kSubject);
    EXPECT_EQ(messages[0].at("body").as_string(), kBody);
    for (int i = 0; i < 100 && queryInt(db, "SELECT COUNT(*) FROM mail_outbox WHERE sent_at IS NULL") != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM mail_outbox WHERE sent_at IS NULL"), 0);
}

} // namespace
} // namespace durnak::testing
