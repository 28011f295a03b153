#include "app/geribildirim.hpp"

#include <algorithm>
#include <utility>

#include <QDateTime>
#include <QMetaObject>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <boost/json/object.hpp>

#include "durnak/protocol/envelope.hpp"
#include "durnak/protocol/error.hpp"

namespace durnak::client {

namespace json = boost::json;
namespace op = protocol::op;

TGeriBildirim::TGeriBildirim(QString ad, std::function<void()> bildirildi)
    : ad_(std::move(ad)), bildirildi_(std::move(bildirildi))
{
}

json::value TGeriBildirim::Execute(const json::value&)
{
    if (bildirildi_) bildirildi_();
    return json::value(true);
}

namespace {

struct KanalAyarlari {
    QString host;
    quint16 port = 0;
    QString kanal;
    QString yoneticiId;
    QString token;
    QString bilgisayarId;
    std::chrono::milliseconds ilkBekleme;
    std::chrono::milliseconds enUzunBekleme;
    std::chrono::milliseconds pingAraligi;
};

constexpr std::chrono::milliseconds kBaglanmaSuresi{10000};

std::string utf8(const QString& metin)
{
    return metin.toStdString();
}

} // namespace

// Lives on the channel's thread and owns the socket. Every member runs on that thread.
class KanalIsci : public QObject {
public:
    KanalIsci(TKanalYoneticisi* yonetici, KanalAyarlari ayar)
        : yonetici_(yonetici), ayar_(std::move(ayar)), bekleme_(ayar_.ilkBekleme)
    {
    }

    void basla()
    {
        soket_ = new QTcpSocket(this);
        yeniden_ = new QTimer(this);
        yeniden_->setSingleShot(true);
        ping_ = new QTimer(this);
        zamanAsimi_ = new QTimer(this);
        zamanAsimi_->setSingleShot(true);

        connect(soket_, &QTcpSocket::connected, this, [this] { baglandi(); });
        connect(soket_, &QTcpSocket::readyRead, this, [this] { okundu(); });
        connect(soket_, &QTcpSocket::disconnected, this, [this] { koptu(); });
        connect(soket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) { koptu(); });
        connect(yeniden_, &QTimer::timeout, this, [this] { baglan(); });
        connect(zamanAsimi_, &QTimer::timeout, this, [this] { soket_->abort(); koptu(); });
        connect(ping_, &QTimer::timeout, this, [this] { pingAt(); });
        baglan();
    }

    void durdur()
    {
        duruyor_ = true;
        if (!soket_) return;
        yeniden_->stop();
        ping_->stop();
        zamanAsimi_->stop();
        soket_->disconnect(this);
        soket_->abort();
    }

    // A callback registered while the channel is already open.
    void kaydet(const QString& ad)
    {
        if (durum_ == Durum::Kayit || durum_ == Durum::Acik) registerGonder(ad);
    }

private:
    enum class Durum { Kapali, Baglaniyor, Selam, Kayit, Acik };

    void baglan()
    {
        if (duruyor_) return;
        soket_->abort();  // while still Kapali, so that its signals start nothing
        okuyucu_ = protocol::MessageReader();
        durum_ = Durum::Baglaniyor;
        soket_->connectToHost(ayar_.host, ayar_.port);
        zamanAsimi_->start(kBaglanmaSuresi);
    }

    void baglandi()
    {
        durum_ = Durum::Selam;
        json::object selam{{"op", op::Hello}, {"protocol", protocol::kProtocolVersion}};
        if (!ayar_.token.isEmpty()) selam["token"] = utf8(ayar_.token);
        if (!ayar_.bilgisayarId.isEmpty()) selam["computerId"] = utf8(ayar_.bilgisayarId);
        gonder(selam);
    }

    void registerGonder(const QString& ad)
    {
        gonder(json::object{{"op", op::Register},
                            {"channel", utf8(ayar_.kanal)},
                            {"managerId", utf8(ayar_.yoneticiId)},
                            {"callback", utf8(ad)}});
    }

    void okundu()
    {
        sonVeri_ = QDateTime::currentMSecsSinceEpoch();
        try {
            okuyucu_.feed(soket_->readAll().toStdString());
            while (auto mesaj = okuyucu_.next()) {
                if (!isle(*mesaj)) return;
            }
        } catch (const std::exception&) {
            // A malformed message: drop the channel and start over.
            soket_->abort();
            koptu();
        }
    }

    // False when the channel was dropped.
    bool isle(const protocol::Envelope& mesaj)
    {
        const auto tur = mesaj.op();
        if (tur == op::Welcome && durum_ == Durum::Selam) {
            zamanAsimi_->stop();
            durum_ = Durum::Kayit;
            const auto adlar = yonetici_->geriBildirimAdlari();
            if (adlar.empty()) {
                // Everything was unregistered meanwhile.
                durdurVeKapat();
                return false;
            }
            for (const QString& ad : adlar) registerGonder(ad);
        } else if (tur == op::Ack && durum_ == Durum::Kayit) {
            durum_ = Durum::Acik;
            bekleme_ = ayar_.ilkBekleme;
            ping_->start(ayar_.pingAraligi);
            emit yonetici_->kayitTamam();
        } else if (tur == op::Notify) {
            bildirimCevapla(mesaj);
        } else if (tur == op::Pong || tur == op::Ack) {
            // Proof of life; sonVeri_ is already set.
        } else {
            // An error envelope (refused greeting or registration) or an unexpected message.
            soket_->abort();
            koptu();
            return false;
        }
        return true;
    }

    void bildirimCevapla(const protocol::Envelope& mesaj)
    {
        json::value cevap(false);
        const QString ad = QString::fromStdString(std::string(mesaj.optionalString("callback")));
        if (auto geriBildirim = yonetici_->geriBildirimBul(ad.isEmpty() ? ayar_.kanal : ad)) {
            const json::value* yuk = mesaj.json.if_contains("payload");
            try {
                cevap = geriBildirim->Execute(yuk ? *yuk : json::value(nullptr));
            } catch (const std::exception&) {
                cevap = false;
            }
        }
        gonder(json::object{{"op", op::Ack}, {"value", cevap}});
        emit yonetici_->bildirimCevaplandi(cevap.is_bool() && cevap.as_bool());
    }

    void pingAt()
    {
        const auto sessiz = QDateTime::currentMSecsSinceEpoch() - sonVeri_;
        if (sessiz > 2 * ayar_.pingAraligi.count()) {
            soket_->abort();
            koptu();
            return;
        }
        gonder(json::object{{"op", op::Ping}});
    }

    void gonder(const json::object& zarf)
    {
        const std::string baytlar = protocol::encodeEnvelope(zarf);
        soket_->write(baytlar.data(), static_cast<qint64>(baytlar.size()));
    }

    void koptu()
    {
        if (duruyor_ || durum_ == Durum::Kapali) return;
        durum_ = Durum::Kapali;
        ping_->stop();
        zamanAsimi_->stop();
        soket_->abort();
        emit yonetici_->baglantiKoptu();
        yeniden_->start(bekleme_);
        bekleme_ = std::min(bekleme_ * 2, ayar_.enUzunBekleme);
    }

    void durdurVeKapat()
    {
        durum_ = Durum::Kapali;
        ping_->stop();
        zamanAsimi_->stop();
        soket_->abort();
    }

    TKanalYoneticisi* yonetici_;
    KanalAyarlari ayar_;
    std::chrono::milliseconds bekleme_;
    QTcpSocket* soket_ = nullptr;
    QTimer* yeniden_ = nullptr;
    QTimer* ping_ = nullptr;
    QTimer* zamanAsimi_ = nullptr;
    protocol::MessageReader okuyucu_;
    Durum durum_ = Durum::Kapali;
    qint64 sonVeri_ = 0;
    bool duruyor_ = false;
};

TKanalYoneticisi::TKanalYoneticisi(QObject* parent) : QObject(parent) {}

TKanalYoneticisi::~TKanalYoneticisi()
{
    if (!thread_) return;
    QMetaObject::invokeMethod(isci_, [i = isci_] { i->durdur(); }, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete isci_;
    delete thread_;
}

bool TKanalYoneticisi::RegisterCallback(std::shared_ptr<TGeriBildirim> geriBildirim)
{
    if (!geriBildirim || geriBildirim->Name().isEmpty()) return false;
    const QString ad = geriBildirim->Name();
    {
        std::lock_guard lock(kilit_);
        geriBildirimler_[ad] = std::move(geriBildirim);
    }
    if (thread_) {
        QMetaObject::invokeMethod(isci_, [i = isci_, ad] { i->kaydet(ad); }, Qt::QueuedConnection);
        return true;
    }

    bool sayiMi = false;
    const uint port = DSPort.trimmed().toUInt(&sayiMi);
    KanalAyarlari ayar{DSHostname.trimmed(), static_cast<quint16>(sayiMi && port < 65536 ? port : 0),
                       ChannelName,          ManagerId,
                       Token,                ComputerId,
                       IlkBekleme,           std::max(EnUzunBekleme, IlkBekleme),
                       PingAraligi};
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("DurnakOto kanalı"));
    isci_ = new KanalIsci(this, std::move(ayar));
    isci_->moveToThread(thread_);
    thread_->start();
    QMetaObject::invokeMethod(isci_, [i = isci_] { i->basla(); }, Qt::QueuedConnection);
    return true;
}

bool TKanalYoneticisi::UnregisterCallback(const QString& ad)
{
    bool bos = false;
    {
        std::lock_guard lock(kilit_);
        if (geriBildirimler_.erase(ad) == 0) return false;
        bos = geriBildirimler_.empty();
    }
    if (bos && thread_) {
        QMetaObject::invokeMethod(isci_, [i = isci_] { i->durdur(); }, Qt::BlockingQueuedConnection);
        thread_->quit();
        thread_->wait();
        delete isci_;
        delete thread_;
        isci_ = nullptr;
        thread_ = nullptr;
    }
    return true;
}

bool TKanalYoneticisi::Acik() const
{
    return thread_ != nullptr;
}

std::shared_ptr<TGeriBildirim> TKanalYoneticisi::geriBildirimBul(const QString& ad) const
{
    std::lock_guard lock(kilit_);
    auto it = geriBildirimler_.find(ad);
    return it == geriBildirimler_.end() ? nullptr : it->second;
}

std::vector<QString> TKanalYoneticisi::geriBildirimAdlari() const
{
    std::lock_guard lock(kilit_);
    std::vector<QString> adlar;
    for (const auto& [ad, geriBildirim] : geriBildirimler_) adlar.push_back(ad);
    return adlar;
}

} // namespace durnak::client
