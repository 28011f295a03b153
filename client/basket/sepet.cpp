#include "basket/sepet.hpp"

#include <exception>
#include <memory>
#include <utility>

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "app/sekmeler.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "basket/onaysip.hpp"
#include "basket/radiogrup.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/excel.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using data::DoluMu;
using data::FormatFloat;
using data::kParaFormati;
using data::TClientDataSet;
using grid::CellKind;
using grid::GridColumn;
using grid::Visibility;

namespace {

// Screens at least this wide give the basket grid proportional column widths.
constexpr int kGenisEkran = 1153;

// A handler bound to a signal: errors go to the default error display instead of the
// event loop.
template <class F>
auto guvenli(F islem)
{
    return [islem = std::move(islem)]() mutable {
        try {
            islem();
        } catch (...) {
            HataGoster(std::current_exception());
        }
    };
}

void uyar(const char* metin)
{
    MesajGoster(QString::fromUtf8(metin), mtWarning, {mbOK}, mbOK);
}

// The 52 columns of the basket view, in the designed order.
grid::GridColumns sepetKolonlari()
{
    auto ad = [](const char* alan) { return QStringLiteral("cxGridDBTableView1") + QString::fromLatin1(alan); };
    auto yazi = [&](const char* alan, const QString& baslik, int agirlik, Visibility g = Visibility::Shown) {
        return grid::textColumn(ad(alan), baslik, QString::fromLatin1(alan), agirlik, g);
    };
    auto gizli = [&](const char* alan, const QString& baslik = {}) {
        return yazi(alan, baslik, 1, Visibility::Offered);
    };
    auto hic = [&](const char* alan, const QString& baslik = {}) { return yazi(alan, baslik, 1, Visibility::Never); };

    grid::GridColumns k;
    k.push_back(grid::kindColumn(ad("SEC"), QStringLiteral("Seç"), QStringLiteral("SEC"), 1, CellKind::Check,
                                 Visibility::Pinned));
    k.push_back(yazi("VERILISTARIHI", QStringLiteral("Sipariş Tarihi"), 1));
    k.push_back(yazi("FINISHKOD", QStringLiteral("Kod"), 2));
    k.push_back(yazi("STOKADI", QStringLiteral("Stok Açıklama"), 3));
    k.push_back(yazi("MIKTAR", QStringLiteral("Miktar"), 1));
    k.push_back(yazi("BIRIMFIYAT", QStringLiteral("Birim Fiyat"), 1));
    k.push_back(yazi("TUTAR", QStringLiteral("Tutar"), 1));
    k.push_back(
        grid::centredColumn(ad("INDIRIMYAZI"), QStringLiteral("İndirim Oran"), QStringLiteral("INDIRIMYAZI"), 2));
    k.push_back(yazi("NETBIRIMFIYAT", QStringLiteral("Net Fiyat"), 1));
    k.push_back(yazi("NETTUTAR", QStringLiteral("Net Tutar"), 1));
    k.push_back(yazi("VEREN", QStringLiteral("Veren"), 1));
    k.push_back(grid::kindColumn(ad("DURUM"), QStringLiteral("Durum"), QStringLiteral("DURUM"), 1, CellKind::Durum));

    k.push_back(gizli("SIPARISNO", QStringLiteral("Sipariş No")));
    k.push_back(gizli("TARIH", QStringLiteral("Tarih")));
    k.push_back(gizli("BARKOD", QStringLiteral("Barkod")));
    k.push_back(gizli("OEMNO", QStringLiteral("OEMNo")));
    k.push_back(gizli("KDV"));
    k.push_back(gizli("VERGITUTARI", QStringLiteral("Vergi Tutarı")));
    k.push_back(gizli("KUR", QStringLiteral("Kur")));
    k.push_back(gizli("SAAT", QStringLiteral("Saat")));
    k.push_back(gizli("ACIKLAMA", QStringLiteral("Açıklama")));
    for (const char* alan : {"OEM1", "OEM2", "OEM3", "OEM4", "DIGERADI", "DPKOD"}) k.push_back(gizli(alan));
    k.push_back(gizli("MARKA", QStringLiteral("Marka")));
    k.push_back(gizli("MODEL", QStringLiteral("Model")));
    k.push_back(gizli("ANAGRUP", QStringLiteral("Ana Grup")));
    k.push_back(gizli("OZELKOD", QStringLiteral("Özel Kod")));
    k.push_back(gizli("PKOD"));
    k.push_back(gizli("INDIRIMORANI4"));

    for (const char* alan : {"SIRANO", "CARINO", "AKTAR", "STOKNO"}) k.push_back(hic(alan));
    k.push_back(hic("INDIRIMORANI1", QStringLiteral("İndirim Oranı %")));
    k.push_back(hic("INDIRIMORANI2"));
    k.push_back(hic("INDIRIMORANI3"));
    k.push_back(hic("INDIRIMTUTAR", QStringLiteral("İndirim Tutar")));
    for (const char* alan : {"KURTL", "VERENIDNO", "TESLIMID", "KARGOID", "IDNO", "VERENSIRANO"})
        k.push_back(hic(alan));
    k.push_back(hic("CARIKOD", QStringLiteral("Cari Kod")));
    k.push_back(hic("CARIADI", QStringLiteral("Cari Adı")));
    k.push_back(hic("STOK_STOKNO"));
    k.push_back(hic("URETICIKODU"));
    k.push_back(hic("KALAN", QStringLiteral("Kalan")));
    return k;
}

Visibility gorunurluk(const KolonAyarlari::Ayar& a)
{
    if (a.gorunur) return a.secicide ? Visibility::Shown : Visibility::Pinned;
    return a.secicide ? Visibility::Offered : Visibility::Never;
}

QLabel* etiket(const QString& metin, const char* ad, QWidget* ebeveyn, bool kalin = false)
{
    auto* l = new QLabel(metin, ebeveyn);
    l->setObjectName(QString::fromLatin1(ad));
    l->setTextFormat(Qt::PlainText);
    if (kalin) {
        QFont yazi = l->font();
        yazi.setBold(true);
        l->setFont(yazi);
    }
    return l;
}

int sutunDegeri(const TClientDataSet& ds, int satir, const char* alan)
{
    const int sutun = ds.FieldIndex(QString::fromLatin1(alan));
    return sutun < 0 ? 0 : ds.value(satir, sutun).toInt();
}

QString sutunYazisi(const TClientDataSet& ds, int satir, const char* alan)
{
    const int sutun = ds.FieldIndex(QString::fromLatin1(alan));
    return sutun < 0 ? QString() : ds.value(satir, sutun).toString();
}

} // namespace

TSepet::TSepet(TForm1& form) : QObject(&form), f_(form)
{
    setObjectName(QStringLiteral("Sepet"));
    kontrolleriKur();
    izgarayiKur();
    baglantilariKur();
}

void TSepet::kontrolleriKur()
{
    QWidget* panel4 = f_.Panel4;
    auto* alt = qobject_cast<QHBoxLayout*>(panel4->layout());

    teslimbox = new TRadioGroup(QStringLiteral("Teslim Durumu"), panel4);
    teslimbox->setObjectName(QStringLiteral("teslimbox"));
    boxkargo = new TRadioGroup(QStringLiteral("Kargo Türleri"), panel4);
    boxkargo->setObjectName(QStringLiteral("boxkargo"));

    GroupBox1 = new QGroupBox(QStringLiteral("Kargo"), panel4);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* kargoDuzeni = new QVBoxLayout(GroupBox1);
    kargocombo = new QComboBox(GroupBox1);
    kargocombo->setObjectName(QStringLiteral("kargocombo"));
    kargocombo->setEditable(false);
    kargocombo->setMinimumWidth(200);
    uyarikargo = new QLabel(GroupBox1);
    uyarikargo->setObjectName(QStringLiteral("uyarikargo"));
    uyarikargo->setTextFormat(Qt::PlainText);
    uyarikargo->setWordWrap(true);
    uyarikargo->setFixedSize(220, 60);
    uyarikargo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    kargoDuzeni->addWidget(kargocombo);
    kargoDuzeni->addWidget(uyarikargo);
    kargoDuzeni->addStretch(1);

    GroupBox2 = new QGroupBox(QStringLiteral("Mesaj"), panel4);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* mesajDuzeni = new QHBoxLayout(GroupBox2);
    aciklamagir = new QPlainTextEdit(GroupBox2);
    aciklamagir->setObjectName(QStringLiteral("aciklamagir"));
    aciklamagir->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #F6F9FB; }"));
    QFont notYazisi(QStringLiteral("DejaVu Sans"));
    notYazisi.setPixelSize(11);
    notYazisi.setBold(true);
    aciklamagir->setFont(notYazisi);
    aciklamagir->setTabChangesFocus(true);
    // As tall as the choices beside it, not taller.
    aciklamagir->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    aciklamagir->setMinimumHeight(60);
    mesajDuzeni->addWidget(aciklamagir, 1);

    // The totals sit in the right part of the "Mesaj" group.
    QWidget* panel6 = f_.Panel6;
    if (alt) alt->removeWidget(panel6);
    mesajDuzeni->addWidget(panel6);
    auto* toplamlar = new QGridLayout(panel6);
    toplamlar->setContentsMargins(4, 0, 4, 0);
    toplamlar->setVerticalSpacing(2);
    auto satir = [&](int sira, QLabel*& baslik, const char* baslikAdi, const QString& metin, QLabel*& deger,
                     const char* degerAdi, bool kalin) {
        baslik = etiket(metin, baslikAdi, panel6, kalin);
        baslik->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        deger = etiket(FormatFloat(kParaFormati, 0), degerAdi, panel6, kalin);
        deger->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        deger->setMinimumWidth(110);
        toplamlar->addWidget(baslik, sira, 0);
        toplamlar->addWidget(deger, sira, 1);
    };
    satir(0, Label2, "Label2", QStringLiteral("Toplam:"), aratoplaml, "aratoplaml", false);
    satir(1, Label4, "Label4", QStringLiteral("İndirim Toplam:"), indiriml, "indiriml", false);
    satir(2, Label8, "Label8", QStringLiteral("Ara Toplam:"), nettutarl, "nettutarl", false);
    satir(3, Label6, "Label6", QStringLiteral("Vergi:"), vergil, "vergil", false);
    satir(4, Label7, "Label7", QStringLiteral("Genel Toplam:"), geneltoplaml, "geneltoplaml", true);
    toplamlar->setRowStretch(5, 1);

    // The strip keeps its designed height; the grid takes the rest of the tab.
    panel4->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    if (alt) {
        alt->insertWidget(0, teslimbox);
        alt->insertWidget(1, boxkargo);
        alt->insertWidget(2, GroupBox1);
        alt->insertWidget(3, GroupBox2, 1);
    }
    SepetToplamHesapla();
}

void TSepet::izgarayiKur()
{
    grid::DurnakGrid* g = f_.cxGrid2;
    g->setColumns(sepetKolonlari());
    g->setGridStyle(grid::GridStyle::evenWhite());
    g->setFocusMode(grid::FocusMode::Cell);
    g->setDataRowHeight(60);
    g->setHeaderHeight(40);
    g->setIncrementalSearch(true);
    g->setFilterButtons(true);
    g->setFooterVisible(true);
    g->setFooterSummaries({{QStringLiteral("VERILISTARIHI"), grid::SummaryKind::Count, {}},
                           {QStringLiteral("MIKTAR"), grid::SummaryKind::Sum, {}},
                           {QStringLiteral("NETTUTAR"), grid::SummaryKind::Sum, {}}});
    g->setDataSet(&f_.sepet);

    // The user type's column decisions, now and when they change.
    KolonAyarlari* ayarlar = f_.cxGridDBTableView1Kolonlari;
    const auto hepsi = ayarlar->Hepsi();
    for (auto it = hepsi.begin(); it != hepsi.end(); ++it)
        if (g->columnIndex(it.key()) >= 0) g->setColumnVisibility(it.key(), gorunurluk(it.value()));
    connect(ayarlar, &KolonAyarlari::degisti, g, [g](const QString& alan, bool gorunur, bool secicide) {
        if (g->columnIndex(alan) >= 0) g->setColumnVisibility(alan, gorunurluk({gorunur, secicide}));
    });
}

void TSepet::baglantilariKur()
{
    connect(f_.cxGrid2, &QAbstractItemView::doubleClicked, this, guvenli([this] { SatirDegistir(); }));
    connect(f_.SatirDegistir1, &QAction::triggered, this, guvenli([this] { SatirDegistir(); }));
    connect(f_.SatirSil1, &QAction::triggered, this, guvenli([this] { SatirSil(); }));
    connect(f_.HepsiniSil1, &QAction::triggered, this, guvenli([this] { HepsiniSil(); }));
    connect(f_.Button4, &QPushButton::clicked, this, guvenli([this] { HepsiniSec(1); }));
    connect(f_.Button5, &QPushButton::clicked, this, guvenli([this] { HepsiniSec(0); }));
    connect(f_.Button1, &QPushButton::clicked, this, guvenli([this] { Button1Click(); }));
    connect(f_.Button2, &QPushButton::clicked, this, guvenli([this] { Button2Click(); }));
    connect(boxkargo, &TRadioGroup::Click, this, guvenli([this] { boxkargoClick(); }));
    connect(kargocombo, &QComboBox::currentIndexChanged, this, guvenli([this] { kargocomboChange(); }));
    connect(&f_, &TForm1::sekmeGosterildi, this, [this](QWidget* sekme) {
        if (sekme == f_.ssepet) guvenli([this] { ssepetShow(); })();
    });

    // Adding from the lists.
    connect(f_.cxGrid1, &QAbstractItemView::doubleClicked, this, guvenli([this] { StokListesindenEkle(); }));
    connect(f_.SepeteEkle1, &QAction::triggered, this, guvenli([this] { StokListesindenEkle(); }));
    connect(f_.cxGrid6, &QAbstractItemView::doubleClicked, this, guvenli([this] { YenilerdenEkle(); }));
    connect(f_.cxkampanyali, &QAbstractItemView::doubleClicked, this, guvenli([this] { KampanyalilardanEkle(); }));

    // "Gönder" is the default button of the basket tab: Enter in a control that does not use
    // it reaches the page and presses it.
    izgara_ = f_.cxGrid2;
    sayfa_ = f_.ssepet;
    gonder_ = f_.Button1;
    f_.ssepet->installEventFilter(this);
    f_.cxGrid2->installEventFilter(this);
}

bool TSepet::eventFilter(QObject* nesne, QEvent* olay)
{
    if (olay->type() == QEvent::Resize && izgara_ && nesne == izgara_) {
        // Proportional widths where the screen is wide enough, else every column fits its
        // content; not while the grid is disabled.
        if (izgara_->isEnabled()) {
            const QScreen* ekran = izgara_->screen();
            if (ekran && ekran->geometry().width() >= kGenisEkran) izgara_->KolonGenislikleri();
            else izgara_->bestFit();
        }
        return false;
    }
    if (olay->type() == QEvent::KeyPress && sayfa_ && nesne == sayfa_ && gonder_) {
        auto* tus = static_cast<QKeyEvent*>(olay);
        if ((tus->key() == Qt::Key_Return || tus->key() == Qt::Key_Enter) && tus->modifiers() == Qt::NoModifier &&
            gonder_->isEnabled()) {
            gonder_->click();
            return true;
        }
    }
    return QObject::eventFilter(nesne, olay);
}

// --- Basket ----------------------------------------------------------------------------------

void TSepet::SepetAl()
{
    const bool yuklendi = CagriB(f_.bagc, 1, [this](TServerMethods1Client& p) {
        const auto& paket = p.SepetVer2(f_.sbilgi.FCARINO);
        data::AssignPacket(paket, f_.sepet);
        data::FloatFormatla(f_.sepet);
    });
    if (!yuklendi) return;
    f_.sPageControl1->setTabText(f_.sPageControl1->indexOf(f_.ssepet),
                                 RozetliBaslik(f_.sepet.RecordCount(), QStringLiteral("Sepet")));
    SepetToplamHesapla();
}

void TSepet::SepetToplamHesapla()
{
    toplamlar_ = client::SepetToplamHesapla(f_.sepet);
    aratoplaml->setText(FormatFloat(kParaFormati, toplamlar_.toplam));
    indiriml->setText(FormatFloat(kParaFormati, toplamlar_.indirim));
    vergil->setText(FormatFloat(kParaFormati, toplamlar_.vergi));
    nettutarl->setText(FormatFloat(kParaFormati, toplamlar_.ara));
    geneltoplaml->setText(FormatFloat(kParaFormati, toplamlar_.genel));
    vergil->setVisible(toplamlar_.vergiGorunur());
    Label6->setVisible(toplamlar_.vergiGorunur());
    indiriml->setVisible(toplamlar_.indirimGorunur());
    Label4->setVisible(toplamlar_.indirimGorunur());
}

bool TSepet::SecimKaydet(int sirano, int secim)
{
    try {
        return CagriA(f_.bagc, [&](TServerMethods1Client& p) { p.SepetSecimGuncelle(sirano, secim); });
    } catch (...) {
        return false;
    }
}

void TSepet::secimYaz(int satir, int secim)
{
    TClientDataSet& ds = f_.sepet;
    ds.MoveTo(satir);
    ds.Edit();
    ds.FieldByName(QStringLiteral("SEC")).SetAsInteger(secim);
    ds.Post();
}

void TSepet::SatirDegistir()
{
    const int satir = f_.cxGrid2->focusedSourceRow();
    if (satir < 0 || !f_.sepet.Active()) return;
    const int sirano = sutunDegeri(f_.sepet, satir, "SIRANO");
    f_.sepet.MoveTo(satir);
    if (f_.cxGrid2->focusedColumnCaption() != QStringLiteral("Seç")) {
        SepetSatirDegistir(sirano);
        return;
    }
    const int eski = sutunDegeri(f_.sepet, satir, "SEC");
    const int yeni = eski == 0 ? 1 : 0;
    secimYaz(satir, yeni);
    // A tick the server did not store is taken back: the order is built from the server's
    // ticks, so the totals must not show a line it will not order.
    if (!SecimKaydet(sirano, yeni)) secimYaz(satir, eski);
    SepetToplamHesapla();
}

void TSepet::HepsiniSec(int secim)
{
    TClientDataSet& ds = f_.sepet;
    if (DoluMu(ds)) {
        for (int satir = 0; satir < ds.RecordCount(); ++satir) {
            const int eski = sutunDegeri(ds, satir, "SEC");
            secimYaz(satir, secim);
            if (!SecimKaydet(sutunDegeri(ds, satir, "SIRANO"), secim)) {
                // One failure is enough: the rest would each wait for the server and repeat
                // the connection message.
                secimYaz(satir, eski);
                break;
            }
        }
        ds.First();
    }
    SepetToplamHesapla();
    if (f_.araedit->isEnabled()) {
        f_.araedit->selectAll();
        f_.araedit->setFocus();
    }
}

void TSepet::SatirSil()
{
    const int satir = f_.cxGrid2->focusedSourceRow();
    if (satir < 0 || !f_.sepet.Active()) return;
    TClientDataSet& ds = f_.sepet;
    const int sirano = sutunDegeri(ds, satir, "SIRANO");
    const QString aciklama = SilmeAciklamasi(sutunYazisi(ds, satir, "BARKOD"), sutunYazisi(ds, satir, "STOKADI"));
    ds.MoveTo(satir);
    if (MesajGoster(QString::fromUtf8(kSatirSilSorusu), mtConfirmation, {mbYes, mbNo}, mbNo) != mrYes) return;
    const bool gitti = CagriA(f_.bagc, [&](TServerMethods1Client& p) {
        p.SepetSatirSil(Kopya(f_.sbilgi), sirano, aciklama);
    });
    if (!gitti) return;
    SepetAl();
    MesajGoster(QString::fromUtf8(kSatirSilindi), mtInformation, {mbOK}, mbOK);
}

void TSepet::HepsiniSil()
{
    if (!DoluMu(f_.sepet)) return;
    if (MesajGoster(QString::fromUtf8(kHepsiniSilSorusu), mtConfirmation, {mbYes, mbNo}, mbNo) != mrYes) return;
    const bool gitti = CagriA(f_.bagc, [&](TServerMethods1Client& p) { p.SepetHepsiniSil(Kopya(f_.sbilgi)); });
    if (!gitti) return;
    MesajGoster(QString::fromUtf8(kSepetSilindi), mtInformation, {mbOK}, mbOK);
    SepetAl();
}

void TSepet::ssepetShow()
{
    CariBakiyeUyariBak();
    SepetAl();
    TeslimKargoAl();
}

void TSepet::CariBakiyeUyariBak()
{
    std::shared_ptr<TBaglanti> klon(f_.bagc.Clone());
    const int carino = f_.sbilgi.FCARINO;
    QPointer<QLabel> etiketi = f_.lbluyarbakiye;
    QPointer<TSepet> ben(this);
    QThread* is = QThread::create([klon, carino, etiketi, ben]() mutable {
        QString metin;
        bool acildi = false;
        try {
            acildi = BaglantiAc(*klon, 0);
            if (acildi) {
                TServerMethods1Client p(*klon);
                metin = p.CariVadeGunGecmismiBul(carino);
            }
        } catch (...) {
            metin.clear();
        }
        klon->Close();
        klon.reset();  // the link dies on the thread that used it
        if (!acildi) return;
        AnaThreadeKuyrukla([etiketi, ben, metin] {
            if (etiketi) etiketi->setText(metin);
            if (ben) emit ben->bakiyeUyarisiYazildi();
        });
    });
    is->setObjectName(QStringLiteral("CariBakiyeUyariBak"));
    connect(is, &QThread::finished, is, &QObject::deleteLater);
    is->start();
}

void TSepet::Button2Click()
{
    if (f_.SaveDialog1->exec() != QDialog::Accepted) return;
    const QStringList secilen = f_.SaveDialog1->selectedFiles();
    if (secilen.isEmpty()) return;
    grid::ExcelKaydet(*f_.cxGrid2, secilen.front());
}

// --- Delivery, cargo, order ------------------------------------------------------------------

void TSepet::TeslimKargoAl()
{
    // Both lists are read before either is touched, so a failure keeps the old entries.
    TClientDataSet teslimler, turler;
    const bool okundu = CagriB(f_.bagc, 1, [&](TServerMethods1Client& p) {
        data::TabloyaKopyala(p.TeslimVer(), teslimler);
        data::TabloyaKopyala(p.KargoVer(), turler);
    });
    if (!okundu) return;
    auto doldur = [](TRadioGroup* grup, const TClientDataSet& ds) {
        grup->Clear();
        for (int satir = 0; satir < ds.RecordCount(); ++satir)
            grup->Add(ds.value(satir, 1).toString(), ds.value(satir, 0).toInt());
    };
    doldur(teslimbox, teslimler);
    teslimbox->SetItemIndex(teslimbox->Count() >= 2 ? 1 : 0);
    doldur(boxkargo, turler);
    boxkargo->SetItemIndex(-1);
}

void TSepet::boxkargoClick()
{
    uyarikargo->clear();
    const int sira = boxkargo->ItemIndex();
    if (sira >= 0) KargolarAl(boxkargo->Id(sira));
}

void TSepet::KargolarAl(int gn)
{
    const bool okundu =
        CagriA(f_.bagc, [&](TServerMethods1Client& p) { data::TabloyaKopyala(p.KargolarVer(gn), f_.kargo); });
    if (!okundu) return;
    // Filling and the preselection are not the user's choice: no warning is shown for them.
    QSignalBlocker sessiz(kargocombo);
    kargocombo->clear();
    kargocombo->addItem(QStringLiteral(" "));
    for (int satir = 0; satir < f_.kargo.RecordCount(); ++satir)
        kargocombo->addItem(sutunYazisi(f_.kargo, satir, "ADI"));
    if (kargocombo->count() > 1) kargocombo->setCurrentIndex(1);
}

void TSepet::kargocomboChange()
{
    QString uyari;
    const QString ad = kargocombo->currentText();
    const TClientDataSet& k = f_.kargo;
    for (int satir = 0; satir < k.RecordCount(); ++satir) {
        if (sutunYazisi(k, satir, "ADI") == ad) {
            uyari = sutunYazisi(k, satir, "UYARI");
            break;
        }
    }
    uyarikargo->setText(uyari);
}

QString TSepet::OnayOzeti() const
{
    SiparisOzeti o;
    o.kullanici = QString::fromStdString(f_.sbilgi.FADI);
    o.cari = QString::fromStdString(f_.sbilgi.FCariAdi);
    o.teslim = teslimbox->Text(teslimbox->ItemIndex());
    o.kargoTuru = boxkargo->Text(boxkargo->ItemIndex());
    o.tutar = geneltoplaml->text();
    o.kargo = kargocombo->currentText();
    o.aciklama = aciklamagir->toPlainText();
    return SiparisOzetiMetni(o);
}

void TSepet::Button1Click()
{
    if (!data::SeciliVarMi(f_.sepet)) return uyar(kGonderilecekParcaYok);
    if (teslimbox->ItemIndex() < 0) return uyar(kTeslimSeciniz);
    if (boxkargo->ItemIndex() < 0) return uyar(kKargoTuruSeciniz);
    if (kargocombo->currentIndex() <= 0) {
        uyar(kKargoSeciniz);
        kargocombo->setFocus();
        return;
    }

    int kargoyeni = 0;
    const QString firma = kargocombo->currentText();
    for (int satir = 0; satir < f_.kargo.RecordCount(); ++satir) {
        if (sutunYazisi(f_.kargo, satir, "ADI") == firma) {
            kargoyeni = sutunDegeri(f_.kargo, satir, "SIRANO");
            break;
        }
    }
    const int teslim = teslimbox->Id(teslimbox->ItemIndex());
    const int kargoTuru = boxkargo->Id(boxkargo->ItemIndex());

    TONAYSIP onay(&f_);
    onay.SetOzet(OnayOzeti());
    if (onay.exec() != QDialog::Accepted) return;

    if (SiparisGonder(kargoyeni, kargoTuru, teslim)) {
        MesajGoster(QString::fromUtf8(kSiparisGonderildi), mtInformation, {mbOK}, mbOK);
        SepetAl();
        aciklamagir->clear();
    } else {
        MesajGoster(QString::fromUtf8(kSiparisHata), mtError, {mbOK}, mbOK);
    }
}

bool TSepet::SiparisGonder(int kargoyeni, int kargoTuru, int teslim)
{
    bool kaydedildi = false;
    const QString not_ = aciklamagir->toPlainText();
    CagriA(f_.bagc, [&](TServerMethods1Client& p) {
        kaydedildi = p.SiparisKaydet(Kopya(f_.sbilgi), f_.sbilgi.FCARINO, teslim, kargoTuru, not_,
                                     f_.sbilgi.FSirano, kargoyeni);
    });
    return kaydedildi;
}

TSepet* SepetBagla(TForm1& form)
{
    return new TSepet(form);
}

} // namespace durnak::client
