#include "common.hpp"

#include <algorithm>

#include <QMenu>

#include "durnak/grid/icons.hpp"
#include "durnak/grid/widths.hpp"

namespace durnak::grid::detail {

void applyVisibility(QHeaderView* header, const GridModel& model)
{
    for (int c = 0; c < model.columnCount() && c < header->count(); ++c)
        header->setSectionHidden(c, !model.isVisible(c));
}

void applyContentColour(QWidget* viewport, const GridStyle& style)
{
    QPalette palette = viewport->palette();
    palette.setColor(QPalette::Base, style.content.background);
    viewport->setPalette(palette);
}

std::vector<int> visibleInOrder(const QHeaderView* header, const GridModel& model)
{
    std::vector<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical >= 0 && logical < model.columnCount() && model.isVisible(logical))
            columns.push_back(logical);
    }
    return columns;
}

void applyWeights(QHeaderView* header, const GridModel& model, int gridWidth)
{
    const auto columns = visibleInOrder(header, model);
    std::vector<int> weights;
    for (int c : columns)
        weights.push_back(model.column(c).weight);
    const auto widths = KolonGenislikleri(gridWidth, weights);
    for (std::size_t i = 0; i < columns.size(); ++i)
        header->resizeSection(columns[i], widths[i]);
}

void bestFit(QHeaderView* header, const GridModel& model, const QFontMetrics& cellMetrics,
             const QFontMetrics& headerMetrics, int extra)
{
    const int rows = std::min(model.rowCount(), kBestFitRows);
    for (int c : visibleInOrder(header, model)) {
        const GridColumn& column = model.column(c);
        int width = headerMetrics.horizontalAdvance(column.headerText()) + extra;
        switch (column.kind) {
        case CellKind::Check:
        case CellKind::Durum:
        case CellKind::Flag:
        case CellKind::PictureMarker:
            width = std::max(width, kIconSize + 8);
            break;
        case CellKind::Picture:
        case CellKind::Custom:
            width = std::max(width, header->sectionSize(c));
            break;
        case CellKind::Text:
            for (int r = 0; r < rows; ++r)
                width = std::max(width, cellMetrics.horizontalAdvance(model.displayText(r, c)) + 8);
            break;
        }
        header->resizeSection(c, width);
    }
}

void filterMenu(GridModel& model, int column, const QPoint& globalPos, QWidget* parent)
{
    constexpr int kMaxEntries = 1000;
    QMenu menu(parent);
    QAction* all = menu.addAction(QStringLiteral("(Tümü)"));
    menu.addSeparator();
    const QStringList values = model.filterValues(column);
    for (int i = 0; i < values.size() && i < kMaxEntries; ++i) {
        QAction* action = menu.addAction(values[i].isEmpty() ? QStringLiteral("(Boş)") : values[i]);
        action->setData(values[i]);
    }
    if (values.size() > kMaxEntries)
        menu.addAction(QStringLiteral("…"))->setEnabled(false);
    QAction* chosen = menu.exec(globalPos);
    if (!chosen)
        return;
    if (chosen == all)
        model.clearFilter(column);
    else
        model.setFilter(column, {chosen->data().toString()});
}

std::vector<QString> footerTexts(const GridModel& model, const std::vector<FooterSummary>& summaries,
                                 std::vector<SummaryValue>& values, const std::vector<int>* sourceRows)
{
    std::vector<QString> texts(static_cast<std::size_t>(model.columnCount()));
    values.clear();
    for (const auto& summary : summaries) {
        SummaryValue value = computeSummary(model, summary, sourceRows);
        if (value.column >= 0) {
            auto& text = texts[static_cast<std::size_t>(value.column)];
            text = text.isEmpty() ? value.text : text + QLatin1Char(' ') + value.text;
        }
        values.push_back(std::move(value));
    }
    return texts;
}

} // namespace durnak::grid::detail
