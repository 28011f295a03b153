#pragma once

// The basket's arithmetic and texts, without widgets: the totals of the ticked lines, the
// order summary of the confirmation window and the values of the line requests.

#include <cstdint>

#include <QLocale>
#include <QString>

#include "durnak/data/clientdataset.hpp"
#include "durnak/data/numberformat.hpp"

namespace durnak::client {

// The five totals of the ticked lines and which of them the panel shows.
struct SepetToplamlari {
    double toplam = 0;   // TUTAR
    double indirim = 0;  // INDIRIMTUTAR
    double vergi = 0;    // VERGITUTARI
    double ara = 0;      // toplam - indirim
    double genel = 0;    // vergi + ara
    // Totals of 1,00 or less are hidden, not only zero ones.
    bool vergiGorunur() const { return vergi > 1; }
    bool indirimGorunur() const { return indirim > 1; }
};

// Sums the lines with SEC = 1 in dataset order; every running sum is rounded to two decimals
// after each addition, as the totals have always been shown. Reads the rows without moving
// the cursor; a closed dataset gives zeros.
SepetToplamlari SepetToplamHesapla(const data::TClientDataSet& sepet,
                                   const QLocale& yerel = data::DisplayLocale());

// What the confirmation window summarises.
struct SiparisOzeti {
    QString kullanici;   // FADI
    QString cari;        // FCariAdi
    QString teslim;      // delivery mode
    QString kargoTuru;   // cargo kind
    QString tutar;       // Genel Toplam as displayed
    QString kargo;       // cargo company
    QString aciklama;    // the note, line breaks included
};

// Seven lines joined by CR LF (none after the last), labels padded to "Açıklama : " so the
// values line up in a fixed-pitch font. The note's own line breaks become CR LF too.
QString SiparisOzetiMetni(const SiparisOzeti& ozet);

// The whole-number quantity shown for a basket line: halves to even.
int YuvarlaCifteDogru(double deger);

// The line's "BARKOD-STOKADI" text sent with a line deletion.
QString SilmeAciklamasi(const QString& barkod, const QString& stokadi);

// A quantity typed into the dialog, read with the locale's decimal separator; false when it
// is no number.
bool MiktarOku(const QString& metin, double& miktar, const QLocale& yerel = data::DisplayLocale());

} // namespace durnak::client
