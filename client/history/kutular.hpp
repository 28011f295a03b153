#pragma once

// Pieces the history windows share: the "Tutar" totals box, the order-information box with
// the two note boxes, the order-line columns, the spreadsheet export with its save dialog,
// the error guard of the handlers and the file opener.

#include <functional>
#include <initializer_list>

#include <QGroupBox>
#include <QString>

#include "durnak/data/clientdataset.hpp"
#include "durnak/grid/columns.hpp"
#include "durnak/protocol/records.hpp"
#include "durnak/protocol/table.hpp"
#include "history/hesap.hpp"

class QHBoxLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client::gecmis {

// "Tutar": Toplam, İndirim Toplam, Ara Toplam, Vergi, Genel Toplam (bold).
class TTutarKutusu : public QGroupBox {
    Q_OBJECT

public:
    explicit TTutarKutusu(QWidget* parent = nullptr);
    void Yaz(const ToplamYazilari& yazilar);
    // Server totals written as they come (the invoice detail computes none of its own).
    void Yaz(const QString& aratoplam, const QString& indirim, const QString& nettutar, const QString& vergi,
             const QString& geneltoplam);

    QLabel* aratoplaml = nullptr;
    QLabel* indiriml = nullptr;
    QLabel* nettutarl = nullptr;
    QLabel* vergil = nullptr;
    QLabel* geneltoplaml = nullptr;
};

// "Sipariş Bilgileri" with status, delivery, cargo kind, cargo and giver, plus the note
// boxes "Mesajınız:" (_sizin) and "Siparişi Alanın Notu:" (_bizim). The three group boxes
// are laid out by the caller.
class TSiparisBilgileri : public QObject {
    Q_OBJECT

public:
    explicit TSiparisBilgileri(QWidget* parent);

    // The footer record into the labels; with `saticiNotu` a non-blank FSaticiNotu is added
    // under a separator in _bizim.
    void Doldur(const protocol::TSiparisDipAyrinti& dip, bool saticiNotu);

    QGroupBox* bilgiler = nullptr;
    QGroupBox* mesajiniz = nullptr;
    QGroupBox* alaninNotu = nullptr;
    QLabel* _sipdurun = nullptr;
    QLabel* _teslimcinsi = nullptr;
    QLabel* _kargocinsi = nullptr;
    QLabel* _kargo = nullptr;
    QLabel* _veren = nullptr;
    QPlainTextEdit* _sizin = nullptr;
    QPlainTextEdit* _bizim = nullptr;
};

inline const char* const kSaticiNotuAyraci = "----------------------";
inline const char* const kSaticiNotuBasligi = "Satıcı Notu:";

// Which window shows order lines; the column rules differ a little.
enum class SatirPenceresi { SiparisAyrinti, Bakiye, TumSiparisler };
grid::GridColumns SiparisSatiriKolonlari(SatirPenceresi pencere);

// The order-line grid of a window: its columns, the count of VERILISTARIHI and the sums of
// MIKTAR and KALAN in the footer, shown over `veri`.
grid::DurnakGrid* SiparisSatiriIzgarasi(QWidget* sahip, const char* ad, SatirPenceresi pencere,
                                        data::TClientDataSet* veri);

// A server answer into a window's dataset, its grid hearing one reset; with `formatla`
// every float column gets the number format.
void TabloyuYukle(const protocol::Table& tablo, data::TClientDataSet& veri, bool formatla = true);

// An empty label that tests and styles find by its object name.
QLabel* AdliEtiket(const char* ad, QWidget* sahip);

// "Kapat" and "Excel Kaydet" of the history windows. The export runs under the error guard.
// Buttons that are not auto-default leave Enter to the grid.
struct KapatExcel {
    QPushButton* kapat = nullptr;
    QPushButton* excel = nullptr;
};
KapatExcel KapatExcelDugmeleri(QWidget* sahip, const std::function<void()>& kapat, const std::function<void()>& excel,
                               const char* kapatAdi = "Button1", bool otomatikVarsayilan = false);

// Buttons one under the other, the rest of the column empty.
QVBoxLayout* DugmeSutunu(std::initializer_list<QPushButton*> dugmeler);

// The lower row of the order windows: "Sipariş Bilgileri", the two note boxes, "Tutar" and
// the buttons' column.
QHBoxLayout* SiparisAltSatiri(const TSiparisBilgileri& bilgiler, TTutarKutusu* tutar, QVBoxLayout* dugmeler);

// Asks for a file with the filter "Excel|*.xls*" and writes the grid there; a cancelled
// dialog writes nothing. Export errors reach the error display. Tests replace the question.
using KayitSorusu = std::function<QString(QWidget* sahip)>;
KayitSorusu KayitSorusuAyarla(KayitSorusu soru);
void ExcelKaydetSor(QWidget* sahip, const grid::DurnakGrid& izgara);

// Opens a file with the desktop's handler. Tests replace it.
using DosyaAcici = std::function<void(const QString& yol)>;
DosyaAcici DosyaAciciAyarla(DosyaAcici acici);
void DosyaAc(const QString& yol);

// Runs a handler; an error it raises goes to the default error display instead of the
// event loop. True when it ran through.
bool Guvenli(const std::function<void()>& islem);

// The window geometry rules of the detail windows: left edge `sol`, width screen - 2 * sol,
// height screen - 150.
void Yerlestir(QWidget* pencere, int sol, int ust);

} // namespace durnak::client::gecmis
