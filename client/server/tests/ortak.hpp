#pragma once

// Helpers shared by the tests that talk to a real durnak-server.

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <QHostAddress>
#include <QString>
#include <QTcpServer>

#include "server/baglanti.hpp"
#include "server_process.hpp"

namespace durnak::client::test {

inline void sunucuyaYonelt(TBaglanti& baglanti, std::uint16_t port)
{
    baglanti.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("127.0.0.1"));
    baglanti.Params().SetValues(QStringLiteral("Port"), QString::number(port));
}

// A loopback port that nobody listens on (it was free a moment ago).
inline std::uint16_t kapaliPort()
{
    QTcpServer dinleyici;
    dinleyici.listen(QHostAddress::LocalHost, 0);
    return dinleyici.serverPort();
}

// Replaces BaglantiAc's pause and message hooks for one test, records what they were
// asked, and puts the previous hooks back afterwards. The pause returns at once unless a
// function is given for it.
class KancaKaydi {
public:
    explicit KancaKaydi(std::function<void(std::chrono::milliseconds)> bekleme = {})
    {
        oncekiMesaj_ = MesajKancasiAyarla([this](const BaglantiMesaji& m) {
            std::lock_guard lock(kilit_);
            mesajlar.push_back(m);
            olaylar.push_back("mesaj");
        });
        oncekiBekleme_ = BeklemeKancasiAyarla([this, bekleme](std::chrono::milliseconds sure) {
            {
                std::lock_guard lock(kilit_);
                beklemeler.push_back(sure);
                olaylar.push_back("bekle");
            }
            if (bekleme) bekleme(sure);
        });
    }
    ~KancaKaydi()
    {
        MesajKancasiAyarla(std::move(oncekiMesaj_));
        BeklemeKancasiAyarla(std::move(oncekiBekleme_));
    }
    KancaKaydi(const KancaKaydi&) = delete;
    KancaKaydi& operator=(const KancaKaydi&) = delete;

    std::vector<BaglantiMesaji> mesajlar;
    std::vector<std::chrono::milliseconds> beklemeler;
    std::vector<std::string> olaylar;

private:
    std::mutex kilit_;
    MesajKancasi oncekiMesaj_;
    BeklemeKancasi oncekiBekleme_;
};

} // namespace durnak::client::test
