#pragma once

// Announcements and promotions of the main window: the tab badges and the scrolling text,
// the announcements tab, the three banners, the opening-screen count and the opening
// advertisements. The loads run from the start-up background step (on a worker: every
// control change is handed to the main thread) and from the push refresh (main thread).
//
// Wiring, in the program entry:
//   TForm1Kancalari kancalar;
//   TanitimBagla(kancalar);          // the start-up / refresh loads
//   TForm1 form(kancalar);
//   TanitimBagla(form);              // the announcements tab and the target rule
//   form.FormCreate();

#include <exception>
#include <functional>
#include <stdexcept>
#include <string_view>

#include <QByteArray>
#include <QObject>
#include <QString>

#include "app/unit1.hpp"
#include "durnak/data/clientdataset.hpp"
#include "durnak/protocol/table.hpp"

namespace durnak::client {

// Target keys of an announcement or an opening screen.
inline const char* const kKampanyaHedefi = "#KAMPANYA#";
inline const char* const kYeniHedefi = "#YENİ#";

// A picture text that is not hexadecimal.
class EResimHatasi : public std::runtime_error {
public:
    explicit EResimHatasi(const QString& metin) : std::runtime_error(metin.toStdString()) {}
};

// Picture bytes written as hexadecimal text, two digits a byte, high digit first, either
// case; a last lone digit is one byte of its own ("0aF" gives 0x0A 0x0F). Throws
// EResimHatasi on anything that is not a hex digit.
QByteArray HexResimCoz(std::string_view metin);

// Number texts of the badges: a general floating-point text of the locale (plain digits for
// whole values, "2,5" with Turkish settings), and a plain whole number.
QString BalonSayiMetni(double deger);
QString BalonTamSayiMetni(long long deger);

// What the marquee is given for the dealer's text: the markup stays markup, the blanks at
// either end are kept (HTML would swallow them). Empty for a text of blanks only.
QString KayanYaziHtml(const QString& metin);

// The loads. Callable on a worker (start-up) or on the main thread (push refresh); each uses
// its own clone of bagc and its own copy of sbilgi.
void KayanYaziGetir(TForm1& form);
void BannerREsimAl(TForm1& form);
void BannerREsimAlUst(TForm1& form);
void BannerREsimAlAlt(TForm1& form);
void AcilisReklamAdetAl(TForm1& form);
void BalonGetir(TForm1& form);
// Main thread: the opening advertisements when the server announced some.
void AcilisReklamlariGoster(TForm1& form);

// Picture hand-overs of the banner loads, main thread; `baytlar` are complete. Exposed for
// the widget tests.
void UstBannerUygula(TForm1& form, const QByteArray& baytlar);
void UstSeritUygula(TForm1& form, const QByteArray* baytlar);  // nullptr: no banner
void AltBannerUygula(TForm1& form, const QByteArray* baytlar);  // nullptr: no banner

// Runs a stock search for the text as the search button does.
using StokAramaIslevi = std::function<void(TForm1&, const QString&)>;

// The announcements tab and the target rule on one main window.
class TTanitim : public QObject {
    Q_OBJECT

public:
    explicit TTanitim(TForm1& form);

    // The tab show handler: reloads the announcements in the background.
    void sTabSheetduyuruShow();
    // Double click on the announcement grid.
    void cxGridduyuruBandedDuyuruDblClick();
    // "#KAMPANYA#" and "#YENİ#" open their tabs, any other text is searched for as it is.
    void HedefUygula(const QString& arama);

    // The stock search the target rule runs; by default the text goes into araedit as it is
    // and the catalogue's "Ara" runs.
    StokAramaIslevi StokAra;

    data::TClientDataSet& duyurular() { return duyurular_; }

signals:
    // An announcements load finished (its main-thread step ran).
    void duyurularYuklendi(bool hata);

private:
    TForm1& form_;
    data::TClientDataSet duyurular_;
};

// The load hooks of the main window.
void TanitimBagla(TForm1Kancalari& kancalar);
// The announcements tab, its grid and the target rule; main thread, before FormCreate.
TTanitim* TanitimBagla(TForm1& form);
// The window's controller, or nullptr before TanitimBagla(form).
TTanitim* Tanitim(TForm1& form);

// The table of announcement rows as the grid shows them: RESIM (bytes), BASLIK, ARAMA.
protocol::Table DuyuruTablosu();
// Appends one row per announcement, in order. A picture text that cannot be decoded costs
// its row the picture, not the rows after it; the first such error is returned.
std::exception_ptr DuyurulariDoldur(const protocol::TAcilisEkranlariki& liste, protocol::Table& tablo);

} // namespace durnak::client
