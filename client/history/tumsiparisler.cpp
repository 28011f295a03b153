#include "history/tumsiparisler.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "history/kutular.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using grid::SummaryKind;
using grid::Visibility;

Ttumsiparisler::Ttumsiparisler(const TBaglanti& bagc, const TSonucBilgisi& bilgi_, int stokno_, QWidget* parent)
    : QDialog(parent), bagim(bagc.Clone()), bilgi(&bilgi_), stokno(stokno_)
{
    setObjectName(QStringLiteral("tumsiparisler"));
    setWindowTitle(QStringLiteral("Sipariş Hareketleri"));

    cxGrid1 = new grid::DurnakGrid(this);
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));
    cxGrid1->setColumns(gecmis::SiparisSatiriKolonlari(gecmis::SatirPenceresi::TumSiparisler));
    cxGrid1->setFooterSummaries({{QStringLiteral("VERILISTARIHI"), SummaryKind::Count, {}},
                                 {QStringLiteral("MIKTAR"), SummaryKind::Sum, {}},
                                 {QStringLiteral("KALAN"), SummaryKind::Sum, {}}});
    cxGrid1->setDataRowHeight(40);
    cxGrid1->setHeaderHeight(40);
    cxGrid1->setIncrementalSearch(true);
    cxGrid1->setProportionalOnResize(true);
    cxGrid1->setDataSet(&bakiyesepet);

    const int tip = bilgi->FMusteriTipi;
    if (tip == 1 || tip == 2) cxGrid1->setColumnVisibility(QStringLiteral("ELDEKI"), Visibility::Shown);
    if (tip == 3) cxGrid1->setColumnVisibility(QStringLiteral("DURUM"), Visibility::Never);

    Button1 = new QPushButton(QStringLiteral("Kapat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Excel Kaydet"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { gecmis::Guvenli([this] { Button2Click(); }); });

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
        const auto& tablo = p.TumSiparislerVer(carino, stokno);
        data::DisableControlsScope kapali(bakiyesepet);
        data::TabloyaKopyala(tablo, bakiyesepet);
        data::FloatFormatla(bakiyesepet);
    });
}

void Ttumsiparisler::Goster() { gecmis::Yerlestir(this, 50, 50); }

void Ttumsiparisler::Button2Click() { gecmis::ExcelKaydetSor(this, *cxGrid1); }

} // namespace durnak::client
