#include "durnak/grid/gridmodel.hpp"

#include <algorithm>

#include "durnak/data/numberformat.hpp"

namespace durnak::grid {

namespace {

bool numericType(protocol::FieldType type)
{
    using protocol::FieldType;
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64:
    case FieldType::Float64:
    case FieldType::Currency:
    case FieldType::Bcd:
        return true;
    default:
        return false;
    }
}

} // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent)
{
    connect(&source_, &QAbstractItemModel::modelReset, this, &GridModel::sourceReset);
    connect(&source_, &QAbstractItemModel::dataChanged, this, &GridModel::sourceDataChanged);
    connect(&source_, &QAbstractItemModel::rowsInserted, this, &GridModel::sourceRowsInserted);
}

GridModel::~GridModel() = default;

void GridModel::setColumns(GridColumns columns)
{
    beginResetModel();
    declared_ = std::move(columns);
    columns_.clear();
    states_.clear();
    rebind();
    applyFilters();
    endResetModel();
    emit contentChanged();
}

void GridModel::rebind()
{
    if (declared_.empty()) {
        // Auto columns follow the dataset's fields; states survive while the fields stay.
        GridColumns fresh;
        for (int c = 0; c < source_.columnCount(); ++c) {
            GridColumn column;
            column.name = source_.fieldName(c);
            column.field = column.name;
            fresh.push_back(std::move(column));
        }
        const bool same = fresh.size() == columns_.size()
                          && std::equal(fresh.begin(), fresh.end(), columns_.begin(),
                                        [](const GridColumn& a, const GridColumn& b) { return a.field == b.field; });
        if (!same) {
            columns_ = std::move(fresh);
            states_.assign(columns_.size(), ColumnState{});
        }
    } else if (columns_.size() != declared_.size()) {
        columns_ = declared_;
        states_.clear();
        for (const auto& column : columns_) {
            ColumnState state;
            state.visible = column.visibility == Visibility::Shown || column.visibility == Visibility::Pinned;
            state.offered = column.visibility == Visibility::Shown || column.visibility == Visibility::Offered;
            states_.push_back(state);
        }
    }
    bound_.clear();
    for (const auto& column : columns_)
        bound_.push_back(column.field.isEmpty() ? -1 : source_.columnOf(column.field));
}

int GridModel::columnIndex(const QString& nameOrField) const
{
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].name.compare(nameOrField, Qt::CaseInsensitive) == 0)
            return static_cast<int>(c);
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (!columns_[c].field.isEmpty() && columns_[c].field.compare(nameOrField, Qt::CaseInsensitive) == 0)
            return static_cast<int>(c);
    return -1;
}

void GridModel::setDataSet(data::TClientDataSet* dataSet)
{
    source_.setDataSet(dataSet);  // resets through sourceReset
}

void GridModel::setLocale(const QLocale& locale)
{
    source_.setLocale(locale);
    applyFilters();
    emit contentChanged();
}

bool GridModel::isVisible(int column) const
{
    return column >= 0 && column < columnCount() && states_[static_cast<std::size_t>(column)].visible;
}

bool GridModel::isOffered(int column) const
{
    return column >= 0 && column < columnCount() && states_[static_cast<std::size_t>(column)].offered;
}

void GridModel::setVisible(int column, bool visible)
{
    if (column < 0 || column >= columnCount() || states_[static_cast<std::size_t>(column)].visible == visible)
        return;
    states_[static_cast<std::size_t>(column)].visible = visible;
    emit visibilityChanged(column);
}

void GridModel::setOffered(int column, bool offered)
{
    if (column < 0 || column >= columnCount() || states_[static_cast<std::size_t>(column)].offered == offered)
        return;
    states_[static_cast<std::size_t>(column)].offered = offered;
    emit visibilityChanged(column);
}

void GridModel::setVisibility(int column, Visibility visibility)
{
    setOffered(column, visibility == Visibility::Shown || visibility == Visibility::Offered);
    setVisible(column, visibility == Visibility::Shown || visibility == Visibility::Pinned);
}

int GridModel::rowOfSource(int sourceRow) const
{
    if (!filtered_)
        return sourceRow >= 0 && sourceRow < rows_ ? sourceRow : -1;
    const auto it = std::lower_bound(rowMap_.begin(), rowMap_.end(), sourceRow);
    return it != rowMap_.end() && *it == sourceRow ? static_cast<int>(it - rowMap_.begin()) : -1;
}

int GridModel::fieldColumn(const QString& field) const
{
    auto* ds = source_.dataSet();
    return ds && ds->Active() ? ds->FieldIndex(field) : -1;
}

QVariant GridModel::rawValue(int row, int column) const
{
    const int src = sourceColumn(column);
    auto* ds = source_.dataSet();
    if (src < 0 || !ds || row < 0 || row >= rows_)
        return {};
    return ds->value(sourceRow(row), src);
}

QString GridModel::displayText(int row, int column) const
{
    const int src = sourceColumn(column);
    auto* ds = source_.dataSet();
    if (src < 0 || !ds || row < 0 || row >= rows_)
        return {};
    return ds->displayText(sourceRow(row), src, source_.locale());
}

QVariant GridModel::sourceValue(int sourceRow, const QString& field) const
{
    const int src = fieldColumn(field);
    return src < 0 ? QVariant() : source_.dataSet()->value(sourceRow, src);
}

QString GridModel::sourceDisplayText(int sourceRow, const QString& field) const
{
    const int src = fieldColumn(field);
    return src < 0 ? QString() : source_.dataSet()->displayText(sourceRow, src, source_.locale());
}

bool GridModel::isNumeric(int column) const
{
    const int src = sourceColumn(column);
    return src >= 0 && numericType(source_.dataSet()->fieldDef(src).type);
}

// ---------------------------------------------------------------------------------------------
// Filters

bool GridModel::passes(int sourceRow, int skipColumn) const
{
    auto* ds = source_.dataSet();
    for (std::size_t c = 0; c < states_.size(); ++c) {
        const auto& filter = states_[c].filter;
        if (!filter || static_cast<int>(c) == skipColumn)
            continue;
        const int src = bound_[c];
        const QString text = src < 0 ? QString() : ds->displayText(sourceRow, src, source_.locale());
        if (!filter->contains(text))
            return false;
    }
    return true;
}

void GridModel::applyFilters()
{
    const int total = source_.rowCount();
    const bool any = std::any_of(states_.begin(), states_.end(), [](const ColumnState& s) { return s.filter.has_value(); });
    rowMap_.clear();
    rowMap_.shrink_to_fit();
    filtered_ = any && source_.dataSet();
    if (filtered_) {
        for (int r = 0; r < total; ++r)
            if (passes(r, -1))
                rowMap_.push_back(r);
        rowMap_.shrink_to_fit();
        rows_ = static_cast<int>(rowMap_.size());
    } else {
        rows_ = total;
    }
}

QStringList GridModel::filterValues(int column) const
{
    auto* ds = source_.dataSet();
    const int src = column >= 0 && column < columnCount() ? sourceColumn(column) : -1;
    if (!ds || src < 0)
        return {};
    QSet<QString> seen;
    std::vector<std::pair<QVariant, QString>> values;
    const int total = source_.rowCount();
    for (int r = 0; r < total; ++r) {
        if (!passes(r, column))
            continue;
        QString text = ds->displayText(r, src, source_.locale());
        if (seen.contains(text))
            continue;
        seen.insert(text);
        values.emplace_back(ds->value(r, src), std::move(text));
    }
    const bool numeric = isNumeric(column);
    std::sort(values.begin(), values.end(), [numeric](const auto& a, const auto& b) {
        // Blanks first, then by value for numbers and dates, by text otherwise.
        if (a.first.isNull() != b.first.isNull())
            return a.first.isNull();
        if (numeric)
            return a.first.toDouble() < b.first.toDouble();
        const auto order = QVariant::compare(a.first, b.first);
        if (a.first.typeId() != QMetaType::QString && order != QPartialOrdering::Unordered)
            return order == QPartialOrdering::Less;
        return QString::localeAwareCompare(a.second, b.second) < 0;
    });
    QStringList result;
    result.reserve(static_cast<qsizetype>(values.size()));
    for (auto& value : values)
        result.push_back(std::move(value.second));
    return result;
}

void GridModel::setFilter(int column, const QStringList& values)
{
    if (column < 0 || column >= columnCount())
        return;
    beginResetModel();
    states_[static_cast<std::size_t>(column)].filter = QSet<QString>(values.begin(), values.end());
    applyFilters();
    endResetModel();
    emit filterChanged();
    emit contentChanged();
}

void GridModel::clearFilter(int column)
{
    if (!isFiltered(column))
        return;
    beginResetModel();
    states_[static_cast<std::size_t>(column)].filter.reset();
    applyFilters();
    endResetModel();
    emit filterChanged();
    emit contentChanged();
}

void GridModel::clearFilters()
{
    if (std::none_of(states_.begin(), states_.end(), [](const ColumnState& s) { return s.filter.has_value(); }))
        return;
    beginResetModel();
    for (auto& state : states_)
        state.filter.reset();
    applyFilters();
    endResetModel();
    emit filterChanged();
    emit contentChanged();
}

bool GridModel::isFiltered(int column) const
{
    return column >= 0 && column < columnCount() && states_[static_cast<std::size_t>(column)].filter.has_value();
}

// ---------------------------------------------------------------------------------------------
// Search

int GridModel::findPrefix(int column, const QString& text, int fromRow) const
{
    auto* ds = source_.dataSet();
    const int src = column >= 0 && column < columnCount() ? sourceColumn(column) : -1;
    if (!ds || src < 0 || rows_ == 0 || text.isEmpty())
        return -1;
    const QLocale locale = source_.locale();
    const QString wanted = locale.toUpper(text);
    const int start = std::clamp(fromRow, 0, rows_ - 1);
    for (int i = 0; i < rows_; ++i) {
        const int row = (start + i) % rows_;
        const QString cell = ds->displayText(sourceRow(row), src, locale);
        if (cell.size() >= text.size() && locale.toUpper(cell.left(text.size())) == wanted)
            return row;
    }
    return -1;
}

std::size_t GridModel::memoryBytes() const
{
    return sizeof(*this) + rowMap_.capacity() * sizeof(std::int32_t) + bound_.capacity() * sizeof(int)
           + states_.capacity() * sizeof(ColumnState) + columns_.capacity() * sizeof(GridColumn)
           + declared_.capacity() * sizeof(GridColumn);
}

// ---------------------------------------------------------------------------------------------
// Model

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (sourceColumn(index.column()) < 0)
            return {};
        return displayText(index.row(), index.column());
    case Qt::EditRole:
        return rawValue(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        const auto& column = columns_[static_cast<std::size_t>(index.column())];
        Qt::Alignment horizontal = column.alignment & Qt::AlignHorizontal_Mask;
        if (!horizontal)
            horizontal = isNumeric(index.column()) ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    case Qt::ToolTipRole:
        if (column(index.column()).kind == CellKind::Durum) {
            const QVariant value = rawValue(index.row(), index.column());
            return value.isNull() ? QVariant() : QVariant(durumAciklama(value.toInt()));
        }
        return {};
    case SourceRowRole:
        return sourceRow(index.row());
    case PositionRole:
        return index.row();
    case RowTypeRole:
        return static_cast<int>(RowType::Data);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        if (role == Qt::DisplayRole)
            return column(section).headerText();
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void GridModel::sourceReset()
{
    beginResetModel();
    rebind();
    applyFilters();
    endResetModel();
    emit contentChanged();
}

void GridModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (filtered_) {
        // A changed value may let a row in or out of the filter.
        sourceReset();
        return;
    }
    for (std::size_t c = 0; c < bound_.size(); ++c) {
        const int src = bound_[c];
        if (src >= topLeft.column() && src <= bottomRight.column() && rows_ > 0)
            emit dataChanged(index(std::min(topLeft.row(), rows_ - 1), static_cast<int>(c)),
                             index(std::min(bottomRight.row(), rows_ - 1), static_cast<int>(c)));
    }
    emit contentChanged();
}

void GridModel::sourceRowsInserted(const QModelIndex&, int first, int last)
{
    if (filtered_ || first != rows_) {
        sourceReset();
        return;
    }
    beginInsertRows(QModelIndex(), first, last);
    rows_ = last + 1;
    endInsertRows();
    emit contentChanged();
}

} // namespace durnak::grid
