#include <gtest/gtest.h>

#include "durnak/protocol/error.hpp"
#include "durnak/protocol/table.hpp"

using namespace durnak::protocol;

TEST(Decimal, ParsesAndFormatsExactly)
{
    struct Case {
        const char* text;
        std::int64_t scaled;
        const char* formatted;
    };
    const Case cases[] = {
        {"0", 0, "0"},           {"12.5", 125000, "12.5"},  {"-0.0001", -1, "-0.0001"},
        {"+3.10", 31000, "3.1"}, {"1234567.8901", 12345678901, "1234567.8901"},
        {".5", 5000, "0.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDecimal(c.text), c.scaled);
        EXPECT_EQ(formatDecimal(c.scaled), c.formatted);
    }
    for (const char* bad : {"", "-", ".", "1.23456", "1,5", "1e3", "abc", "99999999999999999999",
                            "-922337203685477.5809"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(parseDecimal(bad), ProtocolError);
    }
    EXPECT_EQ(formatDecimal(std::numeric_limits<std::int64_t>::min()), "-922337203685477.5808");
    EXPECT_EQ(parseDecimal("-922337203685477.5808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(parseDecimal("922337203685477.5807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_THROW(parseDecimal("922337203685477.5808"), ProtocolError);
}

TEST(Table, StoresEveryStorageWithNulls)
{
    Table t({{"NO", FieldType::Int32}, {"FIYAT", FieldType::Float64}, {"ADI", FieldType::WideString, 40},
             {"VAR", FieldType::Boolean}, {"TUTAR", FieldType::Currency}});
    for (int i = 0; i < 3; ++i) t.appendRow();
    t.setInt(0, 0, 7);
    t.setReal(0, 1, 1234.5);
    t.setText(0, 2, "Şanzıman");
    t.setText(1, 2, "Fren");
    t.setText(2, 2, "Yağ");
    t.setFlag(1, 3, true);
    t.setInt(2, 4, parseDecimal("10.25"));

    EXPECT_EQ(t.intAt(0, 0), 7);
    EXPECT_TRUE(t.isNull(1, 0));
    EXPECT_EQ(t.textAt(0, 2), "Şanzıman");
    EXPECT_EQ(t.textAt(2, 2), "Yağ");
    EXPECT_EQ(t.cell(1, 4), Cell{});
    EXPECT_EQ(t.columnIndex("adi"), 2);
    EXPECT_EQ(t.columnIndex("YOK"), -1);

    // Changing a text in the middle keeps its neighbours intact.
    t.setText(0, 2, "Debriyaj seti");
    t.setText(1, 2, "");
    EXPECT_EQ(t.textAt(0, 2), "Debriyaj seti");
    EXPECT_EQ(t.textAt(1, 2), "");
    EXPECT_FALSE(t.isNull(1, 2));
    EXPECT_EQ(t.textAt(2, 2), "Yağ");
    t.setNull(0, 2);
    EXPECT_TRUE(t.isNull(0, 2));
    EXPECT_EQ(t.textAt(2, 2), "Yağ");
}

TEST(Table, RejectsValuesOfTheWrongStorage)
{
    Table t({{"NO", FieldType::Int32}, {"ADI", FieldType::String}});
    t.appendRow();
    EXPECT_THROW(t.setText(0, 0, "x"), ProtocolError);
    EXPECT_THROW(t.realAt(0, 1), ProtocolError);
    EXPECT_THROW(t.setCell(0, 0, Cell{2.5}), ProtocolError);
    t.setCell(0, 0, Cell{3.0});  // a whole double is a lossless integer
    EXPECT_EQ(t.intAt(0, 0), 3);
    EXPECT_THROW(t.setCell(0, 1, Cell{std::int64_t{1}}), ProtocolError);

    // An amount given as a real lands scaled in a fixed-point column.
    Table money({{"TUTAR", FieldType::Currency}});
    money.appendRow();
    money.setCell(0, 0, Cell{12.345});
    EXPECT_EQ(formatDecimal(money.intAt(0, 0)), "12.345");
    money.setCell(0, 0, Cell{std::int64_t{50000}});
    EXPECT_EQ(formatDecimal(money.intAt(0, 0)), "5");
}
