#pragma once

// The report window Traporform ("Raporlar"): over a date range, the orders taken grouped by
// sales representative with per-group totals, and the stock items sold with totals.

#include <memory>

#include <QDialog>

#include "durnak/data/clientdataset.hpp"
#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"

class QDateEdit;
class QPushButton;
class QTabWidget;

namespace durnak::grid {
class DurnakGrid;
class DurnakGroupGrid;
struct GridStyle;
}

namespace durnak::client {

using data::TClientDataSet;
using protocol::TSonucBilgisi;

class Traporform : public QDialog {
    Q_OBJECT

public:
    explicit Traporform(QWidget* sahip = nullptr);
    ~Traporform() override;

    // Its own copy of the main connection, made by the opener.
    std::unique_ptr<TBaglanti> bag;
    // Not owned.
    TSonucBilgisi* sbilgi = nullptr;

    // Both date boxes to today; the grids' look.
    void FormCreate();
    // "Göster": loads the report of the active page.
    void Button1Click();

    // Each false when the connection could not be opened (the table keeps what it had).
    bool SiparisleriYukle();
    bool StoklariYukle();

    // The grids' look ("VS2010": light blue-grey header, white rows).
    static grid::GridStyle Vs2010Stili();

    QDateEdit* tarih1 = nullptr;
    QDateEdit* tarih2 = nullptr;
    QPushButton* Button1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* tabsiparis = nullptr;
    QWidget* tabstok = nullptr;

    TClientDataSet siparis;
    TClientDataSet stok;
    grid::DurnakGroupGrid* cxGrid1 = nullptr;  // orders, grouped by SATICIADI
    grid::DurnakGrid* cxGrid2 = nullptr;       // stock items
};

} // namespace durnak::client
