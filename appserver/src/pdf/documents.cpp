#include "pdf/documents.hpp"

#include <map>
#include <stdexcept>

#include <soci/soci.h>

#include "domain/dates.hpp"
#include "methods/domain_support.hpp"
#include "pdf/pdf_writer.hpp"

namespace durnak::server::pdf {

namespace {

std::string text(const soci::row& r, std::size_t i)
{
    return db::text(r, i);
}

double number(const soci::row& r, std::size_t i)
{
    return db::real(r, i);
}

const char* movementKind(long long kind)
{
    switch (kind) {
    case 1: return "Fatura";
    case 2: return "Tahsilat";
    case 3: return "Tediye";
    case 4: return "Sanal POS";
    default: return "";
    }
}

const char* orderStatus(long long status)
{
    static const char* const names[] = {"Alındı", "Onaylandı", "Parçalı Hazırlandı", "Sevk Edildi", "Hazırlandı",
                                        "Görüldü"};
    return status >= 0 && status <= 5 ? names[status] : "";
}

// The end of the chosen day, so movements of that day count.
std::string dayEnd(double ole)
{
    return domain::storedDayOf(ole).substr(0, 10) + " 23:59:59";
}

std::string customerSummary(soci::session& sql, const ReportRequest& request)
{
    soci::row c;
    sql << "SELECT c.code, c.name, c.address1, c.address2, c.district, c.city, c.phone1, c.gsm, c.email,"
           " c.tax_office, c.tax_no, c.contact, COALESCE(r.name, ''), c.disc1, c.disc2, c.disc3, c.disc4,"
           " c.payment_days FROM customers c LEFT JOIN sales_reps r ON r.id = c.rep_id WHERE c.carino = :c",
        soci::into(c), soci::use(request.carino);
    if (!sql.got_data()) throw std::invalid_argument("Cari bulunamadı: " + std::to_string(request.carino));
    const std::string until = dayEnd(request.tarih1);

    PdfWriter doc("Cari Özeti");
    doc.heading("Cari Özeti — " + text(c, 1));
    doc.paragraph("Tarih: " + formatDate(until));
    doc.fields({{"Cari Kod", text(c, 0)},
                {"Cari Adı", text(c, 1)},
                {"Adres", text(c, 2) + " " + text(c, 3)},
                {"İlçe / Şehir", text(c, 4) + " / " + text(c, 5)},
                {"Telefon / Gsm", text(c, 6) + " / " + text(c, 7)},
                {"E-posta", text(c, 8)},
                {"Vergi D. / No", text(c, 9) + " / " + text(c, 10)},
                {"Yetkili", text(c, 11)},
                {"Temsilci", text(c, 12).empty() ? request.saticiadi : text(c, 12)},
                {"İskonto %", formatMoney(number(c, 13)) + " + " + formatMoney(number(c, 14)) + " + " +
                                  formatMoney(number(c, 15)) + " + " + formatMoney(number(c, 16))},
                {"Vade (Gün)", text(c, 17)}});

    double debit = 0, credit = 0;
    sql << "SELECT COALESCE(SUM(debit), 0), COALESCE(SUM(credit), 0) FROM account_movements"
           " WHERE carino = :c AND happened_on <= :d",
        soci::into(debit), soci::into(credit), soci::use(request.carino), soci::use(until);
    const double balance = debit - credit;
    doc.fields({{"Toplam Borç", formatMoney(debit) + " TL"},
                {"Toplam Alacak", formatMoney(credit) + " TL"},
                {"Bakiye", formatMoney(balance < 0 ? -balance : balance) + " TL " +
                               (balance > 0 ? "(B)" : balance < 0 ? "(A)" : "")}});

    std::vector<std::vector<std::string>> orders;
    soci::rowset<soci::row> statusRows =
        (sql.prepare << "SELECT status, COUNT(*), COALESCE(SUM(total), 0) FROM orders WHERE carino = :c"
                        " AND created_at <= :d GROUP BY status ORDER BY status",
         soci::use(request.carino), soci::use(until));
    for (const auto& r : statusRows)
        orders.push_back({orderStatus(static_cast<long long>(number(r, 0))), text(r, 1), formatMoney(number(r, 2))});
    doc.paragraph("Siparişler", true);
    doc.table({{"Durum", 3}, {"Adet", 1, true}, {"Tutar", 2, true}}, orders);

    std::vector<std::vector<std::string>> movements;
    double running = 0;
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT happened_on, kind, document_no, description, debit, credit FROM account_movements"
                        " WHERE carino = :c AND happened_on <= :d ORDER BY happened_on, id",
         soci::use(request.carino), soci::use(until));
    for (const auto& r : rows) {
        running += number(r, 4) - number(r, 5);
        movements.push_back({formatDate(text(r, 0)), movementKind(static_cast<long long>(number(r, 1))), text(r, 2),
                             text(r, 3), formatMoney(number(r, 4)), formatMoney(number(r, 5)),
                             formatMoney(running)});
    }
    doc.paragraph("Cari Hareketler", true);
    doc.table({{"Tarih", 1.3}, {"Tür", 1.3}, {"Evrak No", 1.5}, {"Açıklama", 3}, {"Borç", 1.5, true},
               {"Alacak", 1.5, true}, {"Bakiye", 1.6, true}},
              movements, {"", "", "", "Toplam", formatMoney(debit), formatMoney(credit), formatMoney(balance)});
    return doc.finish();
}

std::string receivableTerms(soci::session& sql, const ReportRequest& request)
{
    const std::string until = dayEnd(request.tarih1);
    const std::string day = until.substr(0, 10);
    const bool allReps = request.saticiadi.empty() || request.saticiadi == ".";
    const int everyRep = allReps ? 1 : 0;
    // Open amounts by due date relative to the chosen day: overdue, due within 30, 31-60, later.
    // Stored times compare as text; a due date on the 30th day itself still counts as within 30.
    const double dayOle = domain::oleFromStored(day);
    const std::string in30 = domain::storedDayOf(dayOle + 30), in60 = domain::storedDayOf(dayOle + 60);
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT c.code, c.name, COALESCE(r.name, ''),"
                        " SUM(CASE WHEN m.due_on < :d1 THEN m.debit - m.credit ELSE 0 END),"
                        " SUM(CASE WHEN m.due_on >= :d2 AND m.due_on <= :d3 THEN m.debit - m.credit ELSE 0 END),"
                        " SUM(CASE WHEN m.due_on > :d4 AND m.due_on <= :d5 THEN m.debit - m.credit ELSE 0 END),"
                        " SUM(CASE WHEN m.due_on > :d6 THEN m.debit - m.credit ELSE 0 END),"
                        " SUM(m.debit - m.credit)"
                        " FROM account_movements m JOIN customers c ON c.carino = m.carino"
                        " LEFT JOIN sales_reps r ON r.id = c.rep_id"
                        " WHERE m.happened_on <= :until AND (:all = 1 OR r.name = :rep)"
                        " GROUP BY c.carino, r.name HAVING ABS(SUM(m.debit - m.credit)) >= 0.005 ORDER BY c.name",
         soci::use(day), soci::use(day), soci::use(in30), soci::use(in30), soci::use(in60), soci::use(in60),
         soci::use(until), soci::use(everyRep), soci::use(request.saticiadi));
    std::vector<std::vector<std::string>> table;
    double sums[5] = {};
    for (const auto& r : rows) {
        std::vector<std::string> line = {text(r, 0), text(r, 1), text(r, 2)};
        for (int i = 0; i < 5; ++i) {
            const double v = number(r, static_cast<std::size_t>(3 + i));
            sums[i] += v;
            line.push_back(formatMoney(v));
        }
        table.push_back(std::move(line));
    }
    PdfWriter doc("Cari Toplu Alacak Vadeleri");
    doc.heading("Cari Toplu Alacak Vadeleri");
    doc.paragraph("Tarih: " + formatDate(day) + (allReps ? "  ·  Tüm temsilciler" : "  ·  Temsilci: " + request.saticiadi));
    doc.table({{"Cari Kod", 1.6}, {"Cari Adı", 3}, {"Temsilci", 1.8}, {"Vadesi Geçen", 1.8, true},
               {"0-30 Gün", 1.7, true}, {"31-60 Gün", 1.7, true}, {"60+ Gün", 1.7, true}, {"Toplam", 1.9, true}},
              table,
              {"", "Toplam (" + std::to_string(table.size()) + " cari)", "", formatMoney(sums[0]),
               formatMoney(sums[1]), formatMoney(sums[2]), formatMoney(sums[3]), formatMoney(sums[4])});
    return doc.finish();
}

std::string purchaseSalesTable(soci::session& sql, const ReportRequest& request)
{
    std::string code, name, rep;
    sql << "SELECT c.code, c.name, COALESCE(r.name, '') FROM customers c LEFT JOIN sales_reps r ON r.id = c.rep_id"
           " WHERE c.carino = :c",
        soci::into(code), soci::into(name), soci::into(rep), soci::use(request.carino);
    if (!sql.got_data()) throw std::invalid_argument("Cari bulunamadı: " + std::to_string(request.carino));
    double first = request.tarih1, last = request.tarih2;
    if (last < first) std::swap(first, last);
    const std::string from = domain::storedDayOf(first);
    const std::string until = dayEnd(last);

    PdfWriter doc("Cari Alış Satış Tablosu");
    doc.heading("Cari Alış Satış Tablosu (Satıcılı)");
    doc.fields({{"Cari", code + " — " + name},
                {"Temsilci", request.saticiadi.empty() ? rep : request.saticiadi},
                {"Dönem", formatDate(from) + " – " + formatDate(until)}});

    std::vector<std::vector<std::string>> months;
    double sumSales = 0, sumPaid = 0;
    long long invoiceCount = 0;
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT substr(happened_on, 1, 7), SUM(CASE WHEN kind = 1 THEN 1 ELSE 0 END),"
                        " SUM(debit), SUM(credit) FROM account_movements"
                        " WHERE carino = :c AND happened_on >= :f AND happened_on <= :u"
                        " GROUP BY substr(happened_on, 1, 7) ORDER BY 1",
         soci::use(request.carino), soci::use(from), soci::use(until));
    for (const auto& r : rows) {
        const std::string month = text(r, 0);
        const double sales = number(r, 2), paid = number(r, 3);
        sumSales += sales;
        sumPaid += paid;
        invoiceCount += static_cast<long long>(number(r, 1));
        months.push_back({month.size() == 7 ? month.substr(5, 2) + "." + month.substr(0, 4) : month, text(r, 1),
                          formatMoney(sales), formatMoney(paid), formatMoney(sales - paid)});
    }
    doc.paragraph("Aylara göre", true);
    doc.table({{"Ay", 1.2}, {"Fatura Adedi", 1.2, true}, {"Alış (Borç)", 2, true}, {"Ödeme (Alacak)", 2, true},
               {"Fark", 2, true}},
              months,
              {"Toplam", std::to_string(invoiceCount), formatMoney(sumSales), formatMoney(sumPaid),
               formatMoney(sumSales - sumPaid)});

    std::vector<std::vector<std::string>> items;
    double sumQty = 0, sumNet = 0;
    soci::rowset<soci::row> lines =
        (sql.prepare << "SELECT l.code, l.name, SUM(l.qty), SUM(l.net) FROM invoice_lines l"
                        " JOIN invoices i ON i.id = l.invoice_id"
                        " WHERE i.carino = :c AND i.issued_on >= :f AND i.issued_on <= :u"
                        " GROUP BY l.code, l.name ORDER BY SUM(l.net) DESC",
         soci::use(request.carino), soci::use(from), soci::use(until));
    for (const auto& r : lines) {
        sumQty += number(r, 2);
        sumNet += number(r, 3);
        items.push_back({text(r, 0), text(r, 1), formatMoney(number(r, 2)), formatMoney(number(r, 3))});
    }
    doc.paragraph("Stoklara göre", true);
    doc.table({{"Stok Kodu", 1.5}, {"Stok Adı", 3.5}, {"Miktar", 1, true}, {"Net Tutar", 1.5, true}}, items,
              {"", "Toplam", formatMoney(sumQty), formatMoney(sumNet)});
    return doc.finish();
}

} // namespace

std::string renderReport(soci::session& sql, const ReportRequest& request)
{
    if (request.raporno == 6) return request.carino > 0 ? customerSummary(sql, request) : receivableTerms(sql, request);
    if (request.raporno == 7) return purchaseSalesTable(sql, request);
    throw std::invalid_argument("Bilinmeyen rapor: " + std::to_string(request.raporno));
}

std::string renderPosReceipt(soci::session& sql, std::int32_t sirano)
{
    soci::row r;
    sql << "SELECT p.id, p.card_mask, p.auth_code, p.installments, p.amount, m.happened_on, m.document_no,"
           " m.description, c.code, c.name FROM pos_receipts p JOIN account_movements m ON m.id = p.movement_id"
           " JOIN customers c ON c.carino = m.carino WHERE p.id = :id",
        soci::into(r), soci::use(sirano);
    if (!sql.got_data()) return {};
    PdfWriter doc("Sanal POS Ödeme Dekontu");
    doc.heading("Sanal POS Ödeme Dekontu");
    doc.fields({{"Dekont No", text(r, 0)},
                {"İşlem Tarihi", formatDate(text(r, 5))},
                {"Evrak No", text(r, 6)},
                {"Cari", text(r, 8) + " — " + text(r, 9)},
                {"Kart No", text(r, 1)},
                {"Onay Kodu", text(r, 2)},
                {"Taksit", text(r, 3)},
                {"Tutar", formatMoney(number(r, 4)) + " TL"},
                {"Açıklama", text(r, 7)}});
    doc.space(12);
    doc.paragraph("Bu dekont Durnak Otomotiv B2B sisteminde yapılan kredi kartı ödemesinin bilgisidir.");
    return doc.finish();
}

} // namespace durnak::server::pdf
