#include "catalogue/stokayarinti.hpp"

#include <cmath>
#include <exception>
#include <optional>

#include <QBuffer>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/gorunum.hpp"
#include "app/dagitim.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "durnak/data/numberformat.hpp"
#include "durnak/protocol/error.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using data::DisplayLocale;
using data::FormatFloat;
using data::IkiHaneYuvarla;
using data::kParaFormati;

IndirimSonucu IndirimUygula(double brut, double ind1, double ind2, double ind3, double ind4)
{
    double g = brut;
    for (double oran : {ind1, ind2, ind3, ind4})
        if (oran > 0) g -= g * oran / 100.0;
    return {g, brut - g};
}

TutarSonucu TutarHesaplaDegerleri(double birimFiyat, int adet, double kdvOran, const std::array<double, 4>& oranlar)
{
    TutarSonucu s;
    s.brut = birimFiyat * adet;
    const IndirimSonucu ind = IndirimUygula(s.brut, oranlar[0], oranlar[1], oranlar[2], oranlar[3]);
    s.indirim = ind.indirim;
    s.net = IkiHaneYuvarla(ind.net);
    // A quantity of 0 has no unit price: 0 rather than a division by zero.
    s.netBirim = adet == 0 ? 0.0 : IkiHaneYuvarla(s.net / adet);
    s.kdvDahil = IkiHaneYuvarla(s.netBirim * (1.0 + kdvOran / 100.0));
    s.genelTutar = IkiHaneYuvarla(s.kdvDahil * adet);
    return s;
}

int AdetDegeri(const QString& metin)
{
    bool tamSayi = false;
    const int deger = metin.trimmed().toInt(&tamSayi);
    return tamSayi ? deger : 1;
}

FiyatBasliklari FiyatBasliklariVer(StokKaynagi kaynak, int k, const QString& indirimYazi)
{
    const QString fiyat = QStringLiteral("Fiyat:");
    const QString kampanyaliFiyat = QStringLiteral("Kampanyalı Fiyat:");
    const QString kampanyali = QStringLiteral("Kampanyalı ") + indirimYazi;
    switch (kaynak) {
    case StokKaynagi::SepetSatiri:
        return {fiyat, QStringLiteral("İndirim: %") + indirimYazi};
    case StokKaynagi::StokListesi:
        if (k > 0) return {kampanyaliFiyat, kampanyali};
        return {fiyat, QStringLiteral("İndirim: %") + indirimYazi};
    case StokKaynagi::YeniStoklar:
        if (k > 0) return {kampanyaliFiyat, kampanyali};
        return {fiyat, QStringLiteral("İndirim:  % ") + indirimYazi};
    case StokKaynagi::Kampanyali:
        return {kampanyaliFiyat, kampanyali};
    }
    return {fiyat, QStringLiteral("İndirim:")};
}

QUrl ResimSunucusu()
{
    const QString yerel = QString::fromUtf8(dagitim::kYerelSunucu);
    if (!yerel.isEmpty() && tiptut().gecerliip() == yerel) return QUrl(QStringLiteral("http://") + yerel + QLatin1Char('/'));
    QString web = QString::fromUtf8(dagitim::kWebSitesi);
    if (!web.endsWith(QLatin1Char('/'))) web += QLatin1Char('/');
    return QUrl(web);
}

// ---------------------------------------------------------------------------------------

namespace {

QPixmap yerTutucuResmi()
{
    // A neutral frame with a camera-like sign: says "no picture yet" without text.
    QPixmap p(240, 180);
    p.fill(QColor(0xF4, 0xF5, 0xF7));
    QPainter r(&p);
    r.setRenderHint(QPainter::Antialiasing);
    r.setPen(QPen(QColor(0xB8, 0xBE, 0xC8), 3));
    r.setBrush(Qt::NoBrush);
    r.drawRoundedRect(QRectF(70, 55, 100, 70), 10, 10);
    r.drawEllipse(QPointF(120, 90), 22, 22);
    r.drawRect(QRectF(85, 45, 24, 10));
    return p;
}

} // namespace

TResimKutusu::TResimKutusu(QWidget* parent) : QWidget(parent), resim_(yerTutucuResmi())
{
    setObjectName(QStringLiteral("Image1"));
    setMinimumSize(160, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

bool TResimKutusu::Yukle(const QByteArray& baytlar, const char* bicim)
{
    QImage resim;
    if (!resim.loadFromData(baytlar, bicim) || resim.isNull()) return false;
    ResimAyarla(QPixmap::fromImage(resim));
    return true;
}

void TResimKutusu::ResimAyarla(const QPixmap& resim)
{
    resim_ = resim;
    yerTutucu_ = false;
    ++yuklemeSayisi_;
    update();
    emit resimDegisti();
}

QSize TResimKutusu::sizeHint() const { return {420, 300}; }

void TResimKutusu::paintEvent(QPaintEvent*)
{
    if (resim_.isNull()) return;
    QPainter r(this);
    r.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize boy = resim_.size();
    if (boy.width() > width() || boy.height() > height()) boy.scale(size(), Qt::KeepAspectRatio);
    const QRect hedef(QPoint((width() - boy.width()) / 2, (height() - boy.height()) / 2), boy);
    r.drawPixmap(hedef, resim_);
}

// ---------------------------------------------------------------------------------------

Tstokayarinti::Tstokayarinti(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("stokayarinti"));
    setWindowTitle(QStringLiteral("Sepete Ekle"));
    setModal(true);
    resimSunucusu = ResimSunucusu();
    kur();
}

Tstokayarinti::~Tstokayarinti()
{
    kapandi_ = true;
    if (indirme_) indirme_->abort();
}

void Tstokayarinti::kur()
{
    AcikZeminUygula(*this);
    const QString etiketRengi = QStringLiteral("color: %1;").arg(QLatin1String(kKoyuYazi));

    auto* ana = new QVBoxLayout(this);

    // Top panel: the item.
    auto* ust = new QFrame(this);
    ust->setObjectName(QStringLiteral("Panel1"));
    auto* ustDuzen = new QGridLayout(ust);
    auto satir = [&](int sira, const QString& baslik, const char* ad) {
        auto* sabit = new QLabel(baslik, ust);
        sabit->setStyleSheet(etiketRengi + QStringLiteral("font-weight: bold;"));
        auto* deger = new QLabel(ust);
        deger->setObjectName(QString::fromLatin1(ad));
        deger->setStyleSheet(etiketRengi);
        deger->setTextInteractionFlags(Qt::TextSelectableByMouse);
        deger->setWordWrap(true);
        ustDuzen->addWidget(sabit, sira, 0, Qt::AlignRight | Qt::AlignTop);
        ustDuzen->addWidget(deger, sira, 1);
        return deger;
    };
    barkod = satir(0, QStringLiteral("Barkod:"), "barkod");
    adi = satir(1, QStringLiteral("Açıklama:"), "adi");
    finishkod = satir(2, QStringLiteral("Finish Kod:"), "finishkod");
    marka = satir(3, QStringLiteral("Marka:"), "marka");
    model = satir(4, QStringLiteral("Model:"), "model");
    ustDuzen->setColumnStretch(1, 1);
    ana->addWidget(ust);

    Image1 = new TResimKutusu(this);
    ana->addWidget(Image1, 1);

    // Lower panel: quantity and amounts, 20 px.
    auto* alt = new QFrame(this);
    alt->setObjectName(QStringLiteral("Panel2"));
    QFont buyuk = font();
    buyuk.setPixelSize(20);
    alt->setFont(buyuk);
    auto* altDuzen = new QGridLayout(alt);
    auto etiket = [&](const QString& yazi, const char* ad = nullptr) {
        auto* l = new QLabel(yazi, alt);
        if (ad) l->setObjectName(QString::fromLatin1(ad));
        l->setStyleSheet(etiketRengi);
        l->setFont(buyuk);
        return l;
    };
    auto tutarKutusu = [&](const char* ad) {
        auto* e = new QLineEdit(alt);
        e->setObjectName(QString::fromLatin1(ad));
        e->setFont(buyuk);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setReadOnly(true);
        e->installEventFilter(this);
        return e;
    };

    adet = new QSpinBox(alt);
    adet->setObjectName(QStringLiteral("adet"));
    adet->setFont(buyuk);
    adet->setRange(1, 10000);
    adet->setValue(1);
    adet->installEventFilter(this);
    // Enter reaches the spin box's own line edit first.
    adet->findChild<QLineEdit*>()->installEventFilter(this);

    Label2 = etiket(QStringLiteral("Fiyat:"), "Label2");
    indirimoran = etiket(QStringLiteral("İndirim:"), "indirimoran");
    birimfiyat = tutarKutusu("birimfiyat");
    indtutar = tutarKutusu("indtutar");
    kdvdahiltutar = tutarKutusu("kdvdahiltutar");
    geneltutar = tutarKutusu("geneltutar");

    altDuzen->addWidget(etiket(QStringLiteral("Adet:")), 0, 0, Qt::AlignRight);
    altDuzen->addWidget(adet, 0, 1);
    altDuzen->addWidget(Label2, 0, 2, Qt::AlignRight);
    altDuzen->addWidget(birimfiyat, 0, 3);
    altDuzen->addWidget(indirimoran, 1, 0, Qt::AlignRight);
    altDuzen->addWidget(indtutar, 1, 1);
    altDuzen->addWidget(etiket(QStringLiteral("KDV Dahil:")), 1, 2, Qt::AlignRight);
    altDuzen->addWidget(kdvdahiltutar, 1, 3);
    altDuzen->addWidget(etiket(QStringLiteral("Tutar:")), 2, 2, Qt::AlignRight);
    altDuzen->addWidget(geneltutar, 2, 3);
    ana->addWidget(alt);

    auto* dugmeler = new QHBoxLayout;
    ParcaliTus1 = new QPushButton(QStringLiteral("Sipariş ekle"), this);
    ParcaliTus1->setObjectName(QStringLiteral("ParcaliTus1"));
    ParcaliTus2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    ParcaliTus2->setObjectName(QStringLiteral("ParcaliTus2"));
    for (QPushButton* b : {ParcaliTus1, ParcaliTus2}) {
        // Enter is decided per box below, never by a default button.
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFont(buyuk);
        b->setMinimumHeight(40);
    }
    dugmeler->addStretch(1);
    dugmeler->addWidget(ParcaliTus1);
    dugmeler->addWidget(ParcaliTus2);
    ana->addLayout(dugmeler);

    connect(ParcaliTus1, &QPushButton::clicked, this, &Tstokayarinti::tamam);
    connect(ParcaliTus2, &QPushButton::clicked, this, [this] { done(mrCancel); });
    // The box's own text: a quantity still being typed (0, say) is previewed as well.
    connect(adet->findChild<QLineEdit*>(), &QLineEdit::textChanged, this, [this] { TutarHesapla(); });

    setTabOrder(adet, birimfiyat);
    adet->setFocus();
    resize(640, 620);
    SetBirimFiyat(0);
    TutarHesapla();
}

int Tstokayarinti::ShowModal()
{
    const int sonuc = exec();
    return sonuc == mrOk ? mrOk : mrCancel;
}

void Tstokayarinti::BaslikAyarla(StokKaynagi kaynak, int k, const QString& indirimYazi)
{
    const FiyatBasliklari b = FiyatBasliklariVer(kaynak, k, indirimYazi);
    Label2->setText(b.label2);
    indirimoran->setText(b.indirimoran);
}

void Tstokayarinti::FiyatDuzenlenebilir(bool duzenlenebilir) { birimfiyat->setReadOnly(!duzenlenebilir); }

void Tstokayarinti::SetBirimFiyat(double fiyat)
{
    birimfiyat->setText(FormatFloat(kParaFormati, fiyat));
    TutarHesapla();
}

bool Tstokayarinti::BirimFiyatGecerli() const
{
    double deger = 0;
    return data::ParseLocaleNumber(birimfiyat->text().trimmed(), DisplayLocale(), deger);
}

double Tstokayarinti::BirimFiyat() const
{
    double deger = 0;
    if (!data::ParseLocaleNumber(birimfiyat->text().trimmed(), DisplayLocale(), deger)) return 0;
    return deger;
}

QString Tstokayarinti::AdetMetni() const { return adet->cleanText(); }

void Tstokayarinti::TutarHesapla()
{
    sonuc_ = TutarHesaplaDegerleri(BirimFiyat(), Miktar(), kdvoran, {ind1, ind2, ind3, ind4});
    indtutar->setText(FormatFloat(kParaFormati, sonuc_.indirim));
    kdvdahiltutar->setText(FormatFloat(kParaFormati, sonuc_.kdvDahil));
    geneltutar->setText(FormatFloat(kParaFormati, sonuc_.genelTutar));
}

void Tstokayarinti::tamam()
{
    // A line of 0 (or of more than the box allows) is no order line: say so and stay open
    // rather than hand the opener a quantity the box never accepted.
    bool tamSayi = false;
    const int miktar = AdetMetni().trimmed().toInt(&tamSayi);
    if (!tamSayi || miktar < adet->minimum() || miktar > adet->maximum()) {
        MesajGoster(QStringLiteral("Adet %1 ile %2 arasında bir sayı olmalıdır.").arg(adet->minimum()).arg(adet->maximum()),
                    mtWarning, {mbOK}, mbOK);
        adet->setFocus();
        adet->selectAll();
        return;
    }
    done(mrOk);
}

bool Tstokayarinti::eventFilter(QObject* nesne, QEvent* olay)
{
    const bool adetKutusu = nesne == adet || (adet && nesne == adet->findChild<QLineEdit*>());
    if (olay->type() == QEvent::KeyPress) {
        auto* tus = static_cast<QKeyEvent*>(olay);
        const bool enter = tus->key() == Qt::Key_Return || tus->key() == Qt::Key_Enter;
        if (enter && adetKutusu) {
            tamam();
            return true;
        }
        if (enter && nesne == birimfiyat) return true;
    } else if (olay->type() == QEvent::KeyRelease) {
        if (nesne == birimfiyat || nesne == indtutar || nesne == kdvdahiltutar || nesne == geneltutar) TutarHesapla();
    }
    return QDialog::eventFilter(nesne, olay);
}

void Tstokayarinti::showEvent(QShowEvent* olay)
{
    QDialog::showEvent(olay);
    kapandi_ = false;
    TutarHesapla();
    if (isActiveWindow()) etkinlesti();
}

void Tstokayarinti::changeEvent(QEvent* olay)
{
    QDialog::changeEvent(olay);
    if (olay->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) etkinlesti();
}

void Tstokayarinti::etkinlesti()
{
    TutarHesapla();
    ResimGoster();
    adet->setFocus();
    adet->selectAll();
}

void Tstokayarinti::done(int sonuc)
{
    // A picture still on its way belongs to a dialog that is gone.
    kapandi_ = true;
    if (indirme_) indirme_->abort();
    QDialog::done(sonuc);
}

void Tstokayarinti::ResimGoster() { GosterYeni(_stokno); }

void Tstokayarinti::GosterYeni(int stokno)
{
    if (indirme_) {
        QNetworkReply* eski = indirme_;
        indirme_.clear();
        eski->abort();
    }
    if (!resimSunucusu.isValid()) return;
    if (!ag_) ag_ = new QNetworkAccessManager(this);
    const QUrl adres = resimSunucusu.resolved(QUrl(QStringLiteral("resimgoster.ashx?id=") + QString::number(stokno)));
    QNetworkRequest istek(adres);
    istek.setTransferTimeout(15000);
    QNetworkReply* cevap = ag_->get(istek);
    indirme_ = cevap;
    connect(cevap, &QNetworkReply::finished, this, [this, cevap] { resimGeldi(cevap); });
}

void Tstokayarinti::resimGeldi(QNetworkReply* cevap)
{
    cevap->deleteLater();
    const bool guncel = cevap == indirme_.data();
    if (guncel) indirme_.clear();
    // Failures, replaced downloads and late answers are dropped without a word.
    if (!guncel || kapandi_ || !isVisible() || cevap->error() != QNetworkReply::NoError) {
        emit resimIndirildi(false);
        return;
    }
    const QByteArray govde = cevap->readAll();
    if (govde.size() < kEnKucukResim) {
        emit resimIndirildi(false);
        return;
    }
    emit resimIndirildi(Image1->Yukle(govde));
}

// ---------------------------------------------------------------------------------------

namespace {

// The kind of an error as the message names it.
QString hataTuru(const std::exception& hata)
{
    if (dynamic_cast<const EBaglantiHatasi*>(&hata)) return QStringLiteral("EBaglantiHatasi");
    if (dynamic_cast<const protocol::ServerError*>(&hata)) return QStringLiteral("ESunucuHatasi");
    if (dynamic_cast<const protocol::ProtocolError*>(&hata)) return QStringLiteral("EProtokolHatasi");
    return QStringLiteral("Exception");
}

} // namespace

bool StokResmiAl(TForm1& form, int stokno, TResimKutusu* resim)
{
    std::optional<QByteArray> baytlar;
    try {
        CagriA(form.bagc, [&](TServerMethods1Client& p) {
            std::int64_t boy = 0;
            TStream* akis = p.ResimVer5(stokno, boy);
            baytlar = AkisOku(akis, boy);
        });
    } catch (const std::exception& hata) {
        QMessageBox::critical(&form, QString(), hataTuru(hata) + QStringLiteral(": ") + QString::fromUtf8(hata.what()));
        return false;
    }
    if (!baytlar || !resim) return false;
    return resim->Yukle(*baytlar, "JPEG");
}

} // namespace durnak::client
