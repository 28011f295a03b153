#include "app/kurulum.hpp"

#include "basket/sepet.hpp"
#include "catalogue/katalog.hpp"
#include "console/konsol.hpp"
#include "console/seccariu.hpp"
#include "history/gecmis.hpp"
#include "mail/mailformu.hpp"
#include "promotions/tanitim.hpp"
#include "signin/kullanicikayitu.hpp"

namespace durnak::client {

namespace {

// "Bakiyelerini Göster" of the customer console, at sign-in and from the main window alike.
Tseccari::BakiyeGosterici bakiyeGosterici()
{
    return [](QWidget* sahip, TBaglanti& bag, const TSonucBilgisi& bilgi) {
        BakiyeleriGoster(bag, bilgi, bilgi.FCARINO, sahip);
    };
}

} // namespace

TForm1Kancalari AnaPencereKancalari(TGirisAdresleri adresler)
{
    TForm1Kancalari kancalar;
    TanitimBagla(kancalar);
    // A sales representative picks the customer he works for during the sign-in.
    GirisiBagla(
        kancalar,
        [bakiyeler = bakiyeGosterici()](Tgirisform& giris) {
            return CariSec(&giris, *giris.bagim, *giris.Bilgim, giris.ProgramiBitir, bakiyeler);
        },
        std::move(adresler));
    return kancalar;
}

void AnaPencereyiBagla(TForm1& form)
{
    TanitimBagla(form);
    KatalogBagla(form);
    SepetBagla(form);
    GecmisBagla(form);
    SifreIstegiBagla(form);
    MailBagla(form);
    KonsoluBagla(form, {[](TForm1& f) {
                            if (auto* sepet = f.findChild<TSepet*>()) sepet->SepetAl();
                        },
                        bakiyeGosterici()});
}

} // namespace durnak::client
