#pragma once

// The catalogue tabs of the main window: the stock search ("Stok Listesi", grid cxGrid1 over
// `stok`), the new items ("Yeni Stoklar", cxGrid6 over `YENILER`) and the campaign items
// ("Kampanyalı Stoklar", cxkampanyali over `kampstok`), with the stock grid's two price
// layouts and its drawn "Fiyat Bilgisi" cell.
//
// KatalogBagla wires all of it to a TForm1 once, before FormCreate. Other windows start a
// search with StokAra(form, text).

#include <functional>

#include <QLocale>
#include <QString>

#include "durnak/data/clientdataset.hpp"
#include "durnak/grid/columns.hpp"
#include "durnak/protocol/records.hpp"
#include "durnak/protocol/table.hpp"

namespace durnak::client {

class TBaglanti;
class TForm1;

inline const char* const kStokListesi = "Stok Listesi";
inline const char* const kYeniStoklar = "Yeni Stoklar";
inline const char* const kKampanyali = "Kampanyalı";

// Wires the search bar, the three catalogue grids, their tab show handlers and the stock
// grid's context menu (except the entries other windows own) to the window.
void KatalogBagla(TForm1& form);

// Puts `metin` (cleaned as if typed) into the search box and runs the search, as "Ara"
// does; nothing while a search runs. For windows that send the user to the stock list.
void StokAra(TForm1& form, const QString& metin);

// "Ara" (SpeedButton2Click): the search, unless one is running. "Temizle"
// (SpeedButton1Click): empties the list and the box, unless a search is running.
void SpeedButton2Click(TForm1& form);
void SpeedButton1Click(TForm1& form);

// The search box's key filter: Turkish letters become their plain Latin letters and the
// text upper case (plain "i" becomes "I"), so a search text never holds Turkish letters.
QString AramaMetniTemizle(const QString& metin);

// The background step of the search: StokAraGetir with `kod` and `bilgi` on a clone of
// `bagc` (retries, no message), the answer loaded whole into `stok`, VAT added to
// LISTEFIYAT1 and the float columns formatted. `sayiBildir` hears the row count (for the
// tab caption). True on failure; a failed search leaves `stok` empty.
bool StokListesiAl(const TBaglanti& bagc, const protocol::TSonucBilgisi& bilgi, const QString& kod,
                   data::TClientDataSet& stok, const std::function<void(int)>& sayiBildir = {});

// The server call of a search, StokAraGetir unless replaced: benchmarks feed answers of
// sizes the server's result limit never gives through the same path. Returns the call it
// replaces; an empty function restores StokAraGetir.
class TServerMethods1Client;
using StokAramaCagrisi =
    std::function<protocol::Table(TServerMethods1Client&, const QString& kod, const protocol::TSonucBilgisi& bilgi)>;
StokAramaCagrisi StokAramaCagrisiAyarla(StokAramaCagrisi cagri);

// The loaders of the two lists (background); true on failure, the dataset unchanged then.
bool YenilerAl(const TBaglanti& bagc, int carino, data::TClientDataSet& yeniler,
               const std::function<void(int)>& sayiBildir = {});
bool KampanyalilarAl(const TBaglanti& bagc, int carino, int satici, data::TClientDataSet& kampstok,
                     const std::function<void(int)>& sayiBildir = {});

// Tab show handlers of "Yeni Stoklar" and "Kampanyalı Stoklar": load the list again.
void syenilerShow(TForm1& form);
void skampanyaliShow(TForm1& form);

// --- Price presentation -----------------------------------------------------------------

// Narrow layout (one drawn "Fiyat Bilgisi" column) up to this outer window width.
inline constexpr int kDarPencereSiniri = 1152;
inline bool DarYerlesim(int pencereGenisligi) { return pencereGenisligi <= kDarPencereSiniri; }

// The text of a "Fiyat Bilgisi" cell, every line ended by CR LF; the campaign line only
// for a campaign price above 0.
QString FiyatBilgisiMetni(double listeFiyati, double kampFiyati, double netFiyat, double kdvDahil,
                          const QLocale& yerel);

// Draws one "Fiyat Bilgisi" cell (the drawn column's hook).
void cxGrid1DBTableView1FiyatBilgisiCustomDrawCell(const grid::CellPaint& hucre);

// Re-lays the stock grid out for the window's width; nothing while a search runs.
void cxGrid1Resize(TForm1& form);

// Column tables of the three grids.
grid::GridColumns StokKolonlari();
grid::GridColumns YeniKolonlari();
grid::GridColumns KampanyaliKolonlari();

} // namespace durnak::client
