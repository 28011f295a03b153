#pragma once

#include <QColor>
#include <QFont>

namespace durnak::grid {

// The grid colours of the main window. Defaults: cxStyle1 #EFEFEF, cxStyle2 white,
// cxStyle3 header #1A59A8 with white bold Arial 13 px, cxStyle4 selection #D2F0F9 with
// black text, cxStyle5 indicator #424242.
struct StyleEntry {
    QColor background;
    QColor text = Qt::black;
    QFont font;  // only the header uses its own font
};

struct GridStyle {
    StyleEntry content;    // grid background
    StyleEntry even;       // rows at positions 0, 2, 4, ...
    StyleEntry odd;
    StyleEntry header;
    StyleEntry selection;
    StyleEntry indicator;
    StyleEntry footer;     // footer row and group footers
    StyleEntry group;      // group rows
    QColor gridLine;

    static StyleEntry cxStyle1();
    static StyleEntry cxStyle2();
    static StyleEntry cxStyle3();
    static StyleEntry cxStyle4();
    static StyleEntry cxStyle5();

    // content cxStyle1, even cxStyle1, odd cxStyle2, header cxStyle3, selection cxStyle4,
    // indicator cxStyle5 (the stock grid).
    static GridStyle standard();
    // The same with even and odd swapped (basket and new-items grids).
    static GridStyle evenWhite();
};

// Tahoma is not on Linux; DejaVu Sans is metric-close and has every Turkish letter.
QFont gridFont(int pixelSize, bool bold = false);
QFont arialFont(int pixelSize, bool bold = false);

} // namespace durnak::grid
