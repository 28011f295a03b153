#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;

namespace durnak::grid {

class GridModel;

// "Kolon Seçici": the columns a grid offers, ticked when shown. Never-offered columns are
// not listed; ticking shows a column at once.
class ColumnChooser : public QDialog {
    Q_OBJECT

public:
    explicit ColumnChooser(GridModel* model, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    // Grid columns in list order.
    std::vector<int> listedColumns() const;
    void refresh();

private:
    void itemChanged(QListWidgetItem* item);

    GridModel* model_;
    QListWidget* list_;
    bool refreshing_ = false;
};

} // namespace durnak::grid
