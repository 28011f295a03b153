#pragma once

// Pieces the table grid and the grouped grid share.

#include <vector>

#include <QFontMetrics>
#include <QHeaderView>
#include <QWidget>

#include "durnak/grid/gridmodel.hpp"
#include "durnak/grid/style.hpp"
#include "durnak/grid/summaries.hpp"

namespace durnak::grid::detail {

// Holds a widget's painting while its column widths change. A widget whose parent is itself
// locked (a tab switch locks the page stack) reports updates off without having been locked
// on its own; restoring that reading would lock the grid for good, so only the widget's own
// lock is taken and given back.
class PaintLock {
public:
    explicit PaintLock(QWidget* widget)
        : widget_(widget), taken_(!widget->testAttribute(Qt::WA_ForceUpdatesDisabled))
    {
        if (taken_) widget_->setUpdatesEnabled(false);
    }
    ~PaintLock()
    {
        if (taken_) widget_->setUpdatesEnabled(true);
    }
    PaintLock(const PaintLock&) = delete;
    PaintLock& operator=(const PaintLock&) = delete;

private:
    QWidget* widget_;
    bool taken_;
};

void applyVisibility(QHeaderView* header, const GridModel& model);
// The area under the last row takes the content style.
void applyContentColour(QWidget* viewport, const GridStyle& style);
std::vector<int> visibleInOrder(const QHeaderView* header, const GridModel& model);
void applyWeights(QHeaderView* header, const GridModel& model, int gridWidth);
// Fits the visible columns to their captions and the texts of the first rows. A million-row
// grid is never measured whole.
inline constexpr int kBestFitRows = 1000;
void bestFit(QHeaderView* header, const GridModel& model, const QFontMetrics& cellMetrics,
             const QFontMetrics& headerMetrics, int extra);
void filterMenu(GridModel& model, int column, const QPoint& globalPos, QWidget* parent);
std::vector<QString> footerTexts(const GridModel& model, const std::vector<FooterSummary>& summaries,
                                 std::vector<SummaryValue>& values, const std::vector<int>* sourceRows = nullptr);

} // namespace durnak::grid::detail
