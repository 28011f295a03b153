// Accounts: the record of the signed-in workstation, the customer card, overdue warning,
// and messages to the dealer.

#include "domain/pricing.hpp"

#include "dispatch/method_registry.hpp"
#include "domain/dates.hpp"
#include "domain/passwords.hpp"
#include "durnak/protocol/marshal.hpp"
#include "methods/domain_support.hpp"

namespace durnak::server {
namespace {

using protocol::Value;

// What the client compares a typed password with when the stored hash does not match:
// a control character cannot be typed into the password box.
constexpr const char* kUnmatchable = "\x01";

protocol::TSonucBilgisi accountFor(CallContext& call, const std::string& computerId)
{
    auto& sql = call.db();
    protocol::TSonucBilgisi r;
    r.FBILGISAYARID = computerId;
    r.FSIFRE = kUnmatchable;
    std::string storedHash;
    const bool found = readFirst(
        (sql.prepare << "SELECT u.id, u.username, u.password_hash, u.user_type, u.active, u.email,"
                        " u.expected_version, c.carino, c.code, c.name, c.active,"
                        " r.id, r.name, r.email, r.phone"
                        " FROM workstations w JOIN users u ON u.id = w.user_id"
                        " LEFT JOIN customers c ON c.carino = u.carino"
                        " LEFT JOIN sales_reps r ON r.id = COALESCE(u.rep_id, c.rep_id)"
                        " WHERE w.computer_id = :id",
         soci::use(computerId)),
        [&](const soci::row& row) {
            using namespace db;
            r.FVarmi = true;
            r.FSirano = static_cast<std::int32_t>(integer(row, 0));
            r.FADI = text(row, 1);
            storedHash = text(row, 2);
            r.FMusteriTipi = static_cast<std::int32_t>(integer(row, 3));
            const bool customerActive = row.get_indicator(7) == soci::i_null || integer(row, 10) != 0;
            r.FAKTIF = integer(row, 4) != 0 && customerActive ? 1 : 0;
            r.FKullanicimail = text(row, 5);
            r.FVersion = static_cast<std::int32_t>(integer(row, 6));
            r.FCARINO = static_cast<std::int32_t>(integer(row, 7));
            r.Fcarikod = text(row, 8);
            r.FCariAdi = text(row, 9);
            r.FSaticiNo = static_cast<std::int32_t>(integer(row, 11));
            r.FSaticiAdi = text(row, 12);
            r.FSaticiMail = text(row, 13);
            r.FSaticiTelefon = text(row, 14);
        });
    // Checked once the query is done: the check counts failures on the same connection.
    if (found && call.typedPasswordMatches(computerId, r.FADI, storedHash)) r.FSIFRE = call.connection().password;
    return r;
}

protocol::TMobilCariBilgisi customerCard(soci::session& sql, const std::string& computerId)
{
    protocol::TMobilCariBilgisi card;
    card.FBILGISAYARID = computerId;
    readFirst(
        (sql.prepare << "SELECT c.city, c.fax1, COALESCE(r.email, ''), COALESCE(r.name, ''), c.name, c.email,"
                        " c.tax_office, c.contact, c.sub_group, c.phone2, c.gsm, c.phone1, c.address2, c.address1,"
                        " c.country, c.main_group, c.carino, c.tax_no, c.special_code, u.username,"
                        " COALESCE(r.phone, ''), c.code, c.fax2, c.district,"
                        " (SELECT COALESCE(SUM(debit), 0) FROM account_movements m WHERE m.carino = c.carino),"
                        " (SELECT COALESCE(SUM(credit), 0) FROM account_movements m WHERE m.carino = c.carino)"
                        " FROM workstations w JOIN users u ON u.id = w.user_id JOIN customers c ON c.carino = u.carino"
                        " LEFT JOIN sales_reps r ON r.id = c.rep_id WHERE w.computer_id = :id",
         soci::use(computerId)),
        [&card](const soci::row& r) {
            using namespace db;
            card.FSEHIR = text(r, 0);
            card.FFAX1 = text(r, 1);
            card.FSATICIMAIL = text(r, 2);
            card.FSATICIADI = text(r, 3);
            card.FCARIADI = text(r, 4);
            card.FEMAIL = text(r, 5);
            card.FMAIL = text(r, 5);
            card.FVERGIDAIRESI = text(r, 6);
            card.FYETKILI = text(r, 7);
            card.FAltGrup = text(r, 8);
            card.FTEL2 = text(r, 9);
            card.FGSM = text(r, 10);
            card.FTEL1 = text(r, 11);
            card.FADRES2 = text(r, 12);
            card.FADRES1 = text(r, 13);
            card.FULKE = text(r, 14);
            card.FAnaGrup = text(r, 15);
            card.FCARINO = static_cast<std::int32_t>(integer(r, 16));
            card.FVERGINO = text(r, 17);
            card.FOzelKod = text(r, 18);
            card.FKULLANICIADI = text(r, 19);
            card.FSATICITELEFON = text(r, 20);
            card.FCARIKOD = text(r, 21);
            card.FFAX2 = text(r, 22);
            card.FILCE = text(r, 23);
            card.FTLBORC = real(r, 24);
            card.FTLALACAK = real(r, 25);
            card.FTLBAKIYE = domain::roundMoney(card.FTLBORC - card.FTLALACAK);
            // FSIFRE stays empty: no stored password leaves the server.
        });
    return card;
}

// Stores a message to the dealer in the outbox; the mailer sends it. The fields arrive in
// the order of the form: labels give each its line in the message.
std::int32_t queueMail(soci::session& sql, const char* kind, const std::vector<Value>& params,
                       const std::vector<const char*>& labels, bool signedIn)
{
    constexpr std::size_t kMaxField = 8000;
    const std::string computerId = boundedText(params.at(0), 200);
    std::string subject = boundedText(params.at(1), 300);
    std::string body;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!labels[i]) continue;
        body += std::string(labels[i]) + ": " + boundedText(params.at(i + 2), kMaxField) + "\n";
    }
    if (subject.empty()) subject = "(konusuz)";
    // Who the message really comes from, as the server knows the workstation.
    std::string sender;
    sql << "SELECT c.code || ' ' || c.name FROM workstations w JOIN users u ON u.id = w.user_id"
           " JOIN customers c ON c.carino = u.carino WHERE w.computer_id = :id",
        soci::into(sender), soci::use(computerId);
    if (!sql.got_data()) sender = "(kayıtlı olmayan bilgisayar)";
    // A request sent before sign-in names a computer ID nobody has proven to hold.
    if (!signedIn) sender += " (oturum açılmadan gönderildi, bilgisayar kimliği doğrulanmadı)";
    body = "Gönderen cari: " + sender + "\nBilgisayar: " + computerId + "\n" + body;
    std::string kindText = kind;
    db::WriteTransaction tx(sql);
    sql << "INSERT INTO mail_outbox (kind, computer_id, subject, body) VALUES (:k, :c, :s, :b)", soci::use(kindText),
        soci::use(computerId), soci::use(subject), soci::use(body);
    tx.commit();
    return 1;
}

} // namespace

void registerAccountMethods(MethodRegistry& registry)
{
    // An unknown computer ID answers a record with FVarmi false, never null: the sign-in
    // reads the record in any case.
    registry.add("BuyukGetir", [](CallContext& call, std::vector<Value>& params) {
        const std::string computerId = boundedText(params.at(0), 200);
        return call.reply(protocol::toValue(accountFor(call, computerId)));
    });

    // The customer of the workstation; an unknown workstation gets an empty card.
    registry.add("MobilCariBilgisiGetir", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(protocol::toValue(customerCard(call.db(), boundedText(params.at(1), 200))));
    });

    // A password-change request. The requested password is not written into the message:
    // mail is no place for it; the dealer sets a new one with the admin tool.
    registry.add("MailGonserCari", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(queueMail(call.db(), "sifre_istegi", params,
                                    {"Firma", "Adres 1", "Adres 2", "İlçe", "Şehir", "Telefon", "Faks", "Vergi Dairesi",
                                     "Vergi No", "Yetkili", "Kullanıcı Adı", nullptr, "E-posta", "Kargo/Ambar"},
                                    call.identity() != nullptr));
    });
    registry.add("MailGonserCariNormal", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(queueMail(call.db(), "mesaj", params,
                                    {"Firma", "Adres 1", "Adres 2", "İlçe", "Şehir", "Telefon", "Faks", "Vergi Dairesi",
                                     "Vergi No", "Yetkili", "Kullanıcı Adı", nullptr, "E-posta", "Kargo/Ambar",
                                     "Mesaj"},
                                    call.identity() != nullptr));
    });
}

} // namespace durnak::server
