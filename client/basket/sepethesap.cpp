#include "basket/sepethesap.hpp"

#include <cmath>

#include <QStringList>

namespace durnak::client {

using data::IkiHaneYuvarla;

SepetToplamlari SepetToplamHesapla(const data::TClientDataSet& sepet, const QLocale& yerel)
{
    SepetToplamlari t;
    if (!sepet.Active()) return t;
    const int sec = sepet.FieldIndex(QStringLiteral("SEC"));
    const int tutar = sepet.FieldIndex(QStringLiteral("TUTAR"));
    const int indirim = sepet.FieldIndex(QStringLiteral("INDIRIMTUTAR"));
    const int vergi = sepet.FieldIndex(QStringLiteral("VERGITUTARI"));
    if (sec < 0) return t;
    auto oku = [&](int satir, int sutun) { return sutun < 0 ? 0.0 : sepet.value(satir, sutun).toDouble(); };
    for (int satir = 0; satir < sepet.RecordCount(); ++satir) {
        if (sepet.value(satir, sec).toInt() != 1) continue;
        t.toplam = IkiHaneYuvarla(t.toplam + oku(satir, tutar), yerel);
        t.indirim = IkiHaneYuvarla(t.indirim + oku(satir, indirim), yerel);
        t.vergi = IkiHaneYuvarla(t.vergi + oku(satir, vergi), yerel);
    }
    t.ara = IkiHaneYuvarla(t.toplam - t.indirim, yerel);
    t.genel = IkiHaneYuvarla(t.vergi + t.ara, yerel);
    return t;
}

QString SiparisOzetiMetni(const SiparisOzeti& ozet)
{
    QString not_ = ozet.aciklama;
    not_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    not_.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    not_.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));

    // Every label is as wide as "Açıklama : ", so the values start in one column.
    const QStringList satirlar = {
        QStringLiteral("Kullanıcı: ") + ozet.kullanici,
        QStringLiteral("Cari     : ") + ozet.cari,
        QStringLiteral("Teslim   : ") + ozet.teslim,
        QStringLiteral("Kargo    : ") + ozet.kargoTuru,
        QStringLiteral("Tutar    : ") + ozet.tutar,
        QStringLiteral("Kargo    : ") + ozet.kargo,
        QStringLiteral("Açıklama : ") + not_,
    };
    return satirlar.join(QStringLiteral("\r\n"));
}

int YuvarlaCifteDogru(double deger)
{
    return static_cast<int>(std::nearbyint(deger));  // default rounding mode: halves to even
}

QString SilmeAciklamasi(const QString& barkod, const QString& stokadi)
{
    return barkod + QLatin1Char('-') + stokadi;
}

bool MiktarOku(const QString& metin, double& miktar, const QLocale& yerel)
{
    return data::ParseLocaleNumber(metin.trimmed(), yerel, miktar);
}

} // namespace durnak::client
