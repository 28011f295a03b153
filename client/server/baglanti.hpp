#pragma once

// The connection to the application server (`bagc` on the main window) and BaglantiAc,
// its open-with-retries rule. A connection is a name=value configuration plus, while
// open, one TCP link that has passed the hello exchange. Blocking I/O only, so it works
// on any thread without an event loop; one thread uses a connection at a time and opens
// and closes it on that thread.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "durnak/protocol/envelope.hpp"
#include "durnak/protocol/value.hpp"

class QTcpSocket;

namespace durnak::client {

// A connection that cannot be opened, or a link that broke or timed out during a call.
// Of the ordinary error family, so BaglantiAc counts it as a failed attempt.
class EBaglantiHatasi : public std::runtime_error {
public:
    explicit EBaglantiHatasi(const QString& metin) : std::runtime_error(metin.toStdString()) {}
    explicit EBaglantiHatasi(const std::string& metin) : std::runtime_error(metin) {}
};

// Name=value parameters; names compare without regard to case. Reading a missing name
// gives empty text, writing empty text removes the name. Safe to read from one thread
// while another writes (a background step clones `bagc` while the main thread works).
class TParametreler {
public:
    TParametreler() = default;
    TParametreler(const TParametreler& other);
    TParametreler& operator=(const TParametreler& other);

    QString Values(const QString& ad) const;
    void SetValues(const QString& ad, const QString& deger);
    QStringList Names() const;
    int Count() const;
    // "Name=Value" lines in insertion order.
    QStringList Text() const;

private:
    mutable std::mutex kilit_;
    std::vector<std::pair<QString, QString>> ogeler_;
};

class TBaglanti {
public:
    static constexpr std::chrono::milliseconds kVarsayilanBaglanmaSuresi{3000};
    static constexpr std::chrono::milliseconds kVarsayilanIletisimSuresi{60000};

    TBaglanti();
    ~TBaglanti();
    TBaglanti(const TBaglanti&) = delete;
    TBaglanti& operator=(const TBaglanti&) = delete;

    QString ConnectionName() const;
    void SetConnectionName(const QString& ad);
    QString DriverName() const;
    bool LoginPrompt() const { return false; }

    TParametreler& Params() { return parametreler_; }
    const TParametreler& Params() const { return parametreler_; }

    // What the hello carries besides the protocol version; empty fields are not sent.
    // The session token is shared with every clone, and a welcome that opens a session
    // stores its token here, so after sign-in on any copy all of them present it.
    void SetToken(const QString& oturumAnahtari);
    QString Token() const;
    void SetCredentials(const QString& kullanici, const QString& sifre);
    QString User() const;
    QString Password() const;
    void SetComputerId(const QString& bilgisayarId);
    QString ComputerId() const;

    void SetConnectTimeout(std::chrono::milliseconds sure);
    std::chrono::milliseconds ConnectTimeout() const;
    // Longest wait for the server's answer or for our bytes to leave.
    void SetCommunicationTimeout(std::chrono::milliseconds sure);
    std::chrono::milliseconds CommunicationTimeout() const;

    // Same driver, parameters, hello fields and time-outs, its own link; opened at once
    // when this connection is open.
    std::unique_ptr<TBaglanti> Clone() const;

    // Connects to HostName:Port and exchanges hello/welcome; throws EBaglantiHatasi.
    // Opening an open connection does nothing.
    void Open();
    // Harmless on a closed connection.
    void Close();
    bool Connected() const { return acik_.load(); }

    // One remote call: sends the command with its parameters and returns the answer's
    // values (out parameters by position, the result last). An error envelope raises
    // protocol::ServerError and leaves the link open; a broken or timed-out link raises
    // EBaglantiHatasi and a malformed answer protocol::ProtocolError, both closing it.
    std::vector<protocol::Value> Cagir(std::string_view komut, const std::vector<protocol::Value>& parametreler);

private:
    struct Selam {
        QString token;
        QString user;
        QString password;
        QString computerId;
    };

    void gonder(const std::string& baytlar);
    protocol::Envelope mesajOku();
    [[noreturn]] void baglantiKoptu(const QString& neden);

    mutable std::mutex kilit_;  // guards the fields below that a clone reads
    QString baglantiAdi_ = QStringLiteral("DataSnapCONNECTION");
    Selam selam_;
    std::chrono::milliseconds baglanmaSuresi_ = kVarsayilanBaglanmaSuresi;
    std::chrono::milliseconds iletisimSuresi_ = kVarsayilanIletisimSuresi;

    struct OrtakAnahtar {
        std::mutex kilit;
        QString deger;
    };
    std::shared_ptr<OrtakAnahtar> anahtar_ = std::make_shared<OrtakAnahtar>();

    TParametreler parametreler_;
    std::unique_ptr<QTcpSocket> soket_;
    protocol::MessageReader okuyucu_;
    std::atomic<bool> acik_{false};
};

// The one message BaglantiAc shows, as the shell's message dialog takes it:
// kind, buttons and focused button by their ordinals.
struct BaglantiMesaji {
    QString metin;
    int tur = 0;                // 0 warning, 1 error, 2 information, 3 question
    std::vector<int> dugmeler;  // Yes 0, No 1, OK 2, Cancel 3, ...
    int odak = 2;
};

inline constexpr int kMesajHata = 1;
inline constexpr int kDugmeTamam = 2;
inline constexpr int kBaglantiDenemeSayisi = 11;
inline constexpr std::chrono::milliseconds kBaglantiBeklemesi{500};
inline const char* const kBaglantiKurulamiyor = "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!";

// Shows a message; the application shell installs one that runs its dialog on the main
// thread and waits for it. Without one the text goes to standard error.
using MesajKancasi = std::function<void(const BaglantiMesaji&)>;
// Waits between attempts; the default sleeps.
using BeklemeKancasi = std::function<void(std::chrono::milliseconds)>;

// Both return the hook they replace; an empty function restores the default.
MesajKancasi MesajKancasiAyarla(MesajKancasi kanca);
BeklemeKancasi BeklemeKancasiAyarla(BeklemeKancasi kanca);

// Closes the connection, then tries to open it up to 11 times with a 500 ms pause after
// each failed attempt (also the last). Only errors of the ordinary family (std::exception)
// count as failed attempts; others pass through. With mesajFlag 1 a failure shows
// "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!" once. True when the connection is open.
bool BaglantiAc(TBaglanti& baglanti, int mesajFlag);

} // namespace durnak::client
