#include "durnak/data/datasetmodel.hpp"

#include "fieldvalue.hpp"

namespace durnak::data {

DataSetModel::DataSetModel(QObject* parent) : DataSetModel(nullptr, parent) {}

DataSetModel::DataSetModel(TClientDataSet* dataSet, QObject* parent)
    : QAbstractTableModel(parent), locale_(DisplayLocale())
{
    setDataSet(dataSet);
}

DataSetModel::~DataSetModel()
{
    if (dataSet_)
        dataSet_->removeObserver(this);
}

void DataSetModel::setDataSet(TClientDataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    beginResetModel();
    if (dataSet_)
        dataSet_->removeObserver(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->addObserver(this);
    takeShape();
    endResetModel();
}

void DataSetModel::setLocale(const QLocale& locale)
{
    locale_ = locale;
    if (rows_ > 0 && columns_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::DisplayRole});
}

void DataSetModel::takeShape()
{
    const bool open = dataSet_ && dataSet_->Active();
    rows_ = open ? dataSet_->RecordCount() : 0;
    columns_ = open ? dataSet_->FieldCount() : 0;
    seenChanges_ = dataSet_ ? dataSet_->changeCount() : 0;
}

void DataSetModel::reset()
{
    beginResetModel();
    takeShape();
    endResetModel();
}

QString DataSetModel::fieldName(int column) const
{
    if (!dataSet_ || column < 0 || column >= columns_ || column >= dataSet_->FieldCount())
        return {};
    return dataSet_->fieldDef(column).name;
}

int DataSetModel::columnOf(const QString& fieldName) const
{
    if (!dataSet_)
        return -1;
    const int column = dataSet_->FieldIndex(fieldName);
    return column < columns_ ? column : -1;
}

int DataSetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DataSetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || !dataSet_)
        return {};
    // While controls are disabled the dataset may already be shorter than the view thinks.
    if (index.row() >= dataSet_->RecordCount() || index.column() >= dataSet_->FieldCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return dataSet_->displayText(index.row(), index.column(), locale_);
    case Qt::EditRole:
        return dataSet_->value(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (detail::isNumeric(dataSet_->fieldDef(index.column()).type))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return section >= 0 && section < columns_ ? QVariant(fieldName(section)) : QVariant();
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void DataSetModel::dataSetChanged()
{
    // EnableControls always says "changed"; a walk that only moved the cursor keeps the
    // view's selection and scroll position.
    const bool open = dataSet_->Active();
    const bool sameShape = rows_ == (open ? dataSet_->RecordCount() : 0)
                           && columns_ == (open ? dataSet_->FieldCount() : 0);
    if (!sameShape || dataSet_->changeCount() != seenChanges_)
        reset();
    emit currentRowChanged(dataSet_->CurrentRow());
}

void DataSetModel::rowAppended(int row)
{
    if (row != rows_ || columns_ != dataSet_->FieldCount()) {
        reset();
        return;
    }
    beginInsertRows(QModelIndex(), row, row);
    rows_ = row + 1;
    seenChanges_ = dataSet_->changeCount();
    endInsertRows();
}

void DataSetModel::cellChanged(int row, int column)
{
    seenChanges_ = dataSet_->changeCount();
    if (row < rows_ && column < columns_) {
        const QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
    }
}

void DataSetModel::displayChanged(int column)
{
    seenChanges_ = dataSet_->changeCount();
    if (rows_ > 0 && column < columns_)
        emit dataChanged(index(0, column), index(rows_ - 1, column), {Qt::DisplayRole});
}

void DataSetModel::cursorMoved(int row) { emit currentRowChanged(row); }

void DataSetModel::dataSetDestroyed()
{
    beginResetModel();
    dataSet_ = nullptr;
    takeShape();
    endResetModel();
}

} // namespace durnak::data
