#include "console/seccariu.hpp"

#include <exception>

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "app/simgeler.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "console/tarihsecu.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/data/numberformat.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/protocol/oledate.hpp"
#include "server/akis.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

namespace {

using grid::GridColumn;
using grid::Visibility;

// A handler bound to a control: its errors go to the default error display instead of
// unwinding into the event loop.
template <class F>
auto korumali(F islem)
{
    return [islem = std::move(islem)] {
        try {
            islem();
        } catch (...) {
            HataGoster(std::current_exception());
        }
    };
}

double gun(const QDate& tarih)
{
    return protocol::oleDate(tarih.year(), static_cast<unsigned>(tarih.month()), static_cast<unsigned>(tarih.day()));
}

grid::GridColumns cariKolonlari()
{
    // No captions: the headers show the field names.
    grid::GridColumns kolonlar;
    auto ekle = [&](std::initializer_list<const char*> alanlar, Visibility gorunurluk) {
        for (const char* alan : alanlar)
            kolonlar.push_back(grid::textColumn(QString::fromLatin1(alan), QString(), QString::fromLatin1(alan), 1,
                                                gorunurluk));
    };
    ekle({"CARINO"}, Visibility::Offered);
    ekle({"CARIKOD", "CARIADI", "SATICISI", "TLBAKIYE", "DURUM"}, Visibility::Shown);
    ekle({"OZELKOD", "KOD1", "KOD2", "KOD3", "KOD4", "KOD5", "TEL1", "TEL2", "ILCE", "IL", "GSM"},
         Visibility::Offered);
    ekle({"SEPET"}, Visibility::Shown);
    ekle({"YETKILI", "INDIRIM", "VADE", "VADEKONTROLGUN", "VADEKONTROLAY", "VERGIDAIRESI", "VERGINO", "ADRES1",
          "ADRES2", "ANAGRUP", "ALTGRUP", "FAX1", "FAX2", "EMAIL"},
         Visibility::Offered);
    ekle({"ALINDI", "ONAYLANDI", "GORULDU", "HAZIRLANDI", "PARCALIHAZIRLANDI"}, Visibility::Shown);
    return kolonlar;
}

void varsayilanBelgeAc(const QString& yol) { QDesktopServices::openUrl(QUrl::fromLocalFile(yol)); }

} // namespace

Tseccari::Tseccari(QWidget* sahip)
    : QDialog(sahip), ProgramiBitir(&TForm1::SurecBitir), BelgeAc(&varsayilanBelgeAc),
      TarihSor([](Ttarihsec& d) { return d.exec() == QDialog::Accepted; })
{
    setObjectName(QStringLiteral("seccari"));
    setWindowTitle(QStringLiteral("Cari Seçimi"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    // Top panel: picture, the eight buttons, the search box.
    auto* ust = new QWidget(this);
    ust->setObjectName(QStringLiteral("Panel1"));
    auto* ustDuzen = new QHBoxLayout(ust);
    Image2 = new QLabel(ust);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(SimgeAl(Simge::Cari, 40).pixmap(40, 40));
    ustDuzen->addWidget(Image2);

    sBitBtn2 = durumDugmesi("sBitBtn2", QStringLiteral("Tüm Carileri Listeler"), SimgeAl(Simge::Cari));
    sepettus = durumDugmesi("sepettus", QStringLiteral("Sipariş sepetinde \nstok olan carileri listeler."),
                            SimgeAl(Simge::Sepet));
    alinditus = durumDugmesi("alinditus", QStringLiteral("Yeni Alınan \nSiparişleri Listeler"), SimgeAl(Simge::Onceki));
    onaylanditus = durumDugmesi("onaylanditus", QStringLiteral("Onaylanan Siparişler"), SimgeAl(Simge::Ekstre));
    goruldutus = durumDugmesi("goruldutus", QStringLiteral("Görülen Siparişler"), SimgeAl(Simge::Duyuru));
    goruldutus->setText(QStringLiteral("0"));
    parcalihazirlandi =
        durumDugmesi("parcalihazirlandi", QStringLiteral("Eksik Hazırlanan siparişler"), SimgeAl(Simge::Bakiye));
    hazirlanditus = durumDugmesi("hazirlanditus", QStringLiteral("Hazırlanan Siparişler"), SimgeAl(Simge::StokListesi));
    sevktus = durumDugmesi("sevktus", QStringLiteral("Sevk Edilen Siparişler"), SimgeAl(Simge::Kampanya));
    for (QToolButton* d : {sBitBtn2, sepettus, alinditus, onaylanditus, goruldutus, parcalihazirlandi, hazirlanditus,
                           sevktus})
        ustDuzen->addWidget(d);

    NEdit1 = new QLineEdit(ust);
    NEdit1->setObjectName(QStringLiteral("NEdit1"));
    QFont yazi = NEdit1->font();
    yazi.setPixelSize(20);
    NEdit1->setFont(yazi);
    NEdit1->setMinimumWidth(300);
    NEdit1->installEventFilter(this);
    connect(NEdit1, &QLineEdit::textEdited, this, [this](const QString& metin) {
        const QString buyuk = BuyukHarf(metin);
        if (buyuk == metin) return;
        const int imlec = NEdit1->cursorPosition();
        NEdit1->setText(buyuk);
        NEdit1->setCursorPosition(std::min(imlec, int(buyuk.size())));
    });
    ustDuzen->addWidget(NEdit1, 1);

    // The customer list and the card beside it.
    cxGrid1 = new grid::DurnakGrid(this);
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));
    cxGrid1->setColumns(cariKolonlari());
    cxGrid1->setIncrementalSearch(true);
    cxGrid1->setFooterSummaries({{QStringLiteral("CARIKOD"), grid::SummaryKind::Count, {}}});
    cxGrid1->setDataSet(&CARILER);
    cxGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    // Enter on the list picks the focused customer, as "Seç" does.
    cxGrid1->installEventFilter(this);
    connect(cxGrid1, &grid::DurnakGrid::focusedRowChanged, this,
            [this](int satir) { korumali([this, satir] { cxGrid1DBTableView1FocusedRecordChanged(satir); })(); });
    connect(cxGrid1, &QAbstractItemView::doubleClicked, this, korumali([this] { cxGrid1DBTableView1DblClick(); }));
    connect(cxGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& yer) { PopupMenu1->popup(cxGrid1->viewport()->mapToGlobal(yer)); });

    kartiKur();
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addWidget(cxGrid1);
    auto* sag = new QWidget(Splitter1);
    sag->setObjectName(QStringLiteral("Panel3"));
    auto* sagDuzen = new QVBoxLayout(sag);
    sagDuzen->addWidget(GroupBox1);
    sagDuzen->addStretch(1);
    Splitter1->addWidget(sag);
    Splitter1->setStretchFactor(0, 1);

    // Bottom panel.
    auto* alt = new QWidget(this);
    alt->setObjectName(QStringLiteral("Panel2"));
    auto* altDuzen = new QHBoxLayout(alt);
    Button1 = new QPushButton(QStringLiteral("Seç"), alt);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), alt);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    altDuzen->addWidget(Button1);
    altDuzen->addStretch(1);
    altDuzen->addWidget(Button2);
    connect(Button1, &QPushButton::clicked, this, korumali([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, korumali([this] { Button2Click(); }));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto eylem = [this](const char* ad, const QString& baslik, void (Tseccari::*isleyici)()) {
        QAction* a = PopupMenu1->addAction(baslik);
        a->setObjectName(QString::fromLatin1(ad));
        connect(a, &QAction::triggered, this, korumali([this, isleyici] { (this->*isleyici)(); }));
        return a;
    };
    C1 = eylem("C1", QStringLiteral("Cari Özeti Göster"), &Tseccari::C1Click);
    PopupMenu1->addSeparator();
    B1 = eylem("B1", QStringLiteral("Bakiyelerini Göster"), &Tseccari::B1Click);
    PopupMenu1->addSeparator();
    CariAlSatTablosuSatcl1 = eylem("CariAlSatTablosuSatcl1", QStringLiteral("Cari Alış Satış Tablosu (Satıcılı)"),
                                   &Tseccari::CariAlSatTablosuSatcl1Click);
    CariTopluAlacakVadeleri1 = eylem("CariTopluAlacakVadeleri1", QStringLiteral("Cari Toplu Alacak Vadeleri"),
                                     &Tseccari::CariTopluAlacakVadeleri1Click);

    connect(sBitBtn2, &QToolButton::clicked, this, korumali([this] { sBitBtn2Click(); }));
    connect(sepettus, &QToolButton::clicked, this, korumali([this] { sepettusClick(); }));
    connect(alinditus, &QToolButton::clicked, this, korumali([this] { alinditusClick(); }));
    connect(onaylanditus, &QToolButton::clicked, this, korumali([this] { onaylanditusClick(); }));
    connect(goruldutus, &QToolButton::clicked, this, korumali([this] { goruldutusClick(); }));
    connect(parcalihazirlandi, &QToolButton::clicked, this, korumali([this] { parcalihazirlandiClick(); }));
    connect(hazirlanditus, &QToolButton::clicked, this, korumali([this] { hazirlanditusClick(); }));
    connect(sevktus, &QToolButton::clicked, this, korumali([this] { sevktusClick(); }));

    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(ust);
    duzen->addWidget(Splitter1, 1);
    duzen->addWidget(alt);
    resize(1000, 600);
}

Tseccari::~Tseccari()
{
    // The grid observes CARILER, which dies before the child widgets.
    cxGrid1->detach();
}

QToolButton* Tseccari::durumDugmesi(const char* ad, const QString& ipucu, const QIcon& simge)
{
    auto* d = new QToolButton(this);
    d->setObjectName(QString::fromLatin1(ad));
    d->setToolTip(ipucu);
    d->setIcon(simge);
    d->setIconSize(QSize(32, 32));
    d->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    d->setMinimumWidth(64);
    return d;
}

void Tseccari::kartiKur()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Cari Bilgileri"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->hide();
    auto* form = new QFormLayout(GroupBox1);
    auto deger = [this](const char* ad) {
        auto* l = new QLabel(GroupBox1);
        l->setObjectName(QString::fromLatin1(ad));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setWordWrap(true);
        return l;
    };
    auto satir = [&](const QString& baslik, std::initializer_list<QLabel*> etiketler) {
        if (etiketler.size() == 1) {
            form->addRow(baslik, *etiketler.begin());
            return;
        }
        auto* kutu = new QWidget(GroupBox1);
        auto* d = new QVBoxLayout(kutu);
        d->setContentsMargins(0, 0, 0, 0);
        d->setSpacing(0);
        for (QLabel* l : etiketler) d->addWidget(l);
        form->addRow(baslik, kutu);
    };
    carikod = deger("carikod");
    cariadi = deger("cariadi");
    yetkili = deger("yetkili");
    ozelkod = deger("ozelkod");
    anagrup = deger("anagrup");
    altgrup = deger("altgrup");
    adres1 = deger("adres1");
    adres2 = deger("adres2");
    ilce = deger("ilce");
    telefon1 = deger("telefon1");
    telefon2 = deger("telefon2");
    fax1 = deger("fax1");
    fax2 = deger("fax2");
    gsm = deger("gsm");
    vergi = deger("vergi");
    email = deger("email");
    bakiye = deger("bakiye");
    indirim = deger("indirim");
    vade = deger("vade");
    satir(QStringLiteral("CariKod:"), {carikod});
    satir(QStringLiteral("Cari Adı:"), {cariadi});
    satir(QStringLiteral("Yetkili:"), {yetkili});
    satir(QStringLiteral("Özel Kod:"), {ozelkod});
    satir(QStringLiteral("Ana Grup:"), {anagrup});
    satir(QStringLiteral("Alt Grup:"), {altgrup});
    satir(QStringLiteral("Adres:"), {adres1, adres2, ilce});
    satir(QStringLiteral("Telefon:"), {telefon1, telefon2});
    satir(QStringLiteral("Fax:"), {fax1, fax2});
    satir(QStringLiteral("Gsm:"), {gsm});
    satir(QStringLiteral("Vergi D.:"), {vergi});
    satir(QStringLiteral("E-mail:"), {email});
    satir(QStringLiteral("Bakiye:"), {bakiye});
    satir(QStringLiteral("İndirim %:"), {indirim});
    satir(QStringLiteral("Vade (Gün):"), {vade});
}

// --- opening --------------------------------------------------------------------------------

void Tseccari::SepetSayisiYaz()
{
    const int adet = CagriC(*bag, [this](TServerMethods1Client& p) { return p.SepetSayisi(Kopya(*bilgim)); });
    sepettus->setText(adet < 1 ? QString() : QString::number(adet));
}

void Tseccari::TusSonuclari()
{
    TTusSonuclari sonuc;
    CagriC(*bag, [&](TServerMethods1Client& p) {
        const TTusSonuclari* gelen = p.TusSonuclariVer(Kopya(*bilgim));
        // A missing object leaves the counters at 0.
        if (gelen) sonuc.Kopyala(*gelen);
    });
    alinditus->setText(QString::number(sonuc.FAlindi));
    onaylanditus->setText(QString::number(sonuc.FOnaylandi));
    goruldutus->setText(QString::number(sonuc.FGoruldu));
    parcalihazirlandi->setText(QString::number(sonuc.FParcaliHazirlandi));
    hazirlanditus->setText(QString::number(sonuc.FHazirlandi));
    sevktus->setText(QString::number(sonuc.FSevkEdildi));
}

void Tseccari::FormShow()
{
    QScreen* ekran = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!ekran) return;
    const QRect alan = ekran->availableGeometry();
    setGeometry(alan.x() + 50, alan.y() + 50, alan.width() - 100, alan.height() - 100);
}

void Tseccari::showEvent(QShowEvent* olay)
{
    QDialog::showEvent(olay);
    FormShow();
    NEdit1->setFocus();
}

// --- search and lists -----------------------------------------------------------------------

QString Tseccari::BuyukHarf(const QString& metin) { return QLocale(QLocale::Turkish, QLocale::Turkey).toUpper(metin); }

QString Tseccari::AramaMetni(const QString& yazilan)
{
    QString metin = yazilan;
    metin.replace(QChar(0x0131), QLatin1Char('i'));
    return metin.trimmed();
}

bool Tseccari::eventFilter(QObject* nesne, QEvent* olay)
{
    if (nesne == cxGrid1 && olay->type() == QEvent::KeyPress) {
        const int tus = static_cast<QKeyEvent*>(olay)->key();
        if (tus == Qt::Key_Return || tus == Qt::Key_Enter) {
            korumali([this] { Button1Click(); })();
            return true;
        }
    }
    if (nesne == NEdit1 && olay->type() == QEvent::KeyPress) {
        const int tus = static_cast<QKeyEvent*>(olay)->key();
        if (tus == Qt::Key_Return || tus == Qt::Key_Enter) {
            korumali([this, tus] { NEdit1KeyDown(tus); })();
            // Consumed, so Enter does not reach the dialog's default button.
            return true;
        }
    }
    return QDialog::eventFilter(nesne, olay);
}

void Tseccari::NEdit1KeyDown(int tus)
{
    if (tus != Qt::Key_Return && tus != Qt::Key_Enter) return;
    Ara();
}

void Tseccari::Ara()
{
    const QString aranan = AramaMetni(NEdit1->text());
    listeDoldur([this, aranan](TServerMethods1Client& p) -> const protocol::Table& {
        return p.CariAra(Kopya(*bilgim), aranan);
    });
    NEdit1->selectAll();
    NEdit1->setFocus();
}

void Tseccari::sBitBtn2Click()
{
    NEdit1->clear();
    Ara();
}

void Tseccari::sepettusClick()
{
    DurumListele(Sepette);
    NEdit1->selectAll();
    NEdit1->setFocus();
}

void Tseccari::DurumListele(int n)
{
    listeDoldur([this, n](TServerMethods1Client& p) -> const protocol::Table& {
        return p.CariSepetVer(Kopya(*bilgim), n);
    });
}

void Tseccari::listeDoldur(const std::function<const protocol::Table&(TServerMethods1Client&)>& cagri)
{
    CagriC(*bag, [&](TServerMethods1Client& p) {
        const protocol::Table& tablo = cagri(p);
        // One reset for the grid, however many rows.
        data::DisableControlsScope sessiz(CARILER);
        data::TabloyaKopyala(tablo, CARILER);
        data::FloatFormatla(CARILER);
    });
    cxGrid1->bestFit();
    if (CARILER.RecordCount() > 0) cxGrid1->focusRow(0);
    // The card follows the list also when the focused position did not move.
    cxGrid1DBTableView1FocusedRecordChanged(odakSatiri());
}

// --- the card -------------------------------------------------------------------------------

int Tseccari::odakSatiri() const
{
    if (!CARILER.Active() || CARILER.RecordCount() == 0) return -1;
    return cxGrid1->focusedSourceRow();
}

QString Tseccari::alanMetni(int satir, const QString& alan) const
{
    const int sutun = CARILER.FieldIndex(alan);
    if (sutun < 0 || satir < 0 || CARILER.isNull(satir, sutun)) return {};
    const QVariant deger = CARILER.value(satir, sutun);
    switch (CARILER.fieldDef(sutun).type) {
    case protocol::FieldType::Float64:
        return data::FloatToString(deger.toDouble());
    default:
        return deger.toString();
    }
}

void Tseccari::cxGrid1DBTableView1FocusedRecordChanged(int satir)
{
    if (satir < 0 || satir >= CARILER.RecordCount()) {
        GroupBox1->hide();
        return;
    }
    auto m = [&](const char* alan) { return alanMetni(satir, QString::fromLatin1(alan)); };
    carikod->setText(m("CARIKOD"));
    cariadi->setText(m("CARIADI"));
    yetkili->setText(m("YETKILI"));
    ozelkod->setText(m("OZELKOD"));
    anagrup->setText(m("ANAGRUP"));
    altgrup->setText(m("ALTGRUP"));
    adres1->setText(m("ADRES1"));
    adres2->setText(m("ADRES2"));
    ilce->setText(m("ILCE") + QStringLiteral("/") + m("IL"));
    vergi->setText(m("VERGIDAIRESI") + QStringLiteral("/") + m("VERGINO"));
    telefon1->setText(m("TEL1"));
    telefon2->setText(m("TEL2"));
    fax1->setText(m("FAX1"));
    fax2->setText(m("FAX2"));
    gsm->setText(m("GSM"));
    email->setText(m("EMAIL"));
    // A balance without a value shows as 0,00.
    const int bakiyeSutunu = CARILER.FieldIndex(QStringLiteral("TLBAKIYE"));
    const double tutar = bakiyeSutunu < 0 ? 0.0 : CARILER.value(satir, bakiyeSutunu).toDouble();
    bakiye->setText(data::FormatFloat(data::kParaFormati, tutar) + QStringLiteral(" ") + m("DURUM"));
    vade->setText(m("VADE"));
    indirim->setText(m("INDIRIM"));
    GroupBox1->show();
}

// --- picking and leaving --------------------------------------------------------------------

void Tseccari::Button1Click()
{
    const int satir = odakSatiri();
    if (satir < 0) return;
    const int sutun = CARILER.FieldIndex(QStringLiteral("CARINO"));
    if (sutun < 0 || CARILER.isNull(satir, sutun)) return;
    const int carino = CARILER.value(satir, sutun).toInt();
    if (carino <= 0) return;
    bilgim->FCARINO = carino;
    bilgim->Fcarikod = alanMetni(satir, QStringLiteral("CARIKOD")).toStdString();
    bilgim->FCariAdi = alanMetni(satir, QStringLiteral("CARIADI")).toStdString();
    accept();
}

void Tseccari::cxGrid1DBTableView1DblClick() { Button1Click(); }

void Tseccari::Button2Click()
{
    if (ProgramiBitir) ProgramiBitir(0);
    // Reached only when the end was replaced (tests): the console closes without a pick.
    reject();
}

// --- balances and reports -------------------------------------------------------------------

void Tseccari::B1Click()
{
    const int satir = odakSatiri();
    if (satir < 0 || !BakiyeleriGoster) return;
    TSonucBilgisi kopya;
    kopya.Kopyala(*bilgim);
    kopya.FCARINO = alanMetni(satir, QStringLiteral("CARINO")).toInt();
    BakiyeleriGoster(this, *bag, kopya);
}

bool Tseccari::tarihSor(bool tekTarih, QDate& tarih1, QDate& tarih2)
{
    Ttarihsec pencere(this);
    pencere.TekTarih(tekTarih);
    if (!TarihSor || !TarihSor(pencere)) return false;
    tarih1 = pencere.Tarih1();
    tarih2 = tekTarih ? tarih1 : pencere.Tarih2();
    return true;
}

void Tseccari::C1Click()
{
    const int satir = odakSatiri();
    if (satir < 0) return;
    const int carino = alanMetni(satir, QStringLiteral("CARINO")).toInt();
    if (carino <= 0) return;
    QDate t1, t2;
    if (!tarihSor(true, t1, t2)) return;
    RaporAl(6, carino, alanMetni(satir, QStringLiteral("SATICISI")), t1, t2);
}

void Tseccari::CariAlSatTablosuSatcl1Click()
{
    const int satir = odakSatiri();
    if (satir < 0) return;
    if (alanMetni(satir, QStringLiteral("CARINO")).toInt() <= 0) return;
    QDate t1, t2;
    if (!tarihSor(false, t1, t2)) return;
    // This report is asked for the session's customer, not the row's.
    RaporAl(7, bilgim->FCARINO, alanMetni(satir, QStringLiteral("SATICISI")), t1, t2);
}

void Tseccari::CariTopluAlacakVadeleri1Click()
{
    QDate t1, t2;
    if (!tarihSor(true, t1, t2)) return;
    const QString satici = bilgim->FMusteriTipi == 1 ? QString::fromStdString(bilgim->FADI) : QStringLiteral(".");
    RaporAl(6, 0, satici, t1, t2);
}

QString Tseccari::RaporDosyasi(const QString& klasor, int raporno, int carino)
{
    return QDir(klasor).filePath(QStringLiteral("rapor%1.pdf").arg(static_cast<qint64>(raporno) + carino));
}

bool Tseccari::RaporAl(int raporno, int carino, const QString& saticiadi, const QDate& tarih1, const QDate& tarih2)
{
    const QString klasor = BelgeKlasoru.isEmpty() ? client::BelgelerKlasoru() : BelgeKlasoru;
    // Without a documents folder there is nowhere to save: nothing is written anywhere else.
    if (klasor.isEmpty()) return false;
    const QString yol = RaporDosyasi(klasor, raporno, carino);
    if (QFile::exists(yol)) QFile::remove(yol);

    bool kaydedildi = false;
    CagriC(*bag, [&](TServerMethods1Client& p) {
        try {
            std::int64_t boy = 0;
            TStream* akis =
                p.RaporGetir(raporno, raporno, bilgim->FSirano, carino, saticiadi, gun(tarih1), gun(tarih2), boy);
            const std::optional<QByteArray> icerik = AkisOku(akis, boy);
            if (!icerik) return;
            // Written whole or not at all: a cut write leaves no half file to open.
            QSaveFile dosya(yol);
            if (dosya.open(QIODevice::WriteOnly) && dosya.write(*icerik) == icerik->size() && dosya.commit())
                kaydedildi = true;
        } catch (...) {
            // No message in any case: the old file is gone, so nothing stale is opened.
        }
    });
    // Only a file written just now is opened: an old one that could not be deleted is not
    // taken for the new report.
    if (kaydedildi && QFile::exists(yol) && BelgeAc) BelgeAc(yol);
    return kaydedildi;
}

} // namespace durnak::client
