#pragma once

// Answers the modal windows a test action opens, one step per window in the order they
// appear, and records the texts of the message boxes. A window nobody planned for is
// recorded as "beklenmeyen: ..." and closed, so a test fails instead of hanging.

#include <deque>
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace durnak::sepettest {

class ModalSurucu {
public:
    using Adim = std::function<void(QWidget*)>;

    ModalSurucu()
    {
        zamanlayici_.setInterval(10);
        QObject::connect(&zamanlayici_, &QTimer::timeout, [this] { bak(); });
        zamanlayici_.start();
    }

    // Steps run in this order on the modal windows as they open.
    ModalSurucu& sonra(Adim adim)
    {
        adimlar_.push_back(std::move(adim));
        return *this;
    }
    // A message box answered with the button of this caption.
    ModalSurucu& mesaj(const QString& dugme)
    {
        return sonra([dugme](QWidget* w) {
            auto* kutu = qobject_cast<QMessageBox*>(w);
            if (!kutu) return reddet(w);
            for (QAbstractButton* b : kutu->buttons())
                if (b->text() == dugme) return b->click();
            kutu->reject();
        });
    }
    // Any window closed as with its close box.
    ModalSurucu& kapat()
    {
        return sonra([](QWidget* w) { reddet(w); });
    }

    // Texts of the message boxes seen, in order; an unplanned window as "beklenmeyen: ...".
    QStringList mesajlar;
    // Focused button caption of each message box seen.
    QStringList odaklar;
    bool bitti() const { return adimlar_.empty(); }

private:
    static void reddet(QWidget* w)
    {
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
        else w->close();
    }

    void bak()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        if (w == son_) {
            // A step that left its window open would hang the test: note it and close it.
            if (++bekleme_ > 500) {
                mesajlar << QStringLiteral("kapanmadı: ") + w->metaObject()->className();
                reddet(w);
                bekleme_ = 0;
            }
            return;
        }
        son_ = w;
        bekleme_ = 0;
        if (auto* kutu = qobject_cast<QMessageBox*>(w)) {
            mesajlar << kutu->text();
            // The default button is the one that holds the focus once the box is active.
            QAbstractButton* odak = kutu->defaultButton();
            odaklar << (odak ? odak->text() : QString());
        }
        if (adimlar_.empty()) {
            mesajlar << QStringLiteral("beklenmeyen: ") + w->metaObject()->className();
            reddet(w);
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
};

} // namespace durnak::sepettest
