#pragma once

#include <QAbstractTableModel>
#include <QLocale>

#include "durnak/data/clientdataset.hpp"

namespace durnak::data {

// Table model over a TClientDataSet for the grids: one column per field, DisplayRole the
// field's display text, EditRole the raw value. It resets once per load, not per row, and
// follows DisableControls/EnableControls. Lives on the main thread; detach it (setDataSet
// with nullptr) while a worker fills the dataset.
class DataSetModel : public QAbstractTableModel, private DataSetObserver {
    Q_OBJECT

public:
    explicit DataSetModel(QObject* parent = nullptr);
    explicit DataSetModel(TClientDataSet* dataSet, QObject* parent = nullptr);
    ~DataSetModel() override;

    void setDataSet(TClientDataSet* dataSet);
    TClientDataSet* dataSet() const { return dataSet_; }
    void setLocale(const QLocale& locale);
    QLocale locale() const { return locale_; }

    QString fieldName(int column) const;
    int columnOf(const QString& fieldName) const;  // -1 when the field is not shown

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The dataset's cursor moved; -1 when there is no current row.
    void currentRowChanged(int row);

private:
    void dataSetChanged() override;
    void rowAppended(int row) override;
    void cellChanged(int row, int column) override;
    void displayChanged(int column) override;
    void cursorMoved(int row) override;
    void dataSetDestroyed() override;

    void takeShape();
    void reset();

    TClientDataSet* dataSet_ = nullptr;
    QLocale locale_;
    int rows_ = 0;
    int columns_ = 0;
    std::uint64_t seenChanges_ = 0;
};

} // namespace durnak::data
