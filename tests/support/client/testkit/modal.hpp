#pragma once

// Acting on the modal windows a test opens, from the event loop (a modal window blocks the
// test's own code until it closes).
//
// ModalSurucu answers the windows an action opens, one step per window in the order they
// appear, and records the texts of the message boxes. A window nobody planned for is
// recorded as "beklenmeyen: <class>" and closed, and a step that leaves its window open is
// recorded as "kapanmadı: <class>" and closed, so a test fails instead of hanging.
//
// modaldaCalistir and mesajiCevapla act once on the next modal window of one kind and leave
// other windows alone, for code that opens a single window of a known kind.

#include <deque>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace durnak::testler {

// Clicks the message box button with this caption; does nothing when there is none.
inline void dugmeyeBas(QMessageBox& kutu, const QString& yazi)
{
    for (QAbstractButton* b : kutu.buttons())
        if (b->text() == yazi) {
            b->click();
            return;
        }
}

// What a modal message box showed before the test answered it.
struct GorulenMesaj {
    QString baslik;
    QString metin;
    QStringList dugmeler;
    QString odak;
    bool goruldu = false;
};

// Records what the box shows, the focused button included.
inline void kaydet(GorulenMesaj& kayit, const QMessageBox& kutu)
{
    kayit.baslik = kutu.windowTitle();
    kayit.metin = kutu.text();
    for (QAbstractButton* b : kutu.buttons()) kayit.dugmeler << b->text();
    if (auto* odak = qobject_cast<QAbstractButton*>(QApplication::focusWidget())) kayit.odak = odak->text();
    kayit.goruldu = true;
}

class ModalSurucu {
public:
    using Adim = std::function<void(QWidget*)>;

    // `sabir`: ticks of 10 ms a handled window may stay open before it counts as stuck.
    explicit ModalSurucu(int sabir = 1500) : sabir_(sabir)
    {
        zamanlayici_.setInterval(10);
        QObject::connect(&zamanlayici_, &QTimer::timeout, [this] { bak(); });
        zamanlayici_.start();
    }

    // The next window, whatever it is, goes to `adim`.
    ModalSurucu& sonra(Adim adim)
    {
        adimlar_.push_back(std::move(adim));
        return *this;
    }
    // The next window must be a T; `adim` acts on it (another kind is recorded and closed).
    // A step that opens a further modal window must queue that (QTimer::singleShot), so that
    // the next step can answer it.
    template <class T>
    ModalSurucu& sonra(std::function<void(T&)> adim)
    {
        return sonra([this, adim = std::move(adim)](QWidget* w) {
            if (auto* t = qobject_cast<T*>(w)) return adim(*t);
            mesajlar << QStringLiteral("beklenmeyen: ") + w->metaObject()->className();
            kapat(w);
        });
    }
    // A message box answered with the button of this caption (none such: rejected).
    ModalSurucu& mesaj(const QString& dugme)
    {
        return sonra<QMessageBox>([dugme](QMessageBox& kutu) {
            for (QAbstractButton* b : kutu.buttons())
                if (b->text() == dugme) return b->click();
            kutu.reject();
        });
    }
    // A message box recorded in `kayit` and answered with its first button. Planned before
    // the action, a box that follows another at once is answered too.
    ModalSurucu& tamamla(GorulenMesaj& kayit)
    {
        return sonra<QMessageBox>([&kayit](QMessageBox& kutu) {
            kaydet(kayit, kutu);
            kutu.buttons().first()->click();
        });
    }
    // The next window closed as with its close box.
    ModalSurucu& kapat()
    {
        return sonra([](QWidget* w) { kapat(w); });
    }

    // Message box texts and unplanned or stuck windows, in order.
    QStringList mesajlar;
    // The default button's caption of each message box seen (the one focused once it is up).
    QStringList odaklar;
    bool bitti() const { return adimlar_.empty(); }
    // Stops answering: later windows belong to a later action's driver.
    void durdur() { zamanlayici_.stop(); }

    static void kapat(QWidget* w)
    {
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
        else w->close();
    }

private:
    void bak()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        if (w == son_) {
            if (++bekleme_ > sabir_) {
                mesajlar << QStringLiteral("kapanmadı: ") + w->metaObject()->className();
                kapat(w);
                bekleme_ = 0;
            }
            return;
        }
        son_ = w;
        bekleme_ = 0;
        if (auto* kutu = qobject_cast<QMessageBox*>(w)) {
            mesajlar << kutu->text();
            QAbstractButton* odak = kutu->defaultButton();
            odaklar << (odak ? odak->text() : QString());
        }
        if (adimlar_.empty()) {
            mesajlar << QStringLiteral("beklenmeyen: ") + w->metaObject()->className();
            kapat(w);
            return;
        }
        Adim adim = std::move(adimlar_.front());
        adimlar_.pop_front();
        adim(w);
    }

    QTimer zamanlayici_;
    std::deque<Adim> adimlar_;
    QPointer<QWidget> son_;
    int bekleme_ = 0;  // ticks the handled window has stayed open
    int sabir_;
};

// Once a visible modal window of type T is up, runs `islem` on it once (from the event
// loop). Call before the code that opens the window.
template <class T>
void modaldaCalistir(std::function<void(T&)> islem)
{
    // Owned by the application, so a window that never came costs no leak at the end.
    auto* zamanlayici = new QTimer(QCoreApplication::instance());
    zamanlayici->setInterval(10);
    QObject::connect(zamanlayici, &QTimer::timeout, [zamanlayici, islem = std::move(islem), bekleme = 0]() mutable {
        auto* pencere = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!pencere || !pencere->isVisible()) return;
        // Shown is not yet active: the focus a test reads arrives with the activation. A
        // slow machine gets a second; a platform that never activates is not waited for.
        if (!pencere->isActiveWindow() && ++bekleme < 100) return;
        zamanlayici->stop();
        zamanlayici->deleteLater();
        islem(*pencere);
    });
    zamanlayici->start();
}

// Waits for the next modal message box, records it in `kayit` and lets `cevap` answer it.
inline void mesajiCevapla(GorulenMesaj& kayit, std::function<void(QMessageBox&)> cevap)
{
    modaldaCalistir<QMessageBox>([&kayit, cevap = std::move(cevap)](QMessageBox& kutu) {
        kaydet(kayit, kutu);
        cevap(kutu);
    });
}

// Answers the next message box with its first button and records it.
inline void tamamla(GorulenMesaj& kayit)
{
    mesajiCevapla(kayit, [](QMessageBox& kutu) { kutu.buttons().first()->click(); });
}

// The first visible top-level window of the class, or nullptr.
template <class T>
T* acikPencere()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<T*>(w); p && p->isVisible()) return p;
    return nullptr;
}

} // namespace durnak::testler
