#include "durnak/grid/columnchooser.hpp"

#include <QListWidget>
#include <QVBoxLayout>

#include "durnak/grid/gridmodel.hpp"

namespace durnak::grid {

ColumnChooser::ColumnChooser(GridModel* model, QWidget* parent)
    : QDialog(parent, Qt::Tool), model_(model), list_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Kolon Seçici"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_);
    resize(220, 360);
    connect(list_, &QListWidget::itemChanged, this, &ColumnChooser::itemChanged);
    connect(model, &GridModel::visibilityChanged, this, &ColumnChooser::refresh);
    connect(model, &QAbstractItemModel::modelReset, this, &ColumnChooser::refresh);
    refresh();
}

void ColumnChooser::refresh()
{
    std::vector<int> offered;
    for (int c = 0; c < model_->columnCount(); ++c)
        if (model_->isOffered(c))
            offered.push_back(c);
    refreshing_ = true;
    if (offered == listedColumns()) {
        // Same list: only the ticks move (also while a tick of ours is being handled).
        for (int i = 0; i < list_->count(); ++i)
            list_->item(i)->setCheckState(model_->isVisible(offered[static_cast<std::size_t>(i)]) ? Qt::Checked
                                                                                                  : Qt::Unchecked);
        refreshing_ = false;
        return;
    }
    list_->clear();
    for (int c = 0; c < model_->columnCount(); ++c) {
        if (!model_->isOffered(c))
            continue;
        auto* item = new QListWidgetItem(model_->column(c).headerText(), list_);
        item->setData(Qt::UserRole, c);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(model_->isVisible(c) ? Qt::Checked : Qt::Unchecked);
    }
    refreshing_ = false;
}

std::vector<int> ColumnChooser::listedColumns() const
{
    std::vector<int> columns;
    for (int i = 0; i < list_->count(); ++i)
        columns.push_back(list_->item(i)->data(Qt::UserRole).toInt());
    return columns;
}

void ColumnChooser::itemChanged(QListWidgetItem* item)
{
    if (refreshing_)
        return;
    model_->setVisible(item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked);
}

} // namespace durnak::grid
