#pragma once

// Detail windows of a statement movement: the invoice "Evrak Ayrıntısı" with its lines and
// the server's totals, and the collection "Evrak Ayrıntı" with the virtual-POS receipt.

#include <QDialog>

#include "durnak/data/clientdataset.hpp"
#include "history/kutular.hpp"

class QLabel;
class QPushButton;

namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client {

class TBaglanti;

class Tayrinti_fatura : public QDialog {
    Q_OBJECT

public:
    explicit Tayrinti_fatura(QWidget* parent = nullptr);
    ~Tayrinti_fatura() override;

    // FaturaGetir and FaturaAltGetir on the shared connection (retries and message); false
    // when the lines could not be fetched because the connection did not open.
    bool Yukle(TBaglanti& bagc, int carino, int idno);
    // Columns fitted, labels and totals from the tables, placement, number formats.
    void EnIyile();
    void KapatClick() { close(); }
    void Button2Click();

    data::TClientDataSet fatura;
    data::TClientDataSet alt;

    grid::DurnakGrid* cxGrid2 = nullptr;
    gecmis::TTutarKutusu* tutar = nullptr;
    QLabel* _tarih = nullptr;
    QLabel* _evrakcinsi = nullptr;
    QLabel* _saticiadi = nullptr;
    QLabel* _evrakno = nullptr;
    QLabel* _vadegun = nullptr;
    QPushButton* Kapat = nullptr;
    QPushButton* Button2 = nullptr;
};

class Tayrinti_tahsilat : public QDialog {
    Q_OBJECT

public:
    explicit Tayrinti_tahsilat(QWidget* parent = nullptr);
    ~Tayrinti_tahsilat() override;

    // Tahsilat and SanalposSiranoVer on one proxy over the shared connection; false when
    // the connection did not open.
    bool Yukle(TBaglanti& bagc, int idno);
    // Columns from the table's own field names, number formats, the receipt button.
    void EnIyile();
    void KapatClick() { close(); }
    void Button2Click();
    // "PDF Al": fetches the receipt into the documents folder and opens it. A connection
    // that does not open is thrown; nothing is saved or opened then.
    void belgeyazClick();
    // Where the receipt is saved.
    QString MakbuzDosyasi() const;

    data::TClientDataSet TAH;
    TBaglanti* con = nullptr;
    // The signed-in user's documents folder, where receipts are saved.
    QString belgeKlasoru;
    int sirano = 0;

    grid::DurnakGrid* cxGrid2 = nullptr;
    QPushButton* belgeyaz = nullptr;
    QPushButton* Kapat = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace durnak::client
