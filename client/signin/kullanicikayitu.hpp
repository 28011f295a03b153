#pragma once

// The password-change request window: the firm's and the user's details, pre-filled from
// the server, sent to the dealer through MailGonserCari.

#include <memory>

#include <QDialog>

#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"

class QLabel;
class QLineEdit;
class QPushButton;

namespace durnak::client {

class TForm1;

class Tkullanicikayit : public QDialog {
    Q_OBJECT

public:
    // Makes private copies of the connection and the session record and pre-fills the
    // fields (a failed pre-fill leaves them empty; the window still opens).
    Tkullanicikayit(QWidget* sahip, const TBaglanti& baglanti, const protocol::TSonucBilgisi& bilgi);
    ~Tkullanicikayit() override;

    void Button2Click();  // Gönder
    void Button1Click();  // Kapat

    std::unique_ptr<TBaglanti> con;
    protocol::TSonucBilgisi Bilgim;

    QLabel* lblid = nullptr;
    QLineEdit* firmaadi = nullptr;
    QLineEdit* adres1 = nullptr;
    QLineEdit* adres2 = nullptr;
    QLineEdit* ilce = nullptr;
    QLineEdit* sehir = nullptr;
    QLineEdit* telefon = nullptr;
    QLineEdit* fax = nullptr;
    QLineEdit* vd = nullptr;
    QLineEdit* vn = nullptr;
    QLineEdit* yetkili = nullptr;
    QLineEdit* kullaniciadi = nullptr;
    QLineEdit* sifre = nullptr;
    QLineEdit* mail = nullptr;
    QLineEdit* kargoambar = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;

private:
    void Ac();
};

// The main window's "Şifre Değiştirme İsteği" menu item opens the window.
void SifreIstegiBagla(TForm1& form);

} // namespace durnak::client
