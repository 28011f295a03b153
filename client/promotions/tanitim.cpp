#include "promotions/tanitim.hpp"

#include <optional>
#include <utility>
#include <variant>

#include <QBuffer>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QToolButton>

#include "app/beklesinu.hpp"
#include "app/kayanyazi.hpp"
#include "app/sekmeler.hpp"
#include "app/utils.hpp"
#include "catalogue/katalog.hpp"
#include "durnak/data/numberformat.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "promotions/acilisreklamu.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

namespace {

int hexRakam(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

[[noreturn]] void hexHatasi(std::string_view parca)
{
    throw EResimHatasi(QStringLiteral("Resim verisi bozuk: '%1' onaltılık bir sayı değil.")
                           .arg(QString::fromUtf8(parca.data(), qsizetype(parca.size()))));
}

bool bosluk(QChar c)
{
    return c == u' ' || c == u'\t';
}

void sekmeBasligi(TForm1& form, QWidget* sekme, const QString& baslik)
{
    const int sira = form.sPageControl1->indexOf(sekme);
    if (sira >= 0) form.sPageControl1->setTabText(sira, baslik);
}

double sayiOku(const protocol::Table& tablo, std::size_t satir, std::size_t sutun)
{
    const protocol::Cell deger = tablo.cell(satir, sutun);
    if (const auto* i = std::get_if<std::int64_t>(&deger)) return double(*i);
    if (const auto* d = std::get_if<double>(&deger)) return *d;
    if (const auto* b = std::get_if<bool>(&deger)) return *b ? 1 : 0;
    if (const auto* s = std::get_if<std::string>(&deger)) return QString::fromStdString(*s).toDouble();
    return 0;
}

// A playing GIF over its own copy of the bytes; nullptr when the bytes are no animation.
QMovie* filmYap(const QByteArray& baytlar, QObject* sahip)
{
    auto* film = new QMovie(sahip);
    auto* tampon = new QBuffer(film);
    tampon->setData(baytlar);
    tampon->open(QIODevice::ReadOnly);
    film->setDevice(tampon);
    film->setCacheMode(QMovie::CacheAll);
    if (!film->isValid() || !film->jumpToFrame(0) || film->currentImage().isNull()) {
        delete film;
        return nullptr;
    }
    return film;
}

void filmiDegistir(QLabel* yer, QMovie* film)
{
    QMovie* eski = yer->movie();
    if (film) {
        yer->setMovie(film);
        film->start();
    } else {
        yer->clear();
    }
    if (eski && eski != film && eski->parent() == yer) eski->deleteLater();
}

struct BannerSonucu {
    bool alindi = false;  // the call answered
    std::int64_t boy = 0;
    std::optional<QByteArray> baytlar;  // complete content only
};

// The common frame of the three banners: errors after the connection opened are swallowed,
// the banner then stays as it was.
BannerSonucu bannerGetir(TForm1& form, TStream* (TServerMethods1Client::*yontem)(std::int64_t&))
{
    BannerSonucu sonuc;
    try {
        CagriB(form.bagc, 1, [&](TServerMethods1Client& proxy) {
            TStream* akis = (proxy.*yontem)(sonuc.boy);
            sonuc.baytlar = AkisOku(akis, sonuc.boy);
            sonuc.alindi = true;
        });
    } catch (...) {
        return {};
    }
    return sonuc;
}

// The text goes into the search box exactly as the dealer wrote it (not cleaned as typed
// text is), then the search runs as "Ara" runs it; nothing while a search is under way.
void varsayilanStokAra(TForm1& form, const QString& metin)
{
    if (!form.araedit->isEnabled()) return;
    form.araedit->setText(metin);
    SpeedButton2Click(form);
}

void hedefUygula(TForm1& form, const QString& arama, const StokAramaIslevi& stokAra)
{
    if (arama == QString::fromUtf8(kKampanyaHedefi)) {
        form.sPageControl1->setCurrentWidget(form.skampanyali);
    } else if (arama == QString::fromUtf8(kYeniHedefi)) {
        form.sPageControl1->setCurrentWidget(form.syeniler);
    } else {
        (stokAra ? stokAra : StokAramaIslevi(varsayilanStokAra))(form, arama);
    }
}

} // namespace

// --- Helpers -----------------------------------------------------------------------------

QByteArray HexResimCoz(std::string_view metin)
{
    QByteArray baytlar;
    baytlar.reserve(qsizetype((metin.size() + 1) / 2));
    std::size_t i = 0;
    for (; i + 1 < metin.size(); i += 2) {
        const int yuksek = hexRakam(metin[i]);
        const int dusuk = hexRakam(metin[i + 1]);
        if (yuksek < 0 || dusuk < 0) hexHatasi(metin.substr(i, 2));
        baytlar.append(char(yuksek * 16 + dusuk));
    }
    if (i < metin.size()) {
        const int tek = hexRakam(metin[i]);
        if (tek < 0) hexHatasi(metin.substr(i, 1));
        baytlar.append(char(tek));
    }
    return baytlar;
}

QString BalonSayiMetni(double deger)
{
    return data::FloatToString(deger);
}

QString BalonTamSayiMetni(long long deger)
{
    return QString::number(deger);
}

QString KayanYaziHtml(const QString& metin)
{
    if (metin.trimmed().isEmpty()) return {};
    qsizetype bas = 0;
    while (bas < metin.size() && bosluk(metin[bas])) ++bas;
    qsizetype son = metin.size();
    while (son > bas && bosluk(metin[son - 1])) --son;
    const QString nbsp = QStringLiteral("&nbsp;");
    return nbsp.repeated(bas) + metin.mid(bas, son - bas) + nbsp.repeated(metin.size() - son);
}

protocol::Table DuyuruTablosu()
{
    using protocol::Column;
    using protocol::FieldType;
    return protocol::Table({Column{"RESIM", FieldType::Blob}, Column{"BASLIK", FieldType::WideString},
                            Column{"ARAMA", FieldType::WideString}});
}

std::exception_ptr DuyurulariDoldur(const TAcilisEkranlariki& liste, protocol::Table& tablo)
{
    std::exception_ptr ilkHata;
    tablo.reserve(tablo.rowCount() + liste.FEkranlar.size());
    for (const TAcilisEkran& ekran : liste.FEkranlar) {
        const std::size_t satir = tablo.appendRow();
        if (!ekran.FResim.empty()) {
            try {
                const QByteArray baytlar = HexResimCoz(ekran.FResim);
                tablo.setText(satir, 0, std::string_view(baytlar.constData(), std::size_t(baytlar.size())));
            } catch (const EResimHatasi&) {
                if (!ilkHata) ilkHata = std::current_exception();
            }
        }
        tablo.setText(satir, 1, ekran.FBaslik);
        tablo.setText(satir, 2, ekran.FArama);
    }
    return ilkHata;
}

// --- Loads -------------------------------------------------------------------------------

void KayanYaziGetir(TForm1& form)
{
    QString metin;
    if (!CagriB(form.bagc, 1, [&](TServerMethods1Client& proxy) { metin = proxy.KayanYaziGetir(); })) return;
    AnaThreaddeCalistir([&form, html = KayanYaziHtml(metin)] {
        form.kayanyazi->temizle();
        if (!html.isEmpty()) form.kayanyazi->setHtml(html);
    });
}

void UstBannerUygula(TForm1& form, const QByteArray& baytlar)
{
    if (QMovie* film = filmYap(baytlar, form.RxGIFAnimator1)) filmiDegistir(form.RxGIFAnimator1, film);
}

void UstSeritUygula(TForm1& form, const QByteArray* baytlar)
{
    if (!baytlar) {
        filmiDegistir(form.RxGIFAnimator2, nullptr);
        form.RxGIFAnimator2->setFixedHeight(0);
        return;
    }
    QMovie* film = filmYap(*baytlar, form.RxGIFAnimator2);
    if (!film) return;
    const int yukseklik = film->currentImage().height();
    filmiDegistir(form.RxGIFAnimator2, film);
    form.RxGIFAnimator2->setFixedHeight(yukseklik);
}

void AltBannerUygula(TForm1& form, const QByteArray* baytlar)
{
    constexpr int kYaziYuksekligi = 40;
    if (!baytlar) {
        // Only the scrolling text stays.
        form.RealTimeMarquee1->temizle();
        form.RealTimeMarquee1->hide();
        form.Panel5->setFixedHeight(kYaziYuksekligi);
        return;
    }
    if (baytlar->size() < 11) return;
    QImage resim;
    if (!resim.loadFromData(*baytlar)) return;
    const QPixmap bitmap = QPixmap::fromImage(resim);
    form.Image3->setPixmap(bitmap);
    // The marquee draws its own copy of what Image3 holds.
    form.RealTimeMarquee1->setFixedHeight(bitmap.height());
    form.RealTimeMarquee1->setResim(form.Image3->pixmap());
    form.RealTimeMarquee1->show();
    form.Panel5->setFixedHeight(bitmap.height() + kYaziYuksekligi);
}

void BannerREsimAl(TForm1& form)
{
    const BannerSonucu sonuc = bannerGetir(form, &TServerMethods1Client::BannerResimVer);
    if (!sonuc.alindi || sonuc.boy == 0 || !sonuc.baytlar) return;
    AnaThreaddeCalistir([&form, &sonuc] { UstBannerUygula(form, *sonuc.baytlar); });
}

void BannerREsimAlUst(TForm1& form)
{
    const BannerSonucu sonuc = bannerGetir(form, &TServerMethods1Client::BannerResimVer2);
    if (!sonuc.alindi) return;
    if (sonuc.boy == 0) {
        AnaThreaddeCalistir([&form] { UstSeritUygula(form, nullptr); });
    } else if (sonuc.baytlar) {
        AnaThreaddeCalistir([&form, &sonuc] { UstSeritUygula(form, &*sonuc.baytlar); });
    }
}

void BannerREsimAlAlt(TForm1& form)
{
    const BannerSonucu sonuc = bannerGetir(form, &TServerMethods1Client::BannerResimVer3);
    if (!sonuc.alindi) return;
    if (sonuc.boy == 0) {
        AnaThreaddeCalistir([&form] { AltBannerUygula(form, nullptr); });
    } else if (sonuc.baytlar) {
        AnaThreaddeCalistir([&form, &sonuc] { AltBannerUygula(form, &*sonuc.baytlar); });
    }
}

void AcilisReklamAdetAl(TForm1& form)
{
    // The count lives on the main thread: a push refresh there may read it at any time.
    AnaThreaddeCalistir([&form] { form._acilisadet = 0; });
    std::optional<int> adet;
    try {
        if (!CagriB(form.bagc, 1, [&](TServerMethods1Client& proxy) { adet = proxy.AcilisReklamAdet(); })) return;
    } catch (...) {
        return;  // the count stays 0 and the badge as it was
    }
    if (!adet) return;
    AnaThreaddeCalistir([&form, n = *adet] {
        form._acilisadet = n;
        sekmeBasligi(form, form.sTabSheetduyuru, RozetliBaslik(n, QStringLiteral("Duyurular")));
    });
}

void BalonGetir(TForm1& form)
{
    auto kopya = Kopya(form.sbilgi);
    CagriB(form.bagc, 1, [&](TServerMethods1Client& proxy) {
        const protocol::Table& tablo = proxy.BalonGetir(std::move(kopya));
        if (tablo.rowCount() > 0 && tablo.columnCount() < 5)
            throw std::runtime_error("Sayaç tablosu eksik sütunlarla geldi.");
        for (std::size_t satir = 0; satir < tablo.rowCount(); ++satir) {
            const QString sepet = BalonSayiMetni(sayiOku(tablo, satir, 0));
            const QString yeni = BalonTamSayiMetni((long long)sayiOku(tablo, satir, 1));
            const QString kampanya = BalonTamSayiMetni((long long)sayiOku(tablo, satir, 2));
            const QString bakiye = BalonSayiMetni(sayiOku(tablo, satir, 4));
            // BalonYaz: each row applied before the next one is read.
            AnaThreaddeCalistir([&] {
                sekmeBasligi(form, form.ssepet, sepet + QStringLiteral("=Sepet"));
                sekmeBasligi(form, form.syeniler, yeni + QStringLiteral("=Yeni Stoklar"));
                sekmeBasligi(form, form.skampanyali, kampanya + QStringLiteral("=Kampanyalı"));
                sekmeBasligi(form, form.sTabbakiyeler, bakiye + QStringLiteral("=Bakiyeler"));
            });
        }
    });
}

void AcilisReklamlariGoster(TForm1& form)
{
    if (form._acilisgoruldu || form._acilisadet <= 0) return;
    // A push refresh that arrives while the window is open must not stack a second one.
    for (auto* acik : form.findChildren<Tacilisreklam*>())
        if (acik->isVisible()) return;
    auto* pencere = new Tacilisreklam(&form);
    pencere->Ac(form.bagc, form.sbilgi);
    const int sonuc = pencere->exec();
    const QString arama = pencere->arama;
    delete pencere;
    if (sonuc != mrOk) return;
    TTanitim* tanitim = Tanitim(form);
    hedefUygula(form, arama, tanitim ? tanitim->StokAra : StokAramaIslevi());
}

// --- TTanitim ----------------------------------------------------------------------------

TTanitim::TTanitim(TForm1& form) : QObject(&form), StokAra(varsayilanStokAra), form_(form)
{
    setObjectName(QStringLiteral("Tanitim"));

    const protocol::Table tanim = DuyuruTablosu();
    for (const protocol::Column& c : tanim.columns())
        duyurular_.AddFieldDef(QString::fromStdString(c.name), c.type);
    duyurular_.CreateDataSet();

    grid::DurnakGrid* g = form.cxGridduyuru;
    g->setColumns({
        grid::kindColumn(QStringLiteral("cxGridduyuruBandedDuyuruduyuru"), QString(), QStringLiteral("RESIM"), 1,
                         grid::CellKind::Picture),
        grid::textColumn(QStringLiteral("cxGridduyuruBandedDuyurubaslik"), QString(), QStringLiteral("BASLIK"), 0,
                         grid::Visibility::Never),
        grid::textColumn(QStringLiteral("cxGridduyuruBandedDuyuruarama"), QString(), QStringLiteral("ARAMA"), 0,
                         grid::Visibility::Never),
    });
    g->setHeaderVisible(false);
    g->setIndicatorVisible(false);
    g->setFooterVisible(false);
    g->setFilterButtons(false);
    g->setIncrementalSearch(false);
    g->setSortingEnabled(false);
    g->setDataRowHeight(405);
    g->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    g->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QFont yazi(QStringLiteral("DejaVu Sans"));
    yazi.setPixelSize(11);
    g->setFont(yazi);
    g->setDataSet(&duyurular_);
    g->setColumnWidth(g->columnIndex(QStringLiteral("RESIM")), 605);
    connect(g, &QAbstractItemView::doubleClicked, this, [this] { cxGridduyuruBandedDuyuruDblClick(); });

    connect(&form, &TForm1::sekmeGosterildi, this, [this](QWidget* sekme) {
        if (sekme == form_.sTabSheetduyuru) sTabSheetduyuruShow();
    });

    // The header banner's place: 409 pixels wide, the picture stretched over it.
    form.RxGIFAnimator1->setFixedWidth(409);
}

void TTanitim::sTabSheetduyuruShow()
{
    struct Yuk {
        bool cagrildi = false;
        protocol::Table tablo = DuyuruTablosu();
    };
    auto yuk = std::make_shared<Yuk>();
    grid::DurnakGrid* g = form_.cxGridduyuru;
    TForm1::SekmeYukleme y;
    y.animasyon = form_.gifduyuru;
    y.kontrol = g;
    y.ayir = [g] { g->beginUpdate(); };
    y.yukle = [yuk, &bagc = form_.bagc]() -> bool {
        std::exception_ptr resimHatasi;
        const bool acildi = CagriB(bagc, 0, [&](TServerMethods1Client& proxy) {
            const TAcilisEkranlariki* liste = proxy.AcilisEkranlarVer2();
            yuk->cagrildi = true;
            if (liste) resimHatasi = DuyurulariDoldur(*liste, yuk->tablo);
        });
        if (resimHatasi) std::rethrow_exception(resimHatasi);
        return !acildi;
    };
    y.bagla = [this, g, yuk] {
        struct Bitir {
            grid::DurnakGrid* g;
            ~Bitir() { g->endUpdate(); }
        } bitir{g};
        if (yuk->cagrildi) duyurular_.SetData(std::move(yuk->tablo));
    };
    QPointer<TTanitim> ben(this);
    y.bitir = [ben](bool hata) {
        if (ben) emit ben->duyurularYuklendi(hata);
    };
    form_.GosterYukle(QStringLiteral("duyuru"), std::move(y));
}

void TTanitim::cxGridduyuruBandedDuyuruDblClick()
{
    grid::DurnakGrid* g = form_.cxGridduyuru;
    if (!g->isEnabled() || g->focusedRow() < 0) return;
    const QString arama = g->focusedValue(QStringLiteral("ARAMA")).toString();
    if (arama.trimmed().isEmpty()) return;
    HedefUygula(arama);
}

void TTanitim::HedefUygula(const QString& arama)
{
    hedefUygula(form_, arama, StokAra);
}

// --- Wiring ------------------------------------------------------------------------------

void TanitimBagla(TForm1Kancalari& kancalar)
{
    kancalar.kayanYaziAl = KayanYaziGetir;
    kancalar.bannerResimAl = BannerREsimAl;
    kancalar.bannerResimAlUst = BannerREsimAlUst;
    kancalar.bannerResimAlAlt = BannerREsimAlAlt;
    kancalar.acilisReklamAdetAl = AcilisReklamAdetAl;
    kancalar.balonYaz = BalonGetir;
    kancalar.acilisReklamlariGoster = AcilisReklamlariGoster;
}

TTanitim* TanitimBagla(TForm1& form)
{
    if (TTanitim* var = Tanitim(form)) return var;
    return new TTanitim(form);
}

TTanitim* Tanitim(TForm1& form)
{
    return form.findChild<TTanitim*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace durnak::client
