#pragma once

#include <array>
#include <string>

namespace durnak::server::domain {

// Rounds an amount to kuruş, halves away from zero, working on the decimal form so that
// 2.345 (stored just below the half) still goes up as the client's own rounding does.
double roundMoney(double value);

// Up to four discount rates in percent, applied one after the other.
using Discounts = std::array<double, 4>;

// True when every rate is a finite number from 0 to 100.
bool validDiscounts(const Discounts& rates);

// list × (1 − d1/100)(1 − d2/100)(1 − d3/100)(1 − d4/100), rounded to kuruş.
double cascadedNet(double listPrice, const Discounts& rates);

// "10+5": the rates joined by "+", trailing zero rates left out, "0" without any discount.
// Whole rates are written without decimals, others with up to two ("12,5" as the client's
// Turkish texts write them).
std::string discountText(const Discounts& rates);

// The price of one catalogue item for one customer, as the stock lists show it.
struct ItemPrice {
    double unitPrice = 0;  // FIYAT: the price the line is entered at, before VAT
    double listPrice = 0;  // LISTEFIYAT1: list price before VAT
    double campaignPrice = 0;  // KAMPFIYAT: 0 when the item has none
    Discounts rates{};     // IND1..IND4 that apply to unitPrice
    double netPrice = 0;   // NETFIYAT
    double grossPrice = 0; // KDVDAHIL: net including VAT
    std::string discountText;  // INDIRIMYAZI
    int campaign = 0;      // K
};

// A campaign item is sold at its campaign price without the customer's discounts; any
// other item at its list price with them.
ItemPrice priceItem(double listPrice, double campaignPrice, bool campaignItem, double vatRate,
                    const Discounts& customerRates);

// The amounts of one basket or order line.
struct LineAmounts {
    double gross = 0;        // TUTAR = qty × unit price
    double netUnit = 0;      // NETBIRIMFIYAT
    double net = 0;          // NETTUTAR = qty × net unit price
    double discount = 0;     // INDIRIMTUTAR = gross − net
    double vat = 0;          // VERGITUTARI = net × rate
    double total = 0;        // net + vat
};
LineAmounts lineAmounts(double qty, double unitPrice, const Discounts& rates, double vatRate);

// Quantities a line may hold: positive, finite, at most this many.
constexpr double kMaxQuantity = 100000;
bool validQuantity(double qty);

} // namespace durnak::server::domain

namespace durnak::server::domain {

// "1.234,56": an amount as Turkish texts write it, two decimals.
std::string formatMoney(double amount);

} // namespace durnak::server::domain
