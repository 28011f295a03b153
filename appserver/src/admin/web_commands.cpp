#include "admin/web_commands.hpp"

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include <soci/soci.h>

#include "methods/domain_support.hpp"
#include "store/migrations.hpp"
#include "store/store.hpp"
#include "web/site.hpp"
#include "store/dialect.hpp"

namespace durnak::admin {

namespace {

using server::db::WriteTransaction;
using server::db::integer;
using server::db::text;

// The setup program is held in memory to be served; a limit keeps a wrong file out.
constexpr std::size_t kMaxSetupBytes = 512u * 1024 * 1024;

long long number(const std::string& text, const char* what)
{
    std::size_t used = 0;
    long long v = 0;
    try {
        v = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size()) throw std::runtime_error(std::string(what) + " sayı olmalı: " + text);
    return v;
}

std::string option(const std::map<std::string, std::string>& options, const std::string& name)
{
    auto it = options.find(name);
    return it == options.end() ? std::string() : it->second;
}

void listRequests(soci::session& sql, bool all)
{
    const int everything = all ? 1 : 0;
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT id, status, computer_id, username, company, contact, phone, email, city, created_at,"
                        " COALESCE(note, '') FROM user_requests"
                        " WHERE status = 'bekliyor' OR :all = 1 ORDER BY id",
         soci::use(everything));
    int count = 0;
    for (const auto& r : rows) {
        ++count;
        std::cout << "#" << integer(r, 0) << "  [" << text(r, 1) << "]  " << text(r, 9)
                  << "\n  bilgisayar: " << text(r, 2) << "\n  kullanıcı:  " << text(r, 3)
                  << "\n  firma:      " << text(r, 4) << " / " << text(r, 5)
                  << "\n  iletişim:   " << text(r, 6) << "  " << text(r, 7) << "  "
                  << text(r, 8) << "\n";
        if (!text(r, 10).empty()) std::cout << "  not:        " << text(r, 10) << "\n";
    }
    if (count == 0) std::cout << (all ? "istek yok\n" : "bekleyen istek yok\n");
}

void approveRequest(soci::session& sql, long long id, const std::map<std::string, std::string>& options)
{
    const std::string typeText = option(options, "type");
    const int type = typeText.empty() ? 3 : static_cast<int>(number(typeText, "--type"));
    if (type < 1 || type > 4) throw std::runtime_error("--type 1..4 olmalı");
    const std::string carinoText = option(options, "carino"), repText = option(options, "rep");
    const int carino = carinoText.empty() ? 0 : static_cast<int>(number(carinoText, "--carino"));
    const int rep = repText.empty() ? 0 : static_cast<int>(number(repText, "--rep"));
    if (type >= 3 && carino <= 0) throw std::runtime_error("müşteri kullanıcısı için --carino gerekli");
    if (type <= 2 && rep <= 0) throw std::runtime_error("temsilci kullanıcısı için --rep gerekli");

    WriteTransaction tx(sql);
    std::string status, computerId, username, hash, email;
    sql << "SELECT status, computer_id, username, password_hash, email FROM user_requests WHERE id = :id",
        soci::into(status), soci::into(computerId), soci::into(username), soci::into(hash), soci::into(email),
        soci::use(id);
    if (!sql.got_data()) throw std::runtime_error("istek yok: " + std::to_string(id));
    if (status != "bekliyor") throw std::runtime_error("istek zaten " + status);
    if (carino > 0) {
        long long n = 0;
        sql << "SELECT COUNT(*) FROM customers WHERE carino = :c", soci::into(n), soci::use(carino);
        if (!n) throw std::runtime_error("cari yok: " + std::to_string(carino));
    }
    if (rep > 0) {
        long long n = 0;
        sql << "SELECT COUNT(*) FROM sales_reps WHERE id = :r", soci::into(n), soci::use(rep);
        if (!n) throw std::runtime_error("temsilci yok: " + std::to_string(rep));
    }
    long long taken = 0;
    sql << "SELECT COUNT(*) FROM users WHERE upper(username) = upper(:u)", soci::into(taken), soci::use(username);
    if (taken) throw std::runtime_error("kullanıcı adı artık kullanılıyor: " + username + " (isteği reddedin)");

    soci::indicator ci = carino > 0 ? soci::i_ok : soci::i_null, ri = rep > 0 ? soci::i_ok : soci::i_null;
    sql << "INSERT INTO users (username, password_hash, user_type, carino, rep_id, email)"
           " VALUES (:u, :h, :t, :c, :r, :e)",
        soci::use(username), soci::use(hash), soci::use(type), soci::use(carino, ci), soci::use(rep, ri),
        soci::use(email);
    long long userId = 0;
    sql << "SELECT id FROM users WHERE username = :u", soci::into(userId), soci::use(username);
    sql << "INSERT INTO workstations (computer_id, user_id) VALUES (:c, :u)"
           " ON CONFLICT(computer_id) DO UPDATE SET user_id = excluded.user_id, bound_at = CURRENT_TIMESTAMP",
        soci::use(computerId), soci::use(userId);
    sql << "UPDATE user_requests SET status = 'onaylandi', user_id = :u, decided_at = CURRENT_TIMESTAMP"
           " WHERE id = :id",
        soci::use(userId), soci::use(id);
    tx.commit();
    std::cout << "onaylandı: " << username << " (tip " << type << ") -> " << computerId << "\n";
}

void rejectRequest(soci::session& sql, long long id)
{
    soci::statement st = (sql.prepare << "UPDATE user_requests SET status = 'reddedildi',"
                                         " decided_at = CURRENT_TIMESTAMP WHERE id = :id AND status = 'bekliyor'",
                          soci::use(id));
    st.execute(true);
    if (st.get_affected_rows() != 1) throw std::runtime_error("bekleyen istek yok: " + std::to_string(id));
    std::cout << "reddedildi: #" << id << "\n";
}

void publishSetup(soci::session& sql, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("dosya açılamadı: " + path);
    std::ostringstream data;
    data << in.rdbuf();
    const std::string content = data.str();
    if (content.empty()) throw std::runtime_error("dosya boş: " + path);
    if (content.size() > kMaxSetupBytes) throw std::runtime_error("dosya çok büyük: " + path);
    const std::string name = server::web::kSetupFileName;
    const long long size = static_cast<long long>(content.size());
    const auto d = server::dialectOf(sql);
    const std::string bytes = server::dialect::blobValue(d, content);
    sql << "INSERT INTO published_files (name, content, size) VALUES (:n, " + server::dialect::blobParam(d, ":c") +
               ", :s) ON CONFLICT(name) DO UPDATE SET content = excluded.content, size = excluded.size,"
               " published_at = CURRENT_TIMESTAMP",
        soci::use(name), soci::use(bytes), soci::use(size);
    std::cout << name << " yayımlandı (" << size << " bayt)\n";
}

void mailQueue(soci::session& sql)
{
    soci::rowset<soci::row> rows =
        sql.prepare << "SELECT id, created_at, kind, subject, attempts, last_error FROM mail_outbox"
                       " WHERE sent_at IS NULL ORDER BY id";
    int count = 0;
    for (const auto& r : rows) {
        ++count;
        std::cout << "#" << integer(r, 0) << "  " << text(r, 1) << "  " << text(r, 2)
                  << "  " << text(r, 3) << "  deneme " << integer(r, 4);
        if (!text(r, 5).empty()) std::cout << "  son hata: " << text(r, 5);
        std::cout << "\n";
    }
    std::cout << count << " ileti gönderilmeyi bekliyor\n";
}

} // namespace

const char* webCommandsUsage()
{
    return R"(  requests [--all]                     web formundan gelen kullanıcı isteklerini listeler
  approve-request NO (--carino C [--type 3|4] | --rep R --type 1|2)
                                        isteği onaylar: kullanıcıyı açar, bilgisayarı bağlar
  reject-request NO                     isteği reddeder
  publish-setup DOSYA                   /exe/DurnakOtoSetup.exe olarak yayımlar
  clear-banner --slot 1..3              banner resmini kaldırır
  mail-queue                            gönderilmeyi bekleyen iletiler
  mail-retry                            bekleyen iletileri hemen yeniden dener
  notify [METİN]                        bağlı programlara yenileme bildirimi gönderir
)";
}

int runWebCommand(const std::string& dbPath, const std::string& command,
                  const std::map<std::string, std::string>& options, const std::vector<std::string>& positional)
{
    static const char* const kCommands[] = {"requests",     "approve-request", "reject-request", "publish-setup",
                                            "clear-banner", "mail-queue",      "mail-retry",     "notify"};
    bool ours = false;
    for (const char* c : kCommands) ours = ours || command == c;
    if (!ours) return -1;

    server::Store store({dbPath, 1});
    soci::session sql(store.pool());
    server::applyMigrations(sql, server::schemaMigrations());

    auto onlyArgument = [&](const char* usage) -> const std::string& {
        if (positional.size() != 1) throw std::runtime_error(usage);
        return positional[0];
    };

    if (command == "requests") {
        listRequests(sql, options.count("all") > 0);
    } else if (command == "approve-request") {
        approveRequest(sql, number(onlyArgument("approve-request NO --carino C"), "NO"), options);
    } else if (command == "reject-request") {
        rejectRequest(sql, number(onlyArgument("reject-request NO"), "NO"));
    } else if (command == "publish-setup") {
        publishSetup(sql, onlyArgument("publish-setup DOSYA"));
    } else if (command == "clear-banner") {
        const long long slot = number(option(options, "slot"), "--slot");
        if (slot < 1 || slot > 3) throw std::runtime_error("--slot 1..3 olmalı");
        sql << "DELETE FROM banners WHERE slot = :s", soci::use(slot);
    } else if (command == "mail-queue") {
        mailQueue(sql);
    } else if (command == "mail-retry") {
        sql << "UPDATE mail_outbox SET next_attempt_at = 0 WHERE sent_at IS NULL";
        std::cout << "bekleyen iletiler yeniden denenecek\n";
    } else if (command == "notify") {
        std::string reason = "elle";
        if (!positional.empty()) reason += ": " + positional[0];
        sql << "INSERT INTO push_events (reason) VALUES (:r)", soci::use(reason);
        std::cout << "bildirim sıraya alındı; çalışan sunucular bağlı programlara iletir\n";
    }
    return 0;
}

} // namespace durnak::admin
