#include <cmath>
#include <map>

#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/beklesinu.hpp"
#include "console/raporformu.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/groupgrid.hpp"
#include "durnak/protocol/oledate.hpp"
#include "ortak.hpp"
#include "server/proxim.hpp"
#include "testler.hpp"

using namespace durnak::client;
using namespace durnak::testler;
using durnak::grid::GroupModel;

namespace {

struct Rapor {
    explicit Rapor(std::uint16_t port) : sbilgi(temsilciOturumu(bagc, port))
    {
        pencere.bag = bagc.Clone();
        pencere.sbilgi = &sbilgi;
    }
    TBaglanti bagc;
    TSonucBilgisi sbilgi;
    Traporform pencere;
};

double gun(const QDate& d)
{
    return durnak::protocol::oleDate(d.year(), unsigned(d.month()), unsigned(d.day()));
}

// The server's answer, read past the window.
durnak::protocol::Table sunucuRaporu(Rapor& r, bool siparis, const QDate& d1, const QDate& d2)
{
    return CagriC(r.bagc, [&](TServerMethods1Client& p) {
        return siparis ? p.RaporAlinanSiparisler(Kopya(r.sbilgi), gun(d1), gun(d2))
                       : p.RaporEnCokSatilanStoklar(Kopya(r.sbilgi), gun(d1), gun(d2));
    });
}

} // namespace

class RaporformTesti : public KonsolSunucusuTesti {
    Q_OBJECT

private slots:
    void acilista()
    {
        Traporform r;
        QCOMPARE(r.windowTitle(), QString("Raporlar"));
        QCOMPARE(r.tarih1->date(), QDate::currentDate());
        QCOMPARE(r.tarih2->date(), QDate::currentDate());
        QCOMPARE(r.PageControl1->currentWidget(), r.tabsiparis);
        QCOMPARE(r.PageControl1->tabText(0), QString("Alınan Siparişler"));
        QCOMPARE(r.PageControl1->tabText(1), QString("Satılan Stoklar"));
        QCOMPARE(r.Button1->text(), QString("Göster"));
        QCOMPARE(r.siparis.RecordCount(), 0);
        QCOMPARE(r.stok.RecordCount(), 0);
        QVERIFY(r.windowState() & Qt::WindowMaximized);
    }

    // Group totals equal the sums of the server's rows; every group collapsed.
    void siparislerTemsilciyeGoreGruplanir()
    {
        Rapor r(sunucu_->port());
        r.pencere.tarih1->setDate(QDate::currentDate().addYears(-1));
        r.pencere.show();
        r.pencere.Button1->click();

        const auto tablo = sunucuRaporu(r, true, r.pencere.tarih1->date(), r.pencere.tarih2->date());
        QVERIFY(tablo.rowCount() > 0);
        std::map<QString, std::pair<double, int>> beklenen;  // SATICIADI -> (sum of TUTAR, rows)
        double toplam = 0;
        for (std::size_t i = 0; i < tablo.rowCount(); ++i) {
            auto& g = beklenen[QString::fromStdString(std::string(tablo.textAt(i, 0)))];
            const double tutar = tablo.realAt(i, 16);
            g.first += tutar;
            g.second += 1;
            toplam += tutar;
        }
        QCOMPARE(r.pencere.siparis.RecordCount(), int(tablo.rowCount()));

        GroupModel& gruplar = *r.pencere.cxGrid1->groupModel();
        const int tutarSutunu = r.pencere.cxGrid1->gridModel()->columnIndex("TUTAR");
        const int tarihSutunu = r.pencere.cxGrid1->gridModel()->columnIndex("TARIH");
        QCOMPARE(gruplar.groupCount(), int(beklenen.size()));
        for (int g = 0; g < gruplar.groupCount(); ++g) {
            // "SATICIADI : <name>"
            const auto it = beklenen.find(gruplar.groupText(g).section(" : ", 1));
            QVERIFY2(it != beklenen.end(), qPrintable(gruplar.groupText(g)));
            double tutar = -1;
            int adet = -1;
            for (const auto& v : gruplar.groupFooterValues(g)) {
                if (v.column == tutarSutunu) tutar = v.value;
                if (v.column == tarihSutunu) adet = int(v.value);
            }
            QVERIFY2(std::fabs(tutar - it->second.first) < 0.005, qPrintable(gruplar.groupText(g)));
            QCOMPARE(adet, it->second.second);
            QVERIFY(!r.pencere.cxGrid1->isExpanded(gruplar.groupIndex(g)));
        }
        double altToplam = -1;
        for (const auto& v : r.pencere.cxGrid1->footerValues())
            if (v.column == tutarSutunu) altToplam = v.value;
        QVERIFY(std::fabs(altToplam - toplam) < 0.005);
    }

    void bosAraliktaGrupYok()
    {
        Rapor r(sunucu_->port());
        r.pencere.tarih1->setDate(QDate::currentDate().addYears(5));
        r.pencere.tarih2->setDate(QDate::currentDate().addYears(6));
        r.pencere.Button1Click();
        QCOMPARE(r.pencere.siparis.RecordCount(), 0);
        QCOMPARE(r.pencere.cxGrid1->groupModel()->groupCount(), 0);
        QCOMPARE(r.pencere.cxGrid1->footerText("TARIH"), QString("0"));
    }

    void stokSayfasiSiparisSayfasinaDokunmaz()
    {
        Rapor r(sunucu_->port());
        r.pencere.tarih1->setDate(QDate::currentDate().addYears(-1));
        r.pencere.Button1Click();
        const int siparisler = r.pencere.siparis.RecordCount();
        QVERIFY(siparisler > 0);
        QCOMPARE(r.pencere.stok.RecordCount(), 0);

        r.pencere.PageControl1->setCurrentWidget(r.pencere.tabstok);
        r.pencere.Button1Click();
        QCOMPARE(r.pencere.siparis.RecordCount(), siparisler);
        const auto tablo = sunucuRaporu(r, false, r.pencere.tarih1->date(), r.pencere.tarih2->date());
        QCOMPARE(r.pencere.stok.RecordCount(), int(tablo.rowCount()));
        QVERIFY(tablo.rowCount() > 0);
        QCOMPARE(r.pencere.stok.RecNo(), 1);
        // Footer sums of the four amount columns.
        const char* alanlar[] = {"MIKTAR", "NETTUTAR", "TLVERGI", "TUTAR"};
        for (int a = 0; a < 4; ++a) {
            double beklenen = 0;
            for (std::size_t i = 0; i < tablo.rowCount(); ++i) beklenen += tablo.realAt(i, std::size_t(4 + a));
            const int sutun = r.pencere.cxGrid2->columnIndex(alanlar[a]);
            double gorunen = -1;
            for (const auto& v : r.pencere.cxGrid2->footerValues())
                if (v.column == sutun) gorunen = v.value;
            QVERIFY2(std::fabs(gorunen - beklenen) < 0.005, alanlar[a]);
        }
    }

    void sunucuYoksaSessizceEskiIcerikKalir()
    {
        Rapor r(sunucu_->port());
        r.pencere.tarih1->setDate(QDate::currentDate().addYears(-1));
        r.pencere.Button1Click();
        const int siparisler = r.pencere.siparis.RecordCount();
        QVERIFY(siparisler > 0);

        QStringList hatalar;
        auto eskiGosterici = HataGostericiAyarla([&](const QString& m) { hatalar << m; });
        auto eskiBekleme = BeklemeKancasiAyarla([](std::chrono::milliseconds) {});
        int mesajlar = 0;
        auto eskiMesaj = MesajKancasiAyarla([&](const BaglantiMesaji&) { ++mesajlar; });
        // A port nobody listens on.
        r.pencere.bag->Params().SetValues("Port", "1");
        r.pencere.Button1->click();
        HataGostericiAyarla(eskiGosterici);
        BeklemeKancasiAyarla(eskiBekleme);
        MesajKancasiAyarla(eskiMesaj);

        QVERIFY(hatalar.isEmpty());
        QCOMPARE(mesajlar, 0);
        QCOMPARE(r.pencere.siparis.RecordCount(), siparisler);
    }
};

QObject* raporformTesti() { return new RaporformTesti; }

#include "raporform_test.moc"
