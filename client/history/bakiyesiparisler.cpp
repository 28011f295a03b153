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

using grid::Visibility;

namespace {

using gecmis::AdliEtiket;

// The small change dialogs: their form above "Değiştir" (Button1) and "Vazgeç" (Button2) at
// the right. Neither button is auto-default: Enter belongs to the edits.
void formVeDugmeler(QDialog* pencere, QFormLayout* form, QPushButton*& Button1, QPushButton*& Button2)
{
    Button1 = new QPushButton(QStringLiteral("Değiştir"), pencere);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), pencere);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch(1);
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    auto* duzen = new QVBoxLayout(pencere);
    duzen->addLayout(form);
    duzen->addLayout(dugmeler);
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
    barkod = AdliEtiket("barkod", this);
    adi = AdliEtiket("adi", this);
    finishkod = AdliEtiket("finishkod", this);
    marka = AdliEtiket("marka", this);
    model = AdliEtiket("model", this);
    alinansiparis = AdliEtiket("alinansiparis", this);
    teslimedilen = AdliEtiket("teslimedilen", this);
    elimizde = AdliEtiket("elimizde", this);
    eskibakiye = AdliEtiket("eskibakiye", this);
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

    formVeDugmeler(this, form, Button1, Button2);
    connect(Button1, &QPushButton::clicked, this, &Tbakiyedegistir::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tbakiyedegistir::Button2Click);
    connect(adet, &TAdetKutusu::enterBasildi, this, &Tbakiyedegistir::adetKeyDown);
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
    LBLNET = AdliEtiket("LBLNET", this);
    LABELKDV = AdliEtiket("LABELKDV", this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Fiyat:"), _fiyat);
    form->addRow(QStringLiteral("İndirim Oranı %:"), _iskonto);
    form->addRow(QStringLiteral("Net Fiyat:"), LBLNET);
    form->addRow(QStringLiteral("KDV Dahil Fiyat:"), LABELKDV);

    formVeDugmeler(this, form, Button1, Button2);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(_fiyat, &QLineEdit::textChanged, this, [this] { _fiyatKeyUp(); });
    connect(_iskonto, &QLineEdit::textChanged, this, [this] { _iskontoKeyUp(); });
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

    cxGrid2 = gecmis::SiparisSatiriIzgarasi(this, "cxGrid2", gecmis::SatirPenceresi::Bakiye, &bakiyesepet);
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
    const auto dugmeler = gecmis::KapatExcelDugmeleri(this, [this] { Button1Click(); }, [this] { Button2Click(); });
    Button1 = dugmeler.kapat;
    Button2 = dugmeler.excel;
    auto* alt = gecmis::SiparisAltSatiri(*bilgiler, tutar, gecmis::DugmeSutunu({Button1, Button2}));

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
        gecmis::TabloyuYukle(p.BakiyelerVer2(carino), bakiyesepet);
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

QVariant Tbakiyesiparisler::odakli(const char* alan) const { return cxGrid2->focusedValue(QString::fromLatin1(alan)); }

Tbakiyesiparisler::SatirAnahtari Tbakiyesiparisler::odakliAnahtar() const
{
    return {odakli("STOK_STOKNO").toInt(), odakli("SIRANO").toInt(), odakli("STOKHAR_NO").toInt(),
            odakli("BARKOD").toString()};
}

void Tbakiyesiparisler::B1Click()
{
    if (cxGrid2->focusedRow() < 0) return;
    // Read before the question: the focus may move while it is open.
    const SatirAnahtari a = odakliAnahtar();
    const double miktar = odakli("MIKTAR").toDouble();
    const double kalan = odakli("KALAN").toDouble();

    if (MesajGoster(QString::fromUtf8(kBakiyeSilSorusu), mtConfirmation, {mbYes, mbNo}, mbNo) != mrYes) return;
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        p.BakiyeDuzenle(Kopya(*bilgi), a.stokno, a.sirano, a.stokharNo, miktar, kalan, a.barkod);
    });
    BakiyeAlalim();
}

void Tbakiyesiparisler::B2Click()
{
    if (cxGrid2->focusedRow() < 0) return;
    const SatirAnahtari a = odakliAnahtar();
    const QVariant miktar = odakli("MIKTAR");
    const QVariant kalan = odakli("KALAN");

    if (MesajGoster(QString::fromUtf8(kBakiyeDegistirSorusu), mtConfirmation, {mbYes, mbNo}, mbYes) != mrYes)
        return;

    Tbakiyedegistir pencere(this);
    pencere.barkod->setText(a.barkod);
    pencere.adi->setText(odakli("ACIKLAMA").toString());
    pencere.finishkod->setText(odakli("FINISHKOD").toString());
    pencere.marka->setText(odakli("MARKA").toString());
    pencere.model->setText(odakli("MODEL").toString());
    pencere.alinansiparis->setText(duzSayi(miktar));
    pencere.teslimedilen->setText(duzSayi(odakli("TESLIMEDILEN")));
    pencere.eskibakiye->setText(duzSayi(kalan));
    pencere.elimizde->setText(duzSayi(odakli("ELDEKI")));
    if (bilgi->FMusteriTipi == 0) pencere.elimizde->hide();
    if (pencere.exec() != QDialog::Accepted) return;

    const int yeni = pencere.adet->AralikDegeri();
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        p.BakiyeDegistir(Kopya(*bilgi), a.stokno, a.sirano, a.stokharNo, yeni, yeni, a.barkod);
    });
    BakiyeAlalim();
    MesajGoster(QString::fromUtf8(kBakiyeDegistirildi), mtInformation, {mbOK}, mbOK);
}

void Tbakiyesiparisler::F1Click()
{
    if (cxGrid2->focusedRow() < 0) return;
    const SatirAnahtari a = odakliAnahtar();
    const double miktar = odakli("MIKTAR").toDouble();

    Tfiyatdegistir pencere(this);
    pencere._fiyat->DegerYaz(odakli("BIRIMFIYAT").toDouble());
    pencere._iskonto->DegerYaz(odakli("INDIRIMORANI1").toDouble());
    pencere._fiyatKeyUp();
    if (pencere.exec() != QDialog::Accepted) return;

    const double fiyat = pencere._fiyat->Deger();
    const double ind = pencere._iskonto->Deger();
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        p.BakiyeFiyatDegistir(Kopya(*bilgi), 0, a.sirano, a.stokharNo, miktar, miktar, a.barkod, fiyat, ind);
    });
    BakiyeAlalim();
    QMessageBox::information(this, QStringLiteral("Bilgi"), QString::fromUtf8(kFiyatDegistirildi));
}

} // namespace durnak::client
