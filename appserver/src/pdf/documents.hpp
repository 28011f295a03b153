#pragma once

// The PDF documents the server hands out: the console reports and virtual-POS receipts.

#include <cstdint>
#include <string>

namespace soci {
class session;
}

namespace durnak::server::pdf {

// The parameters of a report as the console sends them. Dates are OLE Automation day counts.
struct ReportRequest {
    std::int32_t raporno = 0;
    std::int32_t bolum = 0;
    std::int32_t idno = 0;
    std::int32_t carino = 0;
    std::string saticiadi;
    double tarih1 = 0;
    double tarih2 = 0;
};

// Report 6 for a customer: its summary as of tarih1 (card, balance, orders, movements).
// Report 6 for customer 0: receivables of all customers by due date as of tarih1, limited to
// one representative's customers unless saticiadi is "." or empty.
// Report 7: the customer's purchases and payments between tarih1 and tarih2, by month and by item.
// Throws std::invalid_argument (with a Turkish text) for an unknown report or customer.
std::string renderReport(soci::session& sql, const ReportRequest& request);

// The receipt of virtual-POS payment `sirano`; empty when there is no such receipt.
std::string renderPosReceipt(soci::session& sql, std::int32_t sirano);

} // namespace durnak::server::pdf
