#pragma once

// The balances window "Bakiye Siparişler": the customer's open order-line balances with
// totals and the focused line's order footer; closing a balance, changing it, and for user
// type 2 changing the line's price. Embedded in the balances tab, modal from the previous
// orders, maximised from the customer console.

#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>

#include "durnak/data/clientdataset.hpp"
#include "durnak/protocol/records.hpp"
#include "history/kutular.hpp"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client {

class TBaglanti;

inline const char* const kBakiyeSilSorusu = "Sipariş Bakiyesini Silmek İstiyor musunuz ?";
inline const char* const kBakiyeDegistirSorusu = "Sipariş Bakiyesini Değiştirmek İstiyor musunuz ?";
inline const char* const kBakiyeDegistirildi = "Bakiye Değiştirildi !";
inline const char* const kFiyatDegistirildi = "Fiyat Değiştirildi !";

// Where the window is used; the column and menu rules differ.
enum class BakiyeKullanimi { Sekme, Modal, Konsol };

// The whole-number box of the balance dialog: 1 to 1000. What was typed is readable before
// the box pulls it into range (text that is not a whole number reads as 1); the box pulls
// it into range when it loses focus. Enter is reported, never passed on.
class TAdetKutusu : public QSpinBox {
    Q_OBJECT

public:
    explicit TAdetKutusu(QWidget* parent = nullptr);
    int YazilanDeger() const;
    // The value pulled into the range, as the dialog sends it.
    int AralikDegeri();

signals:
    void enterBasildi();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* olay) override;
};

class Tbakiyedegistir : public QDialog {
    Q_OBJECT

public:
    explicit Tbakiyedegistir(QWidget* parent = nullptr);

    void Button1Click();  // Değiştir
    void Button2Click();  // Vazgeç
    void adetKeyDown();   // Enter in the box

    QLabel* barkod = nullptr;
    QLabel* adi = nullptr;
    QLabel* finishkod = nullptr;
    QLabel* marka = nullptr;
    QLabel* model = nullptr;
    QLabel* alinansiparis = nullptr;
    QLabel* teslimedilen = nullptr;
    QLabel* elimizdeBaslik = nullptr;
    QLabel* elimizde = nullptr;
    QLabel* eskibakiye = nullptr;
    TAdetKutusu* adet = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

// A money edit shown with ",0.00 TL;-,0.00 TL", also while editing. Text that is not a
// number reads as 0; `enFazla` caps the value.
class TParaKutusu : public QLineEdit {
    Q_OBJECT

public:
    explicit TParaKutusu(QWidget* parent = nullptr, double enFazla = -1);
    double Deger() const;
    void DegerYaz(double deger);

private:
    double enFazla_;
};

inline const char* const kParaKutusuFormati = ",0.00 TL;-,0.00 TL";

class Tfiyatdegistir : public QDialog {
    Q_OBJECT

public:
    explicit Tfiyatdegistir(QWidget* parent = nullptr);

    // Recomputes the net and VAT-inclusive labels from the two edits.
    void _fiyatKeyUp();
    void _iskontoKeyUp() { _fiyatKeyUp(); }

    TParaKutusu* _fiyat = nullptr;
    TParaKutusu* _iskonto = nullptr;
    QLabel* LBLNET = nullptr;
    QLabel* LABELKDV = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
};

class Tbakiyesiparisler : public QDialog {
    Q_OBJECT

public:
    // `bagim` and `bilgi` stay the opener's and must outlive the window.
    Tbakiyesiparisler(TBaglanti& bagim, const protocol::TSonucBilgisi& bilgi, QWidget* parent = nullptr);
    ~Tbakiyesiparisler() override;

    // Columns and menu entries for the use and the session's user type.
    void KullanimaGoreAyarla(BakiyeKullanimi kullanim);

    // Loads the lines, totals and footer; frame C, errors are thrown.
    void BakiyeAlalim();
    void Goster();
    void cxGridDBTableView1FocusedRecordChanged(int satir);
    void cxGrid2Resize();
    void Button1Click() { close(); }
    void Button2Click();
    void B1Click();  // Bakiyeyi Sil
    void B2Click();  // Bakiye Değiştir
    void F1Click();  // Fiyat Değiştir

    TBaglanti* bagim;
    const protocol::TSonucBilgisi* bilgi;
    data::TClientDataSet bakiyesepet;
    protocol::TSiparisDipAyrinti* asagi = nullptr;
    gecmis::Toplamlar toplamlar;

    grid::DurnakGrid* cxGrid2 = nullptr;
    gecmis::TTutarKutusu* tutar = nullptr;
    gecmis::TSiparisBilgileri* bilgiler = nullptr;
    QWidget* lejant = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* B1 = nullptr;
    QAction* B2 = nullptr;
    QAction* F1 = nullptr;

protected:
    bool eventFilter(QObject* nesne, QEvent* olay) override;

private:
    // The keys the balance calls send for the focused line.
    struct SatirAnahtari {
        int stokno = 0;
        int sirano = 0;
        int stokharNo = 0;
        QString barkod;
    };
    QVariant odakli(const char* alan) const;
    SatirAnahtari odakliAnahtar() const;

    void altBilgiYaz();
    // SiparisAytintisiDip for the focused line's order, then the footer labels.
    void odakliSiparisDibi();
};

} // namespace durnak::client
