#include "history/hesap.hpp"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "app/utils.hpp"
#include "durnak/data/numberformat.hpp"
#include "server/akis.hpp"

namespace durnak::client::gecmis {

using data::IkiHaneYuvarla;

namespace {

double sayi(const data::TField& alan)
{
    if (!alan.IsValid() || alan.IsNull()) return 0;
    return alan.AsFloat();
}

} // namespace

Toplamlar ToplamlariHesapla(double toplam, double indirim)
{
    Toplamlar t;
    t.toplam = toplam;
    t.indirim = indirim;
    t.ara = IkiHaneYuvarla(toplam - indirim);
    t.vergi = IkiHaneYuvarla(t.ara * kVergiCarpani) - t.ara;
    t.genel = IkiHaneYuvarla(t.ara + t.vergi);
    return t;
}

Toplamlar SepetHesapla(data::TClientDataSet& satirlar)
{
    double toplam = 0;
    double indirim = 0;
    if (satirlar.Active()) {
        data::DisableControlsScope kapali(satirlar);
        const data::TField tutar = satirlar.FindField(QStringLiteral("TUTAR"));
        const data::TField indirimTutar = satirlar.FindField(QStringLiteral("INDIRIMTUTAR"));
        for (satirlar.First(); !satirlar.Eof(); satirlar.Next()) {
            toplam = IkiHaneYuvarla(toplam + sayi(tutar));
            indirim = IkiHaneYuvarla(indirim + sayi(indirimTutar));
        }
        satirlar.First();
    }
    return ToplamlariHesapla(toplam, indirim);
}

ToplamYazilari ToplamlariYaz(const Toplamlar& t)
{
    using data::FormatFloat;
    return {FormatFloat(data::kParaFormati, t.toplam), FormatFloat(data::kParaFormati, t.indirim),
            FormatFloat(data::kParaFormati, t.ara), FormatFloat(data::kParaFormati, t.vergi),
            FormatFloat(data::kIkiBasamakFormati, t.genel)};
}

void EkstreBakiyeHesapla(data::TClientDataSet& ekstre)
{
    if (!ekstre.Active()) return;
    const data::TField bakiyeAlani = ekstre.FindField(QStringLiteral("BAKIYE"));
    const data::TField isaret = ekstre.FindField(QStringLiteral("D"));
    if (!bakiyeAlani.IsValid() || !isaret.IsValid()) return;
    const data::TField borc = ekstre.FindField(QStringLiteral("BORC"));
    const data::TField alacak = ekstre.FindField(QStringLiteral("ALACAK"));

    data::DisableControlsScope kapali(ekstre);
    double bakiye = 0;
    for (ekstre.First(); !ekstre.Eof(); ekstre.Next()) {
        ekstre.Edit();
        // Money has two decimals: rounding the running sum keeps binary noise (0,1 + 0,2 -
        // 0,3) from turning a settled account into a tiny debit with a "B" marker.
        bakiye = IkiHaneYuvarla(bakiye + (sayi(borc) - sayi(alacak)));
        bakiyeAlani.SetAsFloat(bakiye);
        QString d = QStringLiteral(" ");
        if (bakiye > 0) d = QStringLiteral("B");
        if (bakiye < 0) d = QStringLiteral("A");
        isaret.SetAsString(d);
        ekstre.Post();
    }
    ekstre.First();
}

int HareketTuruBul(const QString& turAdi)
{
    if (turAdi == QStringLiteral("Tediye")) return 1;
    if (turAdi == QStringLiteral("Tahsilat")) return 1;
    if (turAdi.contains(QStringLiteral("Fatura"), Qt::CaseSensitive)) return 2;
    return 0;
}

FiyatOnizleme FiyatHesapla(double fiyat, double oran)
{
    FiyatOnizleme o;
    o.net = oran > 0 ? fiyat - oran * fiyat / 100 : fiyat;
    o.kdvDahil = o.net * kVergiCarpani;
    return o;
}

QString MakbuzYolu(const QString& belgelerKlasoru, int sirano)
{
    const QString klasor = belgelerKlasoru.trimmed().isEmpty() ? VeriKlasoru() : belgelerKlasoru;
    return QDir(klasor).filePath(QStringLiteral("sanalposodeme%1.pdf").arg(sirano));
}

bool MakbuzKaydet(TStream* akis, std::int64_t boy, const QString& yol)
{
    if (QFile::exists(yol)) QFile::remove(yol);
    const std::optional<QByteArray> icerik = AkisOku(akis, boy);
    if (!icerik) return false;
    QSaveFile dosya(yol);
    if (!dosya.open(QIODevice::WriteOnly)) return false;
    if (dosya.write(*icerik) != icerik->size()) {
        dosya.cancelWriting();
        return false;
    }
    return dosya.commit();
}

} // namespace durnak::client::gecmis
