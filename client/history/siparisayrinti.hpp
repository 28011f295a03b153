#pragma once

// The order detail window "Sipariş Ayrıntısı": the order's lines, the totals computed on
// the client and the order's footer record.

#include <QDialog>

#include "durnak/data/clientdataset.hpp"
#include "durnak/protocol/records.hpp"
#include "history/kutular.hpp"

class QPushButton;

namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client {

class TBaglanti;

class Tayrinti_siparis : public QDialog {
    Q_OBJECT

public:
    explicit Tayrinti_siparis(QWidget* parent = nullptr);
    ~Tayrinti_siparis() override;

    // Lines from SiparisAyrintisi2 and the footer from SiparisAytintisiDip on the shared
    // connection (with its retries and message); false when the lines could not be fetched
    // because the connection did not open. Server errors are thrown.
    bool Yukle(TBaglanti& bagc, int carino, int idno);

    // Totals, footer (with the seller's note) and window placement.
    void SepetHesapla();
    void Button1Click() { close(); }
    void Button2Click();
    void cxGrid2Resize();

    data::TClientDataSet sepet;
    protocol::TSiparisDipAyrinti* asagi = nullptr;
    gecmis::Toplamlar toplamlar;

    grid::DurnakGrid* cxGrid2 = nullptr;
    gecmis::TTutarKutusu* tutar = nullptr;
    gecmis::TSiparisBilgileri* bilgiler = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

} // namespace durnak::client
