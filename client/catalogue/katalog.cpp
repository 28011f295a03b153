#include "catalogue/katalog.hpp"

#include <memory>
#include <mutex>
#include <optional>

#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QToolButton>

#include "app/beklesinu.hpp"
#include "app/kolonlar.hpp"
#include "app/sekmeler.hpp"
#include "app/unit1.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/data/numberformat.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/style.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using data::TClientDataSet;
using grid::CellKind;
using grid::DurnakGrid;
using grid::FlagZero;
using grid::GridColumn;
using grid::GridColumns;
using grid::Visibility;

namespace {

const QString kAraYukleme = QStringLiteral("stokara");
const QString kYenilerYukleme = QStringLiteral("yeniler");
const QString kKampanyaliYukleme = QStringLiteral("kampanyali");
// Set on the stock grid when a resize came during a search.
const char* const kYerlesimBekliyor = "yerlesimBekliyor";

// Screen width from which the new-items and campaign grids share their width by weight;
// below it they fit their content.
constexpr int kGenisEkran = 1153;

void sekmeBasligi(TForm1& form, QWidget* sekme, const QString& baslik)
{
    const int sira = form.sPageControl1->indexOf(sekme);
    if (sira >= 0) form.sPageControl1->setTabText(sira, baslik);
}

// Hands a row count from a background step to the main thread as the tab's badge caption.
std::function<void(int)> basligaSayi(TForm1& form, QWidget* sekme, const QString& baslik)
{
    QPointer<TForm1> pencere(&form);
    QPointer<QWidget> hedef(sekme);
    return [pencere, hedef, baslik](int sayi) {
        AnaThreadeKuyrukla(pencere, [pencere, hedef, baslik, sayi] {
            if (pencere && hedef) sekmeBasligi(*pencere, hedef, RozetliBaslik(sayi, baslik));
        });
    };
}

// The user-type decisions of the main window for one grid, now and on every later change.
void kolonAyarlariniBagla(DurnakGrid* izgara, KolonAyarlari* ayarlar)
{
    auto uygula = [izgara](const QString& alan, bool gorunur, bool secicide) {
        if (izgara->columnIndex(alan) < 0) return;
        const Visibility v = gorunur ? (secicide ? Visibility::Shown : Visibility::Pinned)
                                     : (secicide ? Visibility::Offered : Visibility::Never);
        izgara->setColumnVisibility(alan, v);
    };
    const auto hepsi = ayarlar->Hepsi();
    for (auto it = hepsi.begin(); it != hepsi.end(); ++it) uygula(it.key(), it->gorunur, it->secicide);
    QObject::connect(ayarlar, &KolonAyarlari::degisti, izgara, uygula);
}

// Whether the user-type decisions let a column be shown at all.
bool ayarIzinVerir(const KolonAyarlari* ayarlar, const QString& alan)
{
    if (!ayarlar) return true;
    const auto ayar = ayarlar->Ayari(alan);
    return !ayar || ayar->gorunur || ayar->secicide;
}

void izgaraOrtak(DurnakGrid* izgara, const grid::GridStyle& stil, int satirYuksekligi)
{
    izgara->setGridStyle(stil);
    izgara->setFocusMode(grid::FocusMode::Row);
    izgara->setIncrementalSearch(true);
    izgara->setFilterButtons(true);
    izgara->setFooterVisible(true);
    izgara->setIndicatorWidth(5);
    izgara->setHeaderHeight(40);
    izgara->setDataRowHeight(satirYuksekligi);
}

void listeGenislikleri(DurnakGrid* izgara)
{
    const QScreen* ekran = izgara->screen() ? izgara->screen() : QGuiApplication::primaryScreen();
    if (ekran && ekran->geometry().width() >= kGenisEkran) izgara->KolonGenislikleri();
    else izgara->bestFit();
}

// Runs the grids' resize rules; one per window, a child of it.
class TKatalogOlaylari : public QObject {
public:
    explicit TKatalogOlaylari(TForm1& form) : QObject(&form), form_(form) { setObjectName(QStringLiteral("katalog")); }

    bool eventFilter(QObject* nesne, QEvent* olay) override
    {
        if (olay->type() == QEvent::Resize) {
            if (nesne == form_.cxGrid1) cxGrid1Resize(form_);
            else if (nesne == form_.cxGrid6) listeGenislikleri(form_.cxGrid6);
            else if (nesne == form_.cxkampanyali && form_.cxkampanyali->isEnabled()) listeGenislikleri(form_.cxkampanyali);
        }
        return QObject::eventFilter(nesne, olay);
    }

private:
    TForm1& form_;
};

// The search itself (Enter in the box, or "Ara" while the box is enabled).
void aramaYap(TForm1& form)
{
    // 1.-3.
    form.sPageControl1->setCurrentWidget(form.sstoklistesi);
    const QString kod = form.araedit->text();
    auto bilgi = std::make_shared<protocol::TSonucBilgisi>();
    bilgi->Kopyala(form.sbilgi);

    TForm1::SekmeYukleme y;
    y.animasyon = form.gifstokara;
    y.kontrol = form.araedit;
    DurnakGrid* izgara = form.cxGrid1;
    y.ayir = [izgara] {
        izgara->detach();
        izgara->beginUpdate();
        izgara->clearFilters();
    };
    TClientDataSet* stok = &form.stok;
    const TBaglanti* bagc = &form.bagc;
    auto sayi = basligaSayi(form, form.sstoklistesi, QString::fromUtf8(kStokListesi));
    // 4. The window outlives the search: it lives until the process ends.
    y.yukle = [bagc, bilgi, kod, stok, sayi] { return StokListesiAl(*bagc, *bilgi, kod, *stok, sayi); };
    y.bagla = [izgara, stok] {
        izgara->setDataSet(stok);
        izgara->endUpdate();
    };
    QPointer<TForm1> pencere(&form);
    y.bitir = [pencere](bool hata) {
        if (!pencere) return;
        pencere->araedit->selectAll();
        pencere->araedit->setFocus();
        if (hata) sekmeBasligi(*pencere, pencere->sstoklistesi, QString::fromUtf8(kStokListesi));
        // A resize that came while the search ran is laid out now.
        if (pencere->cxGrid1->property(kYerlesimBekliyor).toBool()) cxGrid1Resize(*pencere);
    };
    form.GosterYukle(kAraYukleme, std::move(y));
}

// Key filter of the search box: cleans what was typed or pasted and keeps the cursor.
void araeditKeyPress(TForm1& form, const QString& metin)
{
    const QString temiz = AramaMetniTemizle(metin);
    if (temiz == metin) return;
    QLineEdit* kutu = form.araedit;
    const int imlec = kutu->cursorPosition();
    kutu->setText(temiz);
    kutu->setCursorPosition(std::min(imlec, int(temiz.size())));
}

void listeGoster(TForm1& form, const QString& ad, QWidget* animasyon, DurnakGrid* izgara, TClientDataSet* ds,
                 std::function<bool()> yukle)
{
    TForm1::SekmeYukleme y;
    y.animasyon = animasyon;
    y.kontrol = izgara;
    y.ayir = [izgara] {
        izgara->detach();
        izgara->beginUpdate();
    };
    y.yukle = std::move(yukle);
    y.bagla = [izgara, ds] {
        izgara->setDataSet(ds);
        izgara->endUpdate();
    };
    y.bitir = [izgara](bool) { listeGenislikleri(izgara); };
    form.GosterYukle(ad, std::move(y));
}

} // namespace

// ---------------------------------------------------------------------------------------

QString AramaMetniTemizle(const QString& metin)
{
    QString sonuc;
    sonuc.reserve(metin.size());
    for (const QChar c : metin) {
        switch (c.unicode()) {
        case u'ğ': case u'Ğ': sonuc += QLatin1Char('G'); break;
        case u'ü': case u'Ü': sonuc += QLatin1Char('U'); break;
        case u'ş': case u'Ş': sonuc += QLatin1Char('S'); break;
        case u'ö': case u'Ö': sonuc += QLatin1Char('O'); break;
        case u'ç': case u'Ç': sonuc += QLatin1Char('C'); break;
        case u'ı': case u'İ': sonuc += QLatin1Char('I'); break;
        // Plain Latin upper case: "i" is "I", never the dotted capital.
        default: sonuc += c.toUpper(); break;
        }
    }
    return sonuc;
}

namespace {

std::mutex aramaCagrisiKilidi;
StokAramaCagrisi aramaCagrisi;

protocol::Table stokAraGetir(TServerMethods1Client& p, const QString& kod, const protocol::TSonucBilgisi& bilgi)
{
    // The answer is the proxy's; the dataset gets its own copy.
    return p.StokAraGetir(kod, Kopya(bilgi));
}

// A list answer into its dataset whole (its fields become the answer's); the row count goes
// to the tab caption, the float columns get the number format.
void listeyeYukle(TClientDataSet& veri, protocol::Table tablo, const std::function<void(int)>& sayiBildir)
{
    data::DisableControlsScope sessiz(veri);
    veri.SetData(std::move(tablo));
    if (sayiBildir) sayiBildir(veri.RecordCount());
    data::FloatFormatla(veri);
}

// The load step of the new-items and campaign lists: `cagri` on a clone of `bagc`; true
// when the clone could not open. Errors of the call itself are not caught: the runner shows
// them after its second step.
bool listeAl(const TBaglanti& bagc, TClientDataSet& veri, const std::function<void(int)>& sayiBildir,
             const std::function<protocol::Table(TServerMethods1Client&)>& cagri)
{
    return !CagriB(bagc, 0, [&](TServerMethods1Client& p) { listeyeYukle(veri, cagri(p), sayiBildir); });
}

} // namespace

StokAramaCagrisi StokAramaCagrisiAyarla(StokAramaCagrisi cagri)
{
    std::lock_guard kilit(aramaCagrisiKilidi);
    std::swap(aramaCagrisi, cagri);
    return cagri;
}

bool StokListesiAl(const TBaglanti& bagc, const protocol::TSonucBilgisi& bilgi, const QString& kod,
                   TClientDataSet& stok, const std::function<void(int)>& sayiBildir)
{
    StokAramaCagrisi cagri;
    {
        std::lock_guard kilit(aramaCagrisiKilidi);
        cagri = aramaCagrisi;
    }
    if (!cagri) cagri = stokAraGetir;
    bool basarili = false;
    try {
        basarili = CagriB(bagc, 0, [&](TServerMethods1Client& p) {
            data::DisableControlsScope sessiz(stok);
            protocol::Table tablo = cagri(p, kod, bilgi);
            // VAT into the list price, unrounded: the display format rounds.
            const int liste = tablo.columnIndex("LISTEFIYAT1");
            const int kdv = tablo.columnIndex("KDV");
            if (liste >= 0 && kdv >= 0) {
                const auto l = static_cast<std::size_t>(liste);
                const auto k = static_cast<std::size_t>(kdv);
                for (std::size_t r = 0; r < tablo.rowCount(); ++r) {
                    if (tablo.isNull(r, l)) continue;
                    tablo.setReal(r, l, tablo.realAt(r, l) * (1.0 + tablo.realAt(r, k) / 100.0));
                }
            }
            listeyeYukle(stok, std::move(tablo), sayiBildir);
        });
    } catch (...) {
        basarili = false;
    }
    // No rows of an earlier search may stay behind a failed one.
    if (!basarili && stok.Active()) stok.EmptyDataSet();
    return !basarili;
}

bool YenilerAl(const TBaglanti& bagc, int carino, TClientDataSet& yeniler, const std::function<void(int)>& sayiBildir)
{
    return listeAl(bagc, yeniler, sayiBildir, [carino](TServerMethods1Client& p) { return p.YenilerVer2(carino); });
}

bool KampanyalilarAl(const TBaglanti& bagc, int carino, int satici, TClientDataSet& kampstok,
                     const std::function<void(int)>& sayiBildir)
{
    return listeAl(bagc, kampstok, sayiBildir,
                   [carino, satici](TServerMethods1Client& p) { return p.KampanyaliVer2(carino, satici); });
}

void syenilerShow(TForm1& form)
{
    const TBaglanti* bagc = &form.bagc;
    const int carino = form.sbilgi.FCARINO;
    TClientDataSet* ds = &form.YENILER;
    auto sayi = basligaSayi(form, form.syeniler, QString::fromUtf8(kYeniStoklar));
    listeGoster(form, kYenilerYukleme, form.gifyeniler, form.cxGrid6, ds,
                [bagc, carino, ds, sayi] { return YenilerAl(*bagc, carino, *ds, sayi); });
}

void skampanyaliShow(TForm1& form)
{
    const TBaglanti* bagc = &form.bagc;
    const int carino = form.sbilgi.FCARINO;
    const int satici = form.sbilgi.FMusteriTipi;
    TClientDataSet* ds = &form.kampstok;
    auto sayi = basligaSayi(form, form.skampanyali, QString::fromUtf8(kKampanyali));
    listeGoster(form, kKampanyaliYukleme, form.gifkampanyali, form.cxkampanyali, ds,
                [bagc, carino, satici, ds, sayi] { return KampanyalilarAl(*bagc, carino, satici, *ds, sayi); });
}

void SpeedButton2Click(TForm1& form)
{
    if (!form.araedit->isEnabled()) return;
    aramaYap(form);
}

void SpeedButton1Click(TForm1& form)
{
    if (!form.araedit->isEnabled()) return;
    if (form.stok.Active()) {
        form.stok.EmptyDataSet();
        sekmeBasligi(form, form.sstoklistesi, QString::fromUtf8(kStokListesi));
    }
    form.sPageControl1->setCurrentWidget(form.sstoklistesi);
    form.cxGrid1->clearFilters();
    form.araedit->clear();
    form.araedit->selectAll();
    form.araedit->setFocus();
}

void StokAra(TForm1& form, const QString& metin)
{
    if (!form.araedit->isEnabled()) return;
    form.araedit->setText(AramaMetniTemizle(metin));
    SpeedButton2Click(form);
}

// ---------------------------------------------------------------------------------------
// Price presentation

QString FiyatBilgisiMetni(double listeFiyati, double kampFiyati, double netFiyat, double kdvDahil, const QLocale& yerel)
{
    const QString satirSonu = QStringLiteral("\r\n");
    auto para = [&](double v) { return data::FormatFloat(data::kParaFormati, v, yerel); };
    QString metin = QStringLiteral("Liste Fiyatı: ") + para(listeFiyati) + satirSonu;
    if (kampFiyati > 0) metin += QStringLiteral("Kampanyalı Fiyat: ") + para(kampFiyati) + satirSonu;
    metin += QStringLiteral("NetFiyat: ") + para(netFiyat) + satirSonu;
    metin += QStringLiteral("KDV li Fiyat: ") + para(kdvDahil) + satirSonu;
    return metin;
}

void cxGrid1DBTableView1FiyatBilgisiCustomDrawCell(const grid::CellPaint& hucre)
{
    QPainter* r = hucre.painter;
    const grid::GridStyle& stil = *hucre.style;
    const QColor zemin = hucre.selected ? stil.selection.background
                                        : (hucre.position % 2 == 0 ? stil.even.background : stil.odd.background);
    r->save();
    r->fillRect(hucre.rect, zemin);
    auto deger = [&](const char* alan) { return hucre.value(QString::fromLatin1(alan)).toDouble(); };
    QString metin = FiyatBilgisiMetni(deger("LISTEFIYAT1"), deger("KAMPFIYAT"), deger("NETFIYAT"), deger("KDVDAHIL"),
                                      data::DisplayLocale());
    // The painter breaks lines at LF; a CR would be drawn as a glyph.
    metin.remove(QLatin1Char('\r'));
    r->setFont(hucre.font);
    r->setPen(hucre.selected ? stil.selection.text : (hucre.position % 2 == 0 ? stil.even.text : stil.odd.text));
    r->drawText(hucre.rect.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter | Qt::TextWordWrap, metin);
    r->restore();
}

void cxGrid1Resize(TForm1& form)
{
    // A running search has the grid detached; its layout waits for the search to end.
    if (!form.cxGrid1) return;
    DurnakGrid* g = form.cxGrid1;
    if (!form.araedit || !form.araedit->isEnabled()) {
        g->setProperty(kYerlesimBekliyor, true);
        return;
    }
    g->setProperty(kYerlesimBekliyor, false);
    const bool dar = DarYerlesim(form.frameGeometry().width());
    const KolonAyarlari* ayarlar = form.cxGrid1DBTableView1Kolonlari;

    g->beginUpdate();
    for (const char* alan : {"cxGrid1DBTableView1KDVDAHIL", "cxGrid1DBTableView1NETFIYAT",
                             "cxGrid1DBTableView1KAMPFIYAT", "cxGrid1DBTableView1LISTEFIYAT1"}) {
        const QString ad = QString::fromLatin1(alan);
        const QString alanAdi = ad.mid(int(qstrlen("cxGrid1DBTableView1")));
        // A column the user type withdrew (campaign price for type 4) stays hidden.
        g->setColumnVisible(ad, !dar && ayarIzinVerir(ayarlar, alanAdi));
    }
    g->setColumnVisible(QStringLiteral("cxGrid1DBTableView1FiyatBilgisi"), dar);
    g->setDataRowHeight(dar ? 100 : 80);
    g->KolonGenislikleri();
    if (dar) {
        for (const char* ad : {"cxGrid1DBTableView1OEM1", "cxGrid1DBTableView1OEM2", "cxGrid1DBTableView1OEM3"}) {
            const int sutun = g->columnIndex(QString::fromLatin1(ad));
            if (sutun >= 0) g->setColumnWidth(sutun, 80);
        }
        const int fiyatBilgisi = g->columnIndex(QStringLiteral("cxGrid1DBTableView1FiyatBilgisi"));
        if (fiyatBilgisi >= 0) g->setColumnWidth(fiyatBilgisi, 150);
        g->setDataRowHeight(100);
    }
    g->endUpdate();
}

// ---------------------------------------------------------------------------------------
// Columns

namespace {

GridColumn metin(const char* ad, const char* baslik, const char* alan, int agirlik, Visibility v, bool sar = true)
{
    return grid::textColumn(QString::fromUtf8(ad), QString::fromUtf8(baslik), QString::fromUtf8(alan), agirlik, v, sar);
}

GridColumn ortali(const char* ad, const char* baslik, const char* alan, int agirlik, Visibility v = Visibility::Shown)
{
    GridColumn c = grid::centredColumn(QString::fromUtf8(ad), QString::fromUtf8(baslik), QString::fromUtf8(alan),
                                       agirlik, v);
    c.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    return c;
}

GridColumn tur(const char* ad, const char* baslik, const char* alan, int agirlik, CellKind kind,
               FlagZero sifir = FlagZero::Hayir, Visibility v = Visibility::Shown)
{
    GridColumn c = grid::kindColumn(QString::fromUtf8(ad), QString::fromUtf8(baslik), QString::fromUtf8(alan),
                                    agirlik, kind, v);
    c.flagZero = sifir;
    if (kind == CellKind::Durum) c.alignment = Qt::AlignCenter;
    return c;
}

} // namespace

GridColumns StokKolonlari()
{
    constexpr auto E = Visibility::Shown;
    constexpr auto H = Visibility::Offered;
    constexpr auto N = Visibility::Never;
    GridColumn fiyatBilgisi = grid::drawnColumn(QStringLiteral("cxGrid1DBTableView1FiyatBilgisi"),
                                                QStringLiteral("Fiyat Bilgisi"), 2,
                                                cxGrid1DBTableView1FiyatBilgisiCustomDrawCell, H);
    fiyatBilgisi.exportText = [](const grid::GridModel& m, int satir) {
        auto d = [&](const char* alan) { return m.sourceValue(satir, QString::fromLatin1(alan)).toDouble(); };
        return FiyatBilgisiMetni(d("LISTEFIYAT1"), d("KAMPFIYAT"), d("NETFIYAT"), d("KDVDAHIL"), data::DisplayLocale())
            .trimmed();
    };
    return {
        tur("cxGrid1DBTableView1DURUM", "Durum", "DURUM", 1, CellKind::Durum),
        metin("cxGrid1DBTableView1OEM1", "Oem1", "OEM1", 2, H),
        metin("cxGrid1DBTableView1OEM2", "Oem2", "OEM2", 2, H),
        metin("cxGrid1DBTableView1OEM3", "Oem3", "OEM3", 2, H),
        metin("cxGrid1DBTableView1BARKOD", "Barkod", "BARKOD", 2, H),
        metin("cxGrid1DBTableView1DPKOD", "", "DPKOD", 2, H),
        metin("cxGrid1DBTableView1URETICIKODU", "Üretici Kod", "URETICIKODU", 2, H),
        metin("cxGrid1DBTableView1OEMNO", "Oem No", "PKOD", 2, H),
        metin("cxGrid1DBTableView1FINISHKOD", "Kod", "FINISHKOD", 2, E),
        metin("cxGrid1DBTableView1OZELKOD1", "Kod2", "OZELKOD1", 2, E, false),
        metin("cxGrid1DBTableView1ADI", "Açıklama", "ADI", 3, E),
        metin("cxGrid1DBTableView1OEM4", "Oem4", "OEM4", 2, H),
        metin("cxGrid1DBTableView1STOK_STOKNO", "", "STOK_STOKNO", 1, N),
        tur("cxGrid1DBTableView1RESIM", "Resim", "RESIM", 1, CellKind::PictureMarker),
        metin("cxGrid1DBTableView1BARKOD_BARKODNO", "", "BARKOD_BARKODNO", 1, N),
        metin("cxGrid1DBTableView1DIGERADI", "Diğer Adı", "DIGERADI", 3, H),
        metin("cxGrid1DBTableView1BIRIM", "Birim", "BIRIM", 1, H),
        metin("cxGrid1DBTableView1MARKA", "Marka", "MARKA", 2, E),
        metin("cxGrid1DBTableView1MODEL", "Model", "MODEL", 2, H),
        metin("cxGrid1DBTableView1ANAGRUP", "Ana Grup", "ANAGRUP", 2, H),
        metin("cxGrid1DBTableView1OZELKOD", "Özel Kod", "OZELKOD", 2, H),
        metin("cxGrid1DBTableView1KALAN", "", "KALAN", 1, N),
        metin("cxGrid1DBTableView1PKOD", "", "PKOD", 1, N),
        metin("cxGrid1DBTableView1KDV", "", "KDV", 1, H),
        metin("cxGrid1DBTableView1ALINANSIPARIS", "", "ALINANSIPARIS", 1, N),
        metin("cxGrid1DBTableView1VERILENSIPARIS", "", "VERILENSIPARIS", 1, N),
        metin("cxGrid1DBTableView1LISTEFIYAT1", "Liste Fiyatı", "LISTEFIYAT1", 2, E, false),
        metin("cxGrid1DBTableView1KAMPFIYAT", "Kampanyalı Fiyat", "KAMPFIYAT", 2, E, false),
        metin("cxGrid1DBTableView1FIYAT", "Liste Fiyatı", "FIYAT", 2, H),
        tur("cxGrid1DBTableView1Y", "Yeni", "Y", 1, CellKind::Flag, FlagZero::Hayir),
        tur("cxGrid1DBTableView1K", "Kampanyalı", "K", 1, CellKind::Flag, FlagZero::Plain),
        ortali("cxGrid1DBTableView1INDIRIMYAZI", "İndirim Oran", "INDIRIMYAZI", 2, H),
        metin("cxGrid1DBTableView1NETFIYAT", "Net Fiyatı", "NETFIYAT", 2, E),
        metin("cxGrid1DBTableView1KDVDAHIL", "KDV Dahil Fiyat", "KDVDAHIL", 3, E),
        fiyatBilgisi,
    };
}

GridColumns YeniKolonlari()
{
    constexpr auto E = Visibility::Shown;
    constexpr auto H = Visibility::Offered;
    constexpr auto N = Visibility::Never;
    return {
        metin("cxGridDBColumn4", "Açıklama", "ADI", 3, E, false),
        metin("cxGridDBColumn8", "Kod", "FINISHKOD", 2, E, false),
        metin("cxGridDBColumn14", "Birim", "BIRIM", 1, E, false),
        metin("cxGridDBColumn15", "Marka", "MARKA", 2, E, false),
        metin("cxGridDBColumn16", "Model", "MODEL", 2, E, false),
        tur("cxGridDBTableView5K", "Kampanyalı", "K", 1, CellKind::Flag, FlagZero::Empty),
        metin("cxGridDBTableView5LISTEFIYAT1", "Liste Fiyatı", "LISTEFIYAT1", 2, E, false),
        metin("cxGridDBTableView5KAMPFIYAT", "Kampanyalı Fiyatı", "KAMPFIYAT", 2, E, false),
        ortali("cxGridDBTableView5INDIRIMYAZI", "Indirim Oran", "INDIRIMYAZI", 2),
        metin("cxGridDBColumn28", "Net Fiyatı", "NETFIYAT", 2, E, false),
        metin("cxGridDBColumn29", "KDV Dahil Fiyat", "KDVDAHIL", 2, E, false),
        metin("cxGridDBTableView5OEM1", "Oem1", "OEM1", 2, H, false),
        metin("cxGridDBTableView5OEM2", "Oem2", "OEM2", 2, H, false),
        metin("cxGridDBTableView5OEM3", "Oem3", "OEM3", 2, H, false),
        metin("cxGridDBTableView5BARKOD", "Barkod", "BARKOD", 2, H, false),
        metin("cxGridDBTableView5OEM4", "Oem4", "OEM4", 2, H, false),
        metin("cxGridDBTableView5URETICIKODU", "Üretici Kod", "URETICIKODU", 2, H, false),
        metin("cxGridDBTableView5DIGERADI", "Diğer Adı", "DIGERADI", 3, H, false),
        metin("cxGridDBTableView5OEMNO", "Oem No", "OEMNO", 2, H, false),
        metin("cxGridDBTableView5ANAGRUP", "Ana Grup", "ANAGRUP", 2, H, false),
        metin("cxGridDBTableView5OZELKOD", "Özel Kod", "OZELKOD", 2, H, false),
        metin("cxGridDBTableView5KDV", "", "KDV", 1, H, false),
        metin("cxGridDBTableView5FIYAT", "Liste Fiyatı2", "FIYAT", 2, H, false),
        metin("cxGridDBColumn7", "", "STOK_STOKNO", 1, N, false),
        metin("cxGridDBTableView5BARKOD_BARKODNO", "", "BARKOD_BARKODNO", 1, N, false),
        metin("cxGridDBTableView5DPKOD", "", "DPKOD", 1, N, false),
        metin("cxGridDBTableView5PKOD", "", "PKOD", 1, N, false),
        metin("cxGridDBTableView5INDIRIM", "İndirim Oran", "INDIRIM", 1, N, false),
        metin("cxGridDBTableView5KALAN", "", "KALAN", 1, N, false),
        metin("cxGridDBTableView5ALINANSIPARIS", "", "ALINANSIPARIS", 1, N, false),
        metin("cxGridDBTableView5VERILENSIPARIS", "", "VERILENSIPARIS", 1, N, false),
    };
}

GridColumns KampanyaliKolonlari()
{
    constexpr auto E = Visibility::Shown;
    constexpr auto H = Visibility::Offered;
    constexpr auto N = Visibility::Never;
    return {
        metin("cxGridDBColumn35", "Kod", "FINISHKOD", 2, E),
        metin("cxGridDBColumn31", "Açıklama", "ADI", 3, E),
        tur("cxGridDBTableViewkampanyaliRESIM", "Resim", "RESIM", 1, CellKind::PictureMarker),
        metin("cxGridDBColumn41", "Birim", "BIRIM", 1, E),
        metin("cxGridDBColumn42", "Marka", "MARKA", 2, E),
        metin("cxGridDBColumn43", "Model", "MODEL", 2, E),
        metin("cxGridDBTableViewkampanyaliESKIFIYAT", "Liste Fiyatı", "ESKIFIYAT", 2, E),
        metin("cxGridDBColumn51", "Kampanyalı Fiyatı", "FIYAT", 2, E),
        tur("cxGridDBColumn52", "Yeni", "Y", 1, CellKind::Flag, FlagZero::Hayir),
        tur("cxGridDBColumn53", "Kampanyalı", "K", 1, CellKind::Flag, FlagZero::Plain),
        ortali("cxGridDBTableViewkampanyaliINDIRIMYAZI", "İndirim Oran", "INDIRIMYAZI", 2),
        metin("cxGridDBColumn55", "Net Fiyatı", "NETFIYAT", 2, E),
        metin("cxGridDBColumn56", "KDV Dahil Fiyat", "KDVDAHIL", 2, E),
        tur("cxGridDBColumn57", "Durum", "DURUM", 1, CellKind::Durum),
        metin("cxGridDBTableViewkampanyaliOEM1", "Oem1", "OEM1", 2, H),
        metin("cxGridDBTableViewkampanyaliOEM2", "Oem2", "OEM2", 2, H),
        metin("cxGridDBTableViewkampanyaliOEM3", "Oem3", "OEM3", 2, H),
        metin("cxGridDBTableViewkampanyaliOEM4", "Oem4", "OEM4", 2, H),
        metin("cxGridDBTableViewkampanyaliBARKOD", "Barkod", "BARKOD", 2, H),
        metin("cxGridDBTableViewkampanyaliURETICIKODU", "Üretici Kod", "URETICIKODU", 2, H),
        metin("cxGridDBTableViewkampanyaliDIGERADI", "Diğer Adı", "DIGERADI", 3, H),
        metin("cxGridDBTableViewkampanyaliOEMNO", "Oem No", "OEMNO", 2, H),
        metin("cxGridDBTableViewkampanyaliANAGRUP", "Ana Grup", "ANAGRUP", 2, H),
        metin("cxGridDBTableViewkampanyaliOZELKOD", "Özel Kod", "OZELKOD", 2, H),
        metin("cxGridDBTableViewkampanyaliKDV", "", "KDV", 1, H),
        metin("cxGridDBColumnSTOK_STOKNO", "", "STOK_STOKNO", 1, N),
        metin("cxGridDBTableViewkampanyaliBARKOD_BARKODNO", "", "BARKOD_BARKODNO", 1, N),
        metin("cxGridDBTableViewkampanyaliDPKOD", "", "DPKOD", 1, N),
        metin("cxGridDBTableViewkampanyaliPKOD", "", "PKOD", 1, N),
        metin("cxGridDBTableViewkampanyaliINDIRIM", "İndirim Oran", "INDIRIM", 1, N),
        metin("cxGridDBColumnKALAN", "", "KALAN", 1, N),
        metin("cxGridDBTableViewkampanyaliALINANSIPARIS", "", "ALINANSIPARIS", 1, N),
        metin("cxGridDBTableViewkampanyaliVERILENSIPARIS", "", "VERILENSIPARIS", 1, N),
    };
}

// ---------------------------------------------------------------------------------------

void KatalogBagla(TForm1& form)
{
    auto* olaylar = new TKatalogOlaylari(form);

    // Search bar. The box's key filter replaces the shell's plain upper-casing.
    QObject::disconnect(form.araedit, SIGNAL(textEdited(QString)), &form, nullptr);
    QObject::connect(form.araedit, &QLineEdit::textEdited, &form,
                     [&form](const QString& metin) { araeditKeyPress(form, metin); });
    QObject::connect(form.araedit, &QLineEdit::returnPressed, &form, [&form] {
        if (form.araedit->isEnabled()) aramaYap(form);
    });
    QObject::connect(form.SpeedButton2, &QToolButton::clicked, &form, [&form] { SpeedButton2Click(form); });
    QObject::connect(form.SpeedButton1, &QToolButton::clicked, &form, [&form] { SpeedButton1Click(form); });
    form.araedit->setFocus();

    // The stock, new-items and campaign grids.
    const struct {
        DurnakGrid* izgara;
        grid::GridStyle stil;
        std::optional<QFont> yazi;
        GridColumns kolonlar;
        TClientDataSet* veri;
        KolonAyarlari* ayarlar;
    } izgaralar[] = {
        {form.cxGrid1, grid::GridStyle::standard(), std::nullopt, StokKolonlari(), &form.stok,
         form.cxGrid1DBTableView1Kolonlari},
        {form.cxGrid6, grid::GridStyle::evenWhite(), grid::gridFont(13), YeniKolonlari(), &form.YENILER,
         form.cxGridDBTableView5Kolonlari},
        {form.cxkampanyali, grid::GridStyle::standard(), grid::arialFont(11), KampanyaliKolonlari(), &form.kampstok,
         form.cxGridDBTableViewkampanyaliKolonlari},
    };
    for (const auto& l : izgaralar) {
        izgaraOrtak(l.izgara, l.stil, 80);
        if (l.yazi) l.izgara->setFont(*l.yazi);
        l.izgara->setColumns(l.kolonlar);
        l.izgara->setDataSet(l.veri);
        kolonAyarlariniBagla(l.izgara, l.ayarlar);
        l.izgara->installEventFilter(olaylar);
    }

    // The stock grid's menu: separators between its three entries.
    if (form.popstok && form.SiparisBakiyeleriniz1 && form.S3) {
        form.popstok->insertSeparator(form.SiparisBakiyeleriniz1)->setObjectName(QStringLiteral("N5"));
        form.popstok->insertSeparator(form.S3)->setObjectName(QStringLiteral("N9"));
    }

    QObject::connect(&form, &TForm1::sekmeGosterildi, &form, [&form](QWidget* sekme) {
        if (sekme == form.syeniler) syenilerShow(form);
        else if (sekme == form.skampanyali) skampanyaliShow(form);
    });
}

} // namespace durnak::client
