#pragma once

// Tstokayarinti ("Sepete Ekle"): the modal quantity dialog every basket line goes through.
// The opener fills the fields and labels, may unlock the price for sales representatives,
// sets the captions for its source (BaslikAyarla) and shows it with ShowModal; on mrOk it
// reads AdetMetni()/Miktar(), BirimFiyat(), IndirimTutari() and KdvDahilTutar().
//
//   Tstokayarinti d(&form);
//   d._stokno = 42; d.kdvoran = 20; d.ind1 = 10;
//   d.barkod->setText(...); ... d.SetBirimFiyat(100);
//   d.BaslikAyarla(StokKaynagi::StokListesi, k, indirimYazi);
//   d.FiyatDuzenlenebilir(tip == 1 || tip == 2);
//   if (d.ShowModal() == Tstokayarinti::mrOk) { ... d.Miktar() ... }
//
// The amounts are plain functions (IndirimUygula, TutarHesaplaDegerleri) so that the
// basket and the tests use the same arithmetic as the dialog.

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QSpinBox;

namespace durnak::client {

class TForm1;

// --- Amounts -------------------------------------------------------------------------

struct IndirimSonucu {
    double net = 0;      // what is left after the discounts
    double indirim = 0;  // gross - net, unrounded
};

// Applies the rates one after the other on what the previous ones left (10 and 5 give
// 14,5 % in all); a rate of 0 or below is skipped, never applied as a surcharge.
IndirimSonucu IndirimUygula(double brut, double ind1, double ind2, double ind3, double ind4);

struct TutarSonucu {
    double brut = 0;        // unit price x quantity
    double indirim = 0;     // indtutar
    double net = 0;         // rounded net of the line
    double netBirim = 0;    // rounded net unit price; 0 for a quantity of 0
    double kdvDahil = 0;    // kdvdahiltutar: rounded VAT-inclusive net unit price
    double genelTutar = 0;  // geneltutar: rounded kdvDahil x quantity
};

// The dialog's arithmetic: the line total is the rounded VAT-inclusive unit price times
// the quantity, not the rounded total of unrounded prices.
TutarSonucu TutarHesaplaDegerleri(double birimFiyat, int adet, double kdvOran, const std::array<double, 4>& oranlar);

// The quantity a text of the quantity box stands for: its whole number, or 1 (the
// minimum) when the text is no whole number.
int AdetDegeri(const QString& metin);

// --- Captions per source ---------------------------------------------------------------

enum class StokKaynagi {
    SepetSatiri,  // changing a basket line
    StokListesi,
    YeniStoklar,
    Kampanyali,
};

struct FiyatBasliklari {
    QString label2;       // "Fiyat:" or "Kampanyalı Fiyat:"
    QString indirimoran;  // discount caption with the row's INDIRIMYAZI
};

// `k` is the source row's campaign flag K (ignored for the basket and the campaign list).
FiyatBasliklari FiyatBasliklariVer(StokKaynagi kaynak, int k, const QString& indirimYazi);

// --- Pictures ---------------------------------------------------------------------------

// Bodies shorter than this from the picture service are not pictures (error pages, empty
// answers) and are dropped.
inline constexpr int kEnKucukResim = 1200;

// The dealer's web server the picture service runs on: the LAN address when the server
// chosen at sign-in is the LAN server, else the public web-site root. Ends with "/".
QUrl ResimSunucusu();

// Middle picture of the dialog: centred, scaled down proportionally (never up), with a
// placeholder until a picture is loaded.
class TResimKutusu : public QWidget {
    Q_OBJECT

public:
    explicit TResimKutusu(QWidget* parent = nullptr);

    // Decodes the bytes (format from the data); false and no change when they are no
    // picture.
    bool Yukle(const QByteArray& baytlar, const char* bicim = nullptr);
    void ResimAyarla(const QPixmap& resim);
    QPixmap Resim() const { return resim_; }
    bool YerTutucu() const { return yerTutucu_; }
    // Counts successful loads (tests wait on it).
    int YuklemeSayisi() const { return yuklemeSayisi_; }

    QSize sizeHint() const override;

signals:
    void resimDegisti();

protected:
    void paintEvent(QPaintEvent* olay) override;

private:
    QPixmap resim_;
    bool yerTutucu_ = true;
    int yuklemeSayisi_ = 0;
};

// --- The dialog ---------------------------------------------------------------------------

class Tstokayarinti : public QDialog {
    Q_OBJECT

public:
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    explicit Tstokayarinti(QWidget* owner = nullptr);
    ~Tstokayarinti() override;

    // Shows the dialog modally; mrOk or mrCancel (also for the close box and Escape).
    int ShowModal();

    // Fields the opener sets.
    int _stokno = 0;
    double kdvoran = 0;
    double ind1 = 0;
    double ind2 = 0;
    double ind3 = 0;
    double ind4 = 0;

    // Captions of Label2 and indirimoran for the opener's source.
    void BaslikAyarla(StokKaynagi kaynak, int k, const QString& indirimYazi);
    // Unlocks (or locks) the unit price box.
    void FiyatDuzenlenebilir(bool duzenlenebilir);

    // Values of the boxes, written and read with the locale of the display formats.
    void SetBirimFiyat(double fiyat);
    double BirimFiyat() const;  // 0 when the box holds no number
    bool BirimFiyatGecerli() const;
    QString AdetMetni() const;
    int Miktar() const { return AdetDegeri(AdetMetni()); }
    double IndirimTutari() const { return sonuc_.indirim; }
    double KdvDahilTutar() const { return sonuc_.kdvDahil; }
    double GenelTutar() const { return sonuc_.genelTutar; }
    const TutarSonucu& Sonuc() const { return sonuc_; }

    // Recomputes indtutar, kdvdahiltutar and geneltutar from birimfiyat, adet, kdvoran and
    // ind1..ind4.
    void TutarHesapla();

    // Starts the picture download of _stokno (replacing one still running).
    void ResimGoster();
    // The download itself, from `sunucu` (ResimSunucusu() unless a test set another).
    void GosterYeni(int stokno);
    QUrl resimSunucusu;

    // Controls.
    QLabel* barkod = nullptr;
    QLabel* adi = nullptr;
    QLabel* finishkod = nullptr;
    QLabel* marka = nullptr;
    QLabel* model = nullptr;
    TResimKutusu* Image1 = nullptr;
    QSpinBox* adet = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* birimfiyat = nullptr;
    QLabel* indirimoran = nullptr;
    QLineEdit* indtutar = nullptr;
    QLineEdit* kdvdahiltutar = nullptr;
    QLineEdit* geneltutar = nullptr;
    QPushButton* ParcaliTus1 = nullptr;  // Sipariş ekle
    QPushButton* ParcaliTus2 = nullptr;  // Vazgeç

signals:
    // A picture download ended: shown (true) or dropped (false). For tests.
    void resimIndirildi(bool gosterildi);

protected:
    bool eventFilter(QObject* nesne, QEvent* olay) override;
    void showEvent(QShowEvent* olay) override;
    void changeEvent(QEvent* olay) override;
    void done(int sonuc) override;

private:
    void kur();
    void etkinlesti();
    void tamam();
    void resimGeldi(QNetworkReply* cevap);

    TutarSonucu sonuc_;
    QNetworkAccessManager* ag_ = nullptr;
    QPointer<QNetworkReply> indirme_;
    bool kapandi_ = false;
};

// Fetches the picture of `stokno` through the application server (ResimVer5) on the main
// window's shared connection into `resim`. On a connection failure the connection message
// is shown and the picture stays; a stream whose length differs from the stated one is
// ignored; any other error shows its kind and text. True when a picture was put in.
bool StokResmiAl(TForm1& form, int stokno, TResimKutusu* resim);

} // namespace durnak::client
