#pragma once

// What the catalogue tests share beyond the client test kit: a tiny loopback HTTP responder
// standing in for the dealer's picture service.

#include <stdexcept>

#include <QByteArray>
#include <QHostAddress>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "app/unit1.hpp"
#include "demo_database.hpp"
#include "server/cagri.hpp"
#include "testkit/giris.hpp"
#include "testkit/istemci.hpp"
#include "testkit/modal.hpp"

namespace durnak::testler {

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
