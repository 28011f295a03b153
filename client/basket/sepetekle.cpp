// Adding and changing basket lines: the four openers of the quantity dialog, the rule that
// turns a second add of an item into a change of its line, and the two line requests.

#include <exception>

#include <QLabel>
#include <QSpinBox>

#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "basket/sepet.hpp"
#include "catalogue/stokayarinti.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using data::TClientDataSet;

namespace {

// Fields of the dataset's current row; a field the dataset lacks reads as empty or 0.
QString yazi(TClientDataSet& ds, const char* alan)
{
    const data::TField f = ds.FindField(QString::fromLatin1(alan));
    return f.IsValid() && !f.IsNull() ? f.AsString() : QString();
}

double sayi(TClientDataSet& ds, const char* alan)
{
    const data::TField f = ds.FindField(QString::fromLatin1(alan));
    return f.IsValid() && !f.IsNull() ? f.AsFloat() : 0.0;
}

int tamsayi(TClientDataSet& ds, const char* alan)
{
    const data::TField f = ds.FindField(QString::fromLatin1(alan));
    return f.IsValid() && !f.IsNull() ? static_cast<int>(f.AsInteger()) : 0;
}

// Moves to the first row whose field holds the value; false when there is none.
bool bul(TClientDataSet& ds, const char* alan, int deger)
{
    if (!ds.Active()) return false;
    const int sutun = ds.FieldIndex(QString::fromLatin1(alan));
    if (sutun < 0) return false;
    for (int satir = 0; satir < ds.RecordCount(); ++satir) {
        if (!ds.isNull(satir, sutun) && ds.value(satir, sutun).toInt() == deger) return ds.MoveTo(satir);
    }
    return false;
}

bool temsilciMi(const TForm1& f)
{
    return f.sbilgi.FMusteriTipi == 1 || f.sbilgi.FMusteriTipi == 2;
}

// The quantity typed into the dialog; an error message and false when it is no number.
bool miktarAl(const Tstokayarinti& d, double& miktar)
{
    if (MiktarOku(d.AdetMetni(), miktar)) return true;
    MesajGoster(QString::fromUtf8(kMiktarHatali), mtError, {mbOK}, mbOK);
    return false;
}

} // namespace

void TSepet::StokListesindenEkle()
{
    listedenEkle(f_.cxGrid1, f_.stok, Kaynak::Stok);
}

void TSepet::YenilerdenEkle()
{
    listedenEkle(f_.cxGrid6, f_.YENILER, Kaynak::Yeni);
}

void TSepet::KampanyalilardanEkle()
{
    listedenEkle(f_.cxkampanyali, f_.kampstok, Kaynak::Kampanya);
}

void TSepet::listedenEkle(grid::DurnakGrid* izgara, TClientDataSet& kaynak, Kaynak tur)
{
    const int satir = izgara ? izgara->focusedSourceRow() : -1;
    if (satir < 0 || !kaynak.Active() || !kaynak.MoveTo(satir)) return;
    const int stokno = tamsayi(kaynak, "STOK_STOKNO");

    if (!f_.sepet.Active()) SepetAl();
    if (!f_.sepet.Active()) return;

    // An item already in the basket is never added twice: its line opens for change.
    if (bul(f_.sepet, "STOKNO", stokno)) {
        SepetSatirDegistir(tamsayi(f_.sepet, "SIRANO"));
        return;
    }
    ekleAc(stokno, kaynak, tur);
}

void TSepet::StokSepeteEkle(int stokno)
{
    ekleAc(stokno, f_.stok, Kaynak::Stok);
}

void TSepet::YeniSepeteEkle(int stokno)
{
    ekleAc(stokno, f_.YENILER, Kaynak::Yeni);
}

void TSepet::KampanyaliSepeteEkle(int stokno)
{
    ekleAc(stokno, f_.kampstok, Kaynak::Kampanya);
}

void TSepet::ekleAc(int stokno, TClientDataSet& kaynak, Kaynak tur)
{
    if (!kaynak.Active() || kaynak.CurrentRow() < 0) return;
    const int k = tamsayi(kaynak, "K");

    Tstokayarinti d(&f_);
    d.barkod->setText(yazi(kaynak, "BARKOD"));
    d.adi->setText(yazi(kaynak, "ADI"));
    d.marka->setText(yazi(kaynak, "MARKA"));
    d.finishkod->setText(yazi(kaynak, "FINISHKOD"));
    d.model->setText(yazi(kaynak, "MODEL"));
    d.kdvoran = sayi(kaynak, "KDV");
    // Every list fills the stock number and the rates, so that the dialog previews the
    // discounted price the line will get and its picture is the item's.
    d._stokno = stokno;
    if (tur != Kaynak::Stok || k >= 0) {
        d.ind1 = sayi(kaynak, "IND1");
        d.ind2 = sayi(kaynak, "IND2");
        d.ind3 = sayi(kaynak, "IND3");
        d.ind4 = sayi(kaynak, "IND4");
        d.SetBirimFiyat(sayi(kaynak, "FIYAT"));
    }
    d.FiyatDuzenlenebilir(tur != Kaynak::Kampanya && temsilciMi(f_));
    const StokKaynagi kaynagi = tur == Kaynak::Stok   ? StokKaynagi::StokListesi
                                : tur == Kaynak::Yeni ? StokKaynagi::YeniStoklar
                                                      : StokKaynagi::Kampanyali;
    d.BaslikAyarla(kaynagi, k, yazi(kaynak, "INDIRIMYAZI"));
    if (tur != Kaynak::Stok) StokResmiAl(f_, stokno, d.Image1);

    if (d.ShowModal() != Tstokayarinti::mrOk) return;
    double miktar = 0;
    if (!miktarAl(d, miktar)) return;
    SepeteEkle(kaynak, miktar);
}

void TSepet::SepetSatirDegistir(int sirano)
{
    TClientDataSet& s = f_.sepet;
    if (!bul(s, "SIRANO", sirano)) return;

    Tstokayarinti d(&f_);
    d.barkod->setText(yazi(s, "BARKOD"));
    d.adi->setText(yazi(s, "STOKADI"));
    d.marka->setText(yazi(s, "MARKA"));
    d.finishkod->setText(yazi(s, "FINISHKOD"));
    d.model->setText(yazi(s, "MODEL"));
    d.kdvoran = sayi(s, "KDV");
    d._stokno = tamsayi(s, "STOKNO");
    d.ind1 = sayi(s, "INDIRIMORANI1");
    d.ind2 = sayi(s, "INDIRIMORANI2");
    d.ind3 = sayi(s, "INDIRIMORANI3");
    d.ind4 = sayi(s, "INDIRIMORANI4");
    d.SetBirimFiyat(sayi(s, "BIRIMFIYAT"));
    d.adet->setValue(YuvarlaCifteDogru(sayi(s, "MIKTAR")));
    d.FiyatDuzenlenebilir(temsilciMi(f_));
    d.BaslikAyarla(StokKaynagi::SepetSatiri, 0, yazi(s, "INDIRIMYAZI"));

    if (d.ShowModal() != Tstokayarinti::mrOk) return;
    double miktar = 0;
    if (!miktarAl(d, miktar)) return;
    if (!d.BirimFiyatGecerli()) {
        MesajGoster(QString::fromUtf8(kFiyatHatali), mtError, {mbOK}, mbOK);
        return;
    }
    // A stored change has reloaded the basket already; otherwise it is reloaded here, so the
    // grid shows what the server holds either way.
    if (SepetSatirGuncelle(sirano, miktar, d.BirimFiyat()) != 1) SepetAl();
}

int TSepet::SepeteEkle(TClientDataSet& kaynak, double miktar)
{
    const auto bilgi = f_.sbilgi;
    int cevap = 0;
    const bool acildi = CagriA(f_.bagc, [&](TServerMethods1Client& p) {
        cevap = p.SepetEkle2(Kopya(bilgi), bilgi.FCARINO, tamsayi(kaynak, "STOK_STOKNO"), yazi(kaynak, "BARKOD"),
                             yazi(kaynak, "ADI"), miktar, YuvarlaCifteDogru(sayi(kaynak, "KDV")),
                             sayi(kaynak, "FIYAT"), sayi(kaynak, "IND1"), bilgi.FSirano, tamsayi(kaynak, "K"),
                             sayi(kaynak, "IND2"), sayi(kaynak, "IND3"), sayi(kaynak, "IND4"));
    });
    if (!acildi) return 0;
    if (cevap == 1) SepetAl();
    return cevap;
}

int TSepet::SepetSatirGuncelle(int sirano, double miktar, double fiyat)
{
    TClientDataSet& s = f_.sepet;
    if (!bul(s, "SIRANO", sirano)) return 0;
    const auto bilgi = f_.sbilgi;
    int cevap = 0;
    const bool acildi = CagriA(f_.bagc, [&](TServerMethods1Client& p) {
        cevap = p.SepetGuncelle2(Kopya(bilgi), bilgi.FCARINO, 0, yazi(s, "BARKOD"), yazi(s, "STOKADI"), miktar,
                                 YuvarlaCifteDogru(sayi(s, "KDV")), fiyat, sayi(s, "INDIRIMORANI1"), bilgi.FSirano,
                                 sirano, sayi(s, "INDIRIMORANI2"), sayi(s, "INDIRIMORANI3"),
                                 sayi(s, "INDIRIMORANI4"));
    });
    if (!acildi) return 0;
    if (cevap == 1) SepetAl();
    return cevap;
}

} // namespace durnak::client
