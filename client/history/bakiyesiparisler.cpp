#include "history/bakiyesiparisler.hpp"

#include <cmath>

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

#include "app/simgeler.hpp"
#include "app/utils.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/data/numberformat.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using grid::SummaryKind;
using grid::Visibility;

namespace {

QLabel* etiket(const char* ad, QWidget* parent)
{
    auto* e = new QLabel(parent);
    e->setObjectName(QString::fromLatin1(ad));
    return e;
}

// Plain decimal text: the locale's decimal point, no grouping.
QString duzSayi(const QVariant& v) { return v.isValid() ? data::FloatToString(v.toDouble()) : QString(); }

} // namespace

// --- TAdetKutusu -------------------------------------------------------------------------

TAdetKutusu::TAdetKutusu(QWidget* parent) : QSpinBox(parent)
{
    setRange(1, 1000);
    setValue(1);
    // Out-of-range text is accepted while typing and pulled into the range on focus loss.
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
}

QValidator::State TAdetKutusu::validate(QString& input, int& /*pos*/) const
{
    static const QRegularExpression tamSayi(QStringLiteral("^[+-]?\\d{0,9}$"));
    return tamSayi.match(input.trimmed()).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

int TAdetKutusu::valueFromText(const QString& text) const
{
    bool tamam = false;
    const int deger = text.trimmed().toInt(&tamam);
    return tamam ? deger : 1;
}

int TAdetKutusu::YazilanDeger() const { return valueFromText(cleanText()); }

int TAdetKutusu::AralikDegeri()
{
    interpretText();
    return value();
}

void TAdetKutusu::keyPressEvent(QKeyEvent* olay)
{
    if (olay->key() == Qt::Key_Return || olay->key() == Qt::Key_Enter) {
        olay->accept();
        emit enterBasildi();
        return;
    }
    QSpinBox::keyPressEvent(olay);
}

// --- Tbakiyedegistir ---------------------------------------------------------------------

Tbakiyedegistir::Tbakiyedegistir(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("bakiyedegistir"));
    setWindowTitle(QStringLiteral("Bakiye Değiştir"));
    setWindowFlags(windowFlags() | Qt::Tool);

    auto* form = new QFormLayout;
    barkod = etiket("barkod", this);
    adi = etiket("adi", this);
    finishkod = etiket("finishkod", this);
    marka = etiket("marka", this);
    model = etiket("model", this);
    alinansiparis = etiket("alinansiparis", this);
    teslimedilen = etiket("teslimedilen", this);
    elimizde = etiket("elimizde", this);
    eskibakiye = etiket("eskibakiye", this);
    adet = new TAdetKutusu(this);
    adet->setObjectName(QStringLiteral("adet"));
    form->addRow(QStringLiteral("Barkod:"), barkod);
    form->addRow(QStringLiteral("Açıklama:"), adi);
    form->addRow(QStringLiteral("Finish Kod:"), finishkod);
    form->addRow(QStringLiteral("Marka:"), marka);
    form->addRow(QStringLiteral("Model:"), model);
    form->addRow(QStringLiteral("Alınan sipariş:"), alinansiparis);
    form->addRow(QStringLiteral("Teslim Edilen:"), teslimedilen);
    elimizdeBaslik = new QLabel(QStringLiteral("Elimizde:"), this);
    form->addRow(elimizdeBaslik, elimizde);
    form->addRow(QStringLiteral("Eski bakiye:"), eskibakiye);
    form->addRow(QStringLiteral("Yeni bakiye:"), adet);

    Button1 = new QPushButton(QStringLiteral("Değiştir"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &Tbakiyedegistir::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tbakiyedegistir::Button2Click);
    connect(adet, &TAdetKutusu::enterBasildi, this, &Tbakiyedegistir::adetKeyDown);

    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch(1);
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    auto* duzen = new QVBoxLayout(this);
    duzen->addLayout(form);
    duzen->addLayout(dugmeler);
    adet->setFocus();
}

void Tbakiyedegistir::Button1Click() { accept(); }
void Tbakiyedegistir::Button2Click() { reject(); }

void Tbakiyedegistir::adetKeyDown()
{
    if (adet->YazilanDeger() > 0) accept();
}

// --- TParaKutusu / Tfiyatdegistir --------------------------------------------------------

TParaKutusu::TParaKutusu(QWidget* parent, double enFazla) : QLineEdit(parent), enFazla_(enFazla)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::editingFinished, this, [this] { DegerYaz(Deger()); });
}

double TParaKutusu::Deger() const
{
    QString metin = text();
    metin.remove(QStringLiteral("TL"));
    metin = metin.trimmed();
    double deger = 0;
    if (!data::ParseLocaleNumber(metin, data::DisplayLocale(), deger) || !std::isfinite(deger)) return 0;
    if (enFazla_ >= 0 && deger > enFazla_) deger = enFazla_;
    return deger;
}

void TParaKutusu::DegerYaz(double deger)
{
    if (enFazla_ >= 0 && deger > enFazla_) deger = enFazla_;
    const QString metin = data::FormatFloat(QString::fromLatin1(kParaKutusuFormati), deger);
    if (metin != text()) setText(metin);
}

Tfiyatdegistir::Tfiyatdegistir(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fiyatdegistir"));
    setWindowTitle(QStringLiteral("Fiyat Değiştir"));
    setWindowFlags(windowFlags() | Qt::Tool);
    setSizeGripEnabled(true);

    _fiyat = new TParaKutusu(this);
    _fiyat->setObjectName(QStringLiteral("_fiyat"));
    _iskonto = new TParaKutusu(this, 100);
    _iskonto->setObjectName(QStringLiteral("_iskonto"));
    LBLNET = etiket("LBLNET", this);
    LABELKDV = etiket("LABELKDV", this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fiyat:"), _fiyat);
    form->addRow(QStringLiteral("İndirim Oranı %:"), _iskonto);
    form->addRow(QStringLiteral("Net Fiyat:"), LBLNET);
    form->addRow(QStringLiteral("KDV Dahil Fiyat:"), LABELKDV);

    Button1 = new QPushButton(QStringLiteral("Değiştir"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(_fiyat, &QLineEdit::textChanged, this, [this] { _fiyatKeyUp(); });
    connect(_iskonto, &QLineEdit::textChanged, this, [this] { _iskontoKeyUp(); });

    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch(1);
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    auto* duzen = new QVBoxLayout(this);
    duzen->addLayout(form);
    duzen->addLayout(dugmeler);
}

void Tfiyatdegistir::_fiyatKeyUp()
{
    const gecmis::FiyatOnizleme o = gecmis::FiyatHesapla(_fiyat->Deger(), _iskonto->Deger());
    LBLNET->setText(data::FormatFloat(data::kIkiBasamakFormati, o.net));
    LABELKDV->setText(data::FormatFloat(data::kIkiBasamakFormati, o.kdvDahil));
}

// --- Tbakiyesiparisler -------------------------------------------------------------------

Tbakiyesiparisler::Tbakiyesiparisler(TBaglanti& bagim_, const protocol::TSonucBilgisi& bilgi_, QWidget* parent)
    : QDialog(parent), bagim(&bagim_), bilgi(&bilgi_)
{
    setObjectName(QStringLiteral("bakiyesiparisler"));
    setWindowTitle(QStringLiteral("Bakiye Siparişler"));
    asagi = new protocol::TSiparisDipAyrinti;

    cxGrid2 = new grid::DurnakGrid(this);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    cxGrid2->setColumns(gecmis::SiparisSatiriKolonlari(gecmis::SatirPenceresi::Bakiye));
    cxGrid2->setFooterSummaries({{QStringLiteral("VERILISTARIHI"), SummaryKind::Count, {}},
                                 {QStringLiteral("MIKTAR"), SummaryKind::Sum, {}},
                                 {QStringLiteral("KALAN"), SummaryKind::Sum, {}}});
    cxGrid2->setDataSet(&bakiyesepet);
    cxGrid2->installEventFilter(this);
    connect(cxGrid2, &grid::DurnakGrid::focusedRowChanged, this,
            [this](int satir) { cxGridDBTableView1FocusedRecordChanged(satir); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    B1 = PopupMenu1->addAction(QStringLiteral("Bakiyeyi Sil"));
    B1->setObjectName(QStringLiteral("B1"));
    PopupMenu1->addSeparator();
    B2 = PopupMenu1->addAction(QStringLiteral("Bakiye Değiştir"));
    B2->setObjectName(QStringLiteral("B2"));
    PopupMenu1->addSeparator();
    F1 = PopupMenu1->addAction(QStringLiteral("Fiyat Değiştir"));
    F1->setObjectName(QStringLiteral("F1"));
    F1->setVisible(false);
    connect(B1, &QAction::triggered, this, [this] { gecmis::Guvenli([this] { B1Click(); }); });
    connect(B2, &QAction::triggered, this, [this] { gecmis::Guvenli([this] { B2Click(); }); });
    connect(F1, &QAction::triggered, this, [this] { gecmis::Guvenli([this] { F1Click(); }); });
    cxGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cxGrid2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& yer) { PopupMenu1->popup(cxGrid2->viewport()->mapToGlobal(yer)); });

    // Legend: "Durum Açıklaması:" and the six states with their icons.
    lejant = new QWidget(this);
    lejant->setObjectName(QStringLiteral("lejant"));
    auto* lejantDuzeni = new QHBoxLayout(lejant);
    lejantDuzeni->setContentsMargins(4, 0, 4, 0);
    lejantDuzeni->setSpacing(2);
    lejantDuzeni->addWidget(new QLabel(QStringLiteral("Durum Açıklaması:    "), lejant));
    const std::pair<int, const char*> durumlar[] = {{1, " Stok mevcut  "}, {2, " Telefon Açınız  "},
                                                    {3, " Yolda  "},       {5, " Tedarik Sürecinde "},
                                                    {4, " Özel Sipariş  "}, {0, " Yok  "}};
    for (const auto& [durum, metin] : durumlar) {
        auto* simge = new QLabel(lejant);
        simge->setPixmap(DurumSimgesi(durum, 22));
        lejantDuzeni->addWidget(simge);
        lejantDuzeni->addWidget(new QLabel(QString::fromUtf8(metin), lejant));
    }
    lejantDuzeni->addStretch(1);

    tutar = new gecmis::TTutarKutusu(this);
    bilgiler = new gecmis::TSiparisBilgileri(this);
    Button1 = new QPushButton(QStringLiteral("Kapat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Excel Kaydet"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { gecmis::Guvenli([this] { Button2Click(); }); });

    auto* alt = new QHBoxLayout;
    alt->addWidget(bilgiler->bilgiler, 2);
    alt->addWidget(bilgiler->mesajiniz, 2);
    alt->addWidget(bilgiler->alaninNotu, 2);
    alt->addWidget(tutar, 1);
    auto* dugmeler = new QVBoxLayout;
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    dugmeler->addStretch(1);
    alt->addLayout(dugmeler);

    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(cxGrid2, 1);
    duzen->addWidget(lejant);
    duzen->addLayout(alt);
}

Tbakiyesiparisler::~Tbakiyesiparisler()
{
    cxGrid2->removeEventFilter(this);
    cxGrid2->detach();
    delete asagi;
}

void Tbakiyesiparisler::KullanimaGoreAyarla(BakiyeKullanimi kullanim)
{
    const int tip = bilgi->FMusteriTipi;
    auto goster = [this](const char* alan) { cxGrid2->setColumnVisibility(QString::fromLatin1(alan), Visibility::Shown); };
    if (tip == 2) {
        goster("ILKFIYAT");
        F1->setVisible(true);
    }
    switch (kullanim) {
    case BakiyeKullanimi::Sekme:
        if (tip == 1 || tip == 2) {
            goster("ELDEKI");
            goster("ALINANSIPARIS");
            goster("VERILENSIPARIS");
        }
        break;
    case BakiyeKullanimi::Modal:
        if (tip == 1 || tip == 2) goster("ELDEKI");
        break;
    case BakiyeKullanimi::Konsol:
        goster("ELDEKI");
        goster("ALINANSIPARIS");
        goster("VERILENSIPARIS");
        break;
    }
    if (kullanim != BakiyeKullanimi::Konsol && tip == 3)
        cxGrid2->setColumnVisibility(QStringLiteral("DURUM"), Visibility::Never);
}

void Tbakiyesiparisler::BakiyeAlalim()
{
    const int carino = bilgi->FCARINO;
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        const auto& tablo = p.BakiyelerVer2(carino);
        data::DisableControlsScope kapali(bakiyesepet);
        data::TabloyaKopyala(tablo, bakiyesepet);
        data::FloatFormatla(bakiyesepet);
    });
    toplamlar = gecmis::SepetHesapla(bakiyesepet);
    tutar->Yaz(gecmis::ToplamlariYaz(toplamlar));
    // The grid focuses the first line, which brings that line's order footer.
    if (cxGrid2->focusedRow() < 0 && bakiyesepet.RecordCount() > 0) cxGrid2->focusRow(0);
    altBilgiYaz();
}

void Tbakiyesiparisler::altBilgiYaz() { bilgiler->Doldur(*asagi, false); }

void Tbakiyesiparisler::Goster() { gecmis::Yerlestir(this, 50, 50); }

void Tbakiyesiparisler::cxGridDBTableView1FocusedRecordChanged(int satir)
{
    if (satir < 0) return;
    gecmis::Guvenli([this] { odakliSiparisDibi(); });
}

void Tbakiyesiparisler::odakliSiparisDibi()
{
    const QVariant idno = cxGrid2->focusedValue(QStringLiteral("IDNO"));
    if (!idno.isValid()) return;
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        if (const TSiparisDipAyrinti* dip = p.SiparisAytintisiDip(0, idno.toInt())) asagi->Kopyala(*dip);
    });
    altBilgiYaz();
}

void Tbakiyesiparisler::cxGrid2Resize()
{
    const QScreen* ekran = screen() ? screen() : QGuiApplication::primaryScreen();
    if (ekran && ekran->geometry().width() >= 1153) {
        cxGrid2->beginUpdate();
        cxGrid2->KolonGenislikleri();
        cxGrid2->endUpdate();
    } else {
        cxGrid2->bestFit();
    }
}

bool Tbakiyesiparisler::eventFilter(QObject* nesne, QEvent* olay)
{
    if (nesne == cxGrid2 && olay->type() == QEvent::Resize) cxGrid2Resize();
    return QDialog::eventFilter(nesne, olay);
}

void Tbakiyesiparisler::Button2Click() { gecmis::ExcelKaydetSor(this, *cxGrid2); }

void Tbakiyesiparisler::B1Click()
{
    if (cxGrid2->focusedRow() < 0) return;
    auto deger = [this](const char* alan) { return cxGrid2->focusedValue(QString::fromLatin1(alan)); };
    const int stokno = deger("STOK_STOKNO").toInt();
    const int sirano = deger("SIRANO").toInt();
    const int stokharNo = deger("STOKHAR_NO").toInt();
    const double miktar = deger("MIKTAR").toDouble();
    const double kalan = deger("KALAN").toDouble();
    const QString barkod = deger("BARKOD").toString();

    if (MesajGoster(QString::fromUtf8(kBakiyeSilSorusu), mtConfirmation, {mbYes, mbNo}, mbNo) != mrYes) return;
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        p.BakiyeDuzenle(Kopya(*bilgi), stokno, sirano, stokharNo, miktar, kalan, barkod);
    });
    BakiyeAlalim();
}

void Tbakiyesiparisler::B2Click()
{
    if (cxGrid2->focusedRow() < 0) return;
    auto deger = [this](const char* alan) { return cxGrid2->focusedValue(QString::fromLatin1(alan)); };
    const int stokno = deger("STOK_STOKNO").toInt();
    const int sirano = deger("SIRANO").toInt();
    const int stokharNo = deger("STOKHAR_NO").toInt();
    const QVariant miktar = deger("MIKTAR");
    const QVariant kalan = deger("KALAN");
    const QString barkod = deger("BARKOD").toString();

    if (MesajGoster(QString::fromUtf8(kBakiyeDegistirSorusu), mtConfirmation, {mbYes, mbNo}, mbYes) != mrYes)
        return;

    Tbakiyedegistir pencere(this);
    pencere.barkod->setText(barkod);
    pencere.adi->setText(deger("ACIKLAMA").toString());
    pencere.finishkod->setText(deger("FINISHKOD").toString());
    pencere.marka->setText(deger("MARKA").toString());
    pencere.model->setText(deger("MODEL").toString());
    pencere.alinansiparis->setText(duzSayi(miktar));
    pencere.teslimedilen->setText(duzSayi(deger("TESLIMEDILEN")));
    pencere.eskibakiye->setText(duzSayi(kalan));
    pencere.elimizde->setText(duzSayi(deger("ELDEKI")));
    if (bilgi->FMusteriTipi == 0) pencere.elimizde->hide();
    if (pencere.exec() != QDialog::Accepted) return;

    const int yeni = pencere.adet->AralikDegeri();
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        p.BakiyeDegistir(Kopya(*bilgi), stokno, sirano, stokharNo, yeni, yeni, barkod);
    });
    BakiyeAlalim();
    MesajGoster(QString::fromUtf8(kBakiyeDegistirildi), mtInformation, {mbOK}, mbOK);
}

void Tbakiyesiparisler::F1Click()
{
    if (cxGrid2->focusedRow() < 0) return;
    auto deger = [this](const char* alan) { return cxGrid2->focusedValue(QString::fromLatin1(alan)); };
    const double miktar = deger("MIKTAR").toDouble();
    const int sirano = deger("SIRANO").toInt();
    const int stokharNo = deger("STOKHAR_NO").toInt();
    const QString barkod = deger("BARKOD").toString();

    Tfiyatdegistir pencere(this);
    pencere._fiyat->DegerYaz(deger("BIRIMFIYAT").toDouble());
    pencere._iskonto->DegerYaz(deger("INDIRIMORANI1").toDouble());
    pencere._fiyatKeyUp();
    if (pencere.exec() != QDialog::Accepted) return;

    const double fiyat = pencere._fiyat->Deger();
    const double ind = pencere._iskonto->Deger();
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        p.BakiyeFiyatDegistir(Kopya(*bilgi), 0, sirano, stokharNo, miktar, miktar, barkod, fiyat, ind);
    });
    BakiyeAlalim();
    QMessageBox::information(this, QStringLiteral("Bilgi"), QString::fromUtf8(kFiyatDegistirildi));
}

} // namespace durnak::client
