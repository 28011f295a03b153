#include "signin/girisformu.hpp"

#include <chrono>
#include <thread>
#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app/beklesinu.hpp"
#include "app/dagitim.hpp"
#include "app/simgeler.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "server/cagri.hpp"
#include "signin/formistekyeniu.hpp"
#include "update/dosyaindiru.hpp"

namespace durnak::client {

namespace {

const char* const kBilgiEksik = "Bağlantı Kurulamıyor Lütfen Tekrar Deneyiniz !";
const char* const kKurulamadi = "Bağlantı Kurulamadı !";
const char* const kHatali = "Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !";
const char* const kIstekFormuBasligi = "Durnak Otomotiv B2B İstek Formu";
const char* const kBolum = "kullanici";

bool dongudeMi(const QUrl& adres)
{
    const QString ana = adres.host();
    return ana == QLatin1String("localhost") || QHostAddress(ana).isLoopback();
}

// One GET with the two time-outs; true with the body when it succeeded.
bool tekDeneme(const QString& adres, const std::atomic<bool>* iptal, QString& govde)
{
    using namespace std::chrono_literals;
    QNetworkAccessManager yonetici;
    const QUrl url(adres);
    // A proxy configured for the internet must not stand between us and a local service.
    if (dongudeMi(url)) yonetici.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest istek(url);
    istek.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    istek.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* yanit = yonetici.get(istek);

    QEventLoop dongu;
    QTimer sure;
    sure.setSingleShot(true);
    QObject::connect(&sure, &QTimer::timeout, yanit, &QNetworkReply::abort);
    // Connecting may take 15 s; once the request is out, every gap in the answer 1.5 s.
    QObject::connect(yanit, &QNetworkReply::requestSent, &sure, [&sure] { sure.start(1500ms); });
    QObject::connect(yanit, &QNetworkReply::readyRead, &sure, [&sure] { sure.start(1500ms); });
    QTimer iptalKontrolu;
    QObject::connect(&iptalKontrolu, &QTimer::timeout, yanit, [yanit, iptal] {
        if (iptal && iptal->load()) yanit->abort();
    });
    QObject::connect(yanit, &QNetworkReply::finished, &dongu, &QEventLoop::quit);
    sure.start(15000ms);
    iptalKontrolu.start(100ms);
    if (!yanit->isFinished()) dongu.exec();

    const int durum = yanit->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool tamam = yanit->error() == QNetworkReply::NoError && (durum == 0 || (durum >= 200 && durum < 300));
    if (tamam) govde = QString::fromUtf8(yanit->readAll()).trimmed();
    delete yanit;
    return tamam;
}

// Splits an INI line "key=value" (keys compare without regard to case, as Windows does).
bool anahtarSatiri(const QString& satir, QString& anahtar, QString& deger)
{
    const int esit = satir.indexOf(QLatin1Char('='));
    if (esit <= 0) return false;
    anahtar = satir.left(esit).trimmed();
    deger = satir.mid(esit + 1).trimmed();
    return !anahtar.isEmpty();
}

QStringList satirlariOku(const QString& dosya, bool& var)
{
    QFile f(dosya);
    var = f.exists();
    if (!var || !f.open(QIODevice::ReadOnly)) return {};
    QString metin = QString::fromUtf8(f.readAll());
    if (metin.startsWith(QChar(0xFEFF))) metin.remove(0, 1);
    metin.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList satirlar = metin.split(QLatin1Char('\n'));
    if (!satirlar.isEmpty() && satirlar.last().isEmpty()) satirlar.removeLast();
    return satirlar;
}

bool bolumBasligiMi(const QString& satir, QString* ad = nullptr)
{
    const QString t = satir.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']'))) return false;
    if (ad) *ad = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// A text typed into a field that forces capitals.
void buyukHarfeZorla(QLineEdit* alan)
{
    QObject::connect(alan, &QLineEdit::textEdited, alan, [alan](const QString& metin) {
        const QString buyuk = metin.toUpper();
        if (buyuk == metin) return;
        const int imlec = alan->cursorPosition();
        alan->setText(buyuk);
        alan->setCursorPosition(imlec);
    });
}

// The "standard" warning box of the key checks: beep, one OK button.
void uyariKutusu(QWidget* sahip, const QString& metin)
{
    QApplication::beep();
    QMessageBox kutu(QMessageBox::Warning, QCoreApplication::applicationName(), metin, QMessageBox::NoButton, sahip);
    kutu.addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole);
    kutu.exec();
}

} // namespace

TGirisAdresleri TGirisAdresleri::Varsayilan()
{
    return {QString::fromUtf8(dagitim::kGenelSunucu), QString::fromUtf8(dagitim::kYerelSunucu),
            QString::fromUtf8(dagitim::kWebSitesi), QString::fromUtf8(dagitim::kIpAdresimNe),
            QString::fromUtf8(dagitim::kKurulumAdresi)};
}

QString DisIpAl(const QString& adres, const std::atomic<bool>* iptal)
{
    using namespace std::chrono_literals;
    for (;;) {
        QString govde;
        if (tekDeneme(adres, iptal, govde)) return govde;
        // Wait a second in small steps so that an abandoned lookup ends soon.
        for (int i = 0; i < 10; ++i) {
            if (iptal && iptal->load()) return {};
            std::this_thread::sleep_for(100ms);
        }
        if (iptal && iptal->load()) return {};
    }
}

// --- ayar.ini ----------------------------------------------------------------------------

QString AyarDosyasi()
{
    return VeriKlasoru() + QStringLiteral("/ayar.ini");
}

bool AyarOku(const QString& dosya, TGirisAyari& ayar)
{
    bool var = false;
    const QStringList satirlar = satirlariOku(dosya, var);
    ayar = TGirisAyari{};
    if (!var) return false;
    bool bolumde = false;
    for (const QString& satir : satirlar) {
        QString ad;
        if (bolumBasligiMi(satir, &ad)) {
            bolumde = ad.compare(QLatin1String(kBolum), Qt::CaseInsensitive) == 0;
            continue;
        }
        QString anahtar, deger;
        if (!bolumde || !anahtarSatiri(satir, anahtar, deger)) continue;
        if (anahtar.compare(QLatin1String("isim"), Qt::CaseInsensitive) == 0)
            ayar.isim = deger;
        else if (anahtar.compare(QLatin1String("sifre"), Qt::CaseInsensitive) == 0)
            ayar.sifre = deger;
        else if (anahtar.compare(QStringLiteral("hatırla"), Qt::CaseInsensitive) == 0) {
            // A Boolean with default true: 0 and false are false, other numbers true.
            const QString d = deger.toLower();
            bool sayi = false;
            const int n = d.toInt(&sayi);
            if (sayi)
                ayar.hatirla = n != 0;
            else if (d == QLatin1String("true"))
                ayar.hatirla = true;
            else if (d == QLatin1String("false"))
                ayar.hatirla = false;
        }
    }
    return true;
}

bool AyarYaz(const QString& dosya, const TGirisAyari& ayar)
{
    bool var = false;
    QStringList satirlar = satirlariOku(dosya, var);
    // A value is written on one line; line breaks cannot be part of it.
    auto tekSatir = [](QString s) { return s.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')); };
    const std::pair<QString, QString> degerler[] = {{QStringLiteral("isim"), tekSatir(ayar.isim)},
                                                     {QStringLiteral("sifre"), tekSatir(ayar.sifre)},
                                                     {QStringLiteral("hatırla"), ayar.hatirla ? "1" : "0"}};
    bool yazildi[3] = {false, false, false};

    int bolumBasi = -1;
    int bolumSonu = satirlar.size();
    for (int i = 0; i < satirlar.size(); ++i) {
        QString ad;
        if (!bolumBasligiMi(satirlar[i], &ad)) continue;
        if (bolumBasi >= 0) {
            bolumSonu = i;
            break;
        }
        if (ad.compare(QLatin1String(kBolum), Qt::CaseInsensitive) == 0) bolumBasi = i;
    }
    if (bolumBasi < 0) {
        if (!satirlar.isEmpty() && !satirlar.last().trimmed().isEmpty()) satirlar << QString();
        satirlar << QStringLiteral("[%1]").arg(QLatin1String(kBolum));
        bolumBasi = satirlar.size() - 1;
        bolumSonu = satirlar.size();
    }
    for (int i = bolumBasi + 1; i < bolumSonu; ++i) {
        QString anahtar, deger;
        if (!anahtarSatiri(satirlar[i], anahtar, deger)) continue;
        for (int k = 0; k < 3; ++k)
            if (anahtar.compare(degerler[k].first, Qt::CaseInsensitive) == 0) {
                satirlar[i] = degerler[k].first + QLatin1Char('=') + degerler[k].second;
                yazildi[k] = true;
            }
    }
    // Missing keys go after the last non-blank line of the section.
    int yer = bolumSonu;
    while (yer > bolumBasi + 1 && satirlar[yer - 1].trimmed().isEmpty()) --yer;
    for (int k = 0; k < 3; ++k)
        if (!yazildi[k]) satirlar.insert(yer++, degerler[k].first + QLatin1Char('=') + degerler[k].second);

    // The data folder's parent may be missing on a fresh account.
    QDir().mkpath(QFileInfo(dosya).absolutePath());
    QSaveFile f(dosya);
    if (!f.open(QIODevice::WriteOnly)) return false;
    // The password is kept in plain text: only its owner may read the file.
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    f.write((satirlar.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!f.commit()) return false;
    QFile::setPermissions(dosya, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

// --- Tgirisform --------------------------------------------------------------------------

Tgirisform::Tgirisform(QWidget* sahip, TGirisAdresleri adresler_)
    : QDialog(sahip), adresler(std::move(adresler_)), ProgramiBitir(&TForm1::SurecBitir),
      iptal_(std::make_shared<std::atomic<bool>>(false))
{
    setObjectName(QStringLiteral("girisform"));
    setWindowTitle(QStringLiteral("Giriş"));
    // A fixed border with only the close box; no parent window, so it has its own taskbar
    // entry while the main window is not shown yet.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(368, 550);
    QFont yazi(QStringLiteral("DejaVu Sans"));
    yazi.setPixelSize(13);
    setFont(yazi);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 368, 550);
    {
        QPixmap resim(368, 550);
        QPainter boya(&resim);
        QLinearGradient renk(0, 0, 0, 550);
        renk.setColorAt(0, QColor(236, 241, 248));
        renk.setColorAt(1, QColor(190, 205, 228));
        boya.fillRect(resim.rect(), renk);
        const QPixmap logo = LogoResmi(96);
        boya.drawPixmap((368 - logo.width()) / 2, 40, logo);
        boya.end();
        Image1->setPixmap(resim);
    }

    const QString etiketStili =
        QStringLiteral("QLabel { background-color: rgb(26, 89, 168); color: white; font-weight: bold; }");
    Label1 = new QLabel(QStringLiteral(" Kullanıcı Adı:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(etiketStili);
    Label1->setGeometry(40, 190, 288, 24);
    adi = new QLineEdit(this);
    adi->setObjectName(QStringLiteral("adi"));
    adi->setGeometry(40, 214, 288, 28);
    Label2 = new QLabel(QStringLiteral(" Şifre:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setStyleSheet(etiketStili);
    Label2->setGeometry(40, 254, 288, 24);
    sifre = new QLineEdit(this);
    sifre->setObjectName(QStringLiteral("sifre"));
    sifre->setEchoMode(QLineEdit::Password);
    sifre->setGeometry(40, 278, 288, 28);
    buyukHarfeZorla(adi);
    buyukHarfeZorla(sifre);

    benihatirla = new QCheckBox(QStringLiteral("Beni hatırla"), this);
    benihatirla->setObjectName(QStringLiteral("benihatirla"));
    benihatirla->setChecked(true);
    benihatirla->setGeometry(40, 314, 288, 22);
    // Dark text on the light sign-in background.
    benihatirla->setStyleSheet(QStringLiteral("QCheckBox { color: #1b2433; }"));

    Button1 = new QPushButton(QStringLiteral("Giriş"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(40, 346, 138, 34);
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(190, 346, 138, 34);
    Button2->setAutoDefault(false);

    RxGIFAnimator1 = new TMesgulAnimasyonu(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->move(171, 392);
    RxGIFAnimator1->hide();

    RxLabel1 = new QLabel(this);
    RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
    RxLabel1->setAlignment(Qt::AlignCenter);
    RxLabel1->setWordWrap(true);
    RxLabel1->setGeometry(10, 430, 348, 110);
    RxLabel1->setStyleSheet(QStringLiteral("QLabel { color: #1b2433; }"));
    RxLabel1->setText(QStringLiteral("Durnak Otomotiv\n%1").arg(QString::fromUtf8(dagitim::kWebSitesi)));

    // Tab order: Giriş, Vazgeç, then the fields.
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, adi);
    setTabOrder(adi, sifre);
    setTabOrder(sifre, benihatirla);

    adi->installEventFilter(this);
    sifre->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &Tgirisform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tgirisform::Button2Click);

    FormCreate();
}

Tgirisform::~Tgirisform()
{
    // A lookup still retrying on a worker gives up.
    iptal_->store(true);
}

void Tgirisform::FormCreate()
{
    idsi = BilgisayarIdAl();
    AyarYukle();
}

void Tgirisform::showEvent(QShowEvent* olay)
{
    QDialog::showEvent(olay);
    if (const QScreen* ekran = screen()) move(ekran->availableGeometry().center() - rect().center());
    adi->setFocus();
}

void Tgirisform::AyarYukle()
{
    TGirisAyari ayar;
    if (!AyarOku(AyarDosyasi(), ayar)) return;
    benihatirla->setChecked(ayar.hatirla);
    if (benihatirla->isChecked()) {
        adi->setText(ayar.isim);
        sifre->setText(ayar.sifre);
    }
}

void Tgirisform::AyarKaydet()
{
    AyarYaz(AyarDosyasi(), {adi->text(), sifre->text(), benihatirla->isChecked()});
}

bool Tgirisform::eventFilter(QObject* nesne, QEvent* olay)
{
    if ((nesne == adi || nesne == sifre) && olay->type() == QEvent::KeyPress) {
        const auto* tus = static_cast<QKeyEvent*>(olay);
        if (tus->key() == Qt::Key_Return || tus->key() == Qt::Key_Enter) {
            auto* alan = static_cast<QLineEdit*>(nesne);
            if (alan->text().trimmed().isEmpty()) {
                uyariKutusu(this, alan == adi ? QStringLiteral("Lütfen kullanıcı adını giriniz !")
                                              : QStringLiteral("Lütfen kullanıcı şifresini giriniz !"));
                alan->selectAll();
                alan->setFocus();
            } else if (alan == adi) {
                sifre->selectAll();
                sifre->setFocus();
            } else {
                Button1->click();
            }
            return true;
        }
    }
    return QDialog::eventFilter(nesne, olay);
}

void Tgirisform::mesgulGoster(bool goster)
{
    // The animation plays only while shown.
    RxGIFAnimator1->setVisible(goster);
}

void Tgirisform::tekrarDene(QLineEdit* odak)
{
    Button1->setEnabled(true);
    if (odak) {
        odak->selectAll();
        odak->setFocus();
    }
    emit girisBitti();
}

void Tgirisform::Button1Click()
{
    if (!Button1->isEnabled() || !bagim || !Bilgim) return;
    Button1->setText(QStringLiteral("Bağlanıyor..."));
    Button1->setEnabled(false);
    mesgulGoster(true);

    auto disIp = std::make_shared<QString>();
    const QString servis = adresler.ipAdresimNe;
    std::shared_ptr<std::atomic<bool>> iptal = iptal_;
    QPointer<Tgirisform> pencere(this);
    ArkaPlanda([disIp, servis, iptal] { *disIp = DisIpAl(servis, iptal.get()).trimmed(); })->Await([pencere, disIp] {
        if (!pencere) return;
        pencere->Button1->setText(QStringLiteral("Giriş!"));
        pencere->mesgulGoster(false);
        pencere->Devamet(*disIp);
    });
}

namespace {

// What the server check hands from its worker to the main thread.
struct TKontrolSonucu {
    bool tamam = false;
    QString hata;
    TSonucBilgisi kayit;
    QString oturumAnahtari;
};

// The server check on a private connection; `kayit` starts as the session record.
void sunucuyuKontrolEt(TBaglanti& baglanti, const QString& idsi, const QString& ipServisi,
                       const std::atomic<bool>* iptal, TKontrolSonucu& sonuc)
{
    if (!BaglantiAc(baglanti, 0)) return;
    try {
        TServerMethods1Client proxy(baglanti);
        if (const TSonucBilgisi* gelen = proxy.BuyukGetir(idsi)) sonuc.kayit.Kopyala(*gelen);
        else throw std::runtime_error("Sunucu hesap bilgisi göndermedi.");
    } catch (const std::exception& e) {
        baglanti.Close();
        sonuc.hata = QString::fromUtf8(e.what());
        return;
    }
    sonuc.oturumAnahtari = baglanti.Token();
    baglanti.Close();

    sonuc.kayit.FBilgiSayarAdi = BilgisayarAdiAl().toStdString();
    sonuc.kayit.FBilgisayarKullanici = KullaniciAdiAl().toStdString();
    sonuc.kayit.FIcip = YerelIpAl().toStdString();
    sonuc.kayit.FBILGISAYARID = idsi.toStdString();
    sonuc.kayit.FDisip = DisIpAl(ipServisi, iptal).trimmed().toStdString();
    sonuc.tamam = true;
}

} // namespace

bool Tgirisform::SunucuKontrol()
{
    if (!bagim || !Bilgim) return false;
    std::unique_ptr<TBaglanti> kopya = bagim->Clone();
    TKontrolSonucu sonuc;
    sonuc.kayit = *Bilgim;
    sunucuyuKontrolEt(*kopya, idsi, adresler.ipAdresimNe, iptal_.get(), sonuc);
    if (!sonuc.hata.isEmpty()) HataGoster(sonuc.hata);
    if (!sonuc.tamam) return false;
    Bilgim->Kopyala(sonuc.kayit);
    if (!sonuc.oturumAnahtari.isEmpty()) bagim->SetToken(sonuc.oturumAnahtari);
    return true;
}

void Tgirisform::Devamet(const QString& disIp)
{
    if (disIp.trimmed().isEmpty()) {
        MesajGoster(QString::fromUtf8(kBilgiEksik), mtError, {mbOK}, mbOK);
        tekrarDene(nullptr);
        return;
    }
    Bilgim->FDisip = disIp.toStdString();

    const bool iceride = disIp == adresler.genelSunucu;
    const QString sunucu = iceride ? adresler.yerelSunucu : adresler.genelSunucu;
    bagim->Params().SetValues(QStringLiteral("HostName"), sunucu);
    tiptut().setGecerliip(sunucu);
    // The hello of the check carries what was typed; the server establishes the session.
    bagim->SetComputerId(idsi);
    bagim->SetCredentials(adi->text(), sifre->text());

    mesgulGoster(true);
    auto sonuc = std::make_shared<TKontrolSonucu>();
    sonuc->kayit = *Bilgim;
    std::shared_ptr<TBaglanti> kopya(bagim->Clone());
    const QString kimlik = idsi;
    const QString servis = adresler.ipAdresimNe;
    std::shared_ptr<std::atomic<bool>> iptal = iptal_;
    QPointer<Tgirisform> pencere(this);
    ArkaPlanda([sonuc, kopya, kimlik, servis, iptal] {
        sunucuyuKontrolEt(*kopya, kimlik, servis, iptal.get(), *sonuc);
    })->Await([pencere, sonuc, disIp, iceride] {
        if (!pencere) return;
        Tgirisform& f = *pencere;
        f.mesgulGoster(false);
        if (!sonuc->hata.isEmpty()) HataGoster(sonuc->hata);
        if (!sonuc->tamam) {
            MesajGoster(QString::fromUtf8(kKurulamadi), mtError, {mbOK}, mbOK);
            f.tekrarDene(f.adi);
            return;
        }
        f.Bilgim->Kopyala(sonuc->kayit);
        if (!sonuc->oturumAnahtari.isEmpty()) f.bagim->SetToken(sonuc->oturumAnahtari);
        f.bitir(iceride);
    });
}

void Tgirisform::bitir(bool iceride)
{
    QPointer<Tgirisform> pencere(this);
    TSonucBilgisi& b = *Bilgim;

    // A record of an unknown workstation carries no announced version (only the default
    // 1): such a workstation goes on to the request form instead of into an update that
    // could never let it reach that form.
    if (b.FVarmi && b.FVersion != kProgramVersiyonu) {
        Tdosyaindir guncelle(this, b.FVersion, adresler.kurulumAdresi);
        guncelle.ProgramiBitir = ProgramiBitir;
        guncelle.exec();
        if (!pencere) return;
    }

    if (!b.FVarmi) {
        IstekFormuAc(iceride ? QStringLiteral("http://") + adresler.yerelSunucu + QLatin1Char('/') : adresler.webSitesi);
        ProgramiBitir(0);
        if (pencere) done(QDialog::Rejected);
        return;
    }

    if (adi->text() == QString::fromStdString(b.FADI) && sifre->text() == QString::fromStdString(b.FSIFRE)) {
        AyarKaydet();
        if (b.FAKTIF == 1) {
            if ((b.FMusteriTipi == 1 || b.FMusteriTipi == 2) && CariSecimiAc && !CariSecimiAc(*this)) {
                ProgramiBitir(0);
                if (pencere) done(QDialog::Rejected);
                return;
            }
            if (!pencere) return;
            Button1->setEnabled(true);
            emit girisBitti();
            accept();
            return;
        }
    }
    MesajGoster(QString::fromUtf8(kHatali), mtWarning, {mbOK}, mbOK);
    if (pencere) tekrarDene(adi);
}

void Tgirisform::IstekFormuAc(const QString& taban)
{
    Tformistekyeni form(this);
    form.setWindowTitle(QString::fromUtf8(kIstekFormuBasligi));
    form.Git(QUrl(taban + QStringLiteral("formmailgonder.aspx?carino=0&kullanici= &id=") + idsi));
    form.exec();
}

void Tgirisform::Button2Click()
{
    ProgramiBitir(0);
    done(QDialog::Rejected);
}

// --- wiring ------------------------------------------------------------------------------

void GirisiBagla(TForm1Kancalari& kancalar, TCariSecimi cariSecimi, TGirisAdresleri adresler)
{
    kancalar.girisYap = [cariSecimi = std::move(cariSecimi), adresler = std::move(adresler)](TForm1& form) {
        Tgirisform giris(nullptr, adresler);
        giris.bagim = &form.bagc;
        giris.Bilgim = &form.sbilgi;
        giris.CariSecimiAc = cariSecimi;
        giris.ProgramiBitir = form.ProgramiBitir;
        return giris.exec() == QDialog::Accepted;
    };
}

} // namespace durnak::client
