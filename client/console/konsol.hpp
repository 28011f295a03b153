#pragma once

// The console's two openers and the report window's opener, and their wiring into the main
// window: the sign-in's hand-over of a sales representative (CariSec), "Başka Cari Seç"
// (musteritusClick) and "Raporlar" (R1Click).

#include <functional>

#include "console/seccariu.hpp"

class QWidget;

namespace durnak::client {

class TForm1;

struct KonsolKancalari {
    // Reloads the main window's basket for the session's (possibly new) customer.
    std::function<void(TForm1&)> sepetAl;
    // "Bakiyelerini Göster": the balances window, maximised, for another customer.
    Tseccari::BakiyeGosterici bakiyeleriGoster;
};

// Shows the console for the session record after loading its counters; true when a
// customer was picked (the record then carries it). "Vazgeç" calls `programiBitir` (the
// process end when empty). Errors of the counter loads propagate.
bool CariSec(QWidget* sahip, TBaglanti& bag, TSonucBilgisi& bilgi, std::function<void(int)> programiBitir = {},
             Tseccari::BakiyeGosterici bakiyeleriGoster = {});

// "Başka Cari Seç": the console on the main window's connection and session record, then,
// whatever its result, the header labels, the basket and the emptied stock list.
void musteritusClick(TForm1& form, const KonsolKancalari& kancalar);

// The refresh that follows the console.
void CariDegistiYenile(TForm1& form, const KonsolKancalari& kancalar);

// "Raporlar": the report window on a copy of the main connection, modal.
void R1Click(TForm1& form);

// Binds musteritus and R1 of the main window.
void KonsoluBagla(TForm1& form, KonsolKancalari kancalar = {});

} // namespace durnak::client
