#include "history/siparisayrinti.hpp"

#include <QPushButton>
#include <QVBoxLayout>

#include "durnak/grid/durnakgrid.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

Tayrinti_siparis::Tayrinti_siparis(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ayrinti_siparis"));
    setWindowTitle(QStringLiteral("Sipariş Ayrıntısı"));
    asagi = new protocol::TSiparisDipAyrinti;

    cxGrid2 = gecmis::SiparisSatiriIzgarasi(this, "cxGrid2", gecmis::SatirPenceresi::SiparisAyrinti, &sepet);
    cxGrid2->setProportionalOnResize(true);

    tutar = new gecmis::TTutarKutusu(this);
    bilgiler = new gecmis::TSiparisBilgileri(this);
    // Auto-default buttons: Enter in this window presses "Kapat".
    const auto dugmeler = gecmis::KapatExcelDugmeleri(
        this, [this] { Button1Click(); }, [this] { Button2Click(); }, "Button1", true);
    Button1 = dugmeler.kapat;
    Button2 = dugmeler.excel;
    auto* alt = gecmis::SiparisAltSatiri(*bilgiler, tutar, gecmis::DugmeSutunu({Button1, Button2}));

    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(cxGrid2, 1);
    duzen->addLayout(alt);
}

Tayrinti_siparis::~Tayrinti_siparis()
{
    cxGrid2->detach();
    delete asagi;
}

bool Tayrinti_siparis::Yukle(TBaglanti& bagc, int carino, int idno)
{
    const bool satirlar = CagriA(bagc, [&](TServerMethods1Client& p) {
        gecmis::TabloyuYukle(p.SiparisAyrintisi2(carino, idno), sepet);
    });
    if (!satirlar) return false;
    CagriA(bagc, [&](TServerMethods1Client& p) {
        if (const TSiparisDipAyrinti* dip = p.SiparisAytintisiDip(0, idno)) asagi->Kopyala(*dip);
    });
    return true;
}

void Tayrinti_siparis::SepetHesapla()
{
    toplamlar = gecmis::SepetHesapla(sepet);
    tutar->Yaz(gecmis::ToplamlariYaz(toplamlar));
    bilgiler->Doldur(*asagi, true);
    gecmis::Yerlestir(this, 50, 50);
}

void Tayrinti_siparis::Button2Click() { gecmis::ExcelKaydetSor(this, *cxGrid2); }

void Tayrinti_siparis::cxGrid2Resize()
{
    // Always proportional here, whatever the screen width.
    cxGrid2->beginUpdate();
    cxGrid2->KolonGenislikleri();
    cxGrid2->endUpdate();
}

} // namespace durnak::client
