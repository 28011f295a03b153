#include "history/ekstreayrinti.hpp"

#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/utils.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/data/numberformat.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using grid::GridColumns;
using grid::SummaryKind;
using grid::Visibility;

namespace {

// Every float column of the table shown with the money format.
void paraBicimi(data::TClientDataSet& tablo)
{
    for (int i = 0; i < tablo.FieldCount(); ++i)
        if (tablo.fieldDef(i).type == protocol::FieldType::Float64) tablo.SetDisplayFormat(i, data::kParaFormati);
}

GridColumns faturaKolonlari()
{
    const Visibility gor = Visibility::Shown, sun = Visibility::Offered, asla = Visibility::Never;
    struct K {
        const char* alan;
        const char* baslik;
        Visibility v;
    };
    const K tablo[] = {
        {"OEMNO", "Oem No", gor},
        {"STOKADI", "Açıklama", gor},
        {"FINISHKOD", "Finish Kod", gor},
        {"MARKA", "Marka", gor},
        {"MODEL", "Model", gor},
        {"ANAGRUP", "Ana Grup", gor},
        {"OZELKOD", "Özel Kod", sun},
        {"BIRIM", "Birim", gor},
        {"BARKOD", "Barkod", sun},
        {"STOKHAR_HAREKETTARIHI", "Tarih", sun},
        {"STOKHAR_HAREKETTIPI2", "Türü", sun},
        {"EVRAKNO", "Evrak No", sun},
        {"STOKHAR_MIKTAR", "Miktar", gor},
        {"STOKHAR_TLBIRIMFIYATI", "Birim Fiyat", gor},
        {"STOKHAR_TLVERGI", "Vergi", sun},
        {"STOKHAR_TLTUTAR", "Tutar", gor},
        {"STOKHAR_INDIRIM1", "%İnd1 ", gor},
        {"STOKHAR_INDIRIM2", "%İnd2", gor},
        {"STOKHAR_INDIRIM3", "%İnd3", asla},
        {"STOKHAR_INDIRIM4", "%İnd4", asla},
        {"STOKHAR_INDIRIM5", "%İnd5", asla},
        {"STOKHAR_INDIRIM6", "%İnd6", asla},
        {"STOKHAR_INDIRIM7", "%İnd7", asla},
        {"STOKHAR_INDIRIM8", "%İnd8", asla},
        {"STOKHAR_DOVIZBIRIMFIYATI", "Döviz Birim Fiyat", asla},
        {"STOKHAR_DOVIZVERGI", "Döviz Vergi", asla},
        {"STOKHAR_DOVIZTUTAR", "Döviz Tutar", asla},
        {"IRSALIYEEVRAKNO", "İrsaliye No", sun},
        {"STOKHAR_IRSTARIHI", "İrsaliye Tarihi", sun},
        {"KDV", "Kdv", gor},
        {"STOKHAR_PARTI", "Parti", asla},
        {"STOKHAR_BEDEN", "Beden", asla},
        {"STOKHAR_RENK", "Renk", asla},
        {"SATIRACIKLMASI", "Açıklama", sun},
        {"STOKHAR_TOPLAMINDIRIM", "İndirim Tutarı", gor},
        {"STOKHAR_MASRAF1", "%Masraf1", asla},
        {"STOKHAR_MASRAF2", "%Masraf2", asla},
        {"STOKHAR_TOPLAMMASRAF", "Masraf Toplamı", gor},
        {"STOKHAR_DOVIZTOPLAMINDIRIM", "Döviz İndirim Tutar", asla},
        {"STOKHAR_DOVIZTOPLAMMASRAF", "Döviz Masraf Tutarı", asla},
        {"STOKHAR_SAAT", "Saat", sun},
        {"STOKHAR_NETTLBIRIMFIYATI", "Net Birim Fiyat", gor},
        {"STOKHAR_NETDOVIZBIRIMFIYATI", "Net Döviz Birim Fiyat", asla},
        {"STOKHAR_NETTLTUTAR", "Net Tutar", gor},
        {"STOKHAR_NETDOVIZTUTAR", "Net Döviz Tutar", asla},
        {"STOKHAR_KURTL", "KurTL", asla},
        {"STOKHAR_VADE", "Vade(Gün)", sun},
        {"SIPARISTIPI", "", asla},
        {"SIPARISEVRAKNO", "Sipariş EvrakNo", sun},
        {"SIPARISTARIHI", "Sipariş Tarihi", sun},
        {"IRSALIYETIPINO", "", asla},
        {"IRSALIYETIP2", "İrsaliye Tipi", sun},
        {"STOKCARIKOD", "", asla},
        {"SUBE_NO", "", asla},
        {"STOKHAR_CARINO", "", asla},
        {"KUR_KURSIMGE", "", asla},
        {"SATICIADI", "Satıcısı", asla},
        {"URETICIKODU", "", asla},
        {"DPKOD", "", asla},
        {"ENADI", "", asla},
        {"PKOD", "", asla},
        {"BELGENO", "", asla},
        {"IDNO", "", asla},
    };
    GridColumns c;
    for (const K& k : tablo) {
        const QString alan = QString::fromLatin1(k.alan);
        c.push_back(grid::textColumn(alan, QString::fromUtf8(k.baslik), alan, 1, k.v));
    }
    return c;
}

// The collection's columns are its own Turkish field names.
GridColumns tahsilatKolonlari(const data::TClientDataSet& tablo)
{
    GridColumns c;
    for (int i = 0; i < tablo.FieldCount(); ++i) {
        const QString alan = tablo.fieldDef(i).name;
        Visibility v = Visibility::Shown;
        if (alan == QStringLiteral("EvrakNo") || alan == QStringLiteral("Ref") || alan == QStringLiteral("Saat"))
            v = Visibility::Offered;
        if (alan == QStringLiteral("Kur") || alan == QStringLiteral("KurTL") || alan == QStringLiteral("Döviz Tutar"))
            v = Visibility::Never;
        c.push_back(grid::textColumn(alan, {}, alan, 1, v));
    }
    return c;
}

QString ilkSatirYazisi(data::TClientDataSet& tablo, const char* alan)
{
    if (tablo.RecordCount() == 0) return {};
    tablo.First();
    const data::TField f = tablo.FindField(QString::fromLatin1(alan));
    return f.IsValid() ? f.DisplayText() : QString();
}

QString ilkSatirPara(data::TClientDataSet& tablo, const char* alan)
{
    double deger = 0;
    if (tablo.RecordCount() > 0) {
        tablo.First();
        const data::TField f = tablo.FindField(QString::fromLatin1(alan));
        if (f.IsValid() && !f.IsNull()) deger = f.AsFloat();
    }
    return data::FormatFloat(data::kParaFormati, deger);
}

} // namespace

// --- Tayrinti_fatura ---------------------------------------------------------------------

Tayrinti_fatura::Tayrinti_fatura(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ayrinti_fatura"));
    setWindowTitle(QStringLiteral("Evrak Ayrıntısı"));

    cxGrid2 = new grid::DurnakGrid(this);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    cxGrid2->setColumns(faturaKolonlari());
    cxGrid2->setFooterSummaries(
        {{QStringLiteral("OEMNO"), SummaryKind::Count, {}}, {QStringLiteral("STOKHAR_MIKTAR"), SummaryKind::Sum, {}}});
    cxGrid2->setDataSet(&fatura);

    auto* evrak = new QGroupBox(QStringLiteral("Evrak Bilgileri"), this);
    auto* form = new QFormLayout(evrak);
    auto etiket = [evrak](const char* ad) { return gecmis::AdliEtiket(ad, evrak); };
    _tarih = etiket("_tarih");
    _evrakcinsi = etiket("_evrakcinsi");
    _saticiadi = etiket("_saticiadi");
    _evrakno = etiket("_evrakno");
    _vadegun = etiket("_vadegun");
    form->addRow(QStringLiteral("Tarih:"), _tarih);
    form->addRow(QStringLiteral("Evrak Cinsi:"), _evrakcinsi);
    form->addRow(QStringLiteral("Temsilci:"), _saticiadi);
    form->addRow(QStringLiteral("Evrak No:"), _evrakno);
    form->addRow(QStringLiteral("Vade (Gün):"), _vadegun);

    tutar = new gecmis::TTutarKutusu(this);
    const auto dugmeler =
        gecmis::KapatExcelDugmeleri(this, [this] { KapatClick(); }, [this] { Button2Click(); }, "Kapat");
    Kapat = dugmeler.kapat;
    Button2 = dugmeler.excel;

    auto* altDuzen = new QHBoxLayout;
    altDuzen->addWidget(evrak, 2);
    altDuzen->addStretch(1);
    altDuzen->addWidget(tutar, 1);
    altDuzen->addLayout(gecmis::DugmeSutunu({Kapat, Button2}));
    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(cxGrid2, 1);
    duzen->addLayout(altDuzen);
}

Tayrinti_fatura::~Tayrinti_fatura() { cxGrid2->detach(); }

bool Tayrinti_fatura::Yukle(TBaglanti& bagc, int carino, int idno)
{
    const bool satirlar = CagriA(bagc, [&](TServerMethods1Client& p) {
        gecmis::TabloyuYukle(p.FaturaGetir(carino, idno), fatura, false);
    });
    if (!satirlar) return false;
    CagriA(bagc, [&](TServerMethods1Client& p) {
        gecmis::TabloyuYukle(p.FaturaAltGetir(idno), alt, false);
    });
    return true;
}

void Tayrinti_fatura::EnIyile()
{
    cxGrid2->bestFit();
    tutar->Yaz(ilkSatirPara(alt, "TOPLAM"), ilkSatirPara(alt, "TOPLAMINDIRIM"), ilkSatirPara(alt, "MATRAH"),
               ilkSatirPara(alt, "KDVTUTAR"), ilkSatirPara(alt, "KDVDAHIL"));
    _tarih->setText(ilkSatirYazisi(fatura, "STOKHAR_HAREKETTARIHI"));
    _evrakcinsi->setText(ilkSatirYazisi(fatura, "STOKHAR_HAREKETTIPI2"));
    _saticiadi->setText(ilkSatirYazisi(fatura, "SATICIADI"));
    _evrakno->setText(ilkSatirYazisi(fatura, "EVRAKNO"));
    _vadegun->setText(ilkSatirYazisi(fatura, "STOKHAR_VADE"));
    gecmis::Yerlestir(this, 40, 50);
    paraBicimi(fatura);
    // The lines fill the grid's width.
    cxGrid2->setProportionalOnResize(true);
    cxGrid2->KolonGenislikleri();
}

void Tayrinti_fatura::Button2Click() { gecmis::ExcelKaydetSor(this, *cxGrid2); }

// --- Tayrinti_tahsilat -------------------------------------------------------------------

Tayrinti_tahsilat::Tayrinti_tahsilat(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ayrinti_tahsilat"));
    setWindowTitle(QStringLiteral("Evrak Ayrıntı"));
    belgeKlasoru = BelgelerKlasoru();

    cxGrid2 = new grid::DurnakGrid(this);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    cxGrid2->setDataSet(&TAH);

    belgeyaz = new QPushButton(QStringLiteral("PDF Al"), this);
    belgeyaz->setObjectName(QStringLiteral("belgeyaz"));
    belgeyaz->hide();
    Kapat = new QPushButton(QStringLiteral("Kapat"), this);
    Kapat->setObjectName(QStringLiteral("Kapat"));
    Button2 = new QPushButton(QStringLiteral("Excel Kaydet"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* d : {belgeyaz, Kapat, Button2}) d->setAutoDefault(false);
    connect(belgeyaz, &QPushButton::clicked, this, [this] { gecmis::Guvenli([this] { belgeyazClick(); }); });
    connect(Kapat, &QPushButton::clicked, this, [this] { KapatClick(); });
    connect(Button2, &QPushButton::clicked, this, [this] { gecmis::Guvenli([this] { Button2Click(); }); });

    auto* dugmeler = new QHBoxLayout;
    dugmeler->addWidget(belgeyaz);
    dugmeler->addStretch(1);
    dugmeler->addWidget(Button2);
    dugmeler->addWidget(Kapat);
    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(cxGrid2, 1);
    duzen->addLayout(dugmeler);
    resize(900, 400);
}

Tayrinti_tahsilat::~Tayrinti_tahsilat() { cxGrid2->detach(); }

bool Tayrinti_tahsilat::Yukle(TBaglanti& bagc, int idno)
{
    int makbuz = 0;
    const bool acildi = CagriA(bagc, [&](TServerMethods1Client& p) {
        const auto& tablo = p.Tahsilat(idno);
        makbuz = p.SanalposSiranoVer(idno);
        cxGrid2->detach();
        gecmis::TabloyuYukle(tablo, TAH, false);
        cxGrid2->setColumns(tahsilatKolonlari(TAH));
        cxGrid2->setDataSet(&TAH);
    });
    if (!acildi) return false;
    sirano = makbuz;
    con = &bagc;
    return true;
}

void Tayrinti_tahsilat::EnIyile()
{
    paraBicimi(TAH);
    belgeyaz->setVisible(sirano > 0);
    cxGrid2->bestFit();
}

void Tayrinti_tahsilat::Button2Click() { gecmis::ExcelKaydetSor(this, *cxGrid2); }

QString Tayrinti_tahsilat::MakbuzDosyasi() const { return gecmis::MakbuzYolu(belgeKlasoru, sirano); }

void Tayrinti_tahsilat::belgeyazClick()
{
    if (!con) return;
    const QString yol = MakbuzDosyasi();
    if (QFile::exists(yol)) QFile::remove(yol);
    CagriC(*con, [&](TServerMethods1Client& p) {
        // Whatever goes wrong with the download itself leaves no file and no message.
        try {
            std::int64_t boy = 0;
            TStream* akis = p.SAnalPosPdfVer(sirano, boy);
            gecmis::MakbuzKaydet(akis, boy, yol);
        } catch (const std::exception&) {
        }
    });
    if (QFile::exists(yol)) gecmis::DosyaAc(yol);
}

} // namespace durnak::client
