#include "durnak/grid/style.hpp"

namespace durnak::grid {

QFont gridFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont arialFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

StyleEntry GridStyle::cxStyle1() { return {QColor(0xEF, 0xEF, 0xEF), Qt::black, {}}; }
StyleEntry GridStyle::cxStyle2() { return {Qt::white, Qt::black, {}}; }
StyleEntry GridStyle::cxStyle3() { return {QColor(0x1A, 0x59, 0xA8), Qt::white, arialFont(13, true)}; }
StyleEntry GridStyle::cxStyle4() { return {QColor(0xD2, 0xF0, 0xF9), Qt::black, {}}; }
StyleEntry GridStyle::cxStyle5() { return {QColor(0x42, 0x42, 0x42), Qt::white, {}}; }

GridStyle GridStyle::standard()
{
    GridStyle style;
    style.content = cxStyle1();
    style.even = cxStyle1();
    style.odd = cxStyle2();
    style.header = cxStyle3();
    style.selection = cxStyle4();
    style.indicator = cxStyle5();
    style.footer = {QColor(0xDD, 0xE4, 0xEE), Qt::black, {}};
    style.group = {QColor(0xC9, 0xD6, 0xE8), Qt::black, {}};
    style.gridLine = QColor(0xC8, 0xC8, 0xC8);
    return style;
}

GridStyle GridStyle::evenWhite()
{
    GridStyle style = standard();
    std::swap(style.even, style.odd);
    return style;
}

} // namespace durnak::grid
