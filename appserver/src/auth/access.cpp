// Which calls a session may make. One table, checked by the dispatcher before any method
// runs, so that no method has to repeat the checks.

#include <map>
#include <optional>

#include <soci/soci.h>

#include "auth/authenticator.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"
#include "methods/domain_support.hpp"

namespace durnak::server::auth {
namespace {

using protocol::Value;

// What a parameter names.
enum class Arg {
    Customer,     // a customer number (carino)
    Record,       // a session record: its FCARINO is checked, its FSirano becomes the caller's
    EnteredBy,    // the user number recorded as having entered something: always the caller's
    BasketLine,   // basket.sirano
    Order,        // orders.id
    OrderLine,    // order_lines.id
    Movement,     // account_movements.id
    Receipt,      // pos_receipts.id
    Workstation,  // a computer ID
};

struct Rule {
    bool open = false;       // needs no session (sign-in, requests before sign-in)
    bool repsOnly = false;   // sales representatives only
    std::vector<std::pair<std::size_t, Arg>> args;
};

const std::map<std::string, Rule, std::less<>>& rules()
{
    using A = Arg;
    static const std::map<std::string, Rule, std::less<>> table = {
        // Before sign-in: the sign-in itself, the connection test and the password-change
        // request of a user who cannot sign in any more.
        {"EchoString", {true, false, {}}},
        {"ReverseString", {true, false, {}}},
        {"BuyukGetir", {true, false, {}}},
        {"MailGonserCari", {true, false, {}}},
        {"CikisGonder", {true, false, {}}},

        {"StokAraGetir", {false, false, {{1, A::Record}}}},
        {"YenilerVer2", {false, false, {{0, A::Customer}}}},
        {"KampanyaliVer2", {false, false, {{0, A::Customer}}}},

        {"SepetVer2", {false, false, {{0, A::Customer}}}},
        {"SepetEkle2", {false, false, {{0, A::Record}, {1, A::Customer}, {9, A::EnteredBy}}}},
        {"SepetGuncelle2", {false, false, {{0, A::Record}, {1, A::Customer}, {9, A::EnteredBy}, {10, A::BasketLine}}}},
        {"SepetSecimGuncelle", {false, false, {{0, A::BasketLine}}}},
        {"SepetSatirSil", {false, false, {{0, A::Record}, {1, A::BasketLine}}}},
        {"SepetHepsiniSil", {false, false, {{0, A::Record}}}},
        {"SiparisKaydet", {false, false, {{0, A::Record}, {1, A::Customer}, {5, A::EnteredBy}}}},
        {"CariVadeGunGecmismiBul", {false, false, {{0, A::Customer}}}},

        {"OncekiSiparisler", {false, false, {{0, A::Customer}}}},
        {"SiparisAyrintisi2", {false, false, {{0, A::Customer}, {1, A::Order}}}},
        {"SiparisAytintisiDip", {false, false, {{0, A::Customer}, {1, A::Order}}}},
        {"TumSiparislerVer", {false, false, {{0, A::Customer}}}},
        {"BakiyelerVer2", {false, false, {{0, A::Customer}}}},
        {"BakiyeDuzenle", {false, false, {{0, A::Record}, {3, A::OrderLine}}}},
        {"BakiyeDegistir", {false, false, {{0, A::Record}, {3, A::OrderLine}}}},
        // Prices of ordered lines are the representatives' to change.
        {"BakiyeFiyatDegistir", {false, true, {{0, A::Record}, {3, A::OrderLine}}}},
        {"CariEkstreVer", {false, false, {{0, A::Customer}}}},
        {"FaturaGetir", {false, false, {{0, A::Customer}, {1, A::Movement}}}},
        {"FaturaAltGetir", {false, false, {{0, A::Movement}}}},
        {"Tahsilat", {false, false, {{0, A::Movement}}}},
        {"SanalposSiranoVer", {false, false, {{0, A::Movement}}}},
        {"SAnalPosPdfVer", {false, false, {{0, A::Receipt}}}},

        // The console's lists and counters follow the reach of the session record's user
        // (methods/console.cpp), which is the caller's own after the record check.
        {"CariAra", {false, false, {{0, A::Record}}}},
        {"CariSepetVer", {false, false, {{0, A::Record}}}},
        {"SepetSayisi", {false, false, {{0, A::Record}}}},
        {"TusSonuclariVer", {false, false, {{0, A::Record}}}},
        {"RaporGetir", {false, false, {{3, A::Customer}}}},
        {"RaporAlinanSiparisler", {false, false, {{0, A::Record}}}},
        {"RaporEnCokSatilanStoklar", {false, false, {{0, A::Record}}}},

        {"BalonGetir", {false, false, {{0, A::Record}}}},
        {"MobilCariBilgisiGetir", {false, false, {{1, A::Workstation}}}},
        {"MailGonserCariNormal", {false, false, {{0, A::Workstation}}}},
        // Every other method of the catalogue (pictures, banners, cargo lists, ...) needs a
        // session and names nothing that belongs to a customer.
    };
    return table;
}

// Type 1 acts for every customer, type 2 for the customers of the representative record it
// stands for, everybody for the customer of his own account. A number that names no
// customer reaches nothing, so the method's own "not found" answer stands.
bool mayActFor(soci::session& sql, const Identity& id, std::int32_t carino)
{
    if (carino == 0 || carino == id.carino || id.userType == 1) return true;
    int rep = 0;
    soci::indicator repInd = soci::i_null;
    sql << "SELECT rep_id FROM customers WHERE carino = :c", soci::into(rep, repInd), soci::use(carino);
    if (!sql.got_data()) return id.representative();
    return id.userType == 2 && id.repId != 0 && repInd == soci::i_ok && rep == id.repId;
}

// The customer a numbered row belongs to; nullopt when there is no such row.
std::optional<std::int32_t> ownerOf(soci::session& sql, Arg kind, std::int32_t n)
{
    const char* query = nullptr;
    switch (kind) {
    case Arg::BasketLine: query = "SELECT carino FROM basket WHERE sirano = :n"; break;
    case Arg::Order: query = "SELECT carino FROM orders WHERE id = :n"; break;
    case Arg::OrderLine:
        query = "SELECT o.carino FROM order_lines l JOIN orders o ON o.id = l.order_id WHERE l.id = :n";
        break;
    case Arg::Movement: query = "SELECT carino FROM account_movements WHERE id = :n"; break;
    case Arg::Receipt:
        query = "SELECT m.carino FROM pos_receipts p JOIN account_movements m ON m.id = p.movement_id"
                " WHERE p.id = :n";
        break;
    default: return std::nullopt;
    }
    int carino = 0;
    sql << query, soci::into(carino), soci::use(n);
    if (!sql.got_data()) return std::nullopt;
    return carino;
}

const char* nameOf(Arg kind)
{
    switch (kind) {
    case Arg::BasketLine: return "sepet satırı";
    case Arg::Order: return "sipariş";
    case Arg::OrderLine: return "sipariş satırı";
    case Arg::Movement: return "cari hareketi";
    case Arg::Receipt: return "sanal pos belgesi";
    default: return "kayıt";
    }
}

[[noreturn]] void refuseCustomer(std::int32_t carino)
{
    throw AccessDenied("Bu cari için işlem yetkiniz yok: " + std::to_string(carino));
}

void checkWorkstation(soci::session& sql, const Identity& id, const std::string& computerId)
{
    if (computerId == id.computerId) return;
    int carino = 0;
    soci::indicator ind = soci::i_null;
    sql << "SELECT u.carino FROM workstations w JOIN users u ON u.id = w.user_id WHERE w.computer_id = :c",
        soci::into(carino, ind), soci::use(computerId);
    if (!sql.got_data()) return;  // an unknown workstation has no card to show
    if (ind != soci::i_ok || !mayActFor(sql, id, carino))
        throw AccessDenied("Bu bilgisayarın kaydı için yetkiniz yok: " + computerId);
}

} // namespace

void Authenticator::authorize(CallContext& call, const MethodRegistry::Method& method,
                              std::vector<Value>& params) const
{
    if (!method.spec) return;  // test diagnostics, registered only on test servers
    const auto& table = rules();
    const auto found = table.find(method.name);
    const Rule* rule = found == table.end() ? nullptr : &found->second;
    if (rule && rule->open) return;

    Identity* id = call.identity();
    if (!id || id->ended) throw AccessDenied(kNoSession);
    if (!rule) return;
    if (rule->repsOnly && !id->representative())
        throw AccessDenied("Bu işlem için yetkiniz yok: yalnızca satış temsilcileri kullanabilir.");

    for (const auto& [position, kind] : rule->args) {
        Value& value = params.at(position);
        switch (kind) {
        case Arg::Customer: {
            const auto carino = value.asInt32();
            if (!mayActFor(call.db(), *id, carino)) refuseCustomer(carino);
            break;
        }
        case Arg::Record: {
            if (value.isNull()) break;  // the defaults name no customer
            auto record = protocol::fromValue<protocol::TSonucBilgisi>(value);
            if (!mayActFor(call.db(), *id, record.FCARINO)) refuseCustomer(record.FCARINO);
            // The server knows who is calling; a record cannot claim to be someone else.
            if (record.FSirano != id->userId) {
                record.FSirano = id->userId;
                value = protocol::toValue(record);
            }
            break;
        }
        case Arg::EnteredBy: value = Value(id->userId); break;
        case Arg::Workstation:
            checkWorkstation(call.db(), *id, value.isNull() ? std::string() : value.asString());
            break;
        default: {
            const auto n = value.asInt32();
            const auto owner = ownerOf(call.db(), kind, n);
            if (owner && !mayActFor(call.db(), *id, *owner))
                throw AccessDenied(std::string("Bu ") + nameOf(kind) + " için işlem yetkiniz yok: " +
                                   std::to_string(n));
        }
        }
    }
}

} // namespace durnak::server::auth
