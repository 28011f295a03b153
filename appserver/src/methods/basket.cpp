// Basket and order: the server-held basket with its ticks, delivery and cargo choices,
// and the order built from the ticked lines.

#include <cmath>

#include "dispatch/method_registry.hpp"
#include "domain/dates.hpp"
#include "methods/domain_support.hpp"
#include "store/dialect.hpp"

namespace durnak::server {
namespace {

using protocol::Column;
using protocol::FieldType;
using protocol::Value;

constexpr std::size_t kMaxNote = 4000;

std::int32_t customerOf(soci::session& sql, std::int32_t carino)
{
    if (!customerExists(sql, carino)) throw DomainError("Cari bulunamadı: " + std::to_string(carino));
    return carino;
}

double checkedQuantity(double qty)
{
    if (!domain::validQuantity(qty))
        throw DomainError("Geçersiz miktar: 0'dan büyük ve en çok " +
                          std::to_string(static_cast<long long>(domain::kMaxQuantity)) + " olmalı.");
    // Thousandths are the finest unit any item is sold in.
    return std::round(qty * 1000) / 1000;
}

// A user number from the client, kept only when it names a user (the row refers to it).
std::optional<std::int32_t> knownUser(soci::session& sql, std::int32_t id)
{
    int n = 0;
    sql << "SELECT COUNT(*) FROM users WHERE id = :id", soci::into(n), soci::use(id);
    if (n == 0) return std::nullopt;
    return id;
}

std::vector<Column> basketColumns()
{
    return {
        intColumn("SIRANO"), intColumn("STOKNO"), intColumn("SEC"), Column{"VERILISTARIHI", FieldType::DateTime},
        Column{"TARIH", FieldType::Date}, textColumn("SAAT", 8), intColumn("SIPARISNO"), intColumn("CARINO"),
        textColumn("BARKOD", 30), textColumn("STOKADI", 100), textColumn("MARKA", 50), textColumn("MODEL", 50),
        textColumn("FINISHKOD", 40), textColumn("OEMNO", 40), textColumn("OEM1", 40), textColumn("OEM2", 40),
        textColumn("OEM3", 40), textColumn("OEM4", 40), textColumn("DIGERADI", 100), textColumn("DPKOD", 40),
        textColumn("PKOD", 40), textColumn("ANAGRUP", 50), textColumn("OZELKOD", 40), textColumn("URETICIKODU", 40),
        realColumn("MIKTAR"), realColumn("BIRIMFIYAT"), realColumn("TUTAR"), realColumn("INDIRIMORANI1"),
        realColumn("INDIRIMORANI2"), realColumn("INDIRIMORANI3"), realColumn("INDIRIMORANI4"),
        textColumn("INDIRIMYAZI", 30), realColumn("INDIRIMTUTAR"), realColumn("NETBIRIMFIYAT"), realColumn("KDV"),
        realColumn("VERGITUTARI"), realColumn("NETTUTAR"), realColumn("KDVLITUTAR"), textColumn("KUR", 5),
        realColumn("KURTL"), textColumn("ACIKLAMA", 100), textColumn("VEREN", 50), intColumn("VERENIDNO"),
        intColumn("AKTAR"), intColumn("DURUM"), intColumn("K"),
    };
}

protocol::Table basketTable(soci::session& sql, std::int32_t carino)
{
    return tableOf(
        basketColumns(),
        (sql.prepare << "SELECT b.sirano, b.stokno, b.sec, b.entered_at, b.carino, s.barcode, s.name, s.make,"
                        " s.model, s.code, s.oem1, s.oem2, s.oem3, s.oem4, s.other_name, s.dpkod, s.pkod,"
                        " s.main_group, s.special_code, s.maker_code, b.qty, b.unit_price, b.disc1, b.disc2,"
                        " b.disc3, b.disc4, b.vat, COALESCE(u.username, ''), COALESCE(b.entered_by, 0), s.durum,"
                        " b.campaign"
                        " FROM basket b JOIN stock s ON s.stokno = b.stokno"
                        " LEFT JOIN users u ON u.id = b.entered_by"
                        " WHERE b.carino = :c ORDER BY b.sirano",
         soci::use(carino)),
        [](RowWriter& w, const soci::row& row) {
            using namespace db;
            const std::string enteredAt = text(row, 3);
            const double when = domain::oleFromStored(enteredAt);
            const domain::Discounts rates = discounts(row, 22);
            const double qty = real(row, 20), unit = real(row, 21), vat = real(row, 26);
            const auto a = domain::lineAmounts(qty, unit, rates, vat);
            w.integer(integer(row, 0)).integer(integer(row, 1)).integer(integer(row, 2)).real(when);
            w.real(std::floor(when)).text(timeOfDay(enteredAt)).integer(0);
            w.integer(integer(row, 4));
            for (std::size_t i = 5; i <= 10; ++i) w.text(text(row, i));  // barcode .. oem1 (OEMNO)
            for (std::size_t i = 10; i <= 19; ++i) w.text(text(row, i));
            w.real(qty).real(unit).real(a.gross).real(rates[0]).real(rates[1]).real(rates[2]).real(rates[3]);
            w.text(domain::discountText(rates)).real(a.discount).real(a.netUnit).real(vat).real(a.vat).real(a.net);
            w.real(a.total).text("TL").real(1).text("").text(text(row, 27)).integer(integer(row, 28)).integer(0);
            w.integer(integer(row, 29)).integer(integer(row, 30));
        });
}

struct StockTerms {
    double listPrice = 0, campaignPrice = 0, vat = 0;
    bool campaign = false;
};

StockTerms stockTerms(soci::session& sql, std::int32_t stokno)
{
    StockTerms t;
    int campaign = 0;
    sql << "SELECT list_price, campaign_price, vat, is_campaign FROM stock WHERE stokno = :n AND active = 1",
        soci::into(t.listPrice), soci::into(t.campaignPrice), soci::into(t.vat), soci::into(campaign),
        soci::use(stokno);
    if (!sql.got_data()) throw DomainError("Stok bulunamadı: " + std::to_string(stokno));
    t.campaign = campaign != 0;
    return t;
}

// Adds a line, or adds to the quantity of the line the item already has: the client never
// adds an item twice, and two lines of one item would be ordered twice.
std::int32_t addToBasket(soci::session& sql, std::int32_t carino, std::int32_t stokno, double qty,
                         std::int32_t enteredBy)
{
    db::WriteTransaction tx(sql);
    const auto customer = customerTerms(sql, carino);
    const auto item = stockTerms(sql, stokno);
    const auto price = domain::priceItem(item.listPrice, item.campaignPrice, item.campaign, item.vat, customer.rates);
    const auto user = knownUser(sql, enteredBy);
    soci::indicator userInd = user ? soci::i_ok : soci::i_null;
    std::int32_t userId = user.value_or(0);

    long long existing = 0;
    double existingQty = 0;
    sql << "SELECT sirano, qty FROM basket WHERE carino = :c AND stokno = :s ORDER BY sirano LIMIT 1",
        soci::into(existing), soci::into(existingQty), soci::use(carino), soci::use(stokno);
    if (sql.got_data()) {
        const double total = checkedQuantity(existingQty + qty);
        sql << "UPDATE basket SET qty = :q, entered_by = COALESCE(:u, entered_by) WHERE sirano = :n",
            soci::use(total), soci::use(userId, userInd), soci::use(existing);
    } else {
        std::string now = domain::storedNow();
        sql << "INSERT INTO basket (carino, stokno, qty, unit_price, disc1, disc2, disc3, disc4, vat, campaign, sec,"
               " entered_by, entered_at) VALUES (:c, :s, :q, :p, :d1, :d2, :d3, :d4, :v, :k, 1, :u, :t)",
            soci::use(carino), soci::use(stokno), soci::use(qty), soci::use(price.unitPrice), soci::use(price.rates[0]),
            soci::use(price.rates[1]), soci::use(price.rates[2]), soci::use(price.rates[3]), soci::use(item.vat),
            soci::use(price.campaign), soci::use(userId, userInd), soci::use(now);
    }
    tx.commit();
    return 1;
}

// Whether a user number names one of the dealer's sales representatives (user types 1 and 2).
bool isRepresentative(soci::session& sql, std::int32_t userId)
{
    int type = 0;
    sql << "SELECT user_type FROM users WHERE id = :id AND active = 1", soci::into(type), soci::use(userId);
    return sql.got_data() && (type == 1 || type == 2);
}

// Changes a line's quantity. A sales representative may also set the line's unit price (the
// change dialog unlocks it for them); a customer's price stays the one the server set.
std::int32_t changeBasketLine(soci::session& sql, std::int32_t carino, std::int32_t sirano, double qty,
                              double price, std::int32_t enteredBy)
{
    db::WriteTransaction tx(sql);
    customerOf(sql, carino);
    long long changed = 0;
    if (isRepresentative(sql, enteredBy)) {
        if (!std::isfinite(price) || price <= 0 || price > 1e9)
            throw DomainError("Birim fiyat geçersiz: " + domain::formatMoney(price));
        soci::statement st = (sql.prepare << "UPDATE basket SET qty = :q, unit_price = :p WHERE sirano = :n AND carino = :c",
                              soci::use(qty), soci::use(price), soci::use(sirano), soci::use(carino));
        st.execute(true);
        changed = st.get_affected_rows();
    } else {
        soci::statement st = (sql.prepare << "UPDATE basket SET qty = :q WHERE sirano = :n AND carino = :c",
                              soci::use(qty), soci::use(sirano), soci::use(carino));
        st.execute(true);
        changed = st.get_affected_rows();
    }
    if (changed == 0) throw DomainError("Sepet satırı bulunamadı: " + std::to_string(sirano));
    tx.commit();
    return 1;
}

protocol::Table idNameTable(soci::session& sql, const char* table)
{
    return tableOf({intColumn("ID"), Column{"ADI", FieldType::String, 50}},
                   sql.prepare << std::string("SELECT id, name FROM ") + table + " ORDER BY sort, id",
                   [](RowWriter& w, const soci::row& row) { w.integer(db::integer(row, 0)).text(db::text(row, 1)); });
}

bool rowExists(soci::session& sql, const std::string& query, std::int32_t id)
{
    int n = 0;
    sql << query, soci::into(n), soci::use(id);
    return n > 0;
}

// Builds the order from the ticked lines and removes them from the basket in one
// transaction: either the whole order is stored and the lines are gone, or nothing changed.
// A repeated call after a lost answer finds no ticked line and stores nothing twice.
bool saveOrder(soci::session& sql, std::int32_t carino, std::int32_t delivery, std::int32_t cargoKind,
               const std::string& note, std::int32_t enteredBy, std::int32_t cargoFirm)
{
    db::WriteTransaction tx(sql);
    customerOf(sql, carino);
    if (!rowExists(sql, "SELECT COUNT(*) FROM delivery_modes WHERE id = :i", delivery))
        throw DomainError("Teslim şekli bulunamadı: " + std::to_string(delivery));
    if (!rowExists(sql, "SELECT COUNT(*) FROM cargo_kinds WHERE id = :i", cargoKind))
        throw DomainError("Kargo türü bulunamadı: " + std::to_string(cargoKind));
    soci::indicator firmInd = soci::i_null;
    if (cargoFirm != 0) {
        int kindOfFirm = 0;
        sql << "SELECT kind_id FROM cargo_firms WHERE id = :i", soci::into(kindOfFirm), soci::use(cargoFirm);
        if (!sql.got_data() || kindOfFirm != cargoKind)
            throw DomainError("Kargo firması bu kargo türünde bulunamadı: " + std::to_string(cargoFirm));
        firmInd = soci::i_ok;
    }
    const auto user = knownUser(sql, enteredBy);
    soci::indicator userInd = user ? soci::i_ok : soci::i_null;
    std::int32_t userId = user.value_or(0);

    struct Line {
        long long sirano, stokno;
        double qty, unit, vat;
        domain::Discounts rates;
        int campaign;
    };
    std::vector<Line> lines;
    {
        soci::rowset<soci::row> rows =
            (sql.prepare << "SELECT sirano, stokno, qty, unit_price, disc1, disc2, disc3, disc4, vat, campaign"
                            " FROM basket WHERE carino = :c AND sec = 1 ORDER BY sirano",
             soci::use(carino));
        for (const auto& r : rows) {
            using namespace db;
            lines.push_back({integer(r, 0), integer(r, 1), real(r, 2), real(r, 3), real(r, 8),
                             {real(r, 4), real(r, 5), real(r, 6), real(r, 7)}, static_cast<int>(integer(r, 9))});
        }
    }
    if (lines.empty()) return false;

    std::string now = domain::storedNow();
    std::string customerNote = note;
    sql << "INSERT INTO orders (carino, created_at, status, delivery_id, cargo_kind_id, cargo_firm_id, customer_note,"
           " entered_by) VALUES (:c, :t, 0, :d, :k, :f, :n, :u)",
        soci::use(carino), soci::use(now), soci::use(delivery), soci::use(cargoKind), soci::use(cargoFirm, firmInd),
        soci::use(customerNote), soci::use(userId, userInd);
    long long orderId = 0;
    orderId = dialect::lastInsertId(sql);

    DocumentTotals totals;
    for (auto& l : lines) {
        const auto a = domain::lineAmounts(l.qty, l.unit, l.rates, l.vat);
        sql << "INSERT INTO order_lines (order_id, basket_sirano, stokno, qty, balance_qty, unit_price, disc1, disc2,"
               " disc3, disc4, vat, campaign, net_unit_price, gross, discount, net, vat_amount) VALUES"
               " (:o, :b, :s, :q, :bq, :p, :d1, :d2, :d3, :d4, :v, :k, :nu, :g, :di, :n, :va)",
            soci::use(orderId), soci::use(l.sirano), soci::use(l.stokno), soci::use(l.qty), soci::use(l.qty),
            soci::use(l.unit), soci::use(l.rates[0]), soci::use(l.rates[1]), soci::use(l.rates[2]),
            soci::use(l.rates[3]), soci::use(l.vat), soci::use(l.campaign), soci::use(a.netUnit), soci::use(a.gross),
            soci::use(a.discount), soci::use(a.net), soci::use(a.vat);
        sql << "DELETE FROM basket WHERE sirano = :n", soci::use(l.sirano);
        sql << "UPDATE stock SET customer_ordered = customer_ordered + :q WHERE stokno = :s", soci::use(l.qty),
            soci::use(l.stokno);
        totals.add(a);
    }
    totals.store(sql, "orders", orderId);
    tx.commit();
    return true;
}

std::string overdueWarning(soci::session& sql, std::int32_t carino)
{
    if (!customerExists(sql, carino)) return {};
    // Debits past their due date not yet covered by the credits.
    std::string today = domain::storedNow().substr(0, 10);
    double overdueDebit = 0, credit = 0;
    sql << "SELECT COALESCE(SUM(CASE WHEN due_on < :d THEN debit ELSE 0 END), 0), COALESCE(SUM(credit), 0)"
           " FROM account_movements WHERE carino = :c",
        soci::into(overdueDebit), soci::into(credit), soci::use(today), soci::use(carino);
    const double overdue = domain::roundMoney(overdueDebit - credit);
    if (overdue <= 0) return {};
    return "Vadesi geçmiş " + domain::formatMoney(overdue) + " TL bakiyeniz bulunmaktadır.";
}

} // namespace

void registerBasketMethods(MethodRegistry& registry)
{
    registry.add("SepetVer2", [](CallContext& call, std::vector<Value>& params) {
        auto& sql = call.db();
        return call.reply(protocol::DataPacket{basketTable(sql, customerOf(sql, params.at(0).asInt32()))});
    });

    // The price, VAT and discounts the client sends are not trusted: the line is priced
    // from the catalogue and the customer's terms.
    registry.add("SepetEkle2", [](CallContext& call, std::vector<Value>& params) {
        const auto carino = params.at(1).asInt32();
        const auto stokno = params.at(2).asInt32();
        const double qty = checkedQuantity(params.at(5).asDouble());
        const auto enteredBy = params.at(9).asInt32();
        return call.reply(addToBasket(call.db(), carino, stokno, qty, enteredBy));
    });

    registry.add("SepetGuncelle2", [](CallContext& call, std::vector<Value>& params) {
        const auto carino = params.at(1).asInt32();
        const double qty = checkedQuantity(params.at(5).asDouble());
        const double price = params.at(7).asDouble();
        const auto enteredBy = params.at(9).asInt32();
        const auto sirano = params.at(10).asInt32();
        return call.reply(changeBasketLine(call.db(), carino, sirano, qty, price, enteredBy));
    });

    registry.add("SepetSecimGuncelle", [](CallContext& call, std::vector<Value>& params) {
        const auto sirano = params.at(0).asInt32();
        const int secim = params.at(1).asInt32() != 0 ? 1 : 0;
        call.db() << "UPDATE basket SET sec = :s WHERE sirano = :n", soci::use(secim), soci::use(sirano);
        return call.reply();
    });

    // Answers the number of lines removed (0 for a line of another customer or none).
    registry.add("SepetSatirSil", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        const auto sirano = params.at(1).asInt32();
        auto& sql = call.db();
        soci::statement st = (sql.prepare << "DELETE FROM basket WHERE sirano = :n AND carino = :c", soci::use(sirano), soci::use(session.FCARINO));
        st.execute(true);
        const auto removed = static_cast<std::int32_t>(st.get_affected_rows());
        return call.reply(removed);
    });

    registry.add("SepetHepsiniSil", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        auto& sql = call.db();
        soci::statement st = (sql.prepare << "DELETE FROM basket WHERE carino = :c", soci::use(session.FCARINO));
        st.execute(true);
        const auto removed = static_cast<std::int32_t>(st.get_affected_rows());
        return call.reply(removed);
    });

    registry.add("TeslimVer", [](CallContext& call, std::vector<Value>&) {
        return call.reply(idNameTable(call.db(), "delivery_modes"));
    });
    registry.add("KargoVer", [](CallContext& call, std::vector<Value>&) {
        return call.reply(idNameTable(call.db(), "cargo_kinds"));
    });
    registry.add("KargolarVer", [](CallContext& call, std::vector<Value>& params) {
        const auto kind = params.at(0).asInt32();
        return call.reply(tableOf(
            {intColumn("SIRANO"), Column{"ADI", FieldType::String, 50}, textColumn("UYARI", 500),
             intColumn("KARGOCINSI")},
            (call.db().prepare << "SELECT id, name, warning, kind_id FROM cargo_firms WHERE kind_id = :k"
                                  " ORDER BY sort, id",
             soci::use(kind)),
            [](RowWriter& w, const soci::row& row) {
                w.integer(db::integer(row, 0)).text(db::text(row, 1)).text(db::text(row, 2));
                w.integer(db::integer(row, 3));
            }));
    });

    registry.add("SiparisKaydet", [](CallContext& call, std::vector<Value>& params) {
        const auto carino = params.at(1).asInt32();
        const auto delivery = params.at(2).asInt32();
        const auto cargoKind = params.at(3).asInt32();
        const std::string note = boundedText(params.at(4), kMaxNote);
        const auto enteredBy = params.at(5).asInt32();
        const auto cargoFirm = params.at(6).asInt32();
        return call.reply(saveOrder(call.db(), carino, delivery, cargoKind, note, enteredBy, cargoFirm));
    });

    registry.add("CariVadeGunGecmismiBul", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(overdueWarning(call.db(), params.at(0).asInt32()));
    });
}

} // namespace durnak::server
