#pragma once

// "Sipariş Hareketleri": the customer's order lines of one stock item, or of every item
// when the stock number is 0, with delivered and open quantities.

#include <memory>

#include <QDialog>

#include "durnak/data/clientdataset.hpp"
#include "durnak/protocol/records.hpp"

class QPushButton;

namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client {

class TBaglanti;

class Ttumsiparisler : public QDialog {
    Q_OBJECT

public:
    // `bagc` is copied (the window keeps its own connection); `bilgi` must outlive the window.
    Ttumsiparisler(const TBaglanti& bagc, const protocol::TSonucBilgisi& bilgi, int stokno, QWidget* parent = nullptr);
    ~Ttumsiparisler() override;

    // TumSiparislerVer in frame C; errors are thrown.
    void Getir();
    void Goster();
    void Button1Click() { close(); }
    void Button2Click();

    std::unique_ptr<TBaglanti> bagim;
    const protocol::TSonucBilgisi* bilgi;
    int stokno;
    data::TClientDataSet bakiyesepet;

    grid::DurnakGrid* cxGrid1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace durnak::client
