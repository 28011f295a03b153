// durnak-admin: creates and fills the dealer's database and manages accounts.
// Usage: durnak-admin --db PATH <command> [options]; `durnak-admin help` lists the commands.

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <soci/soci.h>

#include "admin/csv_import.hpp"
#include "admin/machine_id.hpp"
#include "admin/seed.hpp"
#include "admin/web_commands.hpp"
#include "auth/authenticator.hpp"
#include "domain/passwords.hpp"
#include "methods/domain_support.hpp"
#include "store/migrations.hpp"
#include "store/store.hpp"
#include "store/dialect.hpp"

namespace {

using namespace durnak;

constexpr const char* kUsage = R"(durnak-admin --db PATH <komut> [seçenekler]

  init                                  veritabanını oluşturur / günceller
  seed [--items N] [--no-pictures]      demo verisi (varsayılan 20000 stok, her 4 stoktan birine resim)
  users                                 kullanıcıları ve bağlı bilgisayarları listeler
  add-user --username U --password P --type 1..4 [--carino C] [--rep R] [--email E]
  set-password --username U --password P  şifreyi değiştirir, kullanıcının açık oturumlarını kapatır
  bind-workstation --user U (--computer-id ID | --this-machine)
  unbind-workstation --computer-id ID
  this-machine-id                       bu makinenin bilgisayar kimliğini yazar
  customers                             carileri listeler
  add-customer --carino C --code K --name AD [--disc 10,5,0,0] [--rep R] [--city S]
  set-discounts --carino C --disc 10,5,0,0
  add-rep --id R --name AD [--email E] [--phone T]
  set-marquee METİN                     kayan yazıyı ayarlar
  set-banner --slot 1..3 DOSYA          banner resmini ayarlar
  add-screen --kind duyuru|reklam --title BAŞLIK --picture DOSYA [--target ARAMA]
  import-csv DOSYA                      stok kartlarını KOD'a göre ekler / günceller
)";

struct Args {
    std::string command;
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return options.count(name) > 0; }
    const std::string& need(const std::string& name) const
    {
        auto it = options.find(name);
        if (it == options.end() || it->second.empty()) throw std::runtime_error("--" + name + " gerekli");
        return it->second;
    }
    std::string get(const std::string& name, const std::string& fallback = "") const
    {
        auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

int toInt(const std::string& text, const char* what)
{
    std::size_t used = 0;
    int v = 0;
    try {
        v = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty()) throw std::runtime_error(std::string(what) + " sayı olmalı: " + text);
    return v;
}

std::array<double, 4> discounts(const std::string& text)
{
    std::array<double, 4> d{};
    std::istringstream in(text);
    std::string part;
    for (std::size_t i = 0; std::getline(in, part, ','); ++i) {
        if (i >= 4) throw std::runtime_error("en çok dört iskonto");
        char* end = nullptr;
        d[i] = std::strtod(part.c_str(), &end);
        if (*end != '\0' || d[i] < 0 || d[i] > 100) throw std::runtime_error("iskonto 0-100 olmalı: " + part);
    }
    return d;
}

std::string readBinary(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("dosya açılamadı: " + path);
    std::ostringstream data;
    data << in.rdbuf();
    if (data.str().empty()) throw std::runtime_error("dosya boş: " + path);
    return data.str();
}

int userId(soci::session& sql, const std::string& username)
{
    int id = 0;
    // The sign-in types user names in capitals; the admin may type them either way.
    sql << "SELECT id FROM users WHERE upper(username) = upper(:u)", soci::into(id), soci::use(username);
    if (!sql.got_data()) throw std::runtime_error("kullanıcı yok: " + username);
    return id;
}

void listUsers(soci::session& sql)
{
    soci::rowset<soci::row> rows =
        sql.prepare << "SELECT u.id, u.username, u.user_type, COALESCE(u.carino, 0), COALESCE(u.rep_id, 0),"
                       " u.active, COALESCE(" + server::dialect::joinTexts(server::dialectOf(sql), "w.computer_id") + ", '')"
                       " FROM users u LEFT JOIN workstations w ON w.user_id = u.id GROUP BY u.id ORDER BY u.id";
    std::cout << "no  kullanıcı        tip  cari   temsilci  aktif  bilgisayarlar\n";
    for (const auto& r : rows) {
        char line[160];
        std::snprintf(line, sizeof line, "%-3lld %-16s %-4lld %-6lld %-9lld %-6lld ", static_cast<long long>(server::db::integer(r, 0)),
                      server::db::text(r, 1).c_str(), static_cast<long long>(server::db::integer(r, 2)), static_cast<long long>(server::db::integer(r, 3)), static_cast<long long>(server::db::integer(r, 4)),
                      static_cast<long long>(server::db::integer(r, 5)));
        std::cout << line << server::db::text(r, 6) << "\n";
    }
    std::cout << "\nDemo şifreleri:\n";
    for (const auto& u : admin::kDemoUsers)
        std::cout << "  " << u.username << " / " << u.password << "  (tip " << u.type << ", " << u.what << ")\n";
}

void setScreenPicture(soci::session& sql, const Args& args)
{
    const std::string kindText = args.need("kind");
    int kind = kindText == "duyuru" ? 1 : kindText == "reklam" ? 2 : 0;
    if (!kind) throw std::runtime_error("--kind duyuru veya reklam olmalı");
    const auto d = server::dialectOf(sql);
    const std::string picture = server::dialect::blobValue(d, readBinary(args.need("picture")));
    std::string title = args.need("title"), target = args.get("target");
    sql << "INSERT INTO screens (kind, title, picture, target, sort)"
           " VALUES (:k, :t, " + server::dialect::blobParam(d, ":p") + ", :a, (SELECT COALESCE(MAX(sort), 0) + 1 FROM screens))",
        soci::use(kind), soci::use(title), soci::use(picture), soci::use(target);
}

int run(const std::string& dbPath, const Args& args)
{
    server::Store store({dbPath, 1});
    soci::session sql(store.pool());
    const int applied = server::applyMigrations(sql, server::schemaMigrations());
    const std::string& c = args.command;

    if (c == "init") {
        std::cout << dbPath << ": şema sürümü " << server::schemaVersion(sql) << " (" << applied << " adım)\n";
    } else if (c == "seed") {
        admin::SeedOptions options;
        if (args.has("items")) options.items = static_cast<std::size_t>(toInt(args.need("items"), "--items"));
        options.pictures = !args.has("no-pictures");
        admin::seedDemo(sql, options, std::cout);
        listUsers(sql);
    } else if (c == "users") {
        listUsers(sql);
    } else if (c == "add-user") {
        std::string username = args.need("username"), hash = server::domain::hashPassword(args.need("password"));
        std::string email = args.get("email");
        int type = toInt(args.need("type"), "--type");
        if (type < 1 || type > 4) throw std::runtime_error("--type 1..4 olmalı");
        int carino = args.has("carino") ? toInt(args.need("carino"), "--carino") : 0;
        int rep = args.has("rep") ? toInt(args.need("rep"), "--rep") : 0;
        soci::indicator ci = carino ? soci::i_ok : soci::i_null, ri = rep ? soci::i_ok : soci::i_null;
        sql << "INSERT INTO users (username, password_hash, user_type, carino, rep_id, email)"
               " VALUES (:u, :h, :t, :c, :r, :e)",
            soci::use(username), soci::use(hash), soci::use(type), soci::use(carino, ci), soci::use(rep, ri),
            soci::use(email);
        std::cout << "kullanıcı eklendi: " << username << "\n";
    } else if (c == "set-password") {
        const int id = userId(sql, args.need("username"));
        std::string hash = server::domain::hashPassword(args.need("password"));
        sql << "UPDATE users SET password_hash = :h WHERE id = :i", soci::use(hash), soci::use(id);
        // Whoever signed in with the old password is out.
        const int ended = server::auth::Authenticator::endUserSessions(sql, id);
        std::cout << "şifre değiştirildi; kapatılan oturum: " << ended << "\n";
    } else if (c == "bind-workstation") {
        const int id = userId(sql, args.need("user"));
        std::string computerId = args.has("this-machine") ? admin::thisMachineId() : args.need("computer-id");
        if (computerId.empty()) throw std::runtime_error("bu makinenin bilgisayar kimliği bulunamadı");
        sql << "INSERT INTO workstations (computer_id, user_id) VALUES (:c, :u)"
               " ON CONFLICT(computer_id) DO UPDATE SET user_id = excluded.user_id, bound_at = CURRENT_TIMESTAMP",
            soci::use(computerId), soci::use(id);
        std::cout << computerId << " -> " << args.need("user") << "\n";
    } else if (c == "unbind-workstation") {
        std::string computerId = args.need("computer-id");
        sql << "DELETE FROM workstations WHERE computer_id = :c", soci::use(computerId);
    } else if (c == "this-machine-id") {
        std::cout << admin::thisMachineId() << "\n";
    } else if (c == "customers") {
        soci::rowset<soci::row> rows =
            sql.prepare << "SELECT carino, code, name, disc1, disc2, disc3, disc4, COALESCE(rep_id, 0) FROM customers"
                           " ORDER BY carino";
        for (const auto& r : rows)
            std::cout << server::db::integer(r, 0) << "  " << server::db::text(r, 1) << "  " << server::db::text(r, 2)
                      << "  iskonto " << server::db::real(r, 3) << "+" << server::db::real(r, 4) << "+" << server::db::real(r, 5)
                      << "+" << server::db::real(r, 6) << "  temsilci " << server::db::integer(r, 7) << "\n";
    } else if (c == "add-customer") {
        int carino = toInt(args.need("carino"), "--carino");
        std::string code = args.need("code"), name = args.need("name"), city = args.get("city");
        auto d = discounts(args.get("disc", "0"));
        int rep = args.has("rep") ? toInt(args.need("rep"), "--rep") : 0;
        soci::indicator ri = rep ? soci::i_ok : soci::i_null;
        sql << "INSERT INTO customers (carino, code, name, city, rep_id, disc1, disc2, disc3, disc4)"
               " VALUES (:n, :c, :a, :s, :r, :d1, :d2, :d3, :d4)",
            soci::use(carino), soci::use(code), soci::use(name), soci::use(city), soci::use(rep, ri),
            soci::use(d[0]), soci::use(d[1]), soci::use(d[2]), soci::use(d[3]);
    } else if (c == "set-discounts") {
        int carino = toInt(args.need("carino"), "--carino");
        auto d = discounts(args.need("disc"));
        sql << "UPDATE customers SET disc1 = :d1, disc2 = :d2, disc3 = :d3, disc4 = :d4 WHERE carino = :c",
            soci::use(d[0]), soci::use(d[1]), soci::use(d[2]), soci::use(d[3]), soci::use(carino);
    } else if (c == "add-rep") {
        int id = toInt(args.need("id"), "--id");
        std::string name = args.need("name"), email = args.get("email"), phone = args.get("phone");
        sql << "INSERT INTO sales_reps (id, name, email, phone) VALUES (:i, :n, :e, :p)", soci::use(id),
            soci::use(name), soci::use(email), soci::use(phone);
    } else if (c == "set-marquee") {
        if (args.positional.size() != 1) throw std::runtime_error("set-marquee METİN");
        std::string text = args.positional[0];
        sql << "INSERT INTO settings (name, value) VALUES ('kayan_yazi', :v)"
               " ON CONFLICT(name) DO UPDATE SET value = excluded.value, updated_at = CURRENT_TIMESTAMP",
            soci::use(text);
    } else if (c == "set-banner") {
        int slot = toInt(args.need("slot"), "--slot");
        if (slot < 1 || slot > 3 || args.positional.size() != 1) throw std::runtime_error("set-banner --slot 1..3 DOSYA");
        const auto d = server::dialectOf(sql);
        const std::string picture = server::dialect::blobValue(d, readBinary(args.positional[0]));
        sql << "INSERT INTO banners (slot, picture) VALUES (:s, " + server::dialect::blobParam(d, ":p") + ")"
               " ON CONFLICT(slot) DO UPDATE SET picture = excluded.picture",
            soci::use(slot), soci::use(picture);
    } else if (c == "add-screen") {
        setScreenPicture(sql, args);
    } else if (c == "import-csv") {
        if (args.positional.size() != 1) throw std::runtime_error("import-csv DOSYA");
        std::ifstream in(args.positional[0], std::ios::binary);
        if (!in) throw std::runtime_error("dosya açılamadı: " + args.positional[0]);
        const auto r = admin::importCatalogueCsv(sql, in);
        std::cout << r.inserted << " eklendi, " << r.updated << " güncellendi\n";
    } else {
        std::cerr << kUsage;
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    std::string dbPath;
    Args args;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--db" && i + 1 < argc) {
            dbPath = argv[++i];
        } else if (a.rfind("--", 0) == 0) {
            const std::string name = a.substr(2);
            // Flags without a value: the next word is another option or absent.
            if (name == "this-machine" || name == "no-pictures" || i + 1 >= argc) args.options[name] = "1";
            else args.options[name] = argv[++i];
        } else if (args.command.empty()) {
            args.command = a;
        } else {
            args.positional.push_back(a);
        }
    }
    if (args.command == "help" || args.command.empty()) {
        std::cout << kUsage << admin::webCommandsUsage();
        return args.command.empty() ? 2 : 0;
    }
    if (args.command == "this-machine-id") {
        std::cout << admin::thisMachineId() << "\n";
        return 0;
    }
    if (dbPath.empty()) {
        std::cerr << "durnak-admin: --db PATH gerekli\n" << kUsage;
        return 2;
    }
    try {
        if (const int code = admin::runWebCommand(dbPath, args.command, args.options, args.positional); code >= 0)
            return code;
        return run(dbPath, args);
    } catch (const std::exception& e) {
        std::cerr << "durnak-admin: " << e.what() << "\n";
        return 1;
    }
}
