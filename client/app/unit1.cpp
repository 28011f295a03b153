#include "app/unit1.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "durnak/grid/durnakgrid.hpp"
#include "app/dagitim.hpp"
#include "app/geribildirim.hpp"
#include "app/kayanyazi.hpp"
#include "app/sekmeler.hpp"
#include "app/simgeler.hpp"
#include "app/utils.hpp"

// Resources of a static library are registered by hand; at global scope, as Qt requires.
static void durnakKaynaklari()
{
    Q_INIT_RESOURCE(durnak);
}

namespace durnak::client {

namespace {

QFrame* panel(const QString& ad, int yukseklik, QWidget* ebeveyn)
{
    auto* p = new QFrame(ebeveyn);
    p->setObjectName(ad);
    p->setFixedHeight(yukseklik);
    p->setAutoFillBackground(true);
    return p;
}

// A tab's grid; the window that owns the tab declares its columns and binds its dataset.
grid::DurnakGrid* izgara(const QString& ad, QWidget* ebeveyn)
{
    auto* g = new grid::DurnakGrid(ebeveyn);
    g->setObjectName(ad);
    g->setContextMenuPolicy(Qt::CustomContextMenu);
    return g;
}

void menuyuBagla(QAbstractItemView* izgara, QMenu* menu)
{
    QObject::connect(izgara, &QWidget::customContextMenuRequested, menu,
                     [izgara, menu](const QPoint& yer) { menu->popup(izgara->viewport()->mapToGlobal(yer)); });
}

QWidget* sekmeSayfasi(const QString& ad, QWidget* icerik)
{
    auto* sayfa = new QWidget;
    sayfa->setObjectName(ad);
    auto* duzen = new QVBoxLayout(sayfa);
    duzen->setContentsMargins(2, 2, 2, 2);
    if (icerik) duzen->addWidget(icerik);
    return sayfa;
}

} // namespace

// --- TMesgulAnimasyonu -------------------------------------------------------------------

TMesgulAnimasyonu::TMesgulAnimasyonu(QWidget* parent) : QWidget(parent)
{
    static const bool kayitli = (durnakKaynaklari(), true);
    (void)kayitli;
    film_ = new QMovie(QStringLiteral(":/durnak/mesgul.gif"), QByteArray(), this);
    setFixedSize(26, 26);
    connect(film_, &QMovie::frameChanged, this, [this] { update(); });
    hide();
}

bool TMesgulAnimasyonu::oynuyor() const
{
    return film_->state() == QMovie::Running;
}

void TMesgulAnimasyonu::showEvent(QShowEvent* olay)
{
    QWidget::showEvent(olay);
    film_->start();
}

void TMesgulAnimasyonu::hideEvent(QHideEvent* olay)
{
    QWidget::hideEvent(olay);
    film_->stop();
}

void TMesgulAnimasyonu::paintEvent(QPaintEvent*)
{
    QPainter boya(this);
    const QPixmap kare = film_->currentPixmap();
    boya.drawPixmap(rect().center() - kare.rect().center(), kare);
}

// --- TForm1 ------------------------------------------------------------------------------

TForm1::TForm1(Kancalar kancalar, QWidget* parent)
    : QMainWindow(parent), ProgramiBitir(&TForm1::SurecBitir), kancalar_(std::move(kancalar))
{
    setObjectName(QStringLiteral("Form1"));
    QFont yazi(QStringLiteral("DejaVu Sans"));
    yazi.setPixelSize(13);
    yazi.setBold(true);
    setFont(yazi);
    resize(1350, 710);

    DSClientCallbackChannelManager1 = new TKanalYoneticisi(this);
    DSClientCallbackChannelManager1->setObjectName(QStringLiteral("DSClientCallbackChannelManager1"));
    bagc.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("localhost"));
    bagc.Params().SetValues(QStringLiteral("Port"), QStringLiteral("9090"));

    DataSource1 = new DataSetModel(&stok, this);
    DataSource_SEPET = new DataSetModel(&sepet, this);
    DataSource_ONCEKI = new DataSetModel(&ONCEKILER, this);
    DataSource_EKSTRE = new DataSetModel(&EKSTRE, this);
    DataSource_yeniler = new DataSetModel(&YENILER, this);
    kampsource = new DataSetModel(&kampstok, this);

    cxGrid1DBTableView1Kolonlari = new KolonAyarlari(this);
    cxGridDBTableView1Kolonlari = new KolonAyarlari(this);
    cxGridDBTableView5Kolonlari = new KolonAyarlari(this);
    cxGridDBTableViewkampanyaliKolonlari = new KolonAyarlari(this);

    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setNameFilter(QStringLiteral("Excel (*.xls*)"));
    SaveDialog1->setDefaultSuffix(QStringLiteral("xlsx"));

    auto* merkez = new QWidget(this);
    auto* duzen = new QVBoxLayout(merkez);
    duzen->setContentsMargins(0, 0, 0, 0);
    duzen->setSpacing(0);
    setCentralWidget(merkez);

    menuleriKur();
    basligiKur();
    aramaCubugunuKur();

    RxGIFAnimator2 = new QLabel(merkez);
    RxGIFAnimator2->setObjectName(QStringLiteral("RxGIFAnimator2"));
    RxGIFAnimator2->setScaledContents(true);
    RxGIFAnimator2->setFixedHeight(0);  // until a banner is loaded

    sekmeleriKur();
    altSeritleriKur();

    duzen->addWidget(Panel1);
    duzen->addWidget(Panel2);
    duzen->addWidget(RxGIFAnimator2);
    duzen->addWidget(sPageControl1, 1);
    duzen->addWidget(Panel3);
    duzen->addWidget(Panel5);
}

TForm1::~TForm1() = default;

void TForm1::menuleriKur()
{
    Genelmenu = new QMenu(this);
    Genelmenu->setObjectName(QStringLiteral("Genelmenu"));
    auto ekle = [](QMenu* menu, const char* ad, const QString& baslik) {
        QAction* a = menu->addAction(baslik);
        a->setObjectName(QString::fromLatin1(ad));
        return a;
    };
    MailGonder1 = ekle(Genelmenu, "MailGonder1", QStringLiteral("Mail Gönder"));
    Genelmenu->addSeparator();
    SifreDegistirmeIstegi1 = ekle(Genelmenu, "SifreDegistirmeIstegi1", QStringLiteral("Şifre Değiştirme İsteği"));
    Genelmenu->addSeparator();
    websitesi1 = ekle(Genelmenu, "websitesi1", QStringLiteral("Web Sitesi"));
    Genelmenu->addSeparator();
    G1 = ekle(Genelmenu, "G1", QStringLiteral("Çıkış"));
    Genelmenu->addSeparator();
    R1 = ekle(Genelmenu, "R1", QStringLiteral("Raporlar"));
    R1->setVisible(false);
    connect(G1, &QAction::triggered, this, &QWidget::close);

    popstok = new QMenu(this);
    popstok->setObjectName(QStringLiteral("popstok"));
    SepeteEkle1 = ekle(popstok, "SepeteEkle1", QStringLiteral("Sepete Ekle"));
    SiparisBakiyeleriniz1 = ekle(popstok, "SiparisBakiyeleriniz1", QStringLiteral("Sipariş Bakiyeleriniz"));
    S3 = ekle(popstok, "S3", QStringLiteral("Siparişleri Göster"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    SatirDegistir1 = ekle(PopupMenu1, "SatirDegistir1", QStringLiteral("Satır Değiştir"));
    SatirSil1 = ekle(PopupMenu1, "SatirSil1", QStringLiteral("Satır Sil"));
    PopupMenu1->addSeparator();
    HepsiniSil1 = ekle(PopupMenu1, "HepsiniSil1", QStringLiteral("Hepsini Sil"));

    poponceki = new QMenu(this);
    poponceki->setObjectName(QStringLiteral("poponceki"));
    SiparisiIncele1 = ekle(poponceki, "SiparisiIncele1", QStringLiteral("Siparişi İncele"));
    SiparisBakiyeleriniz2 = ekle(poponceki, "SiparisBakiyeleriniz2", QStringLiteral("Sipariş Bakiyeleriniz"));
    T1 = ekle(poponceki, "T1", QStringLiteral("Tüm Siparişler"));

    popekstre = new QMenu(this);
    popekstre->setObjectName(QStringLiteral("popekstre"));
    HareketIncele1 = ekle(popekstre, "HareketIncele1", QStringLiteral("Hareket İncele"));
}

void TForm1::basligiKur()
{
    Panel1 = panel(QStringLiteral("Panel1"), 100, centralWidget());
    auto* duzen = new QHBoxLayout(Panel1);
    duzen->setContentsMargins(6, 4, 6, 4);
    duzen->setSpacing(10);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(LogoResmi(88));
    Image1->setFixedSize(220, 90);

    GridPanel1 = new QWidget(Panel1);
    GridPanel1->setObjectName(QStringLiteral("GridPanel1"));
    GridPanel1->setFixedWidth(470);
    auto* izgaraDuzeni = new QGridLayout(GridPanel1);
    izgaraDuzeni->setContentsMargins(0, 0, 0, 0);
    izgaraDuzeni->setHorizontalSpacing(4);
    izgaraDuzeni->setVerticalSpacing(2);
    izgaraDuzeni->setColumnStretch(1, 1);
    auto satir = [&](int sira, const QString& baslik, const char* ad) {
        auto* etiket = new QLabel(baslik, GridPanel1);
        etiket->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* deger = new QLabel(GridPanel1);
        deger->setObjectName(QString::fromLatin1(ad));
        deger->setTextFormat(Qt::PlainText);
        izgaraDuzeni->addWidget(etiket, sira, 0);
        izgaraDuzeni->addWidget(deger, sira, 1);
        return deger;
    };
    kullanicilbl = satir(0, QStringLiteral("Kullanıcı: "), "kullanicilbl");
    cariadilbl = satir(1, QStringLiteral("Firma: "), "cariadilbl");
    saticilbl = satir(2, QStringLiteral("Temsilci: "), "saticilbl");
    saticilbl->setWordWrap(true);

    RxGIFAnimator1 = new QLabel(Panel1);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setScaledContents(true);
    RxGIFAnimator1->setMinimumWidth(0);
    RxGIFAnimator1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    Button3 = new QToolButton(Panel1);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setText(QStringLiteral("Menü"));
    Button3->setIcon(SimgeAl(Simge::Menu, 32));
    Button3->setIconSize(QSize(32, 32));
    Button3->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Button3->setPopupMode(QToolButton::MenuButtonPopup);
    Button3->setMenu(Genelmenu);
    Button3->setFixedSize(96, 84);
    connect(Button3, &QToolButton::clicked, Button3, &QToolButton::showMenu);

    duzen->addWidget(Image1);
    duzen->addWidget(GridPanel1);
    duzen->addWidget(RxGIFAnimator1, 1);
    duzen->addWidget(Button3);
}

void TForm1::aramaCubugunuKur()
{
    Panel2 = panel(QStringLiteral("Panel2"), 35, centralWidget());
    auto* duzen = new QHBoxLayout(Panel2);
    duzen->setContentsMargins(6, 2, 6, 2);
    duzen->setSpacing(4);

    Image2 = new QLabel(Panel2);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(BuyutecResmi(26));

    araedit = new QLineEdit(Panel2);
    araedit->setObjectName(QStringLiteral("araedit"));
    QFont yazi = araedit->font();
    yazi.setPixelSize(20);
    araedit->setFont(yazi);
    araedit->setFixedWidth(420);
    connect(araedit, &QLineEdit::textEdited, this, &TForm1::araeditBuyukHarf);

    auto dugme = [&](const char* ad, const QString& ipucu, Simge simge) {
        auto* b = new QToolButton(Panel2);
        b->setObjectName(QString::fromLatin1(ad));
        b->setToolTip(ipucu);
        b->setIcon(SimgeAl(simge, 24));
        b->setIconSize(QSize(24, 24));
        b->setFixedSize(31, 31);
        return b;
    };
    SpeedButton2 = dugme("SpeedButton2", QStringLiteral("Ara"), Simge::Ara);
    SpeedButton1 = dugme("SpeedButton1", QStringLiteral("Temizle"), Simge::Temizle);

    musteritus = new QPushButton(QStringLiteral("Başka Cari Seç"), Panel2);
    musteritus->setObjectName(QStringLiteral("musteritus"));
    musteritus->setIcon(SimgeAl(Simge::Cari, 20));
    musteritus->hide();

    duzen->addWidget(Image2);
    duzen->addWidget(araedit);
    duzen->addWidget(SpeedButton2);
    duzen->addWidget(SpeedButton1);
    duzen->addWidget(musteritus);
    TMesgulAnimasyonu** animasyonlar[] = {&gifstokara, &gifyeniler, &gifkampanyali, &gifduyuru, &gifoncekiler, &gifekstre};
    const char* adlar[] = {"gifstokara", "gifyeniler", "gifkampanyali", "gifduyuru", "gifoncekiler", "gifekstre"};
    for (int i = 0; i < 6; ++i) {
        *animasyonlar[i] = new TMesgulAnimasyonu(Panel2);
        (*animasyonlar[i])->setObjectName(QString::fromLatin1(adlar[i]));
        duzen->addWidget(*animasyonlar[i]);
    }
    duzen->addStretch(1);
}

void TForm1::araeditBuyukHarf(const QString& metin)
{
    // Turkish upper case: "i" becomes "İ", as the catalogue writes it.
    const QString buyuk = QLocale(QLocale::Turkish, QLocale::Turkey).toUpper(metin);
    if (buyuk == metin) return;
    const int imlec = araedit->cursorPosition();
    araedit->setText(buyuk);
    araedit->setCursorPosition(std::min(imlec, int(buyuk.size())));
}

QWidget* TForm1::sepetSekmesiniKur()
{
    auto* sayfa = new QWidget;
    sayfa->setObjectName(QStringLiteral("ssepet"));
    auto* duzen = new QVBoxLayout(sayfa);
    duzen->setContentsMargins(2, 2, 2, 2);
    duzen->setSpacing(2);

    cxGrid2 = izgara(QStringLiteral("cxGrid2"), sayfa);
    menuyuBagla(cxGrid2, PopupMenu1);

    panelsec = new QWidget(sayfa);
    panelsec->setObjectName(QStringLiteral("panelsec"));
    auto* secDuzeni = new QHBoxLayout(panelsec);
    secDuzeni->setContentsMargins(0, 0, 0, 0);
    Button4 = new QPushButton(QStringLiteral("Hepsini Seç"), panelsec);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button5 = new QPushButton(QStringLiteral("Seçimleri Kaldır"), panelsec);
    Button5->setObjectName(QStringLiteral("Button5"));
    lbluyarbakiye = new QLabel(panelsec);
    lbluyarbakiye->setObjectName(QStringLiteral("lbluyarbakiye"));
    QFont uyari = lbluyarbakiye->font();
    uyari.setPixelSize(16);
    uyari.setBold(true);
    lbluyarbakiye->setFont(uyari);
    lbluyarbakiye->setStyleSheet(QStringLiteral("color: #ff4d4d;"));
    secDuzeni->addWidget(Button4);
    secDuzeni->addWidget(Button5);
    secDuzeni->addWidget(lbluyarbakiye, 1);

    // The delivery, cargo and note groups and the totals fill this strip.
    Panel4 = new QWidget(sayfa);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setMinimumHeight(150);
    auto* altDuzen = new QHBoxLayout(Panel4);
    altDuzen->setContentsMargins(0, 0, 0, 0);
    Panel6 = new QWidget(Panel4);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto* dugmeler = new QVBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Gönder"), Panel4);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setMinimumHeight(48);
    Button2 = new QPushButton(QStringLiteral("Excel Kaydet"), Panel4);
    Button2->setObjectName(QStringLiteral("Button2"));
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    dugmeler->addStretch(1);
    altDuzen->addWidget(Panel6, 1);
    altDuzen->addLayout(dugmeler);

    duzen->addWidget(cxGrid2, 1);
    duzen->addWidget(panelsec);
    duzen->addWidget(Panel4);
    return sayfa;
}

void TForm1::sekmeleriKur()
{
    sPageControl1 = new TsPageControl(centralWidget());
    sPageControl1->setObjectName(QStringLiteral("sPageControl1"));

    cxGrid1 = izgara(QStringLiteral("cxGrid1"), nullptr);
    menuyuBagla(cxGrid1, popstok);
    cxGrid3 = izgara(QStringLiteral("cxGrid3"), nullptr);
    menuyuBagla(cxGrid3, poponceki);
    cxGrid5 = izgara(QStringLiteral("cxGrid5"), nullptr);
    menuyuBagla(cxGrid5, popekstre);
    cxGrid6 = izgara(QStringLiteral("cxGrid6"), nullptr);
    cxkampanyali = izgara(QStringLiteral("cxkampanyali"), nullptr);
    cxGridduyuru = izgara(QStringLiteral("cxGridduyuru"), nullptr);

    sstoklistesi = sekmeSayfasi(QStringLiteral("sstoklistesi"), cxGrid1);
    ssepet = sepetSekmesiniKur();
    sonceki = sekmeSayfasi(QStringLiteral("sonceki"), cxGrid3);
    sccariekstre = sekmeSayfasi(QStringLiteral("sccariekstre"), cxGrid5);
    syeniler = sekmeSayfasi(QStringLiteral("syeniler"), cxGrid6);
    skampanyali = sekmeSayfasi(QStringLiteral("skampanyali"), cxkampanyali);
    sTabSheetduyuru = sekmeSayfasi(QStringLiteral("sTabSheetduyuru"), cxGridduyuru);
    // The balances window is embedded here while the tab is shown.
    sTabbakiyeler = sekmeSayfasi(QStringLiteral("sTabbakiyeler"), nullptr);

    const std::pair<QWidget*, std::pair<QString, Simge>> sekmeler[] = {
        {sstoklistesi, {QStringLiteral("Stok Listesi"), Simge::StokListesi}},
        {ssepet, {QStringLiteral("Sepet"), Simge::Sepet}},
        {sonceki, {QStringLiteral("Önceki Siparişler"), Simge::Onceki}},
        {sccariekstre, {QStringLiteral("Cari Ekstre"), Simge::Ekstre}},
        {syeniler, {QStringLiteral("Yeni Stoklar"), Simge::Yeniler}},
        {skampanyali, {QStringLiteral("Kampanyalı Stoklar"), Simge::Kampanya}},
        {sTabSheetduyuru, {QStringLiteral("Duyurular"), Simge::Duyuru}},
        {sTabbakiyeler, {QStringLiteral("Bakiyeler"), Simge::Bakiye}},
    };
    for (const auto& [sayfa, bilgi] : sekmeler) sPageControl1->addTab(sayfa, SimgeAl(bilgi.second, 32), bilgi.first);
    sPageControl1->setCurrentWidget(sstoklistesi);
    oncekiSekme_ = sstoklistesi;
    connect(sPageControl1, &QTabWidget::currentChanged, this, &TForm1::sekmeDegisti);
}

void TForm1::altSeritleriKur()
{
    Panel3 = panel(QStringLiteral("Panel3"), 27, centralWidget());
    auto* aciklama = new QHBoxLayout(Panel3);
    aciklama->setContentsMargins(6, 0, 6, 0);
    aciklama->setSpacing(2);
    aciklama->addWidget(new QLabel(QStringLiteral("Durum Açıklaması:    "), Panel3));
    // Legend order: mevcut, telefon, yolda, tedarik, özel sipariş, yok.
    const std::pair<int, QString> durumlar[] = {
        {1, QStringLiteral(" Stok mevcut  ")},   {2, QStringLiteral(" Telefon Açınız  ")},
        {3, QStringLiteral(" Yolda  ")},         {5, QStringLiteral(" Tedarik Sürecinde ")},
        {4, QStringLiteral(" Özel Sipariş  ")}, {0, QStringLiteral(" Yok  ")},
    };
    for (const auto& [durum, metin] : durumlar) {
        auto* simge = new QLabel(Panel3);
        simge->setPixmap(DurumSimgesi(durum, 22));
        simge->setObjectName(QStringLiteral("durumsimge%1").arg(durum));
        aciklama->addWidget(simge);
        aciklama->addWidget(new QLabel(metin, Panel3));
    }
    aciklama->addStretch(1);

    Panel5 = panel(QStringLiteral("Panel5"), 40, centralWidget());
    // The bottom banner scrolls above the text; invisible and 0 high until one is loaded.
    auto* alt = new QVBoxLayout(Panel5);
    alt->setContentsMargins(0, 0, 0, 0);
    alt->setSpacing(0);
    kayanyazi = new TKayanYazi(Panel5);
    kayanyazi->setObjectName(QStringLiteral("kayanyazi"));
    QFont kayan(QStringLiteral("DejaVu Sans"));
    kayan.setPixelSize(24);
    kayanyazi->setFont(kayan);
    RealTimeMarquee1 = new TKayanYazi(Panel5);
    RealTimeMarquee1->setObjectName(QStringLiteral("RealTimeMarquee1"));
    RealTimeMarquee1->setFixedHeight(0);
    RealTimeMarquee1->hide();
    Image3 = new QLabel(Panel5);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->hide();
    alt->addWidget(RealTimeMarquee1);
    alt->addWidget(kayanyazi, 1);
}

void TForm1::sekmeDegisti(int sira)
{
    QWidget* yeni = sPageControl1->widget(sira);
    if (oncekiSekme_ && oncekiSekme_ != yeni) emit sekmeGizlendi(oncekiSekme_);
    oncekiSekme_ = yeni;
    if (yeni) emit sekmeGosterildi(yeni);
}

void TForm1::FormCreate()
{
    // 1.
    _acilisadet = 0;
    _acilisgoruldu = false;

    // 2. The task name stays short; the caption keeps the full title.
    QCoreApplication::setApplicationName(QString::fromUtf8(kProgramBasligi));
    setWindowTitle(QString::fromUtf8(kProgramBasligi));
    MesajYaziBoyutuAyarla(15);
    QCoreApplication::setApplicationName(QString::fromUtf8(kUygulamaBasligi));

    // 3.
    sbilgi = TSonucBilgisi{};
    sbilgi.FBilgiSayarAdi = BilgisayarAdiAl().toStdString();
    sbilgi.FBilgisayarKullanici = KullaniciAdiAl().toStdString();
    sbilgi.FIcip = YerelIpAl().toStdString();
    sbilgi.FBILGISAYARID = BilgisayarIdAl().toStdString();

    // 4.
    bagc.Params().SetValues(QStringLiteral("HostName"), QString::fromUtf8(dagitim::kGenelSunucu));
    bagc.Params().SetValues(QStringLiteral("Port"), QString::fromUtf8(dagitim::kSunucuPortu));
    bagc.SetComputerId(QString::fromStdString(sbilgi.FBILGISAYARID));

    // 5.
    websitesi1->setText(QString::fromUtf8(dagitim::kWebSitesi));

    // 6.
    if (kancalar_.girisYap) {
        if (!kancalar_.girisYap(*this)) {
            ProgramiBitir(0);
            return;
        }
        if (QString::fromStdString(sbilgi.FDisip).trimmed().isEmpty()) {
            ProgramiBitir(0);
            return;
        }
    }

    // 7.
    KullaniciTipineUyarla(sbilgi.FMusteriTipi);

    // 8.
    QPointer<TForm1> pencere(this);
    ArkaPlanda([pencere] {
        if (!pencere) return;
        TForm1& f = *pencere;
        // A load that fails unexpectedly must not keep the others from running; the
        // first such error is shown after the main-thread step.
        std::exception_ptr ilkHata;
        try {
            f.AnaBilgiAl();
        } catch (...) {
            ilkHata = std::current_exception();
        }
        for (const Adim* adim : {&f.kancalar_.kayanYaziAl, &f.kancalar_.bannerResimAl, &f.kancalar_.bannerResimAlUst,
                                 &f.kancalar_.bannerResimAlAlt, &f.kancalar_.acilisReklamAdetAl, &f.kancalar_.balonYaz})
            f.adimCalistir(*adim, ilkHata);
        if (ilkHata) std::rethrow_exception(ilkHata);
    })->Await([pencere] {
        if (!pencere) return;
        if (pencere->isMinimized()) {
            pencere->showMaximized();
            pencere->activateWindow();
        }
        if (pencere->kancalar_.acilisReklamlariGoster) pencere->kancalar_.acilisReklamlariGoster(*pencere);
        emit pencere->acilisYuklemeleriBitti();
    });

    // 9.
    if (kancalar_.bildirimKanali) BildirimKaydet();
}

void TForm1::adimCalistir(const Adim& adim, std::exception_ptr& ilkHata)
{
    if (!adim) return;
    try {
        adim(*this);
    } catch (...) {
        if (!ilkHata) ilkHata = std::current_exception();
    }
}

void TForm1::KullaniciTipineUyarla(int musteriTipi)
{
    switch (musteriTipi) {
    case 1:
    case 2:
        musteritus->setVisible(true);
        R1->setVisible(true);
        for (KolonAyarlari* k : {cxGrid1DBTableView1Kolonlari, cxGridDBTableView1Kolonlari, cxGridDBTableView5Kolonlari,
                                 cxGridDBTableViewkampanyaliKolonlari})
            k->Ayarla(QStringLiteral("KALAN"), true, true);
        for (KolonAyarlari* k :
             {cxGrid1DBTableView1Kolonlari, cxGridDBTableView5Kolonlari, cxGridDBTableViewkampanyaliKolonlari}) {
            k->Ayarla(QStringLiteral("ALINANSIPARIS"), true, true);
            k->Ayarla(QStringLiteral("VERILENSIPARIS"), true, true);
        }
        break;
    case 3:
        cxGridDBTableView1Kolonlari->Ayarla(QStringLiteral("DURUM"), false, false);
        R1->setVisible(false);
        break;
    case 4:
        sPageControl1->setTabVisible(sPageControl1->indexOf(skampanyali), false);
        for (KolonAyarlari* k : {cxGrid1DBTableView1Kolonlari, cxGridDBTableView5Kolonlari}) {
            k->Ayarla(QStringLiteral("KAMPFIYAT"), false, false);
            k->Ayarla(QStringLiteral("K"), false, false);
        }
        R1->setVisible(false);
        break;
    default:
        break;
    }
}

void TForm1::AnaBilgiAl()
{
    AnaThreaddeCalistir([this] {
        kullanicilbl->setText(QString::fromStdString(sbilgi.FADI));
        cariadilbl->setText(QString::fromStdString(sbilgi.FCariAdi));
        saticilbl->setText(QString::fromStdString(sbilgi.FSaticiAdi) + QStringLiteral(" Telefonu: ") +
                           QString::fromStdString(sbilgi.FSaticiTelefon) + QStringLiteral(" email: ") +
                           QString::fromStdString(sbilgi.FSaticiMail));
    });
}

void TForm1::GeriBildirimAlQue()
{
    // Tied to the window: a refresh queued for a window that is gone does nothing.
    AnaThreadeKuyrukla(this, [this] { GeriBildirimYenile(); });
}

void TForm1::GeriBildirimYenile()
{
    auto adim = [&](const std::function<void()>& islem) {
        try {
            islem();
        } catch (...) {
            HataGoster(std::current_exception());
        }
    };
    adim([this] { AnaBilgiAl(); });
    for (const Adim* a : {&kancalar_.kayanYaziAl, &kancalar_.bannerResimAl, &kancalar_.bannerResimAlUst,
                          &kancalar_.bannerResimAlAlt, &kancalar_.acilisReklamAdetAl, &kancalar_.balonYaz,
                          &kancalar_.acilisReklamlariGoster}) {
        if (*a) adim([this, a] { (*a)(*this); });
    }
    emit yenilendi();
}

void TForm1::BildirimKaydet()
{
    if (geriBildirim_) return;
    TKanalYoneticisi* k = DSClientCallbackChannelManager1;
    k->DSHostname = bagc.Params().Values(QStringLiteral("HostName"));
    k->DSPort = bagc.Params().Values(QStringLiteral("Port"));
    k->Token = bagc.Token();
    k->ComputerId = bagc.ComputerId();
    geriBildirim_ = std::make_shared<TGeriBildirim>(k->ChannelName, [this] { GeriBildirimAlQue(); });
    k->RegisterCallback(geriBildirim_);
}

bool TForm1::GosterYukle(const QString& ad, SekmeYukleme yukleme)
{
    if (!yuklemeler_[ad].Basla()) return false;

    QPointer<QWidget> animasyon = yukleme.animasyon;
    QPointer<QWidget> kontrol = yukleme.kontrol;
    if (animasyon) animasyon->show();
    if (kontrol) kontrol->setEnabled(false);

    QPointer<TForm1> pencere(this);
    auto bitir = [pencere, ad, animasyon, kontrol, bagla = yukleme.bagla, son = yukleme.bitir](bool hata) {
        if (pencere) pencere->yuklemeler_[ad].Bitti();
        // The controls come back even when reattaching fails.
        struct Geri {
            QPointer<QWidget> animasyon, kontrol;
            ~Geri()
            {
                if (kontrol) kontrol->setEnabled(true);
                if (animasyon) animasyon->hide();
            }
        };
        {
            Geri geri{animasyon, kontrol};
            if (bagla) bagla();
        }
        if (hata) MesajGoster(QString::fromUtf8(kBaglantiKurulamiyor), mtError, {mbOK}, mbOK);
        if (son) son(hata);
    };

    try {
        if (yukleme.ayir) yukleme.ayir();
    } catch (...) {
        bitir(false);
        throw;
    }
    auto hata = std::make_shared<bool>(false);
    ArkaPlanda([hata, yukle = std::move(yukleme.yukle)] {
        if (yukle) *hata = yukle();
    })->Await([hata, bitir] { bitir(*hata); });
    return true;
}

bool TForm1::YuklemeSuruyor(const QString& ad) const
{
    auto it = yuklemeler_.find(ad);
    return it != yuklemeler_.end() && it->Calisiyor();
}

bool TForm1::FormCloseQuery()
{
    const int cevap = MesajGoster(QString::fromUtf8(kCikisSorusu), mtConfirmation, {mbYes, mbNo}, mbYes);
    if (cevap == mrYes) ProgramiBitir(0);
    return false;
}

void TForm1::FormClose()
{
    if (geriBildirim_) DSClientCallbackChannelManager1->UnregisterCallback(geriBildirim_->Name());
}

void TForm1::closeEvent(QCloseEvent* olay)
{
    if (FormCloseQuery()) {
        FormClose();
        olay->accept();
    } else {
        olay->ignore();
    }
}

void TForm1::SurecBitir(int kod)
{
    std::fflush(nullptr);
    std::_Exit(kod);
}

} // namespace durnak::client
