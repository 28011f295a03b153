#include "signin/kullanicikayitu.hpp"

#include <iterator>

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

namespace {

const char* const kBaslik = "Şifre Değiştirme İsteği";

QString metin(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

Tkullanicikayit::Tkullanicikayit(QWidget* sahip, const TBaglanti& baglanti, const protocol::TSonucBilgisi& bilgi)
    : QDialog(sahip), con(baglanti.Clone()), Bilgim(bilgi)
{
    setObjectName(QStringLiteral("kullanicikayit"));
    QFont yazi(QStringLiteral("DejaVu Sans"));
    yazi.setPixelSize(13);
    yazi.setBold(true);
    setFont(yazi);
    resize(705, 514);

    auto* duzen = new QVBoxLayout(this);
    lblid = new QLabel(this);
    lblid->setObjectName(QStringLiteral("lblid"));
    lblid->setTextInteractionFlags(Qt::TextSelectableByMouse);
    duzen->addWidget(lblid);

    auto* izgara = new QGridLayout;
    izgara->setColumnStretch(1, 1);
    izgara->setColumnStretch(2, 1);
    duzen->addLayout(izgara, 1);
    int satir = 0;
    auto baslik = [&](const QString& yazi) {
        auto* l = new QLabel(yazi, this);
        l->setAlignment(Qt::AlignCenter);
        izgara->addWidget(l, satir++, 0, 1, 3);
    };
    auto alan = [this](const char* ad) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(ad));
        return e;
    };
    // One field across both columns, or two side by side.
    auto ekle = [&](const QString& etiket, QLineEdit* sol, QLineEdit* sag = nullptr) {
        auto* l = new QLabel(etiket, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        izgara->addWidget(l, satir, 0);
        if (sag) {
            izgara->addWidget(sol, satir, 1);
            izgara->addWidget(sag, satir, 2);
        } else {
            izgara->addWidget(sol, satir, 1, 1, 2);
        }
        ++satir;
    };

    baslik(QStringLiteral("Firma Bilgileri"));
    ekle(QStringLiteral("Firma Adı:"), firmaadi = alan("firmaadi"));
    ekle(QStringLiteral("Adres:"), adres1 = alan("adres1"));
    ekle(QStringLiteral("Adres2:"), adres2 = alan("adres2"));
    ilce = alan("ilce");
    sehir = alan("sehir");
    ekle(QStringLiteral("İlçe/Şehir:"), ilce, sehir);
    telefon = alan("telefon");
    fax = alan("fax");
    ekle(QStringLiteral("Telefon/Fax:"), telefon, fax);
    vd = alan("vd");
    vn = alan("vn");
    ekle(QStringLiteral("Vergi Dairesi / No:"), vd, vn);
    ekle(QStringLiteral("Yetkili:"), yetkili = alan("yetkili"));
    baslik(QStringLiteral("Kullanıcı Bilgileri"));
    ekle(QStringLiteral("Kullanıcı Adı:"), kullaniciadi = alan("kullaniciadi"));
    ekle(QStringLiteral("Şifre:"), sifre = alan("sifre"));  // shown as typed
    ekle(QStringLiteral("Mail:"), mail = alan("mail"));
    ekle(QStringLiteral("Kargo Ambar:"), kargoambar = alan("kargoambar"));

    duzen->addLayout(GonderKapatSatiri(this, Button2, Button1));

    QWidget* sira[] = {firmaadi, adres1, adres2, ilce, sehir, telefon, fax, vd, vn,
                       yetkili, kullaniciadi, sifre, mail, kargoambar, Button2, Button1};
    for (std::size_t i = 1; i < std::size(sira); ++i) setTabOrder(sira[i - 1], sira[i]);

    connect(Button2, &QPushButton::clicked, this, &Tkullanicikayit::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &Tkullanicikayit::Button1Click);

    Ac();
}

Tkullanicikayit::~Tkullanicikayit() = default;

void Tkullanicikayit::Ac()
{
    lblid->setText(QStringLiteral("Bilgisayar ID: ") + metin(Bilgim.FBILGISAYARID));
    kullaniciadi->setText(metin(Bilgim.FADI));
    firmaadi->setText(metin(Bilgim.FCariAdi));

    try {
        CagriA(*con, [&](TServerMethods1Client& proxy) {
            if (const auto* cari = proxy.MobilCariBilgisiGetir(0, metin(Bilgim.FBILGISAYARID))) {
                adres1->setText(metin(cari->FADRES1));
                adres2->setText(metin(cari->FADRES2));
                ilce->setText(metin(cari->FILCE));
                sehir->setText(metin(cari->FSEHIR));
                telefon->setText(metin(cari->FTEL1));
                fax->setText(metin(cari->FFAX1));
                vd->setText(metin(cari->FVERGIDAIRESI));
                vn->setText(metin(cari->FVERGINO));
            }
        });
    } catch (...) {
        HataGoster(std::current_exception());
    }
    setWindowTitle(QString::fromUtf8(kBaslik));
}

void Tkullanicikayit::Button2Click()
{
    const std::pair<QLineEdit*, const char*> zorunlu[] = {
        {firmaadi, "Firma Adı boş olamaz !"},   {adres1, "Adres boş olamaz !"},
        {ilce, "İlçe Adı boş olamaz !"},        {sehir, "Şehir Adı boş olamaz !"},
        {telefon, "Telefon  boş olamaz !"},     {yetkili, "Yetkili  boş olamaz !"},
        {kullaniciadi, "Kullanıcı  boş olamaz !"}, {sifre, "Şifre  boş olamaz !"},
        {mail, "Mail  boş olamaz !"}};
    for (const auto& [alan, mesaj] : zorunlu) {
        if (!alan->text().trimmed().isEmpty()) continue;
        alan->selectAll();
        alan->setFocus();
        MesajGoster(QString::fromUtf8(mesaj), mtWarning, {mbOK}, mbOK);
        return;
    }

    try {
        const bool gitti = CagriA(*con, [&](TServerMethods1Client& proxy) {
            proxy.MailGonserCari(metin(Bilgim.FBILGISAYARID), QString::fromUtf8(kBaslik), firmaadi->text(),
                                 adres1->text(), adres2->text(), ilce->text(), sehir->text(), telefon->text(),
                                 fax->text(), vd->text(), vn->text(), yetkili->text(), kullaniciadi->text(),
                                 sifre->text(), mail->text(), kargoambar->text());
        });
        if (!gitti) return;
    } catch (...) {
        HataGoster(std::current_exception());
        return;
    }
    MesajGoster(QStringLiteral("İsteğiniz Gönderildi!"), mtInformation, {mbOK}, mbOK);
}

void Tkullanicikayit::Button1Click()
{
    reject();
}

void SifreIstegiBagla(TForm1& form)
{
    QObject::connect(form.SifreDegistirmeIstegi1, &QAction::triggered, &form, [&form] {
        Tkullanicikayit pencere(&form, form.bagc, form.sbilgi);
        pencere.exec();
    });
}

} // namespace durnak::client
