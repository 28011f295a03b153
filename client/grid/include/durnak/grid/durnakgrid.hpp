#pragma once

#include <vector>

#include <QTableView>

#include "durnak/grid/columns.hpp"
#include "durnak/grid/gridmodel.hpp"
#include "durnak/grid/style.hpp"
#include "durnak/grid/summaries.hpp"

namespace durnak::grid {

class CellDelegate;
class ColumnChooser;
class FooterBar;
class GridHeader;
class IndicatorHeader;

enum class FocusMode { Row, Cell };

// The data-bound grid of every list window: declared columns over a dataset, read-only,
// fixed row heights, styles, column chooser, incremental search, header filters, footer
// summaries, cell kinds and the weighted widths.
//
//   grid->setColumns({kindColumn("DURUM", "Durum", "DURUM", 1, CellKind::Durum),
//                     textColumn("ADI", "Açıklama", "ADI", 3, Visibility::Shown, true), ...});
//   grid->setFooterSummaries({{"MIKTAR", SummaryKind::Sum}});
//   grid->detach(); grid->beginUpdate();   // ... worker fills the dataset ...
//   grid->setDataSet(&stok); grid->endUpdate();
class DurnakGrid : public QTableView {
    Q_OBJECT

public:
    explicit DurnakGrid(QWidget* parent = nullptr);
    ~DurnakGrid() override;

    // Columns
    void setColumns(GridColumns columns);
    GridModel* gridModel() const { return model_; }
    int columnIndex(const QString& nameOrField) const { return model_->columnIndex(nameOrField); }
    void setColumnVisibility(const QString& nameOrField, Visibility visibility);
    void setColumnVisible(const QString& nameOrField, bool visible);
    bool isColumnVisible(const QString& nameOrField) const;
    // Grid columns that are shown, in display order.
    std::vector<int> visibleColumns() const;
    ColumnChooser* columnChooser();
    void showColumnChooser();

    // Data
    void setDataSet(data::TClientDataSet* dataSet);
    void detach() { setDataSet(nullptr); }
    data::TClientDataSet* dataSet() const { return model_->dataSet(); }
    // Nested; while above zero the grid does not repaint.
    void beginUpdate();
    void endUpdate();
    bool isUpdating() const { return updateDepth_ > 0; }

    // Focused row: grid row, dataset row and a field of it; -1/invalid without one.
    int focusedRow() const;
    int focusedSourceRow() const;
    QVariant focusedValue(const QString& field) const;
    QString focusedColumnCaption() const;
    void focusRow(int row);

    // Look
    void setGridStyle(const GridStyle& style);
    const GridStyle& gridStyle() const { return style_; }
    void setDataRowHeight(int height);  // fixed for every row, set once
    int dataRowHeight() const;
    void setHeaderHeight(int height);
    void setIndicatorVisible(bool visible);
    void setIndicatorWidth(int width);
    void setHeaderVisible(bool visible);
    void setFocusMode(FocusMode mode);
    FocusMode focusMode() const { return focusMode_; }

    // Filters
    void setFilterButtons(bool on);
    QStringList filterValues(const QString& nameOrField) const;
    void setColumnFilter(const QString& nameOrField, const QStringList& values);
    void clearFilters() { model_->clearFilters(); }
    // The value-list popup of a header filter button.
    void showFilterMenu(int column, const QPoint& globalPos);

    // Incremental search
    void setIncrementalSearch(bool on) { incrementalSearch_ = on; }
    bool incrementalSearch() const { return incrementalSearch_; }
    QString searchText() const { return searchText_; }
    void clearSearch() { searchText_.clear(); }
    void keyboardSearch(const QString& search) override;

    // Footer
    void setFooterVisible(bool visible);
    bool footerVisible() const { return footerVisible_; }
    void setFooterSummaries(std::vector<FooterSummary> summaries);
    const std::vector<FooterSummary>& footerSummaries() const { return summaries_; }
    std::vector<SummaryValue> footerValues() const { return footerValues_; }
    QString footerText(const QString& nameOrField) const;

    // Widths: the weighted rule over the visible columns, and best fit.
    void KolonGenislikleri();
    void bestFit();
    // Writes the weighted rule on every resize while enabled.
    void setProportionalOnResize(bool on) { proportionalOnResize_ = on; }

    // Headers in display order as the export needs them.
    GridHeader* gridHeader() const { return header_; }
    CellDelegate* cellDelegate() const { return delegate_; }
    FooterBar* footerBar() const { return footer_; }

signals:
    // The focused dataset row changed; -1 when no row is focused.
    void focusedRowChanged(int sourceRow);

protected:
    void updateGeometries() override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyVisibility();
    void recomputeFooter();
    void placeFooter();

    GridStyle style_ = GridStyle::standard();
    GridModel* model_;
    CellDelegate* delegate_;
    GridHeader* header_;
    IndicatorHeader* indicator_;
    FooterBar* footer_;
    ColumnChooser* chooser_ = nullptr;
    std::vector<FooterSummary> summaries_;
    std::vector<SummaryValue> footerValues_;
    FocusMode focusMode_ = FocusMode::Row;
    QString searchText_;
    int updateDepth_ = 0;
    bool incrementalSearch_ = true;
    bool footerVisible_ = true;
    bool proportionalOnResize_ = false;
    bool inGeometry_ = false;
    bool searching_ = false;
};

} // namespace durnak::grid
