#include "app/utils.hpp"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QHBoxLayout>
#include <QHostInfo>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QSysInfo>

#include "app/beklesinu.hpp"
#include "server/baglanti.hpp"

namespace durnak::client {

namespace {

int mesajYaziBoyutu = 0;

// Centred on the screen rather than on whatever window is active.
class MesajKutusu : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* olay) override
    {
        QMessageBox::showEvent(olay);
        if (QScreen* ekran = QGuiApplication::primaryScreen()) {
            QRect alan = ekran->availableGeometry();
            move(alan.center() - rect().center());
        }
    }
};

QMessageBox::Icon simge(int tur)
{
    switch (tur) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
    }
}

QMessageBox::ButtonRole rol(int dugme)
{
    switch (dugme) {
    case mbYes: return QMessageBox::YesRole;
    case mbNo: return QMessageBox::NoRole;
    case mbOK: return QMessageBox::AcceptRole;
    case mbCancel: return QMessageBox::RejectRole;
    case mbHelp: return QMessageBox::HelpRole;
    default: return QMessageBox::ActionRole;
    }
}

QString dosyaOku(const QString& yol, qint64 enFazla = 4096)
{
    QFile dosya(yol);
    if (!dosya.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(dosya.read(enFazla));
}

bool sanalDisk(const QString& ad)
{
    static const char* const onekler[] = {"loop", "ram", "zram", "dm-", "md", "sr", "fd", "nbd", "nullb"};
    for (const char* onek : onekler)
        if (ad.startsWith(QLatin1String(onek))) return true;
    return false;
}

// The serial the udev database keeps for a block device ("E:ID_SERIAL_SHORT=...").
QString udevSeriNo(const QString& kok, const QString& aygitNo)
{
    if (aygitNo.isEmpty()) return {};
    const QString veri = dosyaOku(kok + QStringLiteral("/run/udev/data/b") + aygitNo, 64 * 1024);
    for (const QString& satir : veri.split(QLatin1Char('\n'))) {
        if (satir.startsWith(QLatin1String("E:ID_SERIAL_SHORT="))) return satir.mid(18).trimmed();
    }
    return {};
}

// SCSI VPD page 0x80: four header bytes, the fourth the length, then the serial.
QString vpdSeriNo(const QString& yol)
{
    QFile dosya(yol);
    if (!dosya.open(QIODevice::ReadOnly)) return {};
    const QByteArray sayfa = dosya.read(260);
    if (sayfa.size() < 4) return {};
    const int boy = std::min<int>(static_cast<unsigned char>(sayfa[3]), sayfa.size() - 4);
    return QString::fromLatin1(sayfa.mid(4, boy)).trimmed();
}

// "aa:bb:cc:dd:ee:ff" as "AA-BB-CC-DD-EE-FF"; empty for anything that is not six octets.
QString adaptorAdresi(const QString& ham)
{
    static const QRegularExpression bicim(QStringLiteral("^([0-9A-Fa-f]{2}:){5}[0-9A-Fa-f]{2}$"));
    const QString adres = ham.trimmed();
    if (!bicim.match(adres).hasMatch()) return {};
    return adres.toUpper().replace(QLatin1Char(':'), QLatin1Char('-'));
}

QString kokYolu(const QString& kok)
{
    QString k = kok;
    while (k.endsWith(QLatin1Char('/'))) k.chop(1);
    return k;
}

} // namespace

QString MesajBasligi(int tur)
{
    switch (tur) {
    case mtWarning: return QStringLiteral("Uyarı");
    case mtError: return QStringLiteral("Hata");
    case mtInformation: return QStringLiteral("Bilgi");
    case mtConfirmation: return QStringLiteral("Soru");
    default: return QString();
    }
}

QString DugmeYazisi(int dugme)
{
    switch (dugme) {
    case mbYes: return QStringLiteral("Evet");
    case mbNo: return QStringLiteral("Hayır");
    case mbOK: return QStringLiteral("Tamam");
    case mbCancel: return QStringLiteral("Vazgeç");
    case mbAbort: return QStringLiteral("İptal");
    case mbRetry: return QStringLiteral("Tekrar");
    case mbIgnore: return QStringLiteral("Atla");
    case mbHelp: return QStringLiteral("Yardım");
    default: return QString();
    }
}

int DugmeSonucu(int dugme)
{
    switch (dugme) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    default: return mrNone;
    }
}

QHBoxLayout* GonderKapatSatiri(QWidget* pencere, QPushButton*& gonder, QPushButton*& kapat)
{
    gonder = new QPushButton(QStringLiteral("Gönder"), pencere);
    gonder->setObjectName(QStringLiteral("Button2"));
    kapat = new QPushButton(QStringLiteral("Kapat"), pencere);
    kapat->setObjectName(QStringLiteral("Button1"));
    for (QPushButton* b : {gonder, kapat}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
    }
    auto* satir = new QHBoxLayout;
    satir->addWidget(gonder);
    satir->addStretch(1);
    satir->addWidget(kapat);
    return satir;
}

void MesajYaziBoyutuAyarla(int punto)
{
    mesajYaziBoyutu = punto;
}

int MesajYaziBoyutu()
{
    return mesajYaziBoyutu;
}

int MesajGoster(const QString& metin, int tur, std::initializer_list<int> dugmeler, int odak)
{
    return MesajGoster(metin, tur, std::vector<int>(dugmeler), odak);
}

int MesajGoster(const QString& metin, int tur, const std::vector<int>& dugmeler, int odak)
{
    MesajKutusu kutu;
    kutu.setObjectName(QStringLiteral("MesajGoster"));
    kutu.setIcon(simge(tur));
    kutu.setWindowTitle(MesajBasligi(tur));
    kutu.setText(metin);
    if (mesajYaziBoyutu > 0) {
        QFont yazi = kutu.font();
        yazi.setPointSize(mesajYaziBoyutu);
        kutu.setFont(yazi);
    }

    std::vector<std::pair<QAbstractButton*, int>> eslesme;
    QAbstractButton* odakDugmesi = nullptr;
    for (int dugme : dugmeler) {
        QPushButton* b = kutu.addButton(DugmeYazisi(dugme), rol(dugme));
        b->setObjectName(QStringLiteral("dugme%1").arg(dugme));
        eslesme.emplace_back(b, dugme);
        if (dugme == odak) odakDugmesi = b;
    }
    if (eslesme.empty()) {
        QPushButton* b = kutu.addButton(DugmeYazisi(mbOK), QMessageBox::AcceptRole);
        eslesme.emplace_back(b, mbOK);
    }
    if (!odakDugmesi) odakDugmesi = eslesme.front().first;
    kutu.setDefaultButton(static_cast<QPushButton*>(odakDugmesi));

    // Escape and the close box: Cancel where there is one, else No, else OK.
    for (int kacis : {mbCancel, mbNo, mbOK}) {
        auto it = std::find_if(eslesme.begin(), eslesme.end(), [&](const auto& e) { return e.second == kacis; });
        if (it != eslesme.end()) {
            kutu.setEscapeButton(it->first);
            break;
        }
    }

    QApplication::beep();
    kutu.exec();

    QAbstractButton* basilan = kutu.clickedButton();
    for (const auto& [b, dugme] : eslesme)
        if (b == basilan) return DugmeSonucu(dugme);
    return mrCancel;
}

void BaglantiMesajlariniBagla()
{
    MesajKancasiAyarla([](const BaglantiMesaji& mesaj) {
        AnaThreaddeCalistir([&] { MesajGoster(mesaj.metin, mesaj.tur, mesaj.dugmeler, mesaj.odak); });
    });
}

QString KisaBilgisayarAdi(const QString& makineAdi)
{
    return makineAdi.section(QLatin1Char('.'), 0, 0).left(15);
}

QString BilgisayarAdiAl()
{
    return KisaBilgisayarAdi(QSysInfo::machineHostName());
}

QString KullaniciAdiAl()
{
    long boy = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> tampon(static_cast<std::size_t>(boy > 0 ? boy : 16384));
    passwd kayit{};
    passwd* sonuc = nullptr;
    if (::getpwuid_r(::geteuid(), &kayit, tampon.data(), tampon.size(), &sonuc) != 0 || !sonuc || !sonuc->pw_name)
        return {};
    return QString::fromLocal8Bit(sonuc->pw_name);
}

QString YerelIpAl()
{
    // The host name often resolves to a loopback alias (127.0.1.1 on Debian), which tells
    // the server nothing: prefer a real address, first from the name, then from the adapters.
    const QHostInfo bilgi = QHostInfo::fromName(QHostInfo::localHostName());
    QString ilkAdres;
    for (const QHostAddress& a : bilgi.addresses()) {
        if (a.protocol() != QAbstractSocket::IPv4Protocol) continue;
        if (!a.isLoopback()) return a.toString();
        if (ilkAdres.isEmpty()) ilkAdres = a.toString();
    }
    for (const QNetworkInterface& arayuz : QNetworkInterface::allInterfaces()) {
        if (!(arayuz.flags() & QNetworkInterface::IsUp) || (arayuz.flags() & QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& giris : arayuz.addressEntries()) {
            if (giris.ip().protocol() == QAbstractSocket::IPv4Protocol && !giris.ip().isLoopback())
                return giris.ip().toString();
        }
    }
    return ilkAdres.isEmpty() ? QStringLiteral("127.0.0.1") : ilkAdres;
}

QString DiskSeriNoAl(const QString& kok)
{
    const QString k = kokYolu(kok);
    QDir bloklar(k + QStringLiteral("/sys/block"));
    QStringList adlar = bloklar.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& ad : adlar) {
        const QString yol = bloklar.filePath(ad);
        if (sanalDisk(ad) || !QFileInfo::exists(yol + QStringLiteral("/device"))) continue;
        if (dosyaOku(yol + QStringLiteral("/removable")).trimmed() == QLatin1String("1")) continue;
        // Only the first disk counts: falling through to another one would give the same
        // machine a different ID whenever this one's serial is not readable.
        const QString adaylar[] = {
            dosyaOku(yol + QStringLiteral("/device/serial")).trimmed(),
            dosyaOku(yol + QStringLiteral("/serial")).trimmed(),
            udevSeriNo(k, dosyaOku(yol + QStringLiteral("/dev")).trimmed()),
            vpdSeriNo(yol + QStringLiteral("/device/vpd_pg80")),
        };
        for (const QString& seri : adaylar)
            if (!seri.isEmpty()) return seri.toUpper();
        return {};
    }
    return {};
}

QString MacAdresiAl(const QString& kok)
{
    QDir aglar(kokYolu(kok) + QStringLiteral("/sys/class/net"));
    const QStringList adlar = aglar.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    // Adapters with a device behind them first: virtual ones (bridges, veth) may get a new
    // address on every boot, which would change the computer ID.
    QStringList sira;
    for (const QString& ad : adlar)
        if (QFileInfo::exists(aglar.filePath(ad) + QStringLiteral("/device"))) sira << ad;
    for (const QString& ad : adlar)
        if (!sira.contains(ad)) sira << ad;

    static const QString sifir = QStringLiteral("00-00-00-00-00-00");
    for (const QString& ad : sira) {
        const QString adres = adaptorAdresi(dosyaOku(aglar.filePath(ad) + QStringLiteral("/address")));
        if (!adres.isEmpty() && adres != sifir) return adres;
    }
    return {};
}

QString BilgisayarIdAl(const QString& kok)
{
    QString sonuc = DiskSeriNoAl(kok).trimmed();
    if (sonuc.isEmpty()) sonuc = MacAdresiAl(kok).trimmed();
    sonuc.remove(QLatin1Char(' '));
    return sonuc;
}

QString VeriKlasoru()
{
    const QString taban = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString klasor = QDir::cleanPath(taban + QStringLiteral("/durnakotomotiv"));
    QDir().mkdir(klasor);
    return klasor;
}

QString BelgelerKlasoru()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString Tiptut::gecerliip() const
{
    std::lock_guard lock(kilit_);
    return gecerliip_;
}

void Tiptut::setGecerliip(const QString& adres)
{
    std::lock_guard lock(kilit_);
    gecerliip_ = adres;
}

Tiptut& tiptut()
{
    static Tiptut nesne;
    return nesne;
}

} // namespace durnak::client
