#include "update/dosyaindiru.hpp"

#include "app/gorunum.hpp"

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHostAddress>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "app/dagitim.hpp"
#include "app/unit1.hpp"
#include "durnak/data/numberformat.hpp"

namespace durnak::client {

namespace {

QString ikiHane(double deger, QChar ondalik)
{
    return QString::number(deger, 'f', 2).replace(QLatin1Char('.'), ondalik);
}

} // namespace

Tdosyaindir::Tdosyaindir(QWidget* AOwner, int _y, QString adres_)
    : QDialog(AOwner), adres(adres_.isEmpty() ? QString::fromUtf8(dagitim::kKurulumAdresi) : std::move(adres_)),
      ProgramiBitir(&TForm1::SurecBitir)
{
    setObjectName(QStringLiteral("dosyaindir"));
    setWindowTitle(QStringLiteral("Dosya İndir"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(543, 309);

    auto* duzen = new QVBoxLayout(this);
    duzen->setContentsMargins(0, 0, 0, 0);
    duzen->setSpacing(0);

    sLabel1 = new QLabel(this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setAlignment(Qt::AlignCenter);
    sLabel1->setWordWrap(true);
    QFont buyuk(QStringLiteral("DejaVu Sans"));
    buyuk.setPixelSize(27);
    sLabel1->setFont(buyuk);
    sLabel1->setStyleSheet(QStringLiteral("QLabel { color: rgb(67, 76, 88); background: transparent; }"));
    AcikZeminUygula(*this);
    sLabel1->setText(QStringLiteral("Durnak Otomotiv B2B Programının\nYeni versiyonu indirilecektir\nLütfen "
                                    "Bekleyiniz...!\nVersion: %1-%2")
                         .arg(_y)
                         .arg(2));
    duzen->addWidget(sLabel1, 1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(58);
    auto* alt = new QVBoxLayout(Panel1);
    alt->setContentsMargins(4, 2, 4, 4);
    bilgi = new QLabel(Panel1);
    bilgi->setObjectName(QStringLiteral("bilgi"));
    QFont kalin(QStringLiteral("DejaVu Sans"));
    kalin.setPixelSize(13);
    kalin.setBold(true);
    bilgi->setFont(kalin);
    alt->addWidget(bilgi);
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    alt->addWidget(ProgressBar1, 1);
    duzen->addWidget(Panel1);
}

QString Tdosyaindir::IlerlemeMetni(std::int64_t toplam, std::int64_t alinan)
{
    const QChar ondalik = data::DisplayLocale().decimalPoint().at(0);
    const double yuzde = static_cast<double>(alinan) / static_cast<double>(toplam) * 100.0;
    const double mb = 1024.0 * 1024.0;
    return QStringLiteral("Bilgi: %") + ikiHane(yuzde, ondalik) + QStringLiteral("  İndirilen: ") +
           ikiHane(static_cast<double>(alinan) / mb, ondalik) + QLatin1Char('/') +
           ikiHane(static_cast<double>(toplam) / mb, ondalik) + QStringLiteral(" Mb");
}

QString Tdosyaindir::HedefDosya()
{
    const QString klasor = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(klasor);
    return QDir::cleanPath(klasor + QLatin1Char('/') + QLatin1String(kKurulumDosyasi));
}

void Tdosyaindir::showEvent(QShowEvent* olay)
{
    QDialog::showEvent(olay);
    if (const QScreen* ekran = screen()) move(ekran->availableGeometry().center() - rect().center());
    // Where no window manager activates the window, the download still starts.
    QPointer<Tdosyaindir> pencere(this);
    QTimer::singleShot(0, this, [pencere] {
        if (pencere) pencere->FormActivate();
    });
}

void Tdosyaindir::changeEvent(QEvent* olay)
{
    QDialog::changeEvent(olay);
    if (olay->type() == QEvent::ActivationChange && isActiveWindow()) {
        QPointer<Tdosyaindir> pencere(this);
        QTimer::singleShot(0, this, [pencere] {
            if (pencere) pencere->FormActivate();
        });
    }
}

void Tdosyaindir::NetHTTPClient1ReceiveData(std::int64_t AContentLength, std::int64_t AReadCount, bool& Abort)
{
    (void)Abort;
    if (AContentLength <= 0) return;
    bilgi->setText(IlerlemeMetni(AContentLength, AReadCount));
    // The bar counts in bytes; files over 2 GiB are counted in KiB so that it still fits.
    const int kaydirma = AContentLength > std::numeric_limits<int>::max() ? 10 : 0;
    ProgressBar1->setMaximum(static_cast<int>(AContentLength >> kaydirma));
    ProgressBar1->setValue(static_cast<int>(std::min(AReadCount, AContentLength) >> kaydirma));
}

void Tdosyaindir::NetHTTPClient1RequestError(const QString& AError)
{
    QMessageBox kutu(QMessageBox::Critical, QCoreApplication::applicationName(),
                     QStringLiteral("Hata Oluştu !\nHata: ") + AError, QMessageBox::NoButton, this);
    kutu.setObjectName(QStringLiteral("indirmeHatasi"));
    kutu.addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole);
    kutu.exec();
    ProgramiBitir(0);
    // Reached only where the end is replaced (tests).
    done(QDialog::Rejected);
}

void Tdosyaindir::FormActivate()
{
    if (basladi) return;
    basladi = true;
    QPointer<Tdosyaindir> pencere(this);

    const QString hedef = HedefDosya();
    if (QFile::exists(hedef) && !QFile::remove(hedef)) {
        HataGoster(QStringLiteral("%1 silinemedi.").arg(QDir::toNativeSeparators(hedef)));
        return;
    }

    // The download holds the window the way a synchronous call would: a local event loop
    // keeps the label, the bar and input alive, and basladi keeps it from starting twice.
    QNetworkAccessManager yonetici;
    const QUrl url(adres);
    if (url.host() == QLatin1String("localhost") || QHostAddress(url.host()).isLoopback())
        yonetici.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest istek(url);
    istek.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    istek.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    istek.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    istek.setRawHeader("Accept",
                       "text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,image/apng,*/*;q=0.8");
    istek.setRawHeader("Accept-Language", "en-US,tr-TR;q=0.8,tr;q=0.6,en;q=0.4");
    istek.setRawHeader("User-Agent", "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like "
                                     "Gecko) Chrome/60.0.3112.32 Safari/537.36");
    // Qt asks for compressed content itself and unpacks it.
    istek.setTransferTimeout(60000);

    QNetworkReply* yanit = yonetici.get(istek);
    QEventLoop dongu;
    connect(yanit, &QNetworkReply::downloadProgress, this, [this](qint64 alinan, qint64 toplam) {
        bool durdur = false;
        NetHTTPClient1ReceiveData(toplam, alinan, durdur);
    });
    connect(yanit, &QNetworkReply::finished, &dongu, &QEventLoop::quit);
    if (!yanit->isFinished()) dongu.exec();
    if (!pencere) {
        delete yanit;
        return;
    }

    const int durum = yanit->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (yanit->error() != QNetworkReply::NoError || durum >= 300) {
        QString hata = yanit->errorString();
        if (durum >= 300) {
            const QString neden = yanit->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            hata = QStringLiteral("HTTP %1 %2").arg(durum).arg(neden).trimmed();
        }
        delete yanit;
        NetHTTPClient1RequestError(hata);
        return;
    }
    const QByteArray icerik = yanit->readAll();
    delete yanit;

    QFile dosya(hedef);
    if (!dosya.open(QIODevice::WriteOnly) || dosya.write(icerik) != icerik.size() || !dosya.flush()) {
        const QString neden = dosya.errorString();
        dosya.close();
        QFile::remove(hedef);  // no half-written setup is left to start later
        HataGoster(QStringLiteral("%1 yazılamadı: %2").arg(QDir::toNativeSeparators(hedef), neden));
        return;
    }
    dosya.close();
    QFile::setPermissions(hedef, QFile::permissions(hedef) | QFileDevice::ExeOwner | QFileDevice::ExeUser);

    if (!QProcess::startDetached(hedef, {QStringLiteral("/silent")}, QFileInfo(hedef).absolutePath())) {
        HataGoster(QStringLiteral("%1 başlatılamadı.").arg(QDir::toNativeSeparators(hedef)));
        return;
    }
    ProgramiBitir(0);
    // Reached only where the end is replaced (tests): the window is done.
    if (pencere) done(QDialog::Accepted);
}

} // namespace durnak::client
