#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QAbstractTableModel>
#include <QSet>
#include <QStringList>

#include "durnak/data/datasetmodel.hpp"
#include "durnak/grid/columns.hpp"

namespace durnak::grid {

// Extra roles the grid's painting and export read.
enum GridRole {
    SourceRowRole = Qt::UserRole + 1,  // dataset row of a data row; -1 for group rows
    PositionRole,                      // position for even/odd colours
    RowTypeRole,                       // RowType
};

enum class RowType { Data, GroupHeader, GroupFooter };

// The grid's own model: the declared columns bound by field name over a dataset, header
// filters as a row map, and the values the footer and the export need. Without a filter it
// adds nothing per row; with one it keeps a 4-byte row index per shown row.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit GridModel(QObject* parent = nullptr);
    ~GridModel() override;

    // Declared columns; without any, one plain column per dataset field (auto columns).
    void setColumns(GridColumns columns);
    const GridColumns& columns() const { return columns_; }
    const GridColumn& column(int column) const { return columns_.at(static_cast<std::size_t>(column)); }
    // By column name first, then by field name (case-insensitive); -1 when none.
    int columnIndex(const QString& nameOrField) const;

    void setDataSet(data::TClientDataSet* dataSet);
    data::TClientDataSet* dataSet() const { return source_.dataSet(); }
    void setLocale(const QLocale& locale);
    QLocale locale() const { return source_.locale(); }

    bool isVisible(int column) const;
    bool isOffered(int column) const;
    void setVisible(int column, bool visible);
    void setOffered(int column, bool offered);
    void setVisibility(int column, Visibility visibility);

    // Row mapping: grid row -> dataset row.
    int sourceRow(int row) const
    {
        return filtered_ ? rowMap_[static_cast<std::size_t>(row)] : row;
    }
    int rowOfSource(int sourceRow) const;  // -1 when filtered out
    int sourceColumn(int column) const { return bound_.at(static_cast<std::size_t>(column)); }
    int fieldColumn(const QString& field) const;  // dataset column of any field, -1 when none

    // Values by grid row and column.
    QVariant rawValue(int row, int column) const;
    QString displayText(int row, int column) const;
    // Values by dataset row and any field, declared or not.
    QVariant sourceValue(int sourceRow, const QString& field) const;
    QString sourceDisplayText(int sourceRow, const QString& field) const;
    bool isNumeric(int column) const;

    // Header filters: a set of allowed display texts per column.
    QStringList filterValues(int column) const;  // distinct texts among rows the other filters let through
    void setFilter(int column, const QStringList& values);
    void clearFilter(int column);
    void clearFilters();
    bool isFiltered(int column) const;
    bool anyFilter() const { return filtered_; }

    // Incremental search: first grid row from `fromRow` on (wrapping) whose text in `column`
    // starts with `text` (case-insensitive, Turkish letters included); -1 when none.
    int findPrefix(int column, const QString& text, int fromRow) const;

    // Bytes the model holds per dataset beyond the dataset itself.
    std::size_t memoryBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void visibilityChanged(int column);
    void filterChanged();
    // Rows, columns or values changed: summaries must be computed again.
    void contentChanged();

private:
    void rebind();
    void applyFilters();
    bool passes(int sourceRow, int skipColumn) const;
    void sourceReset();
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void sourceRowsInserted(const QModelIndex& parent, int first, int last);

    struct ColumnState {
        bool visible = true;
        bool offered = true;
        std::optional<QSet<QString>> filter;
    };

    data::DataSetModel source_;
    GridColumns declared_;
    GridColumns columns_;
    std::vector<ColumnState> states_;
    std::vector<int> bound_;  // dataset column per grid column, -1 unbound
    bool filtered_ = false;
    std::vector<std::int32_t> rowMap_;
    int rows_ = 0;
};

} // namespace durnak::grid
