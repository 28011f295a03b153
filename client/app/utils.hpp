#pragma once

// The utility unit every window calls directly: the one message dialog with Turkish
// captions, the workstation identity sent with the calls, the program's folders and the
// server address chosen at sign-in.

#include <initializer_list>
#include <mutex>
#include <vector>

#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace durnak::client {

// Dialog kinds: title and sound.
enum TMsgDlgType { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3 };

// Buttons by ordinal.
enum TMsgDlgBtn { mbYes = 0, mbNo = 1, mbOK = 2, mbCancel = 3, mbAbort = 4, mbRetry = 5, mbIgnore = 6, mbHelp = 10 };

// What MesajGoster returns for the pressed button.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

// Shows the message modally, centred on the screen, with the kind's title and sound and the
// buttons' Turkish captions; `odak` has the keyboard focus. Returns the pressed button's
// result; Escape or the close box count as Cancel, else No, else OK. Main thread only.
int MesajGoster(const QString& metin, int tur, std::initializer_list<int> dugmeler, int odak);
int MesajGoster(const QString& metin, int tur, const std::vector<int>& dugmeler, int odak);

// Installs the message hook of BaglantiAc: its message is shown with MesajGoster on the
// main thread, and a worker that asked for it waits until it is dismissed.
void BaglantiMesajlariniBagla();

// Font size of the message dialogs (the creation handler sets 15); 0 keeps the
// application font.
void MesajYaziBoyutuAyarla(int punto);
int MesajYaziBoyutu();

QString MesajBasligi(int tur);
QString DugmeYazisi(int dugme);
int DugmeSonucu(int dugme);

// The bottom row of the forms sent to the dealer: "Gönder" (Button2) at the left, "Kapat"
// (Button1) at the right. Neither is auto-default: Enter in a field sends nothing.
QHBoxLayout* GonderKapatSatiri(QWidget* pencere, QPushButton*& gonder, QPushButton*& kapat);

// Workstation identity. None of them fails: what cannot be read comes back empty.
QString BilgisayarAdiAl();
QString KullaniciAdiAl();
QString YerelIpAl();
// `kok` is the file-system root the sysfs and udev trees are read under ("/" on a real
// machine; tests give a fixture tree).
QString DiskSeriNoAl(const QString& kok = QStringLiteral("/"));
QString MacAdresiAl(const QString& kok = QStringLiteral("/"));
QString BilgisayarIdAl(const QString& kok = QStringLiteral("/"));

// The host name cut to a NetBIOS-style computer name: the part before the first dot, at
// most 15 characters.
QString KisaBilgisayarAdi(const QString& makineAdi);

// ~/.config/durnakotomotiv (created on first use), without a trailing separator.
QString VeriKlasoru();
// The user's documents folder; empty when it cannot be determined.
QString BelgelerKlasoru();

// The server address in use, chosen at sign-in. Read from workers as well.
class Tiptut {
public:
    QString gecerliip() const;
    void setGecerliip(const QString& adres);

private:
    mutable std::mutex kilit_;
    QString gecerliip_;
};

Tiptut& tiptut();

} // namespace durnak::client
