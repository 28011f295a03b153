#include "history/kutular.hpp"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/excel.hpp"

namespace durnak::client::gecmis {

using grid::CellKind;
using grid::GridColumn;
using grid::GridColumns;
using grid::Visibility;

namespace {

QLabel* bilgiEtiketi(const char* ad, QWidget* parent)
{
    QLabel* etiket = AdliEtiket(ad, parent);
    etiket->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return etiket;
}

QLabel* degerEtiketi(const char* ad, QWidget* parent)
{
    QLabel* etiket = bilgiEtiketi(ad, parent);
    etiket->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return etiket;
}

QPlainTextEdit* notKutusu(const char* ad, QWidget* parent)
{
    auto* kutu = new QPlainTextEdit(parent);
    kutu->setObjectName(QString::fromLatin1(ad));
    kutu->setReadOnly(true);
    // A few lines are enough (it scrolls); the lines grid above keeps the height.
    kutu->setMaximumHeight(kutu->fontMetrics().lineSpacing() * 5 + 12);
    return kutu;
}

KayitSorusu& kayitSorusu()
{
    static KayitSorusu soru;
    return soru;
}

DosyaAcici& dosyaAcici()
{
    static DosyaAcici acici;
    return acici;
}

} // namespace

// --- TTutarKutusu ------------------------------------------------------------------------

TTutarKutusu::TTutarKutusu(QWidget* parent) : QGroupBox(QStringLiteral("Tutar"), parent)
{
    setObjectName(QStringLiteral("Tutar"));
    auto* duzen = new QFormLayout(this);
    duzen->setLabelAlignment(Qt::AlignRight);
    aratoplaml = degerEtiketi("aratoplaml", this);
    indiriml = degerEtiketi("indiriml", this);
    nettutarl = degerEtiketi("nettutarl", this);
    vergil = degerEtiketi("vergil", this);
    geneltoplaml = degerEtiketi("geneltoplaml", this);
    QFont kalin = geneltoplaml->font();
    kalin.setBold(true);
    geneltoplaml->setFont(kalin);
    auto* genelBaslik = new QLabel(QStringLiteral("Genel Toplam:"), this);
    genelBaslik->setFont(kalin);
    duzen->addRow(QStringLiteral("Toplam:"), aratoplaml);
    duzen->addRow(QStringLiteral("İndirim Toplam:"), indiriml);
    duzen->addRow(QStringLiteral("Ara Toplam:"), nettutarl);
    duzen->addRow(QStringLiteral("Vergi:"), vergil);
    duzen->addRow(genelBaslik, geneltoplaml);
}

void TTutarKutusu::Yaz(const ToplamYazilari& y) { Yaz(y.aratoplam, y.indirim, y.nettutar, y.vergi, y.geneltoplam); }

void TTutarKutusu::Yaz(const QString& aratoplam, const QString& indirim, const QString& nettutar,
                       const QString& vergi, const QString& geneltoplam)
{
    aratoplaml->setText(aratoplam);
    indiriml->setText(indirim);
    nettutarl->setText(nettutar);
    vergil->setText(vergi);
    geneltoplaml->setText(geneltoplam);
}

// --- TSiparisBilgileri -------------------------------------------------------------------

TSiparisBilgileri::TSiparisBilgileri(QWidget* parent) : QObject(parent)
{
    bilgiler = new QGroupBox(QStringLiteral("Sipariş Bilgileri"), parent);
    bilgiler->setObjectName(QStringLiteral("SiparisBilgileri"));
    auto* duzen = new QFormLayout(bilgiler);
    _sipdurun = bilgiEtiketi("_sipdurun", bilgiler);
    _teslimcinsi = bilgiEtiketi("_teslimcinsi", bilgiler);
    _kargocinsi = bilgiEtiketi("_kargocinsi", bilgiler);
    _kargo = bilgiEtiketi("_kargo", bilgiler);
    _veren = bilgiEtiketi("_veren", bilgiler);
    duzen->addRow(QStringLiteral("Sipariş Durumu:"), _sipdurun);
    duzen->addRow(QStringLiteral("Teslim Cinsi:"), _teslimcinsi);
    duzen->addRow(QStringLiteral("Kargo Cinsi:"), _kargocinsi);
    duzen->addRow(QStringLiteral("Kargo:"), _kargo);
    duzen->addRow(QStringLiteral("Veren:"), _veren);

    mesajiniz = new QGroupBox(QStringLiteral("Mesajınız:"), parent);
    (new QVBoxLayout(mesajiniz))->addWidget(_sizin = notKutusu("_sizin", mesajiniz));
    alaninNotu = new QGroupBox(QStringLiteral("Siparişi Alanın Notu:"), parent);
    (new QVBoxLayout(alaninNotu))->addWidget(_bizim = notKutusu("_bizim", alaninNotu));
}

void TSiparisBilgileri::Doldur(const protocol::TSiparisDipAyrinti& dip, bool saticiNotu)
{
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    _sipdurun->setText(q(dip.FDurumu));
    _teslimcinsi->setText(q(dip.FTeslimCinsi));
    _kargocinsi->setText(q(dip.FKargoCinsi));
    _kargo->setText(q(dip.FKargo));
    _veren->setText(q(dip.FVeren));
    _sizin->setPlainText(q(dip.FSizinMesaj));
    _bizim->setPlainText(q(dip.FBizimMesaj));
    const QString not_ = q(dip.FSaticiNotu);
    if (saticiNotu && !not_.trimmed().isEmpty()) {
        _bizim->appendPlainText(QString::fromUtf8(kSaticiNotuAyraci));
        _bizim->appendPlainText(QString::fromUtf8(kSaticiNotuBasligi));
        _bizim->appendPlainText(not_);
    }
}

// --- order-line columns ------------------------------------------------------------------

GridColumns SiparisSatiriKolonlari(SatirPenceresi pencere)
{
    const bool ayrinti = pencere == SatirPenceresi::SiparisAyrinti;
    const bool tum = pencere == SatirPenceresi::TumSiparisler;
    auto k = [](const char* alan, const QString& baslik, int agirlik, Visibility v = Visibility::Shown) {
        const QString a = QString::fromLatin1(alan);
        return grid::textColumn(a, baslik, a, agirlik, v);
    };
    const Visibility gor = Visibility::Shown, sun = Visibility::Offered, asla = Visibility::Never;

    GridColumns c;
    c.push_back(k("VERILISTARIHI", QStringLiteral("Sipariş Tarihi"), 1));
    c.push_back(k("SIRANO", {}, 0, asla));
    c.push_back(k("SIPARISNO", QStringLiteral("Sipariş No"), 0, ayrinti ? sun : asla));
    if (ayrinti) c.push_back(k("CARINO", {}, 0, asla));
    c.push_back(k("TARIH", QStringLiteral("Tarih"), 1, sun));
    c.push_back(k("AKTAR", {}, 0, asla));
    c.push_back(k("STOKNO", {}, 0, asla));
    c.push_back(k("BARKOD", QStringLiteral("Barkod"), 2));
    c.push_back(k("FINISHKOD", QStringLiteral("FinishKod"), 2));
    c.push_back(k("OEMNO", QStringLiteral("OEMNo"), 2));
    c.push_back(k("STOKADI", QStringLiteral("Stok Açıklama"), 3));
    c.push_back(k("MIKTAR", QStringLiteral("Miktar"), 1));
    c.push_back(k("BIRIMFIYAT", QStringLiteral("Birim Fiyat"), 1));
    if (!ayrinti) c.push_back(k("ILKFIYAT", QStringLiteral("İlk Fiyat"), 1, asla));
    c.push_back(k("TUTAR", QStringLiteral("Tutar"), 1));
    if (tum) {
        c.push_back(k("INDIRIMORANI1", QStringLiteral("İn.Oranı%"), 1, gor));
        c.push_back(k("INDIRIMORANI2", {}, 1, asla));
        c.push_back(k("INDIRIMORANI3", {}, 1, asla));
    } else {
        c.push_back(grid::centredColumn(QStringLiteral("INDIRIMYAZI"), QStringLiteral("İn.Oranı%"),
                                        QStringLiteral("INDIRIMYAZI"), 2));
        c.push_back(k("INDIRIMORANI1", QStringLiteral("İn.Oranı%"), 1, sun));
        c.push_back(k("INDIRIMORANI2", {}, 1, sun));
        c.push_back(k("INDIRIMORANI3", {}, 1, sun));
        c.push_back(k("INDIRIMORANI4", {}, 1, sun));
    }
    c.push_back(k("INDIRIMTUTAR", QStringLiteral("İndirim Tutar"), 1, asla));
    c.push_back(k("NETBIRIMFIYAT", QStringLiteral("Net Fiyat"), 1));
    c.push_back(k("KDV", {}, 1));
    c.push_back(k("VERGITUTARI", QStringLiteral("Vergi Tutarı"), 1));
    c.push_back(k("NETTUTAR", QStringLiteral("Net Tutar"), 1));
    c.push_back(k("KUR", QStringLiteral("Kur"), 1, sun));
    c.push_back(k("KURTL", {}, 1, asla));
    c.push_back(k("VERENIDNO", {}, 1, asla));
    c.push_back(k("SAAT", QStringLiteral("Saat"), 1, sun));
    c.push_back(k("TESLIMID", {}, 1, asla));
    c.push_back(k("KARGOID", {}, 1, asla));
    c.push_back(k("ACIKLAMA", QStringLiteral("Açıklama"), 1, sun));
    c.push_back(k("IDNO", {}, 1, asla));
    c.push_back(k("VERENSIRANO", {}, 1, asla));
    c.push_back(k("VEREN", QStringLiteral("Veren"), 1));
    c.push_back(k("CARIKOD", QStringLiteral("Cari Kod"), 1, asla));
    c.push_back(k("CARIADI", QStringLiteral("Cari Adı"), 1, asla));
    static const char* const oemSirasi[2][4] = {{"OEM1", "OEM2", "OEM3", "OEM4"}, {"OEM1", "OEM3", "OEM2", "OEM4"}};
    for (const char* oem : oemSirasi[ayrinti ? 0 : 1]) c.push_back(k(oem, {}, 1, sun));
    c.push_back(k("STOK_STOKNO", {}, 1, asla));
    c.push_back(k("URETICIKODU", {}, 1, asla));
    c.push_back(k("DIGERADI", {}, 1, sun));
    c.push_back(k("DPKOD", {}, 1, sun));
    c.push_back(k("MARKA", QStringLiteral("Marka"), 1, sun));
    c.push_back(k("MODEL", QStringLiteral("Model"), 1, sun));
    c.push_back(k("ANAGRUP", QStringLiteral("Ana Grup"), 1, sun));
    c.push_back(k("OZELKOD", QStringLiteral("Özel Kod"), 1, sun));
    c.push_back(k("PKOD", {}, 1, sun));
    c.push_back(k("TESLIM", {}, 0, asla));
    c.push_back(k("KARGO", {}, 0, asla));
    c.push_back(k("TESLIMEDILEN", QStringLiteral("Teslim Edilen"), 1));
    c.push_back(k("KALAN", QStringLiteral("Kalan Bakiye"), 1));
    if (!ayrinti) {
        // A second column on IDNO, as the list has always carried.
        c.push_back(grid::textColumn(QStringLiteral("IDNO_1"), {}, QStringLiteral("IDNO"), 0, asla));
        c.push_back(k("STOKHAR_NO", {}, 0, asla));
        c.push_back(k("ELDEKI", QStringLiteral("Eldeki"), 1, asla));
        c.push_back(grid::kindColumn(QStringLiteral("DURUM"), QStringLiteral("Durum"), QStringLiteral("DURUM"), 1,
                                     CellKind::Durum));
        c.push_back(k("ALINANSIPARIS", {}, 1, asla));
        c.push_back(k("VERILENSIPARIS", {}, 1, asla));
    }
    return c;
}

grid::DurnakGrid* SiparisSatiriIzgarasi(QWidget* sahip, const char* ad, SatirPenceresi pencere,
                                        data::TClientDataSet* veri)
{
    using grid::SummaryKind;
    auto* izgara = new grid::DurnakGrid(sahip);
    izgara->setObjectName(QString::fromLatin1(ad));
    izgara->setColumns(SiparisSatiriKolonlari(pencere));
    izgara->setFooterSummaries({{QStringLiteral("VERILISTARIHI"), SummaryKind::Count, {}},
                                {QStringLiteral("MIKTAR"), SummaryKind::Sum, {}},
                                {QStringLiteral("KALAN"), SummaryKind::Sum, {}}});
    izgara->setDataSet(veri);
    return izgara;
}

// --- window pieces -----------------------------------------------------------------------

void TabloyuYukle(const protocol::Table& tablo, data::TClientDataSet& veri, bool formatla)
{
    data::DisableControlsScope kapali(veri);
    data::TabloyaKopyala(tablo, veri);
    if (formatla) data::FloatFormatla(veri);
}

QLabel* AdliEtiket(const char* ad, QWidget* sahip)
{
    auto* etiket = new QLabel(sahip);
    etiket->setObjectName(QString::fromLatin1(ad));
    return etiket;
}

KapatExcel KapatExcelDugmeleri(QWidget* sahip, const std::function<void()>& kapat, const std::function<void()>& excel,
                               const char* kapatAdi, bool otomatikVarsayilan)
{
    KapatExcel d;
    d.kapat = new QPushButton(QStringLiteral("Kapat"), sahip);
    d.kapat->setObjectName(QString::fromLatin1(kapatAdi));
    d.excel = new QPushButton(QStringLiteral("Excel Kaydet"), sahip);
    d.excel->setObjectName(QStringLiteral("Button2"));
    if (!otomatikVarsayilan) {
        d.kapat->setAutoDefault(false);
        d.excel->setAutoDefault(false);
    }
    QObject::connect(d.kapat, &QPushButton::clicked, sahip, [kapat] { kapat(); });
    QObject::connect(d.excel, &QPushButton::clicked, sahip, [excel] { Guvenli(excel); });
    return d;
}

QVBoxLayout* DugmeSutunu(std::initializer_list<QPushButton*> dugmeler)
{
    auto* sutun = new QVBoxLayout;
    for (QPushButton* dugme : dugmeler) sutun->addWidget(dugme);
    sutun->addStretch(1);
    return sutun;
}

QHBoxLayout* SiparisAltSatiri(const TSiparisBilgileri& bilgiler, TTutarKutusu* tutar, QVBoxLayout* dugmeler)
{
    auto* alt = new QHBoxLayout;
    alt->addWidget(bilgiler.bilgiler, 2);
    alt->addWidget(bilgiler.mesajiniz, 2);
    alt->addWidget(bilgiler.alaninNotu, 2);
    alt->addWidget(tutar, 1);
    alt->addLayout(dugmeler);
    return alt;
}

// --- export, opener, guard ---------------------------------------------------------------

KayitSorusu KayitSorusuAyarla(KayitSorusu soru)
{
    KayitSorusu eski = std::move(kayitSorusu());
    kayitSorusu() = std::move(soru);
    return eski;
}

void ExcelKaydetSor(QWidget* sahip, const grid::DurnakGrid& izgara)
{
    QString yol;
    if (kayitSorusu()) {
        yol = kayitSorusu()(sahip);
    } else {
        QFileDialog SaveDialog1(sahip);
        SaveDialog1.setObjectName(QStringLiteral("SaveDialog1"));
        SaveDialog1.setAcceptMode(QFileDialog::AcceptSave);
        SaveDialog1.setNameFilter(QStringLiteral("Excel (*.xls*)"));
        SaveDialog1.setDefaultSuffix(QStringLiteral("xlsx"));
        if (SaveDialog1.exec() == QDialog::Accepted && !SaveDialog1.selectedFiles().isEmpty())
            yol = SaveDialog1.selectedFiles().constFirst();
    }
    if (yol.isEmpty()) return;
    // The worksheet is of the xlsx kind; a name without a spreadsheet extension gets one.
    if (!QFileInfo(yol).suffix().startsWith(QStringLiteral("xls"), Qt::CaseInsensitive)) yol += QStringLiteral(".xlsx");
    grid::ExcelKaydet(izgara, yol);
}

DosyaAcici DosyaAciciAyarla(DosyaAcici acici)
{
    DosyaAcici eski = std::move(dosyaAcici());
    dosyaAcici() = std::move(acici);
    return eski;
}

void DosyaAc(const QString& yol)
{
    if (dosyaAcici()) {
        dosyaAcici()(yol);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(yol));
}

bool Guvenli(const std::function<void()>& islem)
{
    try {
        islem();
        return true;
    } catch (...) {
        HataGoster(std::current_exception());
        return false;
    }
}

void Yerlestir(QWidget* pencere, int sol, int ust)
{
    const QScreen* ekran = pencere->screen() ? pencere->screen() : QGuiApplication::primaryScreen();
    if (!ekran) return;
    const QRect alan = ekran->geometry();
    pencere->setGeometry(alan.left() + sol, alan.top() + ust, alan.width() - 2 * sol, alan.height() - 150);
}

} // namespace durnak::client::gecmis
