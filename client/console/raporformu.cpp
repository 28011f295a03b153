#include "console/raporformu.hpp"

#include <exception>
#include <functional>

#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/groupgrid.hpp"
#include "durnak/protocol/oledate.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

namespace {

using grid::GridColumn;
using grid::SummaryKind;
using grid::Visibility;
using protocol::FieldType;

double gun(const QDate& tarih)
{
    return protocol::oleDate(tarih.year(), static_cast<unsigned>(tarih.month()), static_cast<unsigned>(tarih.day()));
}

GridColumn kolon(const char* alan, Visibility gorunurluk = Visibility::Shown)
{
    // No captions: the headers show the column names.
    return grid::textColumn(QString::fromLatin1(alan), QString(), QString::fromLatin1(alan), 1, gorunurluk);
}

// The columns the server's table must deliver, in its order.
void siparisAlanlari(TClientDataSet& d)
{
    d.AddFieldDef(QStringLiteral("SATICIADI"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("IDNO"), FieldType::Float64);
    d.AddFieldDef(QStringLiteral("CARINO"), FieldType::Int32);
    d.AddFieldDef(QStringLiteral("TARIH"), FieldType::Date);
    d.AddFieldDef(QStringLiteral("KUR"), FieldType::WideString, 5);
    d.AddFieldDef(QStringLiteral("KURTL"), FieldType::Float64);
    d.AddFieldDef(QStringLiteral("VERENIDNO"), FieldType::Int32);
    d.AddFieldDef(QStringLiteral("KARGO"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("TESLIM"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("VEREN"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("CARIKOD"), FieldType::WideString, 25);
    d.AddFieldDef(QStringLiteral("CARIADI"), FieldType::WideString, 100);
    d.AddFieldDef(QStringLiteral("DURUM"), FieldType::WideString, 100);
    d.AddFieldDef(QStringLiteral("KARGOADI"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("VERGI"), FieldType::Float64);
    d.AddFieldDef(QStringLiteral("NETTUTAR"), FieldType::Float64);
    d.AddFieldDef(QStringLiteral("TUTAR"), FieldType::Float64);
}

void stokAlanlari(TClientDataSet& d)
{
    d.AddFieldDef(QStringLiteral("BARKOD"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("KOD"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("ADI"), FieldType::WideString, 100);
    d.AddFieldDef(QStringLiteral("DEPARTMAN"), FieldType::WideString, 50);
    d.AddFieldDef(QStringLiteral("MIKTAR"), FieldType::Float64);
    d.AddFieldDef(QStringLiteral("NETTUTAR"), FieldType::Float64);
    d.AddFieldDef(QStringLiteral("TLVERGI"), FieldType::Float64);
    d.AddFieldDef(QStringLiteral("TUTAR"), FieldType::Float64);
}

QDateEdit* tarihKutusu(QWidget* sahip, const char* ad)
{
    auto* kutu = new QDateEdit(sahip);
    kutu->setObjectName(QString::fromLatin1(ad));
    kutu->setCalendarPopup(true);
    kutu->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return kutu;
}

} // namespace

Traporform::Traporform(QWidget* sahip) : QDialog(sahip)
{
    setObjectName(QStringLiteral("raporform"));
    setWindowTitle(QStringLiteral("Raporlar"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    auto* ust = new QWidget(this);
    ust->setObjectName(QStringLiteral("Panel1"));
    auto* ustDuzen = new QHBoxLayout(ust);
    ustDuzen->addWidget(new QLabel(QStringLiteral("Tarihler"), ust));
    tarih1 = tarihKutusu(ust, "tarih1");
    tarih2 = tarihKutusu(ust, "tarih2");
    Button1 = new QPushButton(QStringLiteral("Göster"), ust);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    ustDuzen->addWidget(tarih1);
    ustDuzen->addWidget(tarih2);
    ustDuzen->addWidget(Button1);
    ustDuzen->addStretch(1);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    siparisAlanlari(siparis);
    siparis.CreateDataSet();
    stokAlanlari(stok);
    stok.CreateDataSet();

    tabsiparis = new QWidget;
    tabsiparis->setObjectName(QStringLiteral("tabsiparis"));
    cxGrid1 = new grid::DurnakGroupGrid(tabsiparis);
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));
    cxGrid1->setColumns({kolon("SATICIADI", Visibility::Offered), kolon("TARIH"), kolon("IDNO", Visibility::Offered),
                         kolon("VERGI"), kolon("NETTUTAR"), kolon("TUTAR"), kolon("CARINO", Visibility::Offered),
                         kolon("KUR", Visibility::Offered), kolon("KURTL", Visibility::Offered),
                         kolon("VERENIDNO", Visibility::Offered), kolon("KARGO"), kolon("TESLIM"), kolon("VEREN"),
                         kolon("CARIKOD"), kolon("CARIADI"), kolon("DURUM"), kolon("KARGOADI")});
    cxGrid1->setGroupBy(QStringLiteral("SATICIADI"));
    const std::vector<grid::FooterSummary> ozetler = {{QStringLiteral("TUTAR"), SummaryKind::Sum, {}},
                                                      {QStringLiteral("TARIH"), SummaryKind::Count, {}}};
    cxGrid1->setGroupSummaries(ozetler);
    cxGrid1->setFooterSummaries(ozetler);
    cxGrid1->setDataSet(&siparis);
    auto* siparisDuzen = new QVBoxLayout(tabsiparis);
    siparisDuzen->setContentsMargins(0, 0, 0, 0);
    siparisDuzen->addWidget(cxGrid1);

    tabstok = new QWidget;
    tabstok->setObjectName(QStringLiteral("tabstok"));
    cxGrid2 = new grid::DurnakGrid(tabstok);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    cxGrid2->setColumns({kolon("BARKOD"), kolon("KOD"), kolon("ADI"), kolon("DEPARTMAN"), kolon("MIKTAR"),
                         kolon("NETTUTAR"), kolon("TLVERGI"), kolon("TUTAR")});
    cxGrid2->setFooterSummaries({{QStringLiteral("MIKTAR"), SummaryKind::Sum, {}},
                                 {QStringLiteral("NETTUTAR"), SummaryKind::Sum, {}},
                                 {QStringLiteral("TLVERGI"), SummaryKind::Sum, {}},
                                 {QStringLiteral("TUTAR"), SummaryKind::Sum, {}}});
    cxGrid2->setDataSet(&stok);
    auto* stokDuzen = new QVBoxLayout(tabstok);
    stokDuzen->setContentsMargins(0, 0, 0, 0);
    stokDuzen->addWidget(cxGrid2);

    PageControl1->addTab(tabsiparis, QStringLiteral("Alınan Siparişler"));
    PageControl1->addTab(tabstok, QStringLiteral("Satılan Stoklar"));
    PageControl1->setCurrentWidget(tabsiparis);

    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(ust);
    duzen->addWidget(PageControl1, 1);

    connect(Button1, &QPushButton::clicked, this, [this] {
        try {
            Button1Click();
        } catch (...) {
            HataGoster(std::current_exception());
        }
    });
    FormCreate();
    resize(1100, 700);
    setWindowState(windowState() | Qt::WindowMaximized);
}

Traporform::~Traporform()
{
    // The grids observe the datasets, which die before the child widgets.
    cxGrid1->detach();
    cxGrid2->detach();
}

grid::GridStyle Traporform::Vs2010Stili()
{
    grid::GridStyle stil = grid::GridStyle::evenWhite();
    stil.header.background = QColor(0xBC, 0xC7, 0xD8);
    stil.header.text = QColor(0x1E, 0x39, 0x5B);
    stil.group.background = QColor(0xE9, 0xEE, 0xF4);
    stil.footer.background = QColor(0xF5, 0xF7, 0xFA);
    stil.selection.background = QColor(0xFF, 0xEF, 0xBB);
    return stil;
}

void Traporform::FormCreate()
{
    tarih1->setDate(QDate::currentDate());
    tarih2->setDate(QDate::currentDate());
    cxGrid1->setGridStyle(Vs2010Stili());
    cxGrid2->setGridStyle(Vs2010Stili());
}

void Traporform::Button1Click()
{
    if (PageControl1->currentWidget() == tabsiparis)
        SiparisleriYukle();
    else if (PageControl1->currentWidget() == tabstok)
        StoklariYukle();
}

bool Traporform::SiparisleriYukle()
{
    // The dates are sent as chosen, also a start after the end.
    const double gun1 = gun(tarih1->date());
    const double gun2 = gun(tarih2->date());
    bag->Close();
    const bool acildi = CagriA(
        *bag,
        [&](TServerMethods1Client& p) {
            const protocol::Table& tablo = p.RaporAlinanSiparisler(Kopya(*sbilgi), gun1, gun2);
            cxGrid1->beginUpdate();
            struct Bitir {
                grid::DurnakGroupGrid* g;
                ~Bitir() { g->endUpdate(); }
            } bitir{cxGrid1};
            data::DisableControlsScope sessiz(siparis);
            data::TabloyaKopyala(tablo, siparis);
            data::FloatFormatla(siparis);
        },
        0);
    // One line per sales representative with its group footer.
    if (acildi) cxGrid1->collapseAllGroups();
    return acildi;
}

bool Traporform::StoklariYukle()
{
    const double gun1 = gun(tarih1->date());
    const double gun2 = gun(tarih2->date());
    bag->Close();
    return CagriA(
        *bag,
        [&](TServerMethods1Client& p) {
            const protocol::Table& tablo = p.RaporEnCokSatilanStoklar(Kopya(*sbilgi), gun1, gun2);
            data::DisableControlsScope sessiz(stok);
            data::TabloyaKopyala(tablo, stok);
            data::FloatFormatla(stok);
            stok.First();
        },
        0);
}

} // namespace durnak::client
