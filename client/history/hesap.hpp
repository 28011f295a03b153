#pragma once

// The arithmetic of the history windows, without widgets: order totals with the running
// two-decimal rounding, the statement's running balance and side marker, the kind of a
// statement movement, the price-change preview and the receipt file.

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QString>

#include "durnak/data/clientdataset.hpp"

namespace durnak::client {

class TStream;

namespace gecmis {

// Fixed tax rate of the order totals: the whole order, not the lines' own rates.
inline constexpr double kVergiCarpani = 1.18;

struct Toplamlar {
    double toplam = 0;   // sum of TUTAR
    double indirim = 0;  // sum of INDIRIMTUTAR
    double ara = 0;      // toplam - indirim
    double vergi = 0;
    double genel = 0;
};

// Texts of the "Tutar" box in the user's locale.
struct ToplamYazilari {
    QString aratoplam;   // beside "Toplam:"
    QString indirim;     // "İndirim Toplam:"
    QString nettutar;    // "Ara Toplam:"
    QString vergi;       // "Vergi:"
    QString geneltoplam; // "Genel Toplam:", at least two integer digits
};

// SepetHesapla over TUTAR and INDIRIMTUTAR of every row: the running sums are rounded to
// two decimals after every addition. An empty amount (or a missing column) counts as 0.
// The cursor ends on the first row; controls are disabled meanwhile.
Toplamlar SepetHesapla(data::TClientDataSet& satirlar);
Toplamlar ToplamlariHesapla(double toplam, double indirim);
ToplamYazilari ToplamlariYaz(const Toplamlar& t);

// Running balance over the statement in its row order: BAKIYE += BORC - ALACAK, kept to
// two decimals; D = "B" above 0, "A" below 0, one blank at 0. Only local edits. A statement
// without BAKIYE or D columns is left as it came.
void EkstreBakiyeHesapla(data::TClientDataSet& ekstre);

// Movement kind from TURADI: 1 collection ("Tediye", "Tahsilat" exactly), 2 invoice (text
// containing "Fatura"), 0 nothing to show. Case-sensitive.
int HareketTuruBul(const QString& turAdi);

// Preview of the price-change dialog: net = fiyat - oran * fiyat / 100 when oran > 0;
// kdvDahil = net * 1.18, net not rounded first.
struct FiyatOnizleme {
    double net = 0;
    double kdvDahil = 0;
};
FiyatOnizleme FiyatHesapla(double fiyat, double oran);

// "<folder>/sanalposodeme<n>.pdf"; an unknown documents folder falls back to the
// program's data folder, never the file-system root.
QString MakbuzYolu(const QString& belgelerKlasoru, int sirano);

// Writes the receipt bytes when the stream's content is exactly `boy` long: atomically, so
// a failed write leaves no file. Removes an older copy first in every case. True when the
// file was written.
bool MakbuzKaydet(TStream* akis, std::int64_t boy, const QString& yol);

} // namespace gecmis
} // namespace durnak::client
