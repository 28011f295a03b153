#pragma once

#include <vector>

#include <QAbstractItemModel>
#include <QTreeView>

#include "durnak/grid/columns.hpp"
#include "durnak/grid/gridmodel.hpp"
#include "durnak/grid/style.hpp"
#include "durnak/grid/summaries.hpp"

namespace durnak::grid {

class CellDelegate;
class ColumnChooser;
class FooterBar;
class GridHeader;

// Rows of a GridModel grouped by one column, groups in ascending order of its value. Each
// group is two top-level rows: the group row, whose children are the group's data rows, and
// its footer row right after it, so that the footer stays visible when the group is collapsed.
class GroupModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit GroupModel(GridModel* source, QObject* parent = nullptr);

    void setGroupColumn(int column);  // -1: no grouping (one row per data row)
    int groupColumn() const { return groupColumn_; }
    void setGroupSummaries(std::vector<FooterSummary> summaries);
    const std::vector<FooterSummary>& groupSummaries() const { return summaries_; }

    int groupCount() const { return static_cast<int>(groups_.size()); }
    QString groupText(int group) const;
    const std::vector<int>& groupRows(int group) const { return groups_[static_cast<std::size_t>(group)].rows; }
    // Footer text of a group under a grid column; empty when none.
    QString groupFooterText(int group, int column) const;
    const std::vector<SummaryValue>& groupFooterValues(int group) const
    {
        return groups_[static_cast<std::size_t>(group)].values;
    }
    QModelIndex groupIndex(int group) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Group {
        QVariant key;
        QString text;
        std::vector<int> rows;  // dataset rows in dataset order
        std::vector<QString> footer;
        std::vector<SummaryValue> values;
    };
    void rebuild();

    GridModel* source_;
    int groupColumn_ = -1;
    std::vector<FooterSummary> summaries_;
    std::vector<Group> groups_;
};

// The grouped grid of the report window: the same columns, styles, cells and footer as
// DurnakGrid, rows grouped by a column with group footers that stay visible, and
// collapse/expand all.
class DurnakGroupGrid : public QTreeView {
    Q_OBJECT

public:
    explicit DurnakGroupGrid(QWidget* parent = nullptr);
    ~DurnakGroupGrid() override;

    void setColumns(GridColumns columns);
    GridModel* gridModel() const { return model_; }
    GroupModel* groupModel() const { return groups_; }
    void setDataSet(data::TClientDataSet* dataSet) { model_->setDataSet(dataSet); }
    void detach() { setDataSet(nullptr); }
    void beginUpdate();
    void endUpdate();
    void setColumnVisibility(const QString& nameOrField, Visibility visibility);
    std::vector<int> visibleColumns() const;
    ColumnChooser* columnChooser();
    void showColumnChooser();

    // Groups by the column (name or field); the grouping column is hidden like the original's.
    void setGroupBy(const QString& nameOrField);
    void setGroupSummaries(std::vector<FooterSummary> summaries);
    void setFooterSummaries(std::vector<FooterSummary> summaries);
    const std::vector<FooterSummary>& footerSummaries() const { return summaries_; }
    QString footerText(const QString& nameOrField) const;
    std::vector<SummaryValue> footerValues() const { return footerValues_; }
    void collapseAllGroups();
    void expandAllGroups();

    void setGridStyle(const GridStyle& style);
    const GridStyle& gridStyle() const { return style_; }
    void setDataRowHeight(int height);
    void setHeaderHeight(int height);
    void setFooterVisible(bool visible);
    void KolonGenislikleri();
    void bestFit();

    GridHeader* gridHeader() const { return header_; }
    FooterBar* footerBar() const { return footer_; }

protected:
    void updateGeometries() override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void afterReset();
    void recomputeFooter();
    void placeFooter();

    GridStyle style_ = GridStyle::standard();
    GridModel* model_;
    GroupModel* groups_;
    CellDelegate* delegate_;
    GridHeader* header_;
    FooterBar* footer_;
    ColumnChooser* chooser_ = nullptr;
    std::vector<FooterSummary> summaries_;
    std::vector<SummaryValue> footerValues_;
    int updateDepth_ = 0;
    int rowHeight_ = 24;
    bool footerVisible_ = true;
    bool inGeometry_ = false;
};

} // namespace durnak::grid
