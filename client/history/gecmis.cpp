#include "history/gecmis.hpp"

#include <functional>
#include <memory>

#include <QAction>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>

#include "app/unit1.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "history/bakiyesiparisler.hpp"
#include "history/ekstreayrinti.hpp"
#include "history/hesap.hpp"
#include "history/kutular.hpp"
#include "history/siparisayrinti.hpp"
#include "history/tumsiparisler.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

using grid::GridColumn;
using grid::GridColumns;
using grid::SummaryKind;
using grid::Visibility;

namespace {

const QString kOncekilerYuklemesi = QStringLiteral("oncekiler");
const QString kEkstreYuklemesi = QStringLiteral("ekstre");

GridColumns oncekiKolonlari()
{
    const Visibility gor = Visibility::Shown, sun = Visibility::Offered, asla = Visibility::Never;
    auto k = [](const char* alan, const QString& baslik, Visibility v, bool cokSatir = false) {
        const QString a = QString::fromLatin1(alan);
        return grid::textColumn(a, baslik, a, 1, v, cokSatir);
    };
    return {k("CARINO", {}, asla),
            k("IDNO", QStringLiteral("Sipariş No"), gor),
            k("TARIH", QStringLiteral("Tarih"), gor),
            k("KUR", QStringLiteral("Kur"), asla),
            k("KURTL", QStringLiteral("Kur TL"), asla),
            k("VERENIDNO", {}, asla),
            k("KARGO", QStringLiteral("Kargo Türü"), gor),
            k("TESLIM", QStringLiteral("Teslim"), gor),
            k("VEREN", QStringLiteral("Veren"), gor),
            k("CARIKOD", QStringLiteral("Cari Kod"), sun),
            k("CARIADI", QStringLiteral("Cari Adı"), sun),
            k("VERGI", QStringLiteral("Vergi Tutarı"), gor),
            k("NETTUTAR", QStringLiteral("Net Tutar"), gor),
            k("TUTAR", QStringLiteral("Tutar"), gor),
            k("DURUM", QStringLiteral("Durum"), gor),
            k("KARGOADI", QStringLiteral("Kargo Adı"), gor),
            k("VERENINNOTU", QStringLiteral("Verenin Notu"), gor, true),
            k("ALANNOTU", QStringLiteral("Alanın Notu"), gor, true)};
}

GridColumns ekstreKolonlari()
{
    const Visibility gor = Visibility::Shown, asla = Visibility::Never;
    auto k = [](const char* alan, const QString& baslik, Visibility v, Qt::Alignment hiza) {
        const QString a = QString::fromLatin1(alan);
        GridColumn c = grid::textColumn(a, baslik, a, 1, v);
        c.alignment = hiza | Qt::AlignVCenter;
        return c;
    };
    const Qt::Alignment sol = Qt::AlignLeft, sag = Qt::AlignRight, orta = Qt::AlignHCenter;
    return {k("CARINO", {}, asla, sol),          k("TARIH", QStringLiteral("Tarih"), gor, sol),
            k("TURADI", QStringLiteral("Tür Adı"), gor, sol), k("EVRAK", QStringLiteral("Evrak No"), gor, sol),
            k("BORC", QStringLiteral("Borç"), gor, sag),    k("ALACAK", QStringLiteral("Alacak"), gor, sag),
            k("KUR", QStringLiteral("Kur"), gor, sol),      k("BAKIYE", QStringLiteral("Bakiye"), gor, sag),
            k("D", {}, gor, orta),                          k("IDNO", {}, asla, sol),
            k("ACIKLAMA", QStringLiteral("Açıklama"), gor, sol)};
}

void sekmeIzgarasi(grid::DurnakGrid* izgara)
{
    izgara->setDataRowHeight(40);
    izgara->setHeaderHeight(40);
    izgara->setIncrementalSearch(true);
    izgara->setFooterVisible(true);
    izgara->setSortingEnabled(false);
}

// Enter on a list row does what a double-click does.
class EnterIleAc : public QObject {
public:
    EnterIleAc(QObject* sahip, std::function<void()> islem) : QObject(sahip), islem_(std::move(islem)) {}

protected:
    bool eventFilter(QObject* nesne, QEvent* olay) override
    {
        if (olay->type() == QEvent::KeyPress) {
            const int tus = static_cast<QKeyEvent*>(olay)->key();
            if (tus == Qt::Key_Return || tus == Qt::Key_Enter) {
                islem_();
                return true;
            }
        }
        return QObject::eventFilter(nesne, olay);
    }

private:
    std::function<void()> islem_;
};

} // namespace

void GecmisBagla(TForm1& form)
{
    // Previous orders.
    form.cxGrid3->setColumns(oncekiKolonlari());
    sekmeIzgarasi(form.cxGrid3);
    form.cxGrid3->setDataSet(&form.ONCEKILER);
    QObject::connect(form.cxGrid3, &QAbstractItemView::doubleClicked, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::S1Click(form); }); });
    form.cxGrid3->installEventFilter(
        new EnterIleAc(form.cxGrid3, [&form] { gecmis::Guvenli([&form] { gecmis::S1Click(form); }); }));
    QObject::connect(form.SiparisiIncele1, &QAction::triggered, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::S1Click(form); }); });
    QObject::connect(form.SiparisBakiyeleriniz2, &QAction::triggered, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::SipariBakiyeleriniz1Click(form); }); });
    QObject::connect(form.T1, &QAction::triggered, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::T1Click(form); }); });

    // Stock popup.
    QObject::connect(form.S3, &QAction::triggered, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::S3Click(form); }); });
    QObject::connect(form.SiparisBakiyeleriniz1, &QAction::triggered, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::SipariBakiyeleriniz1Click(form); }); });

    // Statement.
    form.cxGrid5->setColumns(ekstreKolonlari());
    sekmeIzgarasi(form.cxGrid5);
    form.cxGrid5->setFooterSummaries(
        {{QStringLiteral("BORC"), SummaryKind::Sum, {}}, {QStringLiteral("ALACAK"), SummaryKind::Sum, {}}});
    form.cxGrid5->setDataSet(&form.EKSTRE);
    QObject::connect(form.cxGrid5, &QAbstractItemView::doubleClicked, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::H1Click(form); }); });
    form.cxGrid5->installEventFilter(
        new EnterIleAc(form.cxGrid5, [&form] { gecmis::Guvenli([&form] { gecmis::H1Click(form); }); }));
    QObject::connect(form.HareketIncele1, &QAction::triggered, &form,
                     [&form] { gecmis::Guvenli([&form] { gecmis::H1Click(form); }); });

    // Tabs.
    QObject::connect(&form, &TForm1::sekmeGosterildi, &form, [&form](QWidget* sekme) {
        if (sekme == form.sonceki) gecmis::soncekiShow(form);
        else if (sekme == form.sccariekstre) gecmis::sccariekstreShow(form);
        else if (sekme == form.sTabbakiyeler) gecmis::sTabbakiyelerShow(form);
    });
    QObject::connect(&form, &TForm1::sekmeGizlendi, &form, [&form](QWidget* sekme) {
        if (sekme == form.sTabbakiyeler) gecmis::sTabbakiyelerHide(form);
    });
}

void BakiyeleriGoster(TBaglanti& bag, const protocol::TSonucBilgisi& bilgi, int carino, QWidget* sahip)
{
    auto kopya = Kopya(bilgi);
    kopya->FCARINO = carino;
    Tbakiyesiparisler pencere(bag, *kopya, sahip);
    pencere.setWindowState(pencere.windowState() | Qt::WindowMaximized);
    pencere.KullanimaGoreAyarla(BakiyeKullanimi::Konsol);
    if (!gecmis::Guvenli([&] { pencere.BakiyeAlalim(); })) return;
    pencere.exec();
}

namespace gecmis {

void soncekiShow(TForm1& form)
{
    const int carino = form.sbilgi.FCARINO;
    TForm1* f = &form;
    // A show while the previous load still runs is ignored: one load fills the table at a time.
    form.GosterYukle(kOncekilerYuklemesi,
                     {form.gifoncekiler, form.cxGrid3,
                      [f] {
                          f->cxGrid3->detach();
                          f->cxGrid3->beginUpdate();
                      },
                      [f, carino] {
                          try {
                              const bool acildi = CagriB(f->bagc, 0, [&](TServerMethods1Client& p) {
                                  TabloyuYukle(p.OncekiSiparisler(carino), f->ONCEKILER);
                              });
                              return !acildi;
                          } catch (...) {
                              return true;
                          }
                      },
                      [f] {
                          f->cxGrid3->setDataSet(&f->ONCEKILER);
                          f->cxGrid3->endUpdate();
                          f->cxGrid3->bestFit();
                          for (const char* not_ : {"VERENINNOTU", "ALANNOTU"}) {
                              const int sutun = f->cxGrid3->columnIndex(QString::fromLatin1(not_));
                              if (sutun >= 0) f->cxGrid3->setColumnWidth(sutun, 200);
                          }
                      },
                      {}});
}

void S1Click(TForm1& form)
{
    if (form.cxGrid3->focusedRow() < 0) return;
    const QVariant idno = form.cxGrid3->focusedValue(QStringLiteral("IDNO"));
    if (!idno.isValid()) return;
    Tayrinti_siparis pencere(&form);
    // A connection that did not open has shown its message; the window stays closed.
    if (!pencere.Yukle(form.bagc, form.sbilgi.FCARINO, idno.toInt())) return;
    pencere.SepetHesapla();
    pencere.exec();
}

void SipariBakiyeleriniz1Click(TForm1& form)
{
    Tbakiyesiparisler pencere(form.bagc, form.sbilgi, &form);
    pencere.KullanimaGoreAyarla(BakiyeKullanimi::Modal);
    pencere.BakiyeAlalim();
    pencere.Goster();
    pencere.exec();
}

namespace {

void tumSiparisleriAc(TForm1& form, int stokno)
{
    Ttumsiparisler pencere(form.bagc, form.sbilgi, stokno, &form);
    pencere.Getir();
    pencere.Goster();
    pencere.exec();
}

} // namespace

void T1Click(TForm1& form) { tumSiparisleriAc(form, 0); }

void S3Click(TForm1& form)
{
    if (form.cxGrid1->focusedRow() < 0) return;
    const QVariant stokno = form.cxGrid1->focusedValue(QStringLiteral("STOK_STOKNO"));
    if (!stokno.isValid()) return;
    tumSiparisleriAc(form, stokno.toInt());
}

void sccariekstreShow(TForm1& form)
{
    const int carino = form.sbilgi.FCARINO;
    TForm1* f = &form;
    form.GosterYukle(kEkstreYuklemesi,
                     {form.gifekstre, form.cxGrid5,
                      [f] {
                          f->cxGrid5->detach();
                          f->cxGrid5->beginUpdate();
                      },
                      [f, carino] {
                          try {
                              const bool acildi = CagriB(f->bagc, 0, [&](TServerMethods1Client& p) {
                                  TabloyuYukle(p.CariEkstreVer(carino), f->EKSTRE, false);
                              });
                              return !acildi;
                          } catch (...) {
                              return true;
                          }
                      },
                      [f] {
                          // Balances first, then formats, then the grid sees the table again.
                          EkstreBakiyeHesapla(f->EKSTRE);
                          data::FloatFormatla(f->EKSTRE);
                          f->cxGrid5->setDataSet(&f->EKSTRE);
                          f->cxGrid5->endUpdate();
                      },
                      {}});
}

void H1Click(TForm1& form)
{
    if (form.cxGrid5->focusedRow() < 0) return;
    const QString turAdi = form.cxGrid5->focusedValue(QStringLiteral("TURADI")).toString();
    const int idno = form.cxGrid5->focusedValue(QStringLiteral("IDNO")).toInt();
    switch (HareketTuruBul(turAdi)) {
    case 2: {
        Tayrinti_fatura pencere(&form);
        if (!pencere.Yukle(form.bagc, form.sbilgi.FCARINO, idno)) return;
        pencere.EnIyile();
        pencere.exec();
        break;
    }
    case 1: {
        Tayrinti_tahsilat pencere(&form);
        if (!pencere.Yukle(form.bagc, idno)) return;
        pencere.EnIyile();
        pencere.exec();
        break;
    }
    default:
        break;
    }
}

void sTabbakiyelerShow(TForm1& form)
{
    sTabbakiyelerHide(form);
    auto* pencere = new Tbakiyesiparisler(form.bagc, form.sbilgi, form.sTabbakiyeler);
    form.benimbakiyesiparisler = pencere;
    pencere->KullanimaGoreAyarla(BakiyeKullanimi::Sekme);
    // Borderless inside the tab, without "Kapat"; the tab's layout keeps it at the tab's size.
    pencere->setWindowFlags(Qt::Widget);
    pencere->Button1->hide();
    if (QLayout* duzen = form.sTabbakiyeler->layout()) duzen->addWidget(pencere);
    Guvenli([pencere] { pencere->BakiyeAlalim(); });
    pencere->show();
}

void sTabbakiyelerHide(TForm1& form)
{
    if (QWidget* pencere = form.benimbakiyesiparisler) {
        form.benimbakiyesiparisler = nullptr;
        delete pencere;
    }
}

} // namespace gecmis
} // namespace durnak::client
