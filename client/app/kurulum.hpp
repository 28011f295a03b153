#pragma once

// The one wiring of the program: the main window's hooks and every feature bound to it, as
// the program entry builds the window. The end-to-end tests and the screenshot program
// build the same window through these two functions.
//
//   TForm1 form(AnaPencereKancalari());
//   AnaPencereyiBagla(form);
//   form.FormCreate();

#include "app/unit1.hpp"
#include "signin/girisformu.hpp"

namespace durnak::client {

// The hooks for TForm1's constructor: the sign-in (with a representative's customer pick)
// and the start-up and refresh loads. `adresler` are the deployment addresses the sign-in
// works with.
TForm1Kancalari AnaPencereKancalari(TGirisAdresleri adresler = TGirisAdresleri::Varsayilan());

// Binds every feature to the window; main thread, after construction, before FormCreate.
void AnaPencereyiBagla(TForm1& form);

} // namespace durnak::client
