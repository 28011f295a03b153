#pragma once

// Helpers for driving modal message boxes from a test.

#include <functional>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace durnak::testler {

// What a modal message box showed before the test answered it.
struct GorulenMesaj {
    QString baslik;
    QString metin;
    QStringList dugmeler;
    QString odak;
    bool goruldu = false;
};

// Waits (from the event loop) for the next modal message box, records it and lets `cevap`
// answer it. Call before the code that opens the box.
inline void mesajiCevapla(GorulenMesaj& kayit, std::function<void(QMessageBox&)> cevap)
{
    auto* zamanlayici = new QTimer;
    zamanlayici->setInterval(10);
    QObject::connect(zamanlayici, &QTimer::timeout, [zamanlayici, &kayit, cevap] {
        auto* kutu = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!kutu || !kutu->isVisible()) return;
        zamanlayici->stop();
        zamanlayici->deleteLater();
        kayit.baslik = kutu->windowTitle();
        kayit.metin = kutu->text();
        for (QAbstractButton* b : kutu->buttons()) kayit.dugmeler << b->text();
        if (auto* odak = qobject_cast<QAbstractButton*>(QApplication::focusWidget())) kayit.odak = odak->text();
        kayit.goruldu = true;
        cevap(*kutu);
    });
    zamanlayici->start();
}

inline void dugmeyeBas(QMessageBox& kutu, const QString& yazi)
{
    for (QAbstractButton* b : kutu.buttons())
        if (b->text() == yazi) {
            b->click();
            return;
        }
}

} // namespace durnak::testler
