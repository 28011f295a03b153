#pragma once

// Answers the modal windows a journey opens, one step per window in the order they appear,
// and records the texts of the message boxes. A window nobody planned for is recorded as
// "beklenmeyen: <class>" and closed, so a journey fails instead of hanging.

#include <deque>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace durnak::uctest {

class ModalSurucu {
public:
    using Adim = std::function<void(QWidget*)>;

    ModalSurucu()
    {
        zamanlayici_.setInterval(10);
        QObject::connect(&zamanlayici_, &QTimer::timeout, [this] { bak(); });
        zamanlayici_.start();
    }

    // The next window must be a T; `adim` acts on it (another kind is recorded and closed).
    template <class T>
    ModalSurucu& sonra(std::function<void(T&)> adim)
    {
        adimlar_.push_back([this, adim = std::move(adim)](QWidget* w) {
            if (auto* t = qobject_cast<T*>(w)) return adim(*t);
            mesajlar << QStringLiteral("beklenmeyen: ") + w->metaObject()->className();
            kapat(w);
        });
        return *this;
    }
    // A message box answered with the button of this caption.
    ModalSurucu& mesaj(const QString& dugme)
    {
        return sonra<QMessageBox>([dugme](QMessageBox& kutu) {
            for (QAbstractButton* b : kutu.buttons())
                if (b->text() == dugme) return b->click();
            kutu.reject();
        });
    }

    QStringList mesajlar;  // message box texts and unplanned windows, in order
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
            // A step that left its window open would hang the journey.
            if (++bekleme_ > 1500) {
                mesajlar << QStringLiteral("kapanmadı: ") + w->metaObject()->className();
                kapat(w);
                bekleme_ = 0;
            }
            return;
        }
        son_ = w;
        bekleme_ = 0;
        if (auto* kutu = qobject_cast<QMessageBox*>(w)) mesajlar << kutu->text();
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
    int bekleme_ = 0;
};

} // namespace durnak::uctest
