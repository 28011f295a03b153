#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "domain/pricing.hpp"

namespace durnak::server::domain {
namespace {

TEST(Pricing, RoundMoneyHalvesAwayFromZeroOnTheDecimalForm)
{
    struct Case {
        double in, out;
    };
    const Case cases[] = {
        {2.345, 2.35}, {2.344999, 2.34}, {1234.567, 1234.57}, {0.005, 0.01}, {-2.345, -2.35},
        {0.004, 0},    {1.005, 1.01},    {100, 100},          {-0.001, 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(roundMoney(c.in), c.out) << c.in;
    EXPECT_FALSE(std::signbit(roundMoney(-0.001)));  // never "-0,00"
    EXPECT_EQ(roundMoney(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Pricing, DiscountsCascadeNotAdd)
{
    // 10 + 5 is 14.5 % off, not 15 %.
    EXPECT_DOUBLE_EQ(cascadedNet(100, {10, 5, 0, 0}), 85.5);
    EXPECT_DOUBLE_EQ(cascadedNet(1000, {20, 5, 2, 1}), 737.35);  // 1000 × .8 × .95 × .98 × .99 = 737.352
    EXPECT_DOUBLE_EQ(cascadedNet(59.99, {0, 0, 0, 0}), 59.99);
    EXPECT_DOUBLE_EQ(cascadedNet(59.99, {100, 0, 0, 0}), 0);
}

TEST(Pricing, DiscountText)
{
    struct Case {
        Discounts rates;
        const char* text;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, "0"},        {{10, 0, 0, 0}, "10"},        {{10, 5, 0, 0}, "10+5"},
        {{10, 0, 5, 0}, "10+0+5"},  {{12.5, 3, 0, 0}, "12,5+3"},  {{20, 5, 2, 1}, "20+5+2+1"},
    };
    for (const auto& c : cases) EXPECT_EQ(discountText(c.rates), c.text);
}

TEST(Pricing, ValidDiscountsAndQuantities)
{
    EXPECT_TRUE(validDiscounts({0, 100, 50, 0}));
    EXPECT_FALSE(validDiscounts({-1, 0, 0, 0}));
    EXPECT_FALSE(validDiscounts({101, 0, 0, 0}));
    EXPECT_FALSE(validDiscounts({std::nan(""), 0, 0, 0}));
    for (double bad : {0.0, -1.0, kMaxQuantity + 1, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_FALSE(validQuantity(bad)) << bad;
    EXPECT_TRUE(validQuantity(0.5));
    EXPECT_TRUE(validQuantity(kMaxQuantity));
}

TEST(Pricing, ItemPriceForCustomer)
{
    // An ordinary item: list price with the customer's discounts.
    auto p = priceItem(200, 0, false, 20, {10, 5, 0, 0});
    EXPECT_DOUBLE_EQ(p.unitPrice, 200);
    EXPECT_DOUBLE_EQ(p.listPrice, 200);
    EXPECT_DOUBLE_EQ(p.campaignPrice, 0);
    EXPECT_DOUBLE_EQ(p.netPrice, 171);
    EXPECT_DOUBLE_EQ(p.grossPrice, 205.2);
    EXPECT_EQ(p.discountText, "10+5");
    EXPECT_EQ(p.campaign, 0);

    // A campaign item: the campaign price is net, the customer's discounts do not stack.
    p = priceItem(200, 150, true, 20, {10, 5, 0, 0});
    EXPECT_DOUBLE_EQ(p.unitPrice, 150);
    EXPECT_DOUBLE_EQ(p.campaignPrice, 150);
    EXPECT_DOUBLE_EQ(p.netPrice, 150);
    EXPECT_DOUBLE_EQ(p.grossPrice, 180);
    EXPECT_EQ(p.discountText, "0");
    EXPECT_EQ(p.campaign, 1);

    // Flagged as campaign but without a campaign price: sold as an ordinary item.
    p = priceItem(200, 0, true, 20, {10, 0, 0, 0});
    EXPECT_EQ(p.campaign, 0);
    EXPECT_DOUBLE_EQ(p.netPrice, 180);
}

TEST(Pricing, LineAmountsAddUp)
{
    const auto a = lineAmounts(3, 33.33, {10, 5, 0, 0}, 20);
    EXPECT_DOUBLE_EQ(a.gross, 99.99);
    EXPECT_DOUBLE_EQ(a.netUnit, 28.50);  // 33.33 × .855 = 28.497
    EXPECT_DOUBLE_EQ(a.net, 85.5);
    EXPECT_DOUBLE_EQ(a.discount, 14.49);
    EXPECT_DOUBLE_EQ(a.vat, 17.1);
    EXPECT_DOUBLE_EQ(a.total, 102.6);
    // The client's totals: Toplam − İndirim = Ara Toplam equals the sum of net amounts.
    EXPECT_DOUBLE_EQ(roundMoney(a.gross - a.discount), a.net);
}

TEST(Pricing, FormatMoney)
{
    EXPECT_EQ(formatMoney(0), "0,00");
    EXPECT_EQ(formatMoney(1234.5), "1.234,50");
    EXPECT_EQ(formatMoney(1234567.891), "1.234.567,89");
    EXPECT_EQ(formatMoney(-12.345), "-12,35");
}

} // namespace
} // namespace durnak::server::domain
