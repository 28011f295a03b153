#pragma once

// The sign-in window Tgirisform: remembered credentials in ayar.ini, the external address
// lookup and the LAN / public server choice, the account check against BuyukGetir, and the
// hand-overs to the update window, the request form and the customer console.

#include <atomic>
#include <functional>
#include <memory>

#include <QDialog>
#include <QString>

#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace durnak::client {

class TForm1;
class TMesgulAnimasyonu;
struct TForm1Kancalari;
class Tgirisform;

using protocol::TSonucBilgisi;

inline constexpr int kProgramVersiyonu = 2;

// The deployment addresses the sign-in works with; the defaults are the build-time values.
// Tests point them at a loopback server.
struct TGirisAdresleri {
    QString genelSunucu;    // the dealer's public server address
    QString yerelSunucu;    // the server address inside the dealer's network
    QString webSitesi;      // root of the dealer's public web site, with a trailing "/"
    QString ipAdresimNe;    // what-is-my-IP service
    QString kurulumAdresi;  // setup download

    static TGirisAdresleri Varsayilan();
};

// The customer pick of a sales representative (the customer console): shown modally with
// the sign-in window as owner; its bagim and Bilgim are the session's. True for OK.
using TCariSecimi = std::function<bool(Tgirisform& giris)>;

// GET of the what-is-my-IP address: connect time-out 15 s, read time-out 1.5 s, and after a
// failure another try one second later, until one succeeds. The trimmed body is the result.
// Gives up (empty text) only when `iptal` becomes true, so an abandoned lookup ends.
QString DisIpAl(const QString& adres, const std::atomic<bool>* iptal = nullptr);

// Section [kullanici] of ayar.ini, read and written as UTF-8 that any INI reader takes.
struct TGirisAyari {
    QString isim;
    QString sifre;
    bool hatirla = true;
};
QString AyarDosyasi();  // VeriKlasoru() + "/ayar.ini"
// False when the file does not exist; missing keys give empty text and hatirla true.
bool AyarOku(const QString& dosya, TGirisAyari& ayar);
// Writes the three keys (other sections and keys of the file are kept); owner-only mode.
bool AyarYaz(const QString& dosya, const TGirisAyari& ayar);

class Tgirisform : public QDialog {
    Q_OBJECT

public:
    explicit Tgirisform(QWidget* sahip = nullptr, TGirisAdresleri adresler = TGirisAdresleri::Varsayilan());
    ~Tgirisform() override;

    // Computes idsi and loads the remembered credentials (the constructor calls it).
    void FormCreate();
    void AyarYukle();
    void AyarKaydet();

    void Button1Click();  // Giriş
    void Button2Click();  // Vazgeç
    void Devamet(const QString& disIp);
    // Background: opens a clone of bagim, BuyukGetir into Bilgim, workstation fields.
    bool SunucuKontrol();
    void IstekFormuAc(const QString& taban);

    // Set by the caller before the window is shown; neither is owned.
    TBaglanti* bagim = nullptr;
    TSonucBilgisi* Bilgim = nullptr;
    QString idsi;
    TGirisAdresleri adresler;

    // The customer console's pick for user types 1 and 2; without one the sign-in goes on.
    TCariSecimi CariSecimiAc;
    // Ends the process; tests replace it.
    std::function<void(int)> ProgramiBitir;

    QLabel* Image1 = nullptr;
    QCheckBox* benihatirla = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* adi = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* sifre = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    TMesgulAnimasyonu* RxGIFAnimator1 = nullptr;
    QLabel* RxLabel1 = nullptr;

signals:
    // A sign-in phase ended and Button1 is usable again (tests wait for it).
    void girisBitti();

protected:
    bool eventFilter(QObject* nesne, QEvent* olay) override;
    void showEvent(QShowEvent* olay) override;

private:
    void mesgulGoster(bool goster);
    void tekrarDene(QLineEdit* odak);
    void bitir(bool iceride);

    // Shared with the background steps: set when the window goes away.
    std::shared_ptr<std::atomic<bool>> iptal_;
};

// Wires the sign-in into the main window's creation handler (the girisYap hook). The
// customer console, when there is one, is given as `cariSecimi`.
void GirisiBagla(TForm1Kancalari& kancalar, TCariSecimi cariSecimi = {},
                 TGirisAdresleri adresler = TGirisAdresleri::Varsayilan());

} // namespace durnak::client
