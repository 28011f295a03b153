#include "history/tumsiparisler.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "durnak/grid/durnakgrid.hpp"
#include "history/kutular.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using grid::Visibility;

Ttumsiparisler::Ttumsiparisler(const TBaglanti& bagc, const TSonucBilgisi& bilgi_, int stokno_, QWidget* parent)
    : QDialog(parent), bagim(bagc.Clone()), bilgi(&bilgi_), stokno(stokno_)
{
    setObjectName(QStringLiteral("tumsiparisler"));
    setWindowTitle(QStringLiteral("Sipariş Hareketleri"));

    cxGrid1 = gecmis::SiparisSatiriIzgarasi(this, "cxGrid1", gecmis::SatirPenceresi::TumSiparisler, &bakiyesepet);
    cxGrid1->setDataRowHeight(40);
    cxGrid1->setHeaderHeight(40);
    cxGrid1->setIncrementalSearch(true);
    cxGrid1->setProportionalOnResize(true);

    const int tip = bilgi->FMusteriTipi;
    if (tip == 1 || tip == 2) cxGrid1->setColumnVisibility(QStringLiteral("ELDEKI"), Visibility::Shown);
    if (tip == 3) cxGrid1->setColumnVisibility(QStringLiteral("DURUM"), Visibility::Never);

    const auto dugmeler = gecmis::KapatExcelDugmeleri(this, [this] { Button1Click(); }, [this] { Button2Click(); });
    Button1 = dugmeler.kapat;
    Button2 = dugmeler.excel;

    auto* alt = new QHBoxLayout;
    alt->addStretch(1);
    alt->addWidget(Button2);
    alt->addWidget(Button1);
    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(cxGrid1, 1);
    duzen->addLayout(alt);
}

Ttumsiparisler::~Ttumsiparisler() { cxGrid1->detach(); }

void Ttumsiparisler::Getir()
{
    const int carino = bilgi->FCARINO;
    CagriC(*bagim, [&](TServerMethods1Client& p) {
        gecmis::TabloyuYukle(p.TumSiparislerVer(carino, stokno), bakiyesepet);
    });
}

void Ttumsiparisler::Goster() { gecmis::Yerlestir(this, 50, 50); }

void Ttumsiparisler::Button2Click() { gecmis::ExcelKaydetSor(this, *cxGrid1); }

} // namespace durnak::client
