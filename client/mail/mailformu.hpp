#pragma once

// The mail window: a subject and a message to the dealer, sent in the background through
// the server together with the customer's details the server holds for this workstation.
// Also the main window's web-site menu item.

#include <memory>

#include <QDialog>
#include <QStringList>

#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace durnak::client {

class TForm1;

// The lines of a message as one comma text: lines joined with ","; a line holding a blank,
// a control character, a double quote or a comma is quoted with inner quotes doubled; one
// empty line gives "" and no line an empty text.
QString VirgulMetni(const QStringList& satirlar);
// The hard lines of a text field's text (a final line break opens no new line).
QStringList Satirlar(const QString& metin);

class Tmailform : public QDialog {
    Q_OBJECT

public:
    Tmailform(QWidget* sahip, const TBaglanti& baglanti, const protocol::TSonucBilgisi& bilgi);
    ~Tmailform() override;

    void Button2Click();  // Gönder
    void Button1Click();  // Kapat

    // Written by the background step, read on the main thread afterwards.
    std::shared_ptr<TBaglanti> con;
    protocol::TSonucBilgisi Bilgim;

    QLabel* Label1 = nullptr;
    QLineEdit* baslik = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* konu = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;

signals:
    // A send finished and its result was shown.
    void gonderimBitti(bool basarili);

protected:
    void closeEvent(QCloseEvent* olay) override;
    void reject() override;
    void showEvent(QShowEvent* olay) override;
};

// The main window's "Mail Gönder" item opens the mail window; the web-site item opens the
// dealer's site in the browser.
void MailBagla(TForm1& form);

} // namespace durnak::client
