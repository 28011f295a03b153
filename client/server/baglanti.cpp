#include "server/baglanti.hpp"

#include <algorithm>
#include <iostream>
#include <thread>

#include <QNetworkProxy>
#include <QTcpSocket>

#include <boost/json/object.hpp>

#include "durnak/protocol/error.hpp"

namespace durnak::client {

namespace protocol = durnak::protocol;

// ---------------------------------------------------------------------------------------
// TParametreler

TParametreler::TParametreler(const TParametreler& other)
{
    std::lock_guard lock(other.kilit_);
    ogeler_ = other.ogeler_;
}

TParametreler& TParametreler::operator=(const TParametreler& other)
{
    if (this == &other) return *this;
    std::vector<std::pair<QString, QString>> kopya;
    {
        std::lock_guard lock(other.kilit_);
        kopya = other.ogeler_;
    }
    std::lock_guard lock(kilit_);
    ogeler_ = std::move(kopya);
    return *this;
}

QString TParametreler::Values(const QString& ad) const
{
    std::lock_guard lock(kilit_);
    for (const auto& [n, v] : ogeler_)
        if (n.compare(ad, Qt::CaseInsensitive) == 0) return v;
    return {};
}

void TParametreler::SetValues(const QString& ad, const QString& deger)
{
    std::lock_guard lock(kilit_);
    auto it = std::find_if(ogeler_.begin(), ogeler_.end(),
                           [&](const auto& oge) { return oge.first.compare(ad, Qt::CaseInsensitive) == 0; });
    if (deger.isEmpty()) {
        if (it != ogeler_.end()) ogeler_.erase(it);
    } else if (it != ogeler_.end()) {
        it->second = deger;
    } else {
        ogeler_.emplace_back(ad, deger);
    }
}

QStringList TParametreler::Names() const
{
    std::lock_guard lock(kilit_);
    QStringList adlar;
    for (const auto& oge : ogeler_) adlar << oge.first;
    return adlar;
}

int TParametreler::Count() const
{
    std::lock_guard lock(kilit_);
    return static_cast<int>(ogeler_.size());
}

QStringList TParametreler::Text() const
{
    std::lock_guard lock(kilit_);
    QStringList satirlar;
    for (const auto& [n, v] : ogeler_) satirlar << n + u'=' + v;
    return satirlar;
}

// ---------------------------------------------------------------------------------------
// TBaglanti

TBaglanti::TBaglanti()
{
    parametreler_.SetValues(QStringLiteral("HostName"), QStringLiteral("localhost"));
    parametreler_.SetValues(QStringLiteral("Port"), QStringLiteral("9090"));
    parametreler_.SetValues(QStringLiteral("CommunicationProtocol"), QStringLiteral("tcp/ip"));
    parametreler_.SetValues(QStringLiteral("DatasnapContext"), QStringLiteral("datasnap/"));
    parametreler_.SetValues(QStringLiteral("Filters"), QStringLiteral("{}"));
    parametreler_.SetValues(QStringLiteral("DSProxyPort"), QStringLiteral("8090"));
}

TBaglanti::~TBaglanti()
{
    Close();
}

QString TBaglanti::ConnectionName() const
{
    std::lock_guard lock(kilit_);
    return baglantiAdi_;
}

void TBaglanti::SetConnectionName(const QString& ad)
{
    std::lock_guard lock(kilit_);
    baglantiAdi_ = ad;
}

QString TBaglanti::DriverName() const
{
    return QStringLiteral("DataSnap");
}

void TBaglanti::SetToken(const QString& oturumAnahtari)
{
    std::lock_guard lock(anahtar_->kilit);
    anahtar_->deger = oturumAnahtari;
}

QString TBaglanti::Token() const
{
    std::lock_guard lock(anahtar_->kilit);
    return anahtar_->deger;
}

void TBaglanti::SetCredentials(const QString& kullanici, const QString& sifre)
{
    std::lock_guard lock(kilit_);
    selam_.user = kullanici;
    selam_.password = sifre;
}

QString TBaglanti::User() const
{
    std::lock_guard lock(kilit_);
    return selam_.user;
}

QString TBaglanti::Password() const
{
    std::lock_guard lock(kilit_);
    return selam_.password;
}

void TBaglanti::SetComputerId(const QString& bilgisayarId)
{
    std::lock_guard lock(kilit_);
    selam_.computerId = bilgisayarId;
}

QString TBaglanti::ComputerId() const
{
    std::lock_guard lock(kilit_);
    return selam_.computerId;
}

void TBaglanti::SetConnectTimeout(std::chrono::milliseconds sure)
{
    std::lock_guard lock(kilit_);
    baglanmaSuresi_ = sure;
}

std::chrono::milliseconds TBaglanti::ConnectTimeout() const
{
    std::lock_guard lock(kilit_);
    return baglanmaSuresi_;
}

void TBaglanti::SetCommunicationTimeout(std::chrono::milliseconds sure)
{
    std::lock_guard lock(kilit_);
    iletisimSuresi_ = sure;
}

std::chrono::milliseconds TBaglanti::CommunicationTimeout() const
{
    std::lock_guard lock(kilit_);
    return iletisimSuresi_;
}

std::unique_ptr<TBaglanti> TBaglanti::Clone() const
{
    auto klon = std::make_unique<TBaglanti>();
    klon->parametreler_ = parametreler_;
    {
        std::lock_guard lock(kilit_);
        klon->baglantiAdi_ = baglantiAdi_;
        klon->selam_ = selam_;
        klon->anahtar_ = anahtar_;
        klon->baglanmaSuresi_ = baglanmaSuresi_;
        klon->iletisimSuresi_ = iletisimSuresi_;
    }
    if (Connected()) klon->Open();
    return klon;
}

namespace {

int milisaniye(std::chrono::milliseconds sure)
{
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(sure.count(), 1, 24 * 3600 * 1000));
}

void ekle(boost::json::object& hedef, std::string_view ad, const QString& deger)
{
    if (!deger.isEmpty()) hedef[ad] = deger.toStdString();
}

} // namespace

void TBaglanti::Open()
{
    if (Connected()) return;

    const QString sunucu = parametreler_.Values(QStringLiteral("HostName"));
    const QString portMetni = parametreler_.Values(QStringLiteral("Port"));
    bool sayiMi = false;
    const int port = portMetni.toInt(&sayiMi);
    if (!sayiMi || port <= 0 || port > 65535)
        throw EBaglantiHatasi(QStringLiteral("Geçersiz sunucu portu: \"%1\"").arg(portMetni));
    if (sunucu.trimmed().isEmpty()) throw EBaglantiHatasi(QStringLiteral("Sunucu adresi boş"));

    Selam selam;
    std::chrono::milliseconds baglanmaSuresi;
    {
        std::lock_guard lock(kilit_);
        selam = selam_;
        baglanmaSuresi = baglanmaSuresi_;
    }
    selam.token = Token();

    auto soket = std::make_unique<QTcpSocket>();
    // No proxy is configured for the server; a system proxy must not reroute the link.
    soket->setProxy(QNetworkProxy::NoProxy);
    soket->connectToHost(sunucu, static_cast<quint16>(port));
    if (!soket->waitForConnected(milisaniye(baglanmaSuresi))) {
        const QString neden = soket->error() == QAbstractSocket::SocketTimeoutError
                                  ? QStringLiteral("zaman aşımı")
                                  : soket->errorString();
        soket->abort();
        throw EBaglantiHatasi(QStringLiteral("Sunucuya bağlanılamadı (%1:%2): %3").arg(sunucu).arg(port).arg(neden));
    }
    // Calls are small request/answer exchanges: do not let Nagle hold them back.
    soket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    soket_ = std::move(soket);
    okuyucu_ = protocol::MessageReader();

    boost::json::object selamMesaji{{"op", protocol::op::Hello}, {"protocol", protocol::kProtocolVersion}};
    ekle(selamMesaji, "token", selam.token);
    ekle(selamMesaji, "user", selam.user);
    ekle(selamMesaji, "password", selam.password);
    ekle(selamMesaji, "computerId", selam.computerId);

    try {
        gonder(protocol::encodeEnvelope(selamMesaji));
        protocol::Envelope yanit = mesajOku();
        if (yanit.op() == protocol::op::Error) {
            // The server's own text says why it refused (bad token, wrong version, ...).
            try {
                protocol::decodeResult(std::move(yanit));
            } catch (const protocol::ServerError& e) {
                throw EBaglantiHatasi(std::string(e.what()));
            }
        }
        if (yanit.op() != protocol::op::Welcome)
            throw EBaglantiHatasi("Sunucu beklenmeyen bir yanıt verdi: \"" + std::string(yanit.op()) + "\"");
        // Credentials that opened a session: later connections present its token instead.
        const std::string_view yeniAnahtar = yanit.optionalString("token");
        if (!yeniAnahtar.empty())
            SetToken(QString::fromUtf8(yeniAnahtar.data(), static_cast<qsizetype>(yeniAnahtar.size())));
    } catch (const EBaglantiHatasi&) {
        Close();
        throw;
    } catch (const std::exception& e) {
        Close();
        throw EBaglantiHatasi(std::string(e.what()));
    }
    acik_ = true;
}

void TBaglanti::Close()
{
    acik_ = false;
    if (soket_) {
        soket_->abort();
        soket_.reset();
    }
    okuyucu_ = protocol::MessageReader();
}

std::vector<protocol::Value> TBaglanti::Cagir(std::string_view komut, const std::vector<protocol::Value>& parametreler)
{
    if (!Connected()) throw EBaglantiHatasi(QStringLiteral("Sunucu bağlantısı açık değil"));
    // Encoding errors are ours and leave the link untouched.
    const std::string istek = protocol::encodeCall(komut, parametreler);
    protocol::Envelope yanit;
    try {
        gonder(istek);
        yanit = mesajOku();
    } catch (const protocol::ProtocolError&) {
        Close();  // the byte stream can no longer be trusted
        throw;
    }
    return protocol::decodeResult(std::move(yanit));
}

void TBaglanti::baglantiKoptu(const QString& neden)
{
    Close();
    throw EBaglantiHatasi(neden);
}

void TBaglanti::gonder(const std::string& baytlar)
{
    const int sure = milisaniye(CommunicationTimeout());
    qint64 yazilan = 0;
    const auto boy = static_cast<qint64>(baytlar.size());
    while (yazilan < boy) {
        const qint64 n = soket_->write(baytlar.data() + yazilan, boy - yazilan);
        if (n < 0) baglantiKoptu(QStringLiteral("Sunucuya yazılamadı: %1").arg(soket_->errorString()));
        yazilan += n;
    }
    while (soket_->bytesToWrite() > 0) {
        if (!soket_->waitForBytesWritten(sure)) {
            baglantiKoptu(soket_->error() == QAbstractSocket::SocketTimeoutError
                              ? QStringLiteral("Sunucuya gönderim zaman aşımına uğradı")
                              : QStringLiteral("Sunucu bağlantısı koptu: %1").arg(soket_->errorString()));
        }
    }
}

protocol::Envelope TBaglanti::mesajOku()
{
    constexpr std::size_t kParcaSiniri = 1u << 20;
    const int sure = milisaniye(CommunicationTimeout());
    std::string parca;
    for (;;) {
        if (auto mesaj = okuyucu_.next()) return std::move(*mesaj);
        if (soket_->bytesAvailable() <= 0 && !soket_->waitForReadyRead(sure)) {
            baglantiKoptu(soket_->error() == QAbstractSocket::SocketTimeoutError
                              ? QStringLiteral("Sunucu zamanında yanıt vermedi")
                              : QStringLiteral("Sunucu bağlantısı koptu: %1").arg(soket_->errorString()));
        }
        // Take exactly what the reader still needs, never bytes of a following message.
        const std::size_t istenen = std::max<std::size_t>(okuyucu_.wanted(), 1);
        const auto hazir = static_cast<std::size_t>(soket_->bytesAvailable());
        parca.resize(std::min({istenen, hazir, kParcaSiniri}));
        const qint64 n = soket_->read(parca.data(), static_cast<qint64>(parca.size()));
        if (n <= 0) baglantiKoptu(QStringLiteral("Sunucu bağlantısı koptu: %1").arg(soket_->errorString()));
        okuyucu_.feed(std::string_view(parca.data(), static_cast<std::size_t>(n)));
    }
}

// ---------------------------------------------------------------------------------------
// BaglantiAc

namespace {

std::mutex kancaKilidi;
MesajKancasi mesajKancasi;
BeklemeKancasi beklemeKancasi;

void mesajGoster(const BaglantiMesaji& mesaj)
{
    MesajKancasi kanca;
    {
        std::lock_guard lock(kancaKilidi);
        kanca = mesajKancasi;
    }
    if (kanca) kanca(mesaj);
    else std::cerr << "Hata: " << mesaj.metin.toStdString() << std::endl;
}

void bekle(std::chrono::milliseconds sure)
{
    BeklemeKancasi kanca;
    {
        std::lock_guard lock(kancaKilidi);
        kanca = beklemeKancasi;
    }
    if (kanca) kanca(sure);
    else std::this_thread::sleep_for(sure);
}

} // namespace

MesajKancasi MesajKancasiAyarla(MesajKancasi kanca)
{
    std::lock_guard lock(kancaKilidi);
    return std::exchange(mesajKancasi, std::move(kanca));
}

BeklemeKancasi BeklemeKancasiAyarla(BeklemeKancasi kanca)
{
    std::lock_guard lock(kancaKilidi);
    return std::exchange(beklemeKancasi, std::move(kanca));
}

bool BaglantiAc(TBaglanti& baglanti, int mesajFlag)
{
    baglanti.Close();
    bool sonuc = false;
    int sayac = 0;
    while (true) {
        try {
            baglanti.Open();
            sonuc = true;
            break;
        } catch (const std::exception&) {
            baglanti.Close();
            sonuc = false;
        }
        ++sayac;
        bekle(kBaglantiBeklemesi);
        if (sayac >= kBaglantiDenemeSayisi) break;
    }
    if (!sonuc && mesajFlag == 1)
        mesajGoster(BaglantiMesaji{QString::fromUtf8(kBaglantiKurulamiyor), kMesajHata, {kDugmeTamam}, kDugmeTamam});
    return sonuc;
}

} // namespace durnak::client
