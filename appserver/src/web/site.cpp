#include "web/site.hpp"

#include <charconv>
#include <map>
#include <optional>

#include <soci/soci.h>

#include "domain/passwords.hpp"
#include "log.hpp"
#include "methods/domain_support.hpp"
#include "store/store.hpp"
#include "web/http_util.hpp"
#include "store/dialect.hpp"

namespace durnak::server::web {

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kText = "text/plain; charset=utf-8";
// Beyond this many open requests the form stops taking new ones, so a script cannot fill
// the database.
constexpr long long kMaxOpenRequests = 500;

WebResponse textResponse(unsigned status, std::string text)
{
    return {status, kText, std::move(text) + "\n", {}};
}

WebResponse htmlResponse(unsigned status, std::string html)
{
    return {status, kHtml, std::move(html), {{"Cache-Control", "no-store"}}};
}

std::string page(std::string_view title, std::string_view content)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"tr\"><head><meta charset=\"utf-8\"><title>";
    html += escapeHtml(title);
    html += "</title><style>body{font-family:'DejaVu Sans',Tahoma,sans-serif;margin:2em;color:#434c58}"
            "h1{color:#1a59a8}label{display:inline-block;width:10em;text-align:right;margin-right:.5em}"
            "input,textarea{width:22em}.hata{color:#b00020}.alan{margin:.4em 0}</style></head><body>\n";
    html += content;
    html += "\n</body></html>\n";
    return html;
}

std::string trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

bool isComputerId(std::string_view id)
{
    if (id.empty() || id.size() > 64) return false;
    for (char c : id) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                        c == '_' || c == '.' || c == ':';
        if (!ok) return false;
    }
    return true;
}

std::string asciiUpper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool workstationKnown(soci::session& sql, const std::string& computerId)
{
    long long n = 0;
    sql << "SELECT COUNT(*) FROM workstations WHERE computer_id = :c", soci::into(n), soci::use(computerId);
    return n > 0;
}

// The form's fields, as typed; shown again (escaped) when something is wrong.
struct RequestForm {
    std::string computerId, company, contact, phone, city, email, username, password, password2, note;
};

struct FieldSpec {
    const char* name;
    const char* label;
    std::string RequestForm::*member;
    bool required;
    std::size_t maxBytes;
};

const FieldSpec kFields[] = {
    {"firma", "Firma Adı", &RequestForm::company, true, 100},
    {"yetkili", "Yetkili", &RequestForm::contact, true, 100},
    {"telefon", "Telefon", &RequestForm::phone, true, 30},
    {"sehir", "Şehir", &RequestForm::city, false, 50},
    {"mail", "E-posta", &RequestForm::email, true, 100},
    {"kullanici", "Kullanıcı Adı", &RequestForm::username, true, 30},
    {"sifre", "Şifre", &RequestForm::password, true, 30},
    {"sifre2", "Şifre (tekrar)", &RequestForm::password2, true, 30},
    {"not", "Not", &RequestForm::note, false, 1000},
};

std::string formPage(const RequestForm& form, const std::vector<std::string>& errors)
{
    std::string body = "<h1>Durnak Otomotiv B2B İstek Formu</h1>\n"
                       "<p>Bu bilgisayar için kullanıcı isteğinizi doldurun; onaylandığında programa giriş "
                       "yapabilirsiniz. Kullanıcı adı ve şifre büyük harfe çevrilir.</p>\n";
    body += "<p>Bilgisayar ID: <b>" + escapeHtml(form.computerId) + "</b></p>\n";
    if (!errors.empty()) {
        body += "<ul class=\"hata\">";
        for (const auto& e : errors) body += "<li>" + escapeHtml(e) + "</li>";
        body += "</ul>\n";
    }
    body += "<form method=\"post\" action=\"formmailgonder.aspx\" accept-charset=\"utf-8\">\n";
    body += "<input type=\"hidden\" name=\"id\" value=\"" + escapeHtml(form.computerId) + "\">\n";
    for (const auto& f : kFields) {
        const std::string name = f.name;
        const std::string value = form.*(f.member);
        body += "<div class=\"alan\"><label for=\"" + name + "\">" + f.label + (f.required ? " *" : "") +
                ":</label>";
        if (name == "not") {
            body += "<textarea id=\"not\" name=\"not\" rows=\"4\" maxlength=\"1000\">" + escapeHtml(value) +
                    "</textarea>";
        } else {
            // Passwords are never sent back to the browser.
            const bool secret = name == "sifre" || name == "sifre2";
            body += "<input id=\"" + name + "\" name=\"" + name + "\" type=\"" + (secret ? "password" : "text") +
                    "\" maxlength=\"" + std::to_string(f.maxBytes) + "\" value=\"" +
                    (secret ? std::string() : escapeHtml(value)) + "\">";
        }
        body += "</div>\n";
    }
    body += "<div class=\"alan\"><label></label><button type=\"submit\">Gönder</button></div>\n</form>";
    return page("Durnak Otomotiv B2B İstek Formu", body);
}

std::vector<std::string> validate(RequestForm& form)
{
    std::vector<std::string> errors;
    for (const auto& f : kFields) {
        std::string& value = form.*(f.member);
        const bool multiLine = std::string_view(f.name) == "not";
        if (!isCleanUtf8(value, multiLine)) {
            errors.push_back(std::string(f.label) + " geçersiz karakter içeriyor.");
            value.clear();
            continue;
        }
        value = trim(value);
        if (f.required && value.empty()) errors.push_back(std::string(f.label) + " boş olamaz.");
        else if (value.size() > f.maxBytes) errors.push_back(std::string(f.label) + " çok uzun.");
    }
    if (!errors.empty()) return errors;

    if (form.phone.find_first_not_of("0123456789 +()-") != std::string::npos)
        errors.push_back("Telefon yalnızca rakam, boşluk ve + ( ) - içerebilir.");
    const auto at = form.email.find('@');
    if (at == std::string::npos || at == 0 || form.email.find('@', at + 1) != std::string::npos ||
        form.email.find('.', at) == std::string::npos || form.email.back() == '.' ||
        form.email.find_first_of(" <>,;\"") != std::string::npos)
        errors.push_back("E-posta adresi geçerli değil.");
    form.username = asciiUpper(form.username);
    if (form.username.size() < 3 ||
        form.username.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-") != std::string::npos)
        errors.push_back("Kullanıcı adı en az 3 karakter olmalı; harf (Türkçe karakter olmadan), rakam, . _ - "
                         "kullanılabilir.");
    if (form.password != form.password2) errors.push_back("Şifreler aynı değil.");
    form.password = asciiUpper(form.password);
    if (form.password.size() < 4 || form.password.find_first_not_of(
                                        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,_-*+!?#$%&=/@") != std::string::npos)
        errors.push_back("Şifre en az 4 karakter olmalı; harf (Türkçe karakter olmadan), rakam ve "
                         ". , _ - * + ! ? # $ % & = / @ kullanılabilir.");
    return errors;
}

} // namespace

WebResponse Site::handle(const WebRequest& request)
{
    const auto target = splitTarget(request.target);
    if (!target) return textResponse(400, "Geçersiz adres.");
    const std::string path = asciiLower(target->path);
    const bool read = request.method == "GET" || request.method == "HEAD";

    try {
        if (path == "/ip") {
            if (!read) return {405, kText, "", {{"Allow", "GET, HEAD"}}};
            return {200, kText, request.peer, {{"Cache-Control", "no-store"}}};
        }
        if (path == "/" || path == "/default.aspx" || path == "/index.html") {
            if (!read) return {405, kText, "", {{"Allow", "GET, HEAD"}}};
            return rootPage();
        }
        if (path == "/resimgoster.ashx") {
            if (!read) return {405, kText, "", {{"Allow", "GET, HEAD"}}};
            return picture(target->query);
        }
        if (path == "/exe/" + asciiLower(kSetupFileName)) {
            if (!read) return {405, kText, "", {{"Allow", "GET, HEAD"}}};
            return setupFile();
        }
        if (path == "/formmailgonder.aspx") {
            if (read) return requestForm(request, target->query);
            if (request.method == "POST") return storeRequest(request);
            return {405, kText, "", {{"Allow", "GET, HEAD, POST"}}};
        }
    } catch (const std::exception& e) {
        logError("web " + request.method + " " + target->path + ": " + e.what());
        return textResponse(500, "Sunucu hatası.");
    }
    return textResponse(404, "Bulunamadı.");
}

WebResponse Site::picture(const std::string& query)
{
    const auto fields = parseQuery(query);
    if (!fields) return textResponse(400, "Geçersiz sorgu.");
    const auto it = fields->find("id");
    if (it == fields->end()) return textResponse(400, "id gerekli.");
    const std::string id = trim(it->second);
    std::int32_t stokno = 0;
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), stokno);
    if (id.empty() || ec != std::errc() || end != id.data() + id.size() || stokno <= 0)
        return textResponse(400, "id bir stok numarası olmalı.");

    const auto jpeg = cachedPicture(stokno);
    // No picture: an empty body, which the client's size check drops.
    if (jpeg->empty()) return {404, "image/jpeg", "", {}};
    return {200, "image/jpeg", *jpeg, {}};
}

std::shared_ptr<const std::string> Site::cachedPicture(std::int32_t stokno)
{
    constexpr auto kFresh = std::chrono::seconds(3);
    constexpr std::size_t kMaxBytes = 64u * 1024 * 1024;
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(cacheMutex_);
        auto it = pictureCache_.find(stokno);
        if (it != pictureCache_.end() && now - it->second.fetched < kFresh) return it->second.jpeg;
    }
    auto jpeg = std::make_shared<std::string>();
    {
        soci::session sql(store_.pool());
        soci::indicator ind = soci::i_null;
        sql << "SELECT jpeg FROM stock_pictures WHERE stokno = :n", soci::into(*jpeg, ind), soci::use(stokno);
        if (!sql.got_data() || ind != soci::i_ok) jpeg->clear();
        else dialect::blobResult(dialectOf(sql), *jpeg);
    }
    std::lock_guard lock(cacheMutex_);
    if (cacheBytes_ + jpeg->size() > kMaxBytes || pictureCache_.size() >= 100000) {
        pictureCache_.clear();  // simpler than LRU and rare: the cache refills in seconds
        cacheBytes_ = 0;
    }
    auto& slot = pictureCache_[stokno];
    if (slot.jpeg) cacheBytes_ -= slot.jpeg->size();
    slot = {jpeg, now};
    cacheBytes_ += jpeg->size();
    return jpeg;
}

WebResponse Site::setupFile()
{
    soci::session sql(store_.pool());
    WebResponse response{200, "application/octet-stream", {},
                         {{"Content-Disposition", std::string("attachment; filename=\"") + kSetupFileName + "\""}}};
    soci::indicator ind = soci::i_null;
    const std::string name = kSetupFileName;
    sql << "SELECT content FROM published_files WHERE name = :n", soci::into(response.body, ind), soci::use(name);
    if (!sql.got_data() || ind != soci::i_ok) return textResponse(404, "Kurulum dosyası yayımlanmamış.");
    dialect::blobResult(dialectOf(sql), response.body);
    return response;
}

WebResponse Site::rootPage()
{
    soci::session sql(store_.pool());
    long long published = 0;
    const std::string name = kSetupFileName;
    sql << "SELECT COUNT(*) FROM published_files WHERE name = :n", soci::into(published), soci::use(name);
    std::string body = "<h1>Durnak Otomotiv</h1>\n<p>Otomotiv yedek parça bayi sipariş sistemi.</p>\n"
                       "<ul>\n";
    if (published) body += "<li><a href=\"exe/DurnakOtoSetup.exe\">Durnak Otomotiv B2B Programını indir</a></li>\n";
    body += "<li><a href=\"ip\">IP adresim</a></li>\n</ul>\n";
    return htmlResponse(200, page("Durnak Otomotiv", body));
}

WebResponse Site::requestForm(const WebRequest& request, const std::string& query)
{
    (void)request;
    const auto fields = parseQuery(query);
    if (!fields) return htmlResponse(400, page("Hata", "<p class=\"hata\">Geçersiz sorgu.</p>"));
    RequestForm form;
    if (auto it = fields->find("id"); it != fields->end()) form.computerId = trim(it->second);
    if (!isComputerId(form.computerId))
        return htmlResponse(400, page("Hata", "<p class=\"hata\">Bilgisayar ID eksik veya geçersiz.</p>"));
    soci::session sql(store_.pool());
    if (workstationKnown(sql, form.computerId))
        return htmlResponse(200, page("Durnak Otomotiv B2B", "<p>Bu bilgisayar zaten tanımlı; programa giriş "
                                                              "yapabilirsiniz.</p>"));
    return htmlResponse(200, formPage(form, {}));
}

WebResponse Site::storeRequest(const WebRequest& request)
{
    if (asciiLower(request.contentType).rfind("application/x-www-form-urlencoded", 0) != 0)
        return htmlResponse(400, page("Hata", "<p class=\"hata\">Form verisi bekleniyordu.</p>"));
    const auto fields = parseQuery(request.body);
    if (!fields) return htmlResponse(400, page("Hata", "<p class=\"hata\">Form verisi bozuk.</p>"));

    RequestForm form;
    if (auto it = fields->find("id"); it != fields->end()) form.computerId = trim(it->second);
    if (!isComputerId(form.computerId))
        return htmlResponse(400, page("Hata", "<p class=\"hata\">Bilgisayar ID eksik veya geçersiz.</p>"));
    for (const auto& f : kFields)
        if (auto it = fields->find(f.name); it != fields->end()) form.*(f.member) = it->second;

    auto errors = validate(form);
    soci::session sql(store_.pool());
    if (errors.empty()) {
        long long taken = 0;
        sql << "SELECT COUNT(*) FROM users WHERE upper(username) = :u", soci::into(taken), soci::use(form.username);
        if (taken) errors.push_back("Bu kullanıcı adı kullanılıyor; başka bir ad seçin.");
    }
    if (!errors.empty()) return htmlResponse(400, formPage(form, errors));
    if (workstationKnown(sql, form.computerId))
        return htmlResponse(200, page("Durnak Otomotiv B2B", "<p>Bu bilgisayar zaten tanımlı; programa giriş "
                                                              "yapabilirsiniz.</p>"));

    // Hashed before the transaction: argon2id takes a while and must not hold the write lock.
    const std::string hash = domain::hashPassword(form.password);
    const std::string subject = "Yeni kullanıcı isteği: " + form.company;
    const std::string mailBody = "Bilgisayar ID: " + form.computerId + "\nFirma: " + form.company +
                                 "\nYetkili: " + form.contact + "\nTelefon: " + form.phone + "\nŞehir: " +
                                 form.city + "\nE-posta: " + form.email + "\nKullanıcı adı: " + form.username +
                                 "\nNot: " + form.note + "\n\nOnay: durnak-admin requests / approve-request\n";
    {
        db::WriteTransaction tx(sql);
        long long open = 0;
        sql << "SELECT COUNT(*) FROM user_requests WHERE status = 'bekliyor' AND computer_id <> :c",
            soci::into(open), soci::use(form.computerId);
        if (open >= kMaxOpenRequests) {
            logWarning("request form: too many open requests, refusing one from " + request.peer);
            return htmlResponse(503, page("Hata", "<p class=\"hata\">Şu anda istek alınamıyor; lütfen daha sonra "
                                                  "tekrar deneyin.</p>"));
        }
        // A second request from the same workstation replaces its open one.
        sql << "DELETE FROM user_requests WHERE computer_id = :c AND status = 'bekliyor'",
            soci::use(form.computerId);
        sql << "INSERT INTO user_requests (computer_id, company, contact, username, password_hash, email, phone,"
               " city, note, peer) VALUES (:c, :f, :y, :u, :h, :m, :t, :s, :n, :p)",
            soci::use(form.computerId), soci::use(form.company), soci::use(form.contact), soci::use(form.username),
            soci::use(hash), soci::use(form.email), soci::use(form.phone), soci::use(form.city),
            soci::use(form.note), soci::use(request.peer);
        sql << "INSERT INTO mail_outbox (kind, computer_id, subject, body) VALUES ('istek', :c, :s, :b)",
            soci::use(form.computerId), soci::use(subject), soci::use(mailBody);
        tx.commit();
    }
    logInfo("request form: new user request for workstation " + form.computerId + " from " + request.peer);
    return htmlResponse(200, page("Durnak Otomotiv B2B İstek Formu",
                                  "<h1>İsteğiniz alındı</h1>\n<p>Teşekkürler, " + escapeHtml(form.contact) +
                                      ". İsteğiniz onaylandığında bu bilgisayardan programa giriş "
                                      "yapabilirsiniz.</p>"));
}

} // namespace durnak::server::web
