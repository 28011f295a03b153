// Orders and account history: previous orders and their lines, outstanding balances and
// their changes, the account statement with invoice and collection detail, and all orders
// of one item.

#include <cmath>

#include "dispatch/method_registry.hpp"
#include "domain/dates.hpp"
#include "domain/documents.hpp"
#include "durnak/protocol/marshal.hpp"
#include "methods/domain_support.hpp"
#include "pdf/documents.hpp"

namespace durnak::server {
namespace {

using protocol::Column;
using protocol::FieldType;
using protocol::Value;

const char* statusName(std::int64_t status)
{
    switch (status) {
    case 0: return "Alındı";
    case 1: return "Onaylandı";
    case 2: return "Parçalı Hazırlandı";
    case 3: return "Sevk Edildi";
    case 4: return "Hazırlandı";
    case 5: return "Görüldü";
    default: return "";
    }
}

// --- previous orders ------------------------------------------------------------------

protocol::Table previousOrders(soci::session& sql, std::int32_t carino)
{
    return tableOf(
        {intColumn("CARINO"), intColumn("IDNO"), Column{"TARIH", FieldType::DateTime}, textColumn("KUR", 5),
         realColumn("KURTL"), intColumn("VERENIDNO"), textColumn("KARGO", 50), textColumn("TESLIM", 50),
         textColumn("VEREN", 50), textColumn("CARIKOD", 30), textColumn("CARIADI", 100), realColumn("VERGI"),
         realColumn("NETTUTAR"), realColumn("TUTAR"), textColumn("DURUM", 30), textColumn("KARGOADI", 50),
         textColumn("VERENINNOTU", 4000), textColumn("ALANNOTU", 4000)},
        (sql.prepare << "SELECT o.carino, o.id, o.created_at, COALESCE(o.entered_by, 0), COALESCE(k.name, ''),"
                        " COALESCE(d.name, ''), COALESCE(u.username, ''), c.code, c.name, o.vat_amount, o.net,"
                        " o.total, o.status, COALESCE(f.name, ''), o.customer_note, o.dealer_note"
                        " FROM orders o JOIN customers c ON c.carino = o.carino"
                        " LEFT JOIN cargo_kinds k ON k.id = o.cargo_kind_id"
                        " LEFT JOIN delivery_modes d ON d.id = o.delivery_id"
                        " LEFT JOIN cargo_firms f ON f.id = o.cargo_firm_id"
                        " LEFT JOIN users u ON u.id = o.entered_by"
                        " WHERE o.carino = :c ORDER BY o.created_at DESC, o.id DESC",
         soci::use(carino)),
        [](RowWriter& w, const soci::row& r) {
            using namespace db;
            w.integer(integer(r, 0)).integer(integer(r, 1)).real(domain::oleFromStored(text(r, 2))).text("TL").real(1);
            w.integer(integer(r, 3));
            for (std::size_t i = 4; i <= 8; ++i) w.text(text(r, i));
            w.real(real(r, 9)).real(real(r, 10)).real(real(r, 11)).text(statusName(integer(r, 12))).text(text(r, 13));
            w.text(text(r, 14)).text(text(r, 15));
        });
}

// Order lines as the detail, balance and item-history windows show them.
std::vector<Column> orderLineColumns()
{
    return {intColumn("SIRANO"),      intColumn("STOKHAR_NO"),   intColumn("IDNO"),          intColumn("SIPARISNO"),
            intColumn("STOKNO"),      intColumn("STOK_STOKNO"),  Column{"VERILISTARIHI", FieldType::DateTime},
            Column{"TARIH", FieldType::Date}, textColumn("SAAT", 8), intColumn("CARINO"),      textColumn("CARIKOD", 30),
            textColumn("CARIADI", 100),   textColumn("BARKOD", 30),      textColumn("STOKADI", 100),     textColumn("ACIKLAMA", 100),
            textColumn("MARKA", 50),      textColumn("MODEL", 50),       textColumn("FINISHKOD", 40),    textColumn("OEMNO", 40),
            textColumn("OEM1", 40),       textColumn("OEM2", 40),        textColumn("OEM3", 40),         textColumn("OEM4", 40),
            textColumn("DIGERADI", 100),  textColumn("DPKOD", 40),       textColumn("PKOD", 40),         textColumn("ANAGRUP", 50),
            textColumn("OZELKOD", 40),    textColumn("URETICIKODU", 40), realColumn("MIKTAR"),         realColumn("TESLIMEDILEN"),
            realColumn("KALAN"),        realColumn("BIRIMFIYAT"),    realColumn("ILKFIYAT"),       realColumn("TUTAR"),
            realColumn("INDIRIMORANI1"), realColumn("INDIRIMORANI2"), realColumn("INDIRIMORANI3"), realColumn("INDIRIMORANI4"),
            textColumn("INDIRIMYAZI", 30), realColumn("INDIRIMTUTAR"), realColumn("NETBIRIMFIYAT"),  realColumn("KDV"),
            realColumn("VERGITUTARI"),  realColumn("NETTUTAR"),      textColumn("KUR", 5),           realColumn("KURTL"),
            textColumn("VEREN", 50),      intColumn("VERENIDNO"),    intColumn("VERENSIRANO"),   intColumn("AKTAR"),
            intColumn("DURUM"),       realColumn("ELDEKI"),        realColumn("ALINANSIPARIS"),  realColumn("VERILENSIPARIS"),
            intColumn("KARGOID"),     intColumn("TESLIMID"),     textColumn("KARGO", 50),        textColumn("TESLIM", 50)};
}

protocol::Table orderLines(soci::session& sql, const std::string& where, std::int32_t a, std::int32_t b)
{
    return tableOf(
        orderLineColumns(),
        (sql.prepare << "SELECT l.id, o.id, l.stokno, o.created_at, o.carino, c.code, c.name, s.barcode, s.name,"
                        " s.make, s.model, s.code, s.oem1, s.oem2, s.oem3, s.oem4, s.other_name, s.dpkod, s.pkod,"
                        " s.main_group, s.special_code, s.maker_code, l.qty, l.delivered_qty, l.balance_qty,"
                        " l.unit_price, l.disc1, l.disc2, l.disc3, l.disc4, l.vat, COALESCE(u.username, ''),"
                        " COALESCE(o.entered_by, 0), s.durum, s.remaining, s.customer_ordered, s.supplier_ordered,"
                        " COALESCE(o.cargo_kind_id, 0), COALESCE(o.delivery_id, 0), COALESCE(k.name, ''),"
                        " COALESCE(d.name, '')"
                        " FROM order_lines l JOIN orders o ON o.id = l.order_id"
                        " JOIN customers c ON c.carino = o.carino JOIN stock s ON s.stokno = l.stokno"
                        " LEFT JOIN users u ON u.id = o.entered_by"
                        " LEFT JOIN cargo_kinds k ON k.id = o.cargo_kind_id"
                        " LEFT JOIN delivery_modes d ON d.id = o.delivery_id"
                        " WHERE " + where + " ORDER BY o.created_at DESC, o.id DESC, l.id",
         soci::use(a), soci::use(b)),
        [](RowWriter& w, const soci::row& r) {
            using namespace db;
            const std::string at = text(r, 3);
            const double when = domain::oleFromStored(at);
            const domain::Discounts rates = discounts(r, 26);
            const double qty = real(r, 22), unit = real(r, 25), vat = real(r, 30);
            const auto amounts = domain::lineAmounts(qty, unit, rates, vat);
            w.integer(integer(r, 0)).integer(integer(r, 0)).integer(integer(r, 1)).integer(integer(r, 1));
            w.integer(integer(r, 2)).integer(integer(r, 2)).real(when).real(std::floor(when));
            w.text(timeOfDay(at)).integer(integer(r, 4)).text(text(r, 5)).text(text(r, 6));
            w.text(text(r, 7)).text(text(r, 8)).text(text(r, 8));
            for (std::size_t i = 9; i <= 12; ++i) w.text(text(r, i));  // make, model, code, OEMNO
            for (std::size_t i = 12; i <= 21; ++i) w.text(text(r, i));
            w.real(qty).real(real(r, 23)).real(real(r, 24)).real(unit).real(unit).real(amounts.gross);
            w.real(rates[0]).real(rates[1]).real(rates[2]).real(rates[3]).text(domain::discountText(rates));
            w.real(amounts.discount).real(amounts.netUnit).real(vat).real(amounts.vat).real(amounts.net);
            w.text("TL").real(1).text(text(r, 31)).integer(integer(r, 32)).integer(integer(r, 0)).integer(0);
            w.integer(integer(r, 33)).real(real(r, 34)).real(real(r, 35)).real(real(r, 36));
            w.integer(integer(r, 37)).integer(integer(r, 38)).text(text(r, 39)).text(text(r, 40));
        });
}

protocol::TSiparisDipAyrinti orderFooter(soci::session& sql, std::int32_t orderId)
{
    protocol::TSiparisDipAyrinti f;
    readFirst(
        (sql.prepare << "SELECT o.customer_note, o.status, COALESCE(u.username, ''), COALESCE(fm.name, ''),"
                        " o.dealer_note, COALESCE(d.name, ''), COALESCE(k.name, ''), o.rep_note"
                        " FROM orders o LEFT JOIN users u ON u.id = o.entered_by"
                        " LEFT JOIN cargo_firms fm ON fm.id = o.cargo_firm_id"
                        " LEFT JOIN delivery_modes d ON d.id = o.delivery_id"
                        " LEFT JOIN cargo_kinds k ON k.id = o.cargo_kind_id WHERE o.id = :o",
         soci::use(orderId)),
        [&f](const soci::row& r) {
            using namespace db;
            f.FSizinMesaj = text(r, 0);
            f.FDurumu = statusName(integer(r, 1));
            f.FVeren = text(r, 2);
            f.FKargo = text(r, 3);
            f.FBizimMesaj = text(r, 4);
            f.FTeslimCinsi = text(r, 5);
            f.FKargoCinsi = text(r, 6);
            f.FSaticiNotu = text(r, 7);
        });
    return f;
}

// --- balances -------------------------------------------------------------------------

struct BalanceLine {
    long long id = 0, orderId = 0;
    double qty = 0, delivered = 0;
};

// The open order line a balance call names, of the session's customer; DomainError otherwise.
BalanceLine balanceLine(soci::session& sql, std::int32_t carino, std::int32_t lineId)
{
    BalanceLine l;
    sql << "SELECT l.id, l.order_id, l.qty, l.delivered_qty FROM order_lines l JOIN orders o ON o.id = l.order_id"
           " WHERE l.id = :l AND o.carino = :c",
        soci::into(l.id), soci::into(l.orderId), soci::into(l.qty), soci::into(l.delivered), soci::use(lineId),
        soci::use(carino);
    if (!sql.got_data()) throw DomainError("Sipariş satırı bulunamadı: " + std::to_string(lineId));
    return l;
}

void recomputeOrderTotals(soci::session& sql, long long orderId)
{
    DocumentTotals totals;
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT gross, discount, net, vat_amount FROM order_lines WHERE order_id = :o ORDER BY id",
         soci::use(orderId));
    for (const auto& r : rows) totals.add(db::real(r, 0), db::real(r, 1), db::real(r, 2), db::real(r, 3));
    totals.store(sql, "orders", orderId);
}

std::int32_t setBalance(soci::session& sql, std::int32_t carino, std::int32_t lineId, std::optional<double> balance)
{
    db::WriteTransaction tx(sql);
    const auto line = balanceLine(sql, carino, lineId);
    const double open = line.qty - line.delivered;
    double value = 0;
    if (balance) {
        if (!std::isfinite(*balance) || *balance < 0 || *balance > open + 1e-9)
            throw DomainError("Geçersiz bakiye: 0 ile " + domain::formatMoney(open) + " arasında olmalı.");
        value = std::round(*balance * 1000) / 1000;
    }
    sql << "UPDATE order_lines SET balance_qty = :b WHERE id = :l", soci::use(value), soci::use(line.id);
    tx.commit();
    return 1;
}

std::int32_t changeLinePrice(soci::session& sql, std::int32_t carino, std::int32_t lineId, double price, double rate)
{
    if (!std::isfinite(price) || price < 0 || price > 1e9) throw DomainError("Geçersiz fiyat.");
    if (!domain::validDiscounts({rate, 0, 0, 0})) throw DomainError("Geçersiz iskonto: 0 ile 100 arasında olmalı.");
    db::WriteTransaction tx(sql);
    const auto line = balanceLine(sql, carino, lineId);
    double vat = 0, d2 = 0, d3 = 0, d4 = 0;
    sql << "SELECT vat, disc2, disc3, disc4 FROM order_lines WHERE id = :l", soci::into(vat), soci::into(d2),
        soci::into(d3), soci::into(d4), soci::use(line.id);
    const double unit = domain::roundMoney(price);
    const auto a = domain::lineAmounts(line.qty, unit, {rate, d2, d3, d4}, vat);
    sql << "UPDATE order_lines SET unit_price = :p, disc1 = :d, net_unit_price = :nu, gross = :g, discount = :di,"
           " net = :n, vat_amount = :v WHERE id = :l",
        soci::use(unit), soci::use(rate), soci::use(a.netUnit), soci::use(a.gross), soci::use(a.discount),
        soci::use(a.net), soci::use(a.vat), soci::use(line.id);
    recomputeOrderTotals(sql, line.orderId);
    tx.commit();
    return 1;
}

// --- statement ------------------------------------------------------------------------

const char* movementName(std::int64_t kind)
{
    switch (kind) {
    case 1: return "Satış Faturası";
    case 2: return "Tahsilat";
    case 3: return "Tediye";
    case 4: return "Tahsilat";  // card payment through the virtual POS
    default: return "";
    }
}

protocol::Table statement(soci::session& sql, std::int32_t carino)
{
    double balance = 0;
    return tableOf(
        {Column{"TARIH", FieldType::Date}, textColumn("TURADI", 30), textColumn("EVRAK", 30), realColumn("BORC"),
         realColumn("ALACAK"), textColumn("KUR", 5), realColumn("BAKIYE"), textColumn("D", 2), intColumn("IDNO"),
         intColumn("CARINO"), textColumn("ACIKLAMA", 200), Column{"VADE", FieldType::Date}},
        (sql.prepare << "SELECT happened_on, kind, document_no, debit, credit, id, carino, description, due_on"
                        " FROM account_movements WHERE carino = :c ORDER BY happened_on, id",
         soci::use(carino)),
        [&balance](RowWriter& w, const soci::row& r) {
            using namespace db;
            balance = domain::roundMoney(balance + real(r, 3) - real(r, 4));
            w.real(std::floor(domain::oleFromStored(text(r, 0)))).text(movementName(integer(r, 1))).text(text(r, 2));
            w.real(real(r, 3)).real(real(r, 4)).text("TL").real(balance).text(balance >= 0 ? "B" : "A");
            w.integer(integer(r, 5)).integer(integer(r, 6)).text(text(r, 7));
            w.real(std::floor(domain::oleFromStored(text(r, 8))));
        });
}

protocol::Table invoiceLines(soci::session& sql, std::int32_t carino, std::int32_t movementId)
{
    return tableOf(
        {intColumn("STOKHAR_NO"), intColumn("STOKHAR_CARINO"), intColumn("STOK_STOKNO"), textColumn("FINISHKOD", 40),
         textColumn("STOKADI", 100), textColumn("OEMNO", 40), textColumn("BARKOD", 30), textColumn("MARKA", 50),
         textColumn("MODEL", 50), textColumn("BIRIM", 10), realColumn("STOKHAR_MIKTAR"),
         realColumn("STOKHAR_TLBIRIMFIYATI"), realColumn("STOKHAR_INDIRIM1"), realColumn("STOKHAR_NETTLBIRIMFIYATI"),
         realColumn("KDV"), realColumn("STOKHAR_TLVERGI"), realColumn("STOKHAR_NETTLTUTAR"),
         realColumn("STOKHAR_TLTUTAR"),
         Column{"STOKHAR_HAREKETTARIHI", FieldType::Date}, textColumn("STOKHAR_HAREKETTIPI2", 30),
         textColumn("SATICIADI", 50), textColumn("EVRAKNO", 30), Column{"STOKHAR_VADE", FieldType::Date}},
        (sql.prepare << "SELECT il.id, i.carino, COALESCE(il.stokno, 0), il.code, il.name, COALESCE(s.oem1, ''),"
                        " COALESCE(s.barcode, ''), COALESCE(s.make, ''), COALESCE(s.model, ''),"
                        " COALESCE(s.unit, 'ADET'), il.qty, il.unit_price, il.discount_rate, il.vat, il.vat_amount,"
                        " il.net, i.issued_on, COALESCE(r.name, ''), i.number, i.due_on"
                        " FROM account_movements m JOIN invoices i ON i.id = m.invoice_id"
                        " JOIN invoice_lines il ON il.invoice_id = i.id"
                        " JOIN customers c ON c.carino = i.carino LEFT JOIN sales_reps r ON r.id = c.rep_id"
                        " LEFT JOIN stock s ON s.stokno = il.stokno"
                        " WHERE m.id = :m AND m.carino = :c ORDER BY il.id",
         soci::use(movementId), soci::use(carino)),
        [](RowWriter& w, const soci::row& r) {
            using namespace db;
            const double qty = real(r, 10), unit = real(r, 11), rate = real(r, 12), net = real(r, 15);
            w.integer(integer(r, 0)).integer(integer(r, 1)).integer(integer(r, 2));
            for (std::size_t i = 3; i <= 9; ++i) w.text(text(r, i));
            w.real(qty).real(unit).real(rate).real(domain::cascadedNet(unit, {rate, 0, 0, 0})).real(real(r, 13));
            w.real(real(r, 14)).real(net).real(domain::roundMoney(qty * unit));
            w.real(std::floor(domain::oleFromStored(text(r, 16)))).text("Satış Faturası").text(text(r, 17));
            w.text(text(r, 18)).real(std::floor(domain::oleFromStored(text(r, 19))));
        });
}

protocol::Table invoiceTotals(soci::session& sql, std::int32_t movementId)
{
    return tableOf({realColumn("TOPLAM"), realColumn("TOPLAMINDIRIM"), realColumn("MATRAH"), realColumn("KDVDAHIL"),
                    realColumn("KDVTUTAR")},
                   (sql.prepare << "SELECT i.gross, i.discount, i.net, i.total, i.vat_amount FROM account_movements m"
                                   " JOIN invoices i ON i.id = m.invoice_id WHERE m.id = :m",
                    soci::use(movementId)),
                   [](RowWriter& w, const soci::row& r) {
                       for (std::size_t i = 0; i <= 4; ++i) w.real(db::real(r, i));
                   });
}

protocol::Table collectionRows(soci::session& sql, std::int32_t movementId)
{
    return tableOf(
        {Column{"Tarih", FieldType::Date}, textColumn("Türü", 30), textColumn("Cins", 30), textColumn("EvrakNo", 30),
         Column{"Vade", FieldType::Date}, realColumn("Tutar"), textColumn("Kur", 5), realColumn("KurTL"),
         textColumn("Açıklama", 200), realColumn("Döviz Tutar"), textColumn("Ref", 30), textColumn("Saat", 8),
         textColumn("Banka", 50), textColumn("Kart", 30)},
        (sql.prepare << "SELECT m.happened_on, m.kind, c.method, m.document_no, c.due_on, c.amount, m.description,"
                        " c.id, c.bank, c.card_mask FROM account_movements m JOIN collections c ON c.movement_id = m.id"
                        " WHERE m.id = :m ORDER BY c.id",
         soci::use(movementId)),
        [](RowWriter& w, const soci::row& r) {
            using namespace db;
            const std::string at = text(r, 0);
            w.real(std::floor(domain::oleFromStored(at))).text(movementName(integer(r, 1))).text(text(r, 2));
            w.text(text(r, 3)).real(std::floor(domain::oleFromStored(text(r, 4)))).real(real(r, 5)).text("TL").real(1);
            w.text(text(r, 6)).real(real(r, 5)).text(std::to_string(integer(r, 7)));
            w.text(timeOfDay(at)).text(text(r, 8)).text(text(r, 9));
        });
}

std::string receiptPdf(soci::session& sql, std::int32_t receiptId)
{
    return pdf::renderPosReceipt(sql, receiptId);
}

} // namespace

void registerHistoryMethods(MethodRegistry& registry)
{
    registry.add("OncekiSiparisler", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(previousOrders(call.db(), params.at(0).asInt32()));
    });
    registry.add("SiparisAyrintisi2", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(
            orderLines(call.db(), "o.carino = :a AND o.id = :b", params.at(0).asInt32(), params.at(1).asInt32()));
    });
    // The client sends 0 as carino: the order number alone names the order.
    registry.add("SiparisAytintisiDip", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(protocol::toValue(orderFooter(call.db(), params.at(1).asInt32())));
    });
    // Stock number 0 asks for every line of the customer.
    registry.add("TumSiparislerVer", [](CallContext& call, std::vector<Value>& params) {
        const std::int32_t stokno = params.at(1).asInt32();
        return call.reply(orderLines(call.db(), stokno == 0 ? "o.carino = :a AND :b = 0" : "o.carino = :a AND l.stokno = :b",
                                     params.at(0).asInt32(), stokno));
    });

    registry.add("BakiyelerVer2", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(orderLines(call.db(), "o.carino = :a AND l.balance_qty > 0 AND :b = 0",
                                     params.at(0).asInt32(), 0));
    });
    // Closes the line's balance.
    registry.add("BakiyeDuzenle", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        return call.reply(setBalance(call.db(), session.FCARINO, params.at(3).asInt32(), std::nullopt));
    });
    // The balance becomes the new quantity (Bakiye), at most what is still to be delivered.
    registry.add("BakiyeDegistir", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        return call.reply(setBalance(call.db(), session.FCARINO, params.at(3).asInt32(), params.at(5).asDouble()));
    });
    registry.add("BakiyeFiyatDegistir", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        return call.reply(changeLinePrice(call.db(), session.FCARINO, params.at(3).asInt32(), params.at(7).asDouble(),
                                          params.at(8).asDouble()));
    });

    registry.add("CariEkstreVer", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(statement(call.db(), params.at(0).asInt32()));
    });
    registry.add("FaturaGetir", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(invoiceLines(call.db(), params.at(0).asInt32(), params.at(1).asInt32()));
    });
    registry.add("FaturaAltGetir", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(invoiceTotals(call.db(), params.at(0).asInt32()));
    });
    registry.add("Tahsilat", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(collectionRows(call.db(), params.at(0).asInt32()));
    });
    registry.add("SanalposSiranoVer", [](CallContext& call, std::vector<Value>& params) {
        const auto movement = params.at(0).asInt32();
        int receipt = 0;
        call.db() << "SELECT COALESCE(MAX(id), 0) FROM pos_receipts WHERE movement_id = :m", soci::into(receipt),
            soci::use(movement);
        return call.reply(static_cast<std::int32_t>(receipt));
    });
    registry.add("SAnalPosPdfVer", [](CallContext& call, std::vector<Value>& params) {
        std::string pdf = receiptPdf(call.db(), params.at(0).asInt32());
        const auto length = static_cast<std::int64_t>(pdf.size());
        return call.reply(protocol::Stream{std::move(pdf)}, {{1, Value(length)}});
    });
}

} // namespace durnak::server
