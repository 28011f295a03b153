// Sales-representative console and reports: customers in reach, order status counters and
// lists, customer reports, date-ranged report tables.

#include <cmath>
#include <map>

#include "dispatch/method_registry.hpp"
#include "domain/dates.hpp"
#include "domain/documents.hpp"
#include "domain/search_text.hpp"
#include "durnak/protocol/marshal.hpp"
#include "methods/domain_support.hpp"
#include "pdf/documents.hpp"

namespace durnak::server {
namespace {

using protocol::Column;
using protocol::FieldType;
using protocol::Value;

// Which customers a session reaches: user type 1 all, type 2 those of its representative,
// customer users their own account. The condition reads two parameters, :scope and :who.
struct Scope {
    int kind = 0;  // 0 one customer, 1 all, 2 one representative's
    std::int32_t who = 0;
};

Scope scopeOf(soci::session& sql, const protocol::TSonucBilgisi& session)
{
    int type = 0, rep = 0;
    soci::indicator repInd = soci::i_null;
    sql << "SELECT user_type, rep_id FROM users WHERE id = :u AND active = 1", soci::into(type),
        soci::into(rep, repInd), soci::use(session.FSirano);
    if (!sql.got_data()) return {0, session.FCARINO};
    if (type == 1) return {1, 0};
    if (type == 2 && repInd == soci::i_ok) return {2, rep};
    return {0, session.FCARINO};
}

constexpr const char* kInScope =
    "(:scope = 1 OR (:scope = 2 AND c.rep_id = :who) OR (:scope = 0 AND c.carino = :who))";

// Console state n (2..7) to the stored order status.
int statusOfState(int n)
{
    switch (n) {
    case 2: return 0;  // Alındı
    case 3: return 1;  // Onaylandı
    case 4: return 5;  // Görüldü
    case 5: return 2;  // Parçalı Hazırlandı
    case 6: return 4;  // Hazırlandı
    case 7: return 3;  // Sevk Edildi
    default: return -1;
    }
}

protocol::Table customerTable(soci::session& sql, const Scope& scope, const std::string& extraWhere, int status,
                              const std::string& search)
{
    protocol::Table t({intColumn("CARINO"), textColumn("CARIKOD", 25), textColumn("CARIADI", 100),
                       textColumn("SATICISI", 50), realColumn("TLBAKIYE"), textColumn("DURUM", 2),
                       textColumn("OZELKOD", 30), textColumn("KOD1", 30), textColumn("KOD2", 30),
                       textColumn("KOD3", 30), textColumn("KOD4", 30), textColumn("KOD5", 30), textColumn("TEL1", 30),
                       textColumn("TEL2", 30), textColumn("ILCE", 50), textColumn("IL", 50), textColumn("GSM", 30),
                       intColumn("SEPET"), textColumn("YETKILI", 50), textColumn("INDIRIM", 30), intColumn("VADE"),
                       intColumn("VADEKONTROLGUN"), intColumn("VADEKONTROLAY"), textColumn("VERGIDAIRESI", 50),
                       textColumn("VERGINO", 20), textColumn("ADRES1", 100), textColumn("ADRES2", 100),
                       textColumn("ANAGRUP", 50), textColumn("ALTGRUP", 50), textColumn("FAX1", 30),
                       textColumn("FAX2", 30), textColumn("EMAIL", 100), intColumn("ALINDI"), intColumn("ONAYLANDI"),
                       intColumn("GORULDU"), intColumn("HAZIRLANDI"), intColumn("PARCALIHAZIRLANDI")});
    soci::rowset<soci::row> rows =
        (sql.prepare << std::string(
                            "SELECT c.carino, c.code, c.name, COALESCE(r.name, ''),"
                            " (SELECT COALESCE(SUM(debit - credit), 0) FROM account_movements m WHERE m.carino = c.carino),"
                            " c.special_code, c.phone1, c.phone2, c.district, c.city, c.gsm,"
                            " (SELECT COUNT(*) FROM basket b WHERE b.carino = c.carino), c.contact, c.disc1, c.disc2,"
                            " c.disc3, c.disc4, c.payment_days, c.tax_office, c.tax_no, c.address1, c.address2,"
                            " c.main_group, c.sub_group, c.fax1, c.fax2, c.email,"
                            " (SELECT COUNT(*) FROM orders o WHERE o.carino = c.carino AND o.status = 0),"
                            " (SELECT COUNT(*) FROM orders o WHERE o.carino = c.carino AND o.status = 1),"
                            " (SELECT COUNT(*) FROM orders o WHERE o.carino = c.carino AND o.status = 5),"
                            " (SELECT COUNT(*) FROM orders o WHERE o.carino = c.carino AND o.status = 4),"
                            " (SELECT COUNT(*) FROM orders o WHERE o.carino = c.carino AND o.status = 2)"
                            " FROM customers c LEFT JOIN sales_reps r ON r.id = c.rep_id"
                            " WHERE c.active = 1 AND ") +
                            kInScope + extraWhere + " ORDER BY c.name, c.carino",
         soci::use(scope.kind, "scope"), soci::use(scope.who, "who"), soci::use(status, "status"));
    const std::vector<std::string> words = domain::searchWords(search);
    for (const auto& r : rows) {
        using namespace db;
        if (!words.empty()) {
            const std::string hay = " " + domain::foldText(text(r, 1) + " " + text(r, 2) + " " + text(r, 9) + " " +
                                                           text(r, 8) + " " + text(r, 5));
            bool all = true;
            for (const auto& w : words) all = all && hay.find(w) != std::string::npos;
            if (!all) continue;
        }
        const double balance = domain::roundMoney(real(r, 4));
        RowWriter w(t);
        w.integer(integer(r, 0)).text(text(r, 1)).text(text(r, 2)).text(text(r, 3)).real(std::fabs(balance));
        w.text(balance >= 0 ? "B" : "A").text(text(r, 5)).text("").text("").text("").text("").text("");
        w.text(text(r, 6)).text(text(r, 7)).text(text(r, 8)).text(text(r, 9)).text(text(r, 10)).integer(integer(r, 11));
        w.text(text(r, 12)).text(domain::discountText({real(r, 13), real(r, 14), real(r, 15), real(r, 16)}));
        w.integer(integer(r, 17)).integer(integer(r, 17)).integer(0);
        for (std::size_t i = 18; i <= 26; ++i) w.text(text(r, i));
        for (std::size_t i = 27; i <= 31; ++i) w.integer(integer(r, i));
    }
    return t;
}

protocol::TTusSonuclari counters(soci::session& sql, const Scope& scope)
{
    protocol::TTusSonuclari c;
    soci::rowset<soci::row> rows =
        (sql.prepare << std::string("SELECT o.status, COUNT(*) FROM orders o JOIN customers c ON c.carino = o.carino"
                                    " WHERE ") +
                            kInScope + " GROUP BY o.status",
         soci::use(scope.kind, "scope"), soci::use(scope.who, "who"));
    for (const auto& r : rows) {
        const auto n = static_cast<std::int32_t>(db::integer(r, 1));
        switch (db::integer(r, 0)) {
        case 0: c.FAlindi = n; break;
        case 1: c.FOnaylandi = n; break;
        case 2: c.FParcaliHazirlandi = n; break;
        case 3: c.FSevkEdildi = n; break;
        case 4: c.FHazirlandi = n; break;
        case 5: c.FGoruldu = n; break;
        default: break;
        }
    }
    return c;
}

// Report range: from the start of the first day to the end of the second.
std::pair<std::string, std::string> dayRange(double from, double to)
{
    if (!std::isfinite(from) || !std::isfinite(to)) throw DomainError("Geçersiz tarih.");
    if (to < from) std::swap(from, to);
    return {domain::storedDayOf(from), domain::storedDayOf(std::floor(to) + 1)};
}

protocol::Table ordersReport(soci::session& sql, const Scope& scope, double from, double to)
{
    const auto [start, end] = dayRange(from, to);
    static const char* const kStatus[] = {"Alındı", "Onaylandı", "Parçalı Hazırlandı", "Sevk Edildi", "Hazırlandı",
                                          "Görüldü"};
    return tableOf(
        {textColumn("SATICIADI", 50), realColumn("IDNO"), intColumn("CARINO"), Column{"TARIH", FieldType::Date},
         textColumn("KUR", 5), realColumn("KURTL"), intColumn("VERENIDNO"), textColumn("KARGO", 50),
         textColumn("TESLIM", 50), textColumn("VEREN", 50), textColumn("CARIKOD", 25), textColumn("CARIADI", 100),
         textColumn("DURUM", 100), textColumn("KARGOADI", 50), realColumn("VERGI"), realColumn("NETTUTAR"),
         realColumn("TUTAR")},
        (sql.prepare << std::string("SELECT COALESCE(r.name, ''), o.id, o.carino, o.created_at,"
                                    " COALESCE(o.entered_by, 0), COALESCE(k.name, ''), COALESCE(d.name, ''),"
                                    " COALESCE(u.username, ''), c.code, c.name, o.status, COALESCE(f.name, ''),"
                                    " o.vat_amount, o.net, o.total"
                                    " FROM orders o JOIN customers c ON c.carino = o.carino"
                                    " LEFT JOIN sales_reps r ON r.id = c.rep_id"
                                    " LEFT JOIN cargo_kinds k ON k.id = o.cargo_kind_id"
                                    " LEFT JOIN delivery_modes d ON d.id = o.delivery_id"
                                    " LEFT JOIN cargo_firms f ON f.id = o.cargo_firm_id"
                                    " LEFT JOIN users u ON u.id = o.entered_by"
                                    " WHERE o.created_at >= :start AND o.created_at < :end AND ") +
                            kInScope + " ORDER BY o.created_at, o.id",
         soci::use(start, "start"), soci::use(end, "end"), soci::use(scope.kind, "scope"),
         soci::use(scope.who, "who")),
        [](RowWriter& w, const soci::row& r) {
            using namespace db;
            const auto status = integer(r, 10);
            w.text(text(r, 0)).real(static_cast<double>(integer(r, 1))).integer(integer(r, 2));
            w.real(std::floor(domain::oleFromStored(text(r, 3)))).text("TL").real(1).integer(integer(r, 4));
            w.text(text(r, 5)).text(text(r, 6)).text(text(r, 7)).text(text(r, 8)).text(text(r, 9));
            w.text(status >= 0 && status <= 5 ? kStatus[status] : "").text(text(r, 11));
            w.real(real(r, 12)).real(real(r, 13)).real(real(r, 14));
        });
}

protocol::Table bestSellers(soci::session& sql, const Scope& scope, double from, double to)
{
    const auto [start, end] = dayRange(from, to);
    return tableOf(
        {textColumn("BARKOD", 50), textColumn("KOD", 50), textColumn("ADI", 100), textColumn("DEPARTMAN", 50),
         realColumn("MIKTAR"), realColumn("NETTUTAR"), realColumn("TLVERGI"), realColumn("TUTAR")},
        (sql.prepare << std::string("SELECT s.barcode, s.code, s.name, s.main_group, SUM(l.qty), SUM(l.net),"
                                    " SUM(l.vat_amount), SUM(l.gross)"
                                    " FROM order_lines l JOIN orders o ON o.id = l.order_id"
                                    " JOIN customers c ON c.carino = o.carino JOIN stock s ON s.stokno = l.stokno"
                                    " WHERE o.created_at >= :start AND o.created_at < :end AND ") +
                            kInScope + " GROUP BY s.stokno ORDER BY SUM(l.qty) DESC, SUM(l.net) DESC LIMIT 1000",
         soci::use(start, "start"), soci::use(end, "end"), soci::use(scope.kind, "scope"),
         soci::use(scope.who, "who")),
        [](RowWriter& w, const soci::row& r) {
            using namespace db;
            w.text(text(r, 0)).text(text(r, 1)).text(text(r, 2)).text(text(r, 3)).real(real(r, 4));
            w.real(domain::roundMoney(real(r, 5))).real(domain::roundMoney(real(r, 6)));
            w.real(domain::roundMoney(real(r, 7)));
        });
}

std::string customerReport(soci::session& sql, int report, std::int32_t carino, const std::string& rep, double from,
                           double to)
{
    return pdf::renderReport(sql, {report, report, 0, carino, rep, from, to});
}

} // namespace

void registerConsoleMethods(MethodRegistry& registry)
{
    registry.add("CariAra", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        const std::string text = boundedText(params.at(1), 200);
        auto& sql = call.db();
        return call.reply(customerTable(sql, scopeOf(sql, session), " AND :status = -1", -1, text));
    });

    // n = 1: customers with lines in their basket; 2..7: with orders in that state.
    registry.add("CariSepetVer", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        const int n = params.at(1).asInt32();
        auto& sql = call.db();
        const auto scope = scopeOf(sql, session);
        if (n == 1)
            return call.reply(customerTable(
                sql, scope, " AND :status = -1 AND EXISTS (SELECT 1 FROM basket b WHERE b.carino = c.carino)", -1, ""));
        const int status = statusOfState(n);
        if (status < 0) throw DomainError("Geçersiz sipariş durumu: " + std::to_string(n));
        return call.reply(customerTable(
            sql, scope, " AND EXISTS (SELECT 1 FROM orders o WHERE o.carino = c.carino AND o.status = :status)", status,
            ""));
    });

    // Customers in reach with something in their basket.
    registry.add("SepetSayisi", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        auto& sql = call.db();
        const auto scope = scopeOf(sql, session);
            int count = 0;
        sql << std::string("SELECT COUNT(*) FROM customers c WHERE EXISTS (SELECT 1 FROM basket b WHERE b.carino ="
                           " c.carino) AND ") +
                   kInScope,
            soci::into(count), soci::use(scope.kind, "scope"), soci::use(scope.who, "who");
        return call.reply(static_cast<std::int32_t>(count));
    });

    registry.add("TusSonuclariVer", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        auto& sql = call.db();
        return call.reply(protocol::toValue(counters(sql, scopeOf(sql, session))));
    });

    registry.add("RaporGetir", [](CallContext& call, std::vector<Value>& params) {
        const int report = params.at(0).asInt32();
        if (report != 6 && report != 7) throw DomainError("Bilinmeyen rapor: " + std::to_string(report));
        std::string pdf = customerReport(call.db(), report, params.at(3).asInt32(), boundedText(params.at(4), 200),
                                         params.at(5).asDouble(), params.at(6).asDouble());
        const auto length = static_cast<std::int64_t>(pdf.size());
        return call.reply(protocol::Stream{std::move(pdf)}, {{7, Value(length)}});
    });

    registry.add("RaporAlinanSiparisler", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        auto& sql = call.db();
        return call.reply(ordersReport(sql, scopeOf(sql, session), params.at(1).asDouble(), params.at(2).asDouble()));
    });
    registry.add("RaporEnCokSatilanStoklar", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        auto& sql = call.db();
        return call.reply(bestSellers(sql, scopeOf(sql, session), params.at(1).asDouble(), params.at(2).asDouble()));
    });
}

} // namespace durnak::server
