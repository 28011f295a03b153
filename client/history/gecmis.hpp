#pragma once

// Orders and account history on the main window: the previous-orders tab with its popup,
// the statement tab with its popup, the embedded balances tab, and the stock popup's
// order entries. GecmisBagla wires them once; the handlers are public for the tests.

class QWidget;

namespace durnak::protocol {
struct TSonucBilgisi;
}

namespace durnak::client {

class TBaglanti;
class TForm1;

// Columns of the two tab grids, the show/hide handlers of the three tabs, the popup
// entries and the double-clicks.
void GecmisBagla(TForm1& form);

// The balances window for another customer, as the customer console opens it: a copy of
// `bilgi` carrying `carino`, maximised, modal, with the representative's columns. Errors of
// the load go to the error display and the window is not shown.
void BakiyeleriGoster(TBaglanti& bag, const protocol::TSonucBilgisi& bilgi, int carino, QWidget* sahip);

namespace gecmis {

// Previous orders.
void soncekiShow(TForm1& form);
void S1Click(TForm1& form);                     // "Siparişi İncele", also the double-click
void SipariBakiyeleriniz1Click(TForm1& form);   // "Sipariş Bakiyeleriniz"
void T1Click(TForm1& form);                     // "Tüm Siparişler"
void S3Click(TForm1& form);                     // stock popup "Siparişleri Göster"

// Statement.
void sccariekstreShow(TForm1& form);
void H1Click(TForm1& form);  // "Hareket İncele", also the double-click

// Balances tab.
void sTabbakiyelerShow(TForm1& form);
void sTabbakiyelerHide(TForm1& form);

} // namespace gecmis
} // namespace durnak::client
