#include "app/beklesinu.hpp"

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <utility>

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

namespace durnak::client {

namespace {

std::mutex gostericiKilidi;
HataGosterici hataGosterici;

void mesajKutusuylaGoster(const QString& metin)
{
    QMessageBox kutu(QMessageBox::Critical, QCoreApplication::applicationName(), metin);
    kutu.setObjectName(QStringLiteral("hataKutusu"));
    kutu.addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole);
    kutu.exec();
}

// Runs a main-thread procedure so that nothing it raises reaches the event loop.
void korumaliCalistir(const TProc& islem)
{
    try {
        if (islem) islem();
    } catch (...) {
        HataGoster(std::current_exception());
    }
}

class TAwait final : public IAwait, public std::enable_shared_from_this<TAwait> {
public:
    explicit TAwait(TProc birinci) : FAsync(std::move(birinci)) {}

    void Await(TProc ikinciAdim) override
    {
        if (basladi_) return;
        basladi_ = true;
        // The task keeps itself (and with it both steps and what they capture) alive until
        // the second step is done.
        auto self = shared_from_this();
        ArkaPlanHavuzu().start([self, ikinci = std::move(ikinciAdim)]() mutable {
            std::exception_ptr hata;
            try {
                if (self->FAsync) self->FAsync();
            } catch (...) {
                hata = std::current_exception();
            }
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, ikinci = std::move(ikinci), hata]() {
                    korumaliCalistir(ikinci);
                    if (hata) HataGoster(hata);
                },
                Qt::QueuedConnection);
        });
    }

private:
    TProc FAsync;
    bool basladi_ = false;
};

} // namespace

std::shared_ptr<IAwait> ArkaPlanda(TProc birinciAdim)
{
    return std::make_shared<TAwait>(std::move(birinciAdim));
}

QThreadPool& ArkaPlanHavuzu()
{
    // Steps mostly wait on the network, so more workers than cores.
    static QThreadPool* havuz = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(std::max(8, QThread::idealThreadCount() * 2));
        return p;
    }();
    return *havuz;
}

bool AnaThreaddeMi()
{
    auto* uygulama = QCoreApplication::instance();
    return uygulama && QThread::currentThread() == uygulama->thread();
}

void AnaThreaddeCalistir(const TProc& islem)
{
    if (AnaThreaddeMi()) {
        islem();
        return;
    }
    std::exception_ptr hata;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&]() {
            try {
                islem();
            } catch (...) {
                hata = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (hata) std::rethrow_exception(hata);
}

void AnaThreadeKuyrukla(TProc islem)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [islem = std::move(islem)]() { korumaliCalistir(islem); },
        Qt::QueuedConnection);
}

void AnaThreadeKuyrukla(QObject* baglam, TProc islem)
{
    QMetaObject::invokeMethod(
        baglam, [islem = std::move(islem)]() { korumaliCalistir(islem); }, Qt::QueuedConnection);
}

QString HataMetni(const std::exception_ptr& hata)
{
    try {
        std::rethrow_exception(hata);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Bilinmeyen bir hata oluştu.");
    }
}

void HataGoster(const std::exception_ptr& hata)
{
    if (hata) HataGoster(HataMetni(hata));
}

void HataGoster(const QString& metin)
{
    HataGosterici gosterici;
    {
        std::lock_guard lock(gostericiKilidi);
        gosterici = hataGosterici;
    }
    try {
        if (gosterici)
            gosterici(metin);
        else
            mesajKutusuylaGoster(metin);
    } catch (...) {
        // The display of last resort has nowhere to report its own failure.
    }
}

HataGosterici HataGostericiAyarla(HataGosterici gosterici)
{
    std::lock_guard lock(gostericiKilidi);
    return std::exchange(hataGosterici, std::move(gosterici));
}

bool TekYukleme::Basla()
{
    if (calisiyor_) return false;
    calisiyor_ = true;
    return true;
}

} // namespace durnak::client
