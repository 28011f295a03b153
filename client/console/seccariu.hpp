#pragma once

// The customer console Tseccari ("Cari Seçimi"): a sales representative finds the customer
// to act for by a text search or through the order-status buttons with their counters,
// sees the focused customer's card, picks the customer into the session record, opens the
// customer's balances and fetches the customer reports as PDF files.
//
// Opening: set `bag` and `bilgim`, call SepetSayisiYaz and TusSonuclari, exec(). Every
// server call runs in frame C on `bag`; errors of those calls propagate to the caller
// (the handlers bound to the controls show them with the default error display).

#include <functional>

#include <QDate>
#include <QDialog>

#include "durnak/data/clientdataset.hpp"
#include "durnak/protocol/records.hpp"
#include "durnak/protocol/table.hpp"
#include "server/baglanti.hpp"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;

namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client {

class TServerMethods1Client;
class Ttarihsec;

using data::TClientDataSet;
using protocol::TSonucBilgisi;
using protocol::TTusSonuclari;

class Tseccari : public QDialog {
    Q_OBJECT

public:
    // Opens the balances window for the customer whose number `bilgi` carries; `bilgi` is a
    // copy of the session record that the opener releases afterwards.
    using BakiyeGosterici = std::function<void(QWidget* sahip, TBaglanti& bag, const TSonucBilgisi& bilgi)>;

    // The console's states (the n of CariSepetVer).
    enum Durum { Sepette = 1, Alindi, Onaylandi, Goruldu, ParcaliHazirlandi, Hazirlandi, SevkEdildi };

    explicit Tseccari(QWidget* sahip = nullptr);
    ~Tseccari() override;

    // Not owned.
    TBaglanti* bag = nullptr;
    TSonucBilgisi* bilgim = nullptr;

    // Ends the program ("Vazgeç"); tests replace it. When it returns, the window closes
    // without a pick.
    std::function<void(int)> ProgramiBitir;
    // Opens a saved report with the desktop's default handler.
    std::function<void(const QString& yol)> BelgeAc;
    // Shows the date dialog modally; true for "Seç".
    std::function<bool(Ttarihsec&)> TarihSor;
    // "Bakiyelerini Göster"; without one the entry does nothing.
    BakiyeGosterici BakiyeleriGoster;
    // Where reports are saved; empty: the user's documents folder.
    QString BelgeKlasoru;

    // The opener's loads, before showing.
    void SepetSayisiYaz();
    void TusSonuclari();

    // Handlers.
    void FormShow();
    void NEdit1KeyDown(int tus);
    void sBitBtn2Click();
    void sepettusClick();
    void alinditusClick() { DurumListele(Alindi); }
    void onaylanditusClick() { DurumListele(Onaylandi); }
    void goruldutusClick() { DurumListele(Goruldu); }
    void parcalihazirlandiClick() { DurumListele(ParcaliHazirlandi); }
    void hazirlanditusClick() { DurumListele(Hazirlandi); }
    void sevktusClick() { DurumListele(SevkEdildi); }
    void cxGrid1DBTableView1FocusedRecordChanged(int satir);
    void cxGrid1DBTableView1DblClick();
    void Button1Click();
    void Button2Click();
    void C1Click();
    void B1Click();
    void CariAlSatTablosuSatcl1Click();
    void CariTopluAlacakVadeleri1Click();

    // The search with the text of NEdit1; the list of one state.
    void Ara();
    void DurumListele(int n);

    // Fetches report `raporno` into the documents folder as rapor<raporno+carino>.pdf and
    // opens it. An older file of that name is deleted first; the new one is written only
    // when the whole announced length arrived. Opening the connection may throw; errors of
    // the call itself are swallowed. True when a file was saved.
    bool RaporAl(int raporno, int carino, const QString& saticiadi, const QDate& tarih1, const QDate& tarih2);

    // The search text as sent: "ı" as "i", surrounding blanks removed.
    static QString AramaMetni(const QString& yazilan);
    static QString RaporDosyasi(const QString& klasor, int raporno, int carino);
    // Typed letters in upper case, Turkish rules ("i" -> "İ").
    static QString BuyukHarf(const QString& metin);

    // The focused customer row of CARILER, -1 without one.
    int odakSatiri() const;
    QString alanMetni(int satir, const QString& alan) const;

    TClientDataSet CARILER;

    QLabel* Image2 = nullptr;
    QToolButton* sBitBtn2 = nullptr;
    QToolButton* sepettus = nullptr;
    QToolButton* alinditus = nullptr;
    QToolButton* onaylanditus = nullptr;
    QToolButton* goruldutus = nullptr;
    QToolButton* parcalihazirlandi = nullptr;
    QToolButton* hazirlanditus = nullptr;
    QToolButton* sevktus = nullptr;
    QLineEdit* NEdit1 = nullptr;

    grid::DurnakGrid* cxGrid1 = nullptr;
    QSplitter* Splitter1 = nullptr;

    QPushButton* Button1 = nullptr;  // Seç
    QPushButton* Button2 = nullptr;  // Vazgeç

    QGroupBox* GroupBox1 = nullptr;
    QLabel* carikod = nullptr;
    QLabel* cariadi = nullptr;
    QLabel* yetkili = nullptr;
    QLabel* ozelkod = nullptr;
    QLabel* anagrup = nullptr;
    QLabel* altgrup = nullptr;
    QLabel* adres1 = nullptr;
    QLabel* adres2 = nullptr;
    QLabel* ilce = nullptr;
    QLabel* telefon1 = nullptr;
    QLabel* telefon2 = nullptr;
    QLabel* fax1 = nullptr;
    QLabel* fax2 = nullptr;
    QLabel* gsm = nullptr;
    QLabel* vergi = nullptr;
    QLabel* email = nullptr;
    QLabel* bakiye = nullptr;
    QLabel* indirim = nullptr;
    QLabel* vade = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QAction* C1 = nullptr;
    QAction* B1 = nullptr;
    QAction* CariAlSatTablosuSatcl1 = nullptr;
    QAction* CariTopluAlacakVadeleri1 = nullptr;

protected:
    void showEvent(QShowEvent* olay) override;
    bool eventFilter(QObject* nesne, QEvent* olay) override;

private:
    QToolButton* durumDugmesi(const char* ad, const QString& ipucu, const QIcon& simge);
    void kartiKur();
    // Fills CARILER from the table the call answers, then fits the columns and focuses the
    // first row.
    void listeDoldur(const std::function<const protocol::Table&(TServerMethods1Client&)>& cagri);
    // The date dialog of the report entries; false when cancelled.
    bool tarihSor(bool tekTarih, QDate& tarih1, QDate& tarih2);
};

} // namespace durnak::client
