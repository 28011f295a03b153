#include "history/siparisayrinti.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using grid::FooterSummary;
using grid::SummaryKind;

Tayrinti_siparis::Tayrinti_siparis(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ayrinti_siparis"));
    setWindowTitle(QStringLiteral("Sipariş Ayrıntısı"));
    asagi = new protocol::TSiparisDipAyrinti;

    cxGrid2 = new grid::DurnakGrid(this);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    cxGrid2->setColumns(gecmis::SiparisSatiriKolonlari(gecmis::SatirPenceresi::SiparisAyrinti));
    cxGrid2->setFooterSummaries({{QStringLiteral("VERILISTARIHI"), SummaryKind::Count, {}},
                                 {QStringLiteral("MIKTAR"), SummaryKind::Sum, {}},
                                 {QStringLiteral("KALAN"), SummaryKind::Sum, {}}});
    cxGrid2->setDataSet(&sepet);
    cxGrid2->setProportionalOnResize(true);

    tutar = new gecmis::TTutarKutusu(this);
    bilgiler = new gecmis::TSiparisBilgileri(this);
    Button1 = new QPushButton(QStringLiteral("Kapat"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Excel Kaydet"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { gecmis::Guvenli([this] { Button2Click(); }); });

    auto* alt = new QHBoxLayout;
    alt->addWidget(bilgiler->bilgiler, 2);
    alt->addWidget(bilgiler->mesajiniz, 2);
    alt->addWidget(bilgiler->alaninNotu, 2);
    alt->addWidget(tutar, 1);
    auto* dugmeler = new QVBoxLayout;
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    dugmeler->addStretch(1);
    alt->addLayout(dugmeler);

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
        const auto& tablo = p.SiparisAyrintisi2(carino, idno);
        data::DisableControlsScope kapali(sepet);
        data::TabloyaKopyala(tablo, sepet);
        data::FloatFormatla(sepet);
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
