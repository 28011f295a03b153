#pragma once

// Tacilisreklam: pages through the dealer's opening screens one picture at a time. A click
// on a picture with a target closes the window with OK; the caller then applies the target.

#include <memory>

#include <QDialog>
#include <QPixmap>
#include <QPointer>

#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"

class QLabel;
class QPushButton;
class QSlider;

namespace durnak::client {

class TMesgulAnimasyonu;

// The read-only picture viewer of the window: the picture fitted to the area, a zoom slider
// under it, a click reported as a signal.
class TResimGosterici : public QWidget {
    Q_OBJECT

public:
    explicit TResimGosterici(QWidget* parent = nullptr);
    void setResim(const QPixmap& resim);
    QPixmap resim() const { return resim_; }
    QSlider* yakinlastirma() const { return zoom_; }

signals:
    void tiklandi();

protected:
    void paintEvent(QPaintEvent* olay) override;
    void mouseReleaseEvent(QMouseEvent* olay) override;

private:
    QPixmap resim_;
    QSlider* zoom_;
};

class Tacilisreklam : public QDialog {
    Q_OBJECT

public:
    explicit Tacilisreklam(QWidget* owner = nullptr);
    ~Tacilisreklam() override;

    // Setup: private copies of the connection and the session record, then position 1.
    void Ac(const TBaglanti& baglanti, const protocol::TSonucBilgisi& bilgi);
    // Loads the picture at the 1-based position in the background.
    void REsimGoster(int sira);

    void Button1Click();     // previous
    void Button2Click();     // next
    void Button1xxxClick();  // "Kapat"
    void cxImage1Click();

    int adet = 0;
    int sirasi = 1;
    QString arama;
    protocol::TSonucBilgisi Bilgim;

    QLabel* Label1 = nullptr;
    TResimGosterici* cxImage1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    TMesgulAnimasyonu* gifstokara = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1xxx = nullptr;

    // A picture load is under way (the paging buttons are disabled).
    bool yukleniyor() const { return yukleniyor_; }

signals:
    // A picture load finished its main-thread step.
    void resimYuklendi();

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* nesne, QEvent* olay) override;

private:
    bool FormKeyDown(int tus);
    void sayacYaz();

    // Shared with the load under way, which may outlive the window.
    std::shared_ptr<TBaglanti> con_;
    bool yukleniyor_ = false;
};

} // namespace durnak::client
