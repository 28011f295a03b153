#pragma once

#include <functional>
#include <vector>

#include <QFont>
#include <QRect>
#include <QString>
#include <QVariant>

class QPainter;

namespace durnak::grid {

class GridModel;
struct GridStyle;

// Whether a column is shown and whether the column chooser lists it.
enum class Visibility {
    Shown,    // visible, listed in the chooser
    Offered,  // hidden, listed in the chooser so the user may show it
    Never,    // hidden and never listed
    Pinned,   // visible, never listed (the basket's tick column)
};

enum class CellKind {
    Text,
    Check,          // display-only check box: non-zero ticked
    Durum,          // availability icon of DURUM 0-5
    Flag,           // Y/K flag pictures: > 0 "Evet", else the zero picture (see FlagZero)
    PictureMarker,  // RESIM: 1 shows a picture icon, 0 nothing
    Picture,        // image decoded from the cell's bytes
    Custom,         // painted by the column's draw hook
};

// What a Flag cell shows for 0: the "Hayır" picture, a plain picture, or nothing.
enum class FlagZero { Hayir, Plain, Empty };

// Everything a draw hook needs for one cell. Values of other fields of the same row are
// read through value()/displayText(), also of hidden or undeclared fields.
struct CellPaint {
    QPainter* painter = nullptr;
    QRect rect;
    bool selected = false;
    int position = 0;     // row position in the grid from 0, for even/odd colours
    int sourceRow = -1;   // dataset row
    const GridModel* model = nullptr;
    const GridStyle* style = nullptr;
    QFont font;

    QVariant value(const QString& field) const;
    QString displayText(const QString& field) const;
    // The colour the grid would fill this cell with.
    QColor background() const;
};

using DrawHook = std::function<void(const CellPaint&)>;
// Text written for a drawn column in exports.
using ExportText = std::function<QString(const GridModel&, int sourceRow)>;

// One column of a grid as a window declares it. An empty caption shows the field name; an
// empty field makes an unbound column (only useful with a draw hook).
struct GridColumn {
    QString name;
    QString caption;
    QString field;
    int weight = 1;  // width weight for KolonGenislikleri
    Visibility visibility = Visibility::Shown;
    Qt::Alignment alignment = {};  // empty: numbers right, the rest left; always vertically centred
    bool wrap = false;
    CellKind kind = CellKind::Text;
    FlagZero flagZero = FlagZero::Hayir;
    DrawHook draw;
    ExportText exportText;

    QString headerText() const { return caption.isEmpty() ? (field.isEmpty() ? name : field) : caption; }
};

using GridColumns = std::vector<GridColumn>;

// Shorthands so that a window's column table reads like a table.
GridColumn textColumn(QString name, QString caption, QString field, int weight,
                      Visibility visibility = Visibility::Shown, bool wrap = false);
GridColumn centredColumn(QString name, QString caption, QString field, int weight,
                         Visibility visibility = Visibility::Shown);
GridColumn kindColumn(QString name, QString caption, QString field, int weight, CellKind kind,
                      Visibility visibility = Visibility::Shown);
GridColumn drawnColumn(QString name, QString caption, int weight, DrawHook draw,
                       Visibility visibility = Visibility::Shown);

// Descriptions of the DURUM codes 0-5; empty for other codes.
QString durumAciklama(int code);

} // namespace durnak::grid
