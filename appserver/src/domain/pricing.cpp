#include "domain/pricing.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace durnak::server::domain {

double roundMoney(double value)
{
    if (!std::isfinite(value)) return 0;
    // 15 significant digits recover the decimal the value was written as.
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    const double decimal = std::strtod(text, nullptr);
    const double scaled = decimal * 100;
    // A nudge far below a kuruş puts halves that binary cannot hold back on the half.
    const double rounded = std::round(scaled + std::copysign(1e-7, scaled));
    const double result = rounded / 100;
    return result == 0 ? 0 : result;  // no "-0,00"
}

bool validDiscounts(const Discounts& rates)
{
    for (double r : rates)
        if (!std::isfinite(r) || r < 0 || r > 100) return false;
    return true;
}

double cascadedNet(double listPrice, const Discounts& rates)
{
    double net = listPrice;
    for (double r : rates) net *= 1 - r / 100;
    return roundMoney(net);
}

namespace {

std::string rateText(double rate)
{
    const double whole = std::round(rate);
    char text[32];
    if (std::fabs(rate - whole) < 1e-9) {
        std::snprintf(text, sizeof text, "%.0f", whole);
        return text;
    }
    std::snprintf(text, sizeof text, "%.2f", rate);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    for (auto& c : s)
        if (c == '.') c = ',';
    return s;
}

} // namespace

std::string discountText(const Discounts& rates)
{
    std::size_t last = rates.size();
    while (last > 0 && rates[last - 1] == 0) --last;
    if (last == 0) return "0";
    std::string text;
    for (std::size_t i = 0; i < last; ++i) {
        if (i) text += '+';
        text += rateText(rates[i]);
    }
    return text;
}

ItemPrice priceItem(double listPrice, double campaignPrice, bool campaignItem, double vatRate,
                    const Discounts& customerRates)
{
    ItemPrice p;
    p.listPrice = roundMoney(listPrice);
    const bool onCampaign = campaignItem && campaignPrice > 0;
    p.campaignPrice = onCampaign ? roundMoney(campaignPrice) : 0;
    p.campaign = onCampaign ? 1 : 0;
    p.unitPrice = onCampaign ? p.campaignPrice : p.listPrice;
    p.rates = onCampaign ? Discounts{} : customerRates;
    p.netPrice = cascadedNet(p.unitPrice, p.rates);
    p.grossPrice = roundMoney(p.netPrice * (1 + vatRate / 100));
    p.discountText = discountText(p.rates);
    return p;
}

LineAmounts lineAmounts(double qty, double unitPrice, const Discounts& rates, double vatRate)
{
    LineAmounts a;
    a.gross = roundMoney(qty * unitPrice);
    a.netUnit = cascadedNet(unitPrice, rates);
    a.net = roundMoney(qty * a.netUnit);
    a.discount = roundMoney(a.gross - a.net);
    a.vat = roundMoney(a.net * vatRate / 100);
    a.total = roundMoney(a.net + a.vat);
    return a;
}

bool validQuantity(double qty)
{
    return std::isfinite(qty) && qty > 0 && qty <= kMaxQuantity;
}

} // namespace durnak::server::domain

namespace durnak::server::domain {

std::string formatMoney(double amount)
{
    const double rounded = roundMoney(amount);
    const long long kurus = std::llround(std::fabs(rounded) * 100);
    std::string whole = std::to_string(kurus / 100);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i && (whole.size() - i) % 3 == 0) grouped += '.';
        grouped += whole[i];
    }
    char cents[8];
    std::snprintf(cents, sizeof cents, ",%02lld", kurus % 100);
    return (rounded < 0 ? "-" : "") + grouped + cents;
}

} // namespace durnak::server::domain
