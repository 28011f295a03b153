#pragma once

// What the catalogue tests share: a signed-in connection to a loopback test server, quick
// connection retries, a recorder for the default error display and a tiny loopback HTTP
// responder standing in for the dealer's picture service.

#include <chrono>
#include <functional>
#include <stdexcept>

#include <QApplication>
#include <QByteArray>
#include <QKeyEvent>
#include <QHostAddress>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "app/beklesinu.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "demo_database.hpp"
#include "server/cagri.hpp"

namespace durnak::testler {

// Types text key by key as a keyboard would (QTest's key clicks take ASCII only).
inline void yaz(QWidget* kutu, const QString& metin)
{
    for (const QChar c : metin) {
        QKeyEvent basma(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(kutu, &basma);
        QKeyEvent birakma(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(kutu, &birakma);
    }
}

// Signs the window's connection in as the sign-in leaves it: computer ID and credentials
// in the hello, the account from BuyukGetir in sbilgi, the session token kept.
inline void Oturum(client::TForm1& form, std::uint16_t port, const char* bilgisayarId, const char* kullanici)
{
    client::TBaglanti& bagc = form.bagc;
    bagc.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("127.0.0.1"));
    bagc.Params().SetValues(QStringLiteral("Port"), QString::number(port));
    bagc.SetComputerId(QString::fromLatin1(bilgisayarId));
    bagc.SetCredentials(QString::fromLatin1(kullanici), QString::fromLatin1(durnak::testing::kDemoPassword));
    const protocol::TSonucBilgisi hesap = client::CagriC(bagc, [&](client::TServerMethods1Client& p) {
        const protocol::TSonucBilgisi* r = p.BuyukGetir(QString::fromLatin1(bilgisayarId));
        if (!r || !r->FVarmi) throw std::runtime_error("workstation not bound");
        return *r;
    });
    form.sbilgi.Kopyala(hesap);
    form.sbilgi.FBILGISAYARID = bilgisayarId;
    form.sbilgi.FDisip = "127.0.0.1";
    client::tiptut().setGecerliip(QStringLiteral("127.0.0.1"));
}

// Connection attempts without the pause between them, and the connection message kept
// instead of shown, for the life of the object.
class HizliBaglanti {
public:
    HizliBaglanti()
    {
        onceki_ = client::BeklemeKancasiAyarla([](std::chrono::milliseconds) {});
    }
    ~HizliBaglanti() { client::BeklemeKancasiAyarla(onceki_); }

private:
    client::BeklemeKancasi onceki_;
};

// Collects what the default error display would show.
class HataKaydi {
public:
    HataKaydi()
    {
        onceki_ = client::HataGostericiAyarla([this](const QString& m) { metinler << m; });
    }
    ~HataKaydi() { client::HataGostericiAyarla(onceki_); }
    QStringList metinler;

private:
    client::HataGosterici onceki_;
};

// Answers every GET with `govde` (after `gecikme` ms), as HTTP/1.0 with a close.
class ResimSunucusu : public QTcpServer {
public:
    QByteArray govde;
    int gecikme = 0;
    int istekSayisi = 0;
    QByteArray sonYol;

    ResimSunucusu()
    {
        if (!listen(QHostAddress::LocalHost, 0)) throw std::runtime_error("listen failed");
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    const QByteArray istek = s->readAll();
                    if (!istek.contains("\r\n\r\n")) return;
                    ++istekSayisi;
                    sonYol = istek.split(' ').value(1);
                    QPointer<QTcpSocket> soket(s);
                    const QByteArray cevap = "HTTP/1.0 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " +
                                             QByteArray::number(govde.size()) + "\r\nConnection: close\r\n\r\n" +
                                             govde;
                    QTimer::singleShot(gecikme, this, [soket, cevap] {
                        if (!soket) return;
                        soket->write(cevap);
                        soket->disconnectFromHost();
                    });
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString adres() const { return QStringLiteral("http://127.0.0.1:%1/").arg(serverPort()); }
};

} // namespace durnak::testler
