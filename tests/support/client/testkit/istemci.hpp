#pragma once

// Client-side helpers of the test programs: the program-wide hooks a connected test wants,
// typing as a keyboard does, and the default error display and connection pauses replaced
// for the life of an object.

#include <chrono>

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "app/beklesinu.hpp"
#include "app/utils.hpp"
#include "server/baglanti.hpp"
#include "testkit/testmain.hpp"

namespace durnak::testler {

// For programs whose tests connect: a throw-away home, the connection messages wired as
// the program wires them, and connection retries without their pauses.
inline TestHazirligi BaglantiliHazirlik()
{
    TestHazirligi h;
    h.geciciEv = true;
    h.uygulamadanSonra = [] {
        client::BaglantiMesajlariniBagla();
        client::BeklemeKancasiAyarla([](std::chrono::milliseconds) {});
    };
    return h;
}

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

// Connection attempts without the pause between them, for the life of the object.
class HizliBaglanti {
public:
    HizliBaglanti() : onceki_(client::BeklemeKancasiAyarla([](std::chrono::milliseconds) {})) {}
    ~HizliBaglanti() { client::BeklemeKancasiAyarla(onceki_); }
    HizliBaglanti(const HizliBaglanti&) = delete;
    HizliBaglanti& operator=(const HizliBaglanti&) = delete;

private:
    client::BeklemeKancasi onceki_;
};

// Collects what the default error display would show, for the life of the object.
class HataKaydi {
public:
    HataKaydi() : onceki_(client::HataGostericiAyarla([this](const QString& m) { metinler << m; })) {}
    ~HataKaydi() { client::HataGostericiAyarla(onceki_); }
    HataKaydi(const HataKaydi&) = delete;
    HataKaydi& operator=(const HataKaydi&) = delete;
    QStringList metinler;

private:
    client::HataGosterici onceki_;
};

} // namespace durnak::testler
