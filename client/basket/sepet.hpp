#pragma once

// The basket tab of the main window: the server-held basket `sepet` in cxGrid2 with its
// ticks, totals and deletions; adding and changing lines through the quantity dialog;
// delivery mode, cargo kind and company, the note and sending the order.
//
// SepetBagla builds the tab's controls into the strips TForm1 prepared, binds the grid,
// the menus, the buttons and the tab-show handler, and returns the object that does the
// work (a child of the window).

#include <functional>

#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include "basket/sepethesap.hpp"

class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace durnak::data {
class TClientDataSet;
}
namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client {

class TForm1;
class TRadioGroup;

inline const char* const kGonderilecekParcaYok = "Gönderilecek Parça Yok ";
inline const char* const kTeslimSeciniz = "Lütfen Teslim Durumu Seçiniz !";
inline const char* const kKargoTuruSeciniz = "Lütfen Kargo Türünü Seçiniz !";
inline const char* const kKargoSeciniz = "Lütfen Kargo  Seçiniz !";
inline const char* const kSiparisGonderildi = "Siparişiniz Gönderildi !";
inline const char* const kSiparisHata = "Sipariş Göndermede Hata";
inline const char* const kSatirSilSorusu = "Satırı silmek istiyor musunuz ";
inline const char* const kSatirSilindi = "Satır silindi !";
inline const char* const kHepsiniSilSorusu = "Tüm Sepeti Silmek İstiyor musunuz ";
inline const char* const kSepetSilindi = "Sepet Silindi !";
inline const char* const kMiktarHatali = "Miktar bir sayı olmalı.";
inline const char* const kFiyatHatali = "Birim fiyat bir sayı olmalı.";

class TSepet : public QObject {
    Q_OBJECT

public:
    explicit TSepet(TForm1& form);

    TForm1& form() const { return f_; }

    // --- Basket -------------------------------------------------------------------------
    // Reloads `sepet` from the server, writes "<n>=Sepet" on the tab and the totals.
    void SepetAl();
    void SepetToplamHesapla();
    SepetToplamlari Toplamlar() const { return toplamlar_; }
    // Stores one line's tick on the server; false on any failure.
    bool SecimKaydet(int sirano, int secim);
    // "Satır Değiştir" / double-click in the basket grid: on the "Seç" column the tick
    // toggles, elsewhere the line opens for change.
    void SatirDegistir();
    // "Hepsini Seç" (1) / "Seçimleri Kaldır" (0).
    void HepsiniSec(int secim);
    void SatirSil();
    void HepsiniSil();
    // The basket tab was shown.
    void ssepetShow();
    // The overdue-payment warning, fetched on a thread of its own.
    void CariBakiyeUyariBak();
    // "Excel Kaydet".
    void Button2Click();

    // --- Delivery, cargo, order ------------------------------------------------------------
    void TeslimKargoAl();
    void boxkargoClick();
    void KargolarAl(int gn);
    void kargocomboChange();
    // "Gönder": the checks, the confirmation and the order.
    void Button1Click();
    bool SiparisGonder(int kargoyeni, int kargoTuru, int teslim);
    // The confirmation summary for the current choices.
    QString OnayOzeti() const;

    // --- Adding and changing lines ---------------------------------------------------------
    // The entry points of the stock, new-items and campaign grids: a row whose item is
    // already in the basket opens that line, else the list's add dialog.
    void StokListesindenEkle();
    void YenilerdenEkle();
    void KampanyalilardanEkle();
    void SepetSatirDegistir(int sirano);
    void StokSepeteEkle(int stokno);
    void YeniSepeteEkle(int stokno);
    void KampanyaliSepeteEkle(int stokno);
    // The requests; the server's answer (1 = stored), 0 when the connection failed.
    int SepeteEkle(data::TClientDataSet& kaynak, double miktar);
    int SepetSatirGuncelle(int sirano, double miktar, double fiyat);

    // Controls of the strips under the grid.
    TRadioGroup* teslimbox = nullptr;
    TRadioGroup* boxkargo = nullptr;
    QGroupBox* GroupBox1 = nullptr;  // Kargo
    QComboBox* kargocombo = nullptr;
    QLabel* uyarikargo = nullptr;
    QGroupBox* GroupBox2 = nullptr;  // Mesaj
    QPlainTextEdit* aciklamagir = nullptr;
    QLabel* Label2 = nullptr;  // Toplam:
    QLabel* aratoplaml = nullptr;
    QLabel* Label4 = nullptr;  // İndirim Toplam:
    QLabel* indiriml = nullptr;
    QLabel* Label8 = nullptr;  // Ara Toplam:
    QLabel* nettutarl = nullptr;
    QLabel* Label6 = nullptr;  // Vergi:
    QLabel* vergil = nullptr;
    QLabel* Label7 = nullptr;  // Genel Toplam:
    QLabel* geneltoplaml = nullptr;

signals:
    // The overdue check wrote its text (tests wait for it).
    void bakiyeUyarisiYazildi();

protected:
    bool eventFilter(QObject* nesne, QEvent* olay) override;

private:
    enum class Kaynak { Stok, Yeni, Kampanya };

    void kontrolleriKur();
    void izgarayiKur();
    void baglantilariKur();
    void secimYaz(int satir, int secim);
    // Add-or-change for the focused row of a list grid.
    void listedenEkle(grid::DurnakGrid* izgara, data::TClientDataSet& kaynak, Kaynak tur);
    void ekleAc(int stokno, data::TClientDataSet& kaynak, Kaynak tur);

    TForm1& f_;
    SepetToplamlari toplamlar_;
    // What the event filter watches, held here: it never reads the window, whose parts may
    // be gone while the window is taken down.
    QPointer<grid::DurnakGrid> izgara_;
    QPointer<QWidget> sayfa_;
    QPointer<QPushButton> gonder_;
};

// Builds the basket tab into the main window; call once, before the window is shown.
TSepet* SepetBagla(TForm1& form);

} // namespace durnak::client
