#pragma once

// The push channel: one long-lived connection on which the server notifies the client that
// its promotional and summary content changed. The channel runs on its own thread, reconnects
// with growing pauses when it breaks (nothing is shown to the user) and keeps itself alive
// with pings. See docs/protocol.md, "Push channel".

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include <QObject>
#include <QString>

#include <boost/json/value.hpp>

class QThread;

namespace durnak::client {

inline const char* const kKanalAdi = "DurnakOto";
inline const char* const kYoneticiId = "DurnakOtoId";

// A named callback: the server's notification for this name runs Execute on the channel's
// thread, whose answer goes back to the server.
class TGeriBildirim {
public:
    // `bildirildi` runs on the channel's thread: it must only hand work over, never touch
    // a window.
    TGeriBildirim(QString ad, std::function<void()> bildirildi);
    virtual ~TGeriBildirim() = default;

    QString Name() const { return ad_; }
    // The payload means only "refresh"; it is not read.
    virtual boost::json::value Execute(const boost::json::value& arg);

private:
    QString ad_;
    std::function<void()> bildirildi_;
};

class KanalIsci;

// DSClientCallbackChannelManager1 of the main window.
class TKanalYoneticisi : public QObject {
    Q_OBJECT

public:
    explicit TKanalYoneticisi(QObject* parent = nullptr);
    ~TKanalYoneticisi() override;

    // Settings read when the channel opens (on the first registration).
    QString DSHostname = QStringLiteral("127.0.0.1");
    QString DSPort = QStringLiteral("9090");
    QString CommunicationProtocol = QStringLiteral("tcp/ip");
    QString ChannelName = QString::fromUtf8(kKanalAdi);
    QString ManagerId = QString::fromUtf8(kYoneticiId);
    // Hello fields: the session token once signed in, and the computer ID.
    QString Token;
    QString ComputerId;

    // First pause after a break, doubled on each failed attempt up to the longest.
    std::chrono::milliseconds IlkBekleme{1000};
    std::chrono::milliseconds EnUzunBekleme{30000};
    // Ping interval; a channel silent for two intervals counts as broken.
    std::chrono::milliseconds PingAraligi{30000};

    // Registers the callback under its name and opens the channel if it is not open yet.
    // True when the callback was taken (the server's answer comes later: kayitTamam).
    bool RegisterCallback(std::shared_ptr<TGeriBildirim> geriBildirim);
    // Forgets the callback; the channel closes with the last one.
    bool UnregisterCallback(const QString& ad);
    bool Acik() const;

signals:
    // The server acknowledged the registrations (after every (re)connection).
    void kayitTamam();
    // The channel broke or could not be opened; a new attempt follows.
    void baglantiKoptu();
    // A notification was answered with this value.
    void bildirimCevaplandi(bool deger);

private:
    friend class KanalIsci;
    std::shared_ptr<TGeriBildirim> geriBildirimBul(const QString& ad) const;
    std::vector<QString> geriBildirimAdlari() const;

    mutable std::mutex kilit_;
    std::map<QString, std::shared_ptr<TGeriBildirim>> geriBildirimler_;
    QThread* thread_ = nullptr;
    KanalIsci* isci_ = nullptr;
};

} // namespace durnak::client
