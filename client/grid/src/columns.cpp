#include "durnak/grid/columns.hpp"

#include "durnak/grid/gridmodel.hpp"
#include "durnak/grid/style.hpp"

namespace durnak::grid {

QVariant CellPaint::value(const QString& field) const
{
    return model ? model->sourceValue(sourceRow, field) : QVariant();
}

QString CellPaint::displayText(const QString& field) const
{
    return model ? model->sourceDisplayText(sourceRow, field) : QString();
}

QColor CellPaint::background() const
{
    if (!style)
        return Qt::white;
    if (selected)
        return style->selection.background;
    return position % 2 == 0 ? style->even.background : style->odd.background;
}

GridColumn textColumn(QString name, QString caption, QString field, int weight, Visibility visibility, bool wrap)
{
    GridColumn column;
    column.name = std::move(name);
    column.caption = std::move(caption);
    column.field = std::move(field);
    column.weight = weight;
    column.visibility = visibility;
    column.wrap = wrap;
    return column;
}

GridColumn centredColumn(QString name, QString caption, QString field, int weight, Visibility visibility)
{
    GridColumn column = textColumn(std::move(name), std::move(caption), std::move(field), weight, visibility);
    column.alignment = Qt::AlignHCenter;
    return column;
}

GridColumn kindColumn(QString name, QString caption, QString field, int weight, CellKind kind, Visibility visibility)
{
    GridColumn column = textColumn(std::move(name), std::move(caption), std::move(field), weight, visibility);
    column.kind = kind;
    if (kind != CellKind::Text && kind != CellKind::Custom)
        column.alignment = Qt::AlignHCenter;
    return column;
}

GridColumn drawnColumn(QString name, QString caption, int weight, DrawHook draw, Visibility visibility)
{
    GridColumn column = textColumn(std::move(name), std::move(caption), QString(), weight, visibility);
    column.kind = CellKind::Custom;
    column.draw = std::move(draw);
    return column;
}

QString durumAciklama(int code)
{
    switch (code) {
    case 0: return QStringLiteral("Yok");
    case 1: return QStringLiteral("Var");
    case 2: return QStringLiteral("Telefon Açınız");
    case 3: return QStringLiteral("Yolda");
    case 4: return QStringLiteral("Özel Sipariş");
    case 5: return QStringLiteral("Tedarik Sürecinde");
    default: return {};
    }
}

} // namespace durnak::grid
