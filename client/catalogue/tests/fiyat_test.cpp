#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "app/unit1.hpp"
#include "catalogue/katalog.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/style.hpp"
#include "ortam.hpp"
#include "testler.hpp"

using namespace durnak::client;
using durnak::grid::DurnakGrid;
using durnak::protocol::Column;
using durnak::protocol::FieldType;
using durnak::protocol::Table;

namespace {

const char* const kFiyatBilgisi = "cxGrid1DBTableView1FiyatBilgisi";
const char* const kFiyatKolonlari[] = {"cxGrid1DBTableView1LISTEFIYAT1", "cxGrid1DBTableView1KAMPFIYAT",
                                       "cxGrid1DBTableView1NETFIYAT", "cxGrid1DBTableView1KDVDAHIL"};

struct Pencere {
    std::unique_ptr<TForm1> form;

    explicit Pencere(int musteriTipi = 3)
    {
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        form = std::make_unique<TForm1>(kancalar);
        KatalogBagla(*form);
        form->KullaniciTipineUyarla(musteriTipi);
        form->resize(1300, 800);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qFatal("window not exposed");
    }
    DurnakGrid* izgara() const { return form->cxGrid1; }
    // Sets the window's outer width (frame included), the width the layout rule reads.
    void genislik(int w)
    {
        const int kenar = form->frameGeometry().width() - form->width();
        form->resize(w - kenar, 800);
        QTRY_COMPARE_WITH_TIMEOUT(form->frameGeometry().width(), w, 2000);
        QCoreApplication::processEvents();
    }
    bool gorunur(const char* ad) const { return izgara()->isColumnVisible(QString::fromLatin1(ad)); }
    bool dar() const
    {
        bool fiyatlarGizli = true;
        for (const char* ad : kFiyatKolonlari) fiyatlarGizli = fiyatlarGizli && !gorunur(ad);
        return fiyatlarGizli && gorunur(kFiyatBilgisi) && izgara()->dataRowHeight() == 100;
    }
    bool genis() const
    {
        bool fiyatlarAcik = true;
        for (const char* ad : kFiyatKolonlari) fiyatlarAcik = fiyatlarAcik && gorunur(ad);
        return fiyatlarAcik && !gorunur(kFiyatBilgisi) && izgara()->dataRowHeight() == 80;
    }
};

// Three stock rows with the price fields, the second a campaign item.
void fiyatSatirlari(TClientDataSet& stok)
{
    Table t({{"STOK_STOKNO", FieldType::Int32}, {"ADI", FieldType::WideString, 100},
             {"LISTEFIYAT1", FieldType::Float64}, {"KAMPFIYAT", FieldType::Float64}, {"NETFIYAT", FieldType::Float64},
             {"KDVDAHIL", FieldType::Float64}});
    const double satirlar[][4] = {{1234.5, 0, 1000, 1200}, {50, 45, 40, 48}, {10, 0, 9, 10.8}};
    int no = 1;
    for (const auto& s : satirlar) {
        const std::size_t r = t.appendRow();
        t.setInt(r, 0, no++);
        t.setText(r, 1, "PARCA");
        for (int i = 0; i < 4; ++i) t.setReal(r, static_cast<std::size_t>(2 + i), s[i]);
    }
    stok.SetData(std::move(t));
    durnak::data::FloatFormatla(stok);
}

} // namespace

class FiyatSunumuTesti : public QObject {
    Q_OBJECT

private slots:
    void fiyatBilgisiMetni_data()
    {
        QTest::addColumn<double>("kamp");
        QTest::addColumn<QString>("metin");
        QTest::newRow("no campaign price")
            << 0.0 << "Liste Fiyatı: 1.234,50\r\nNetFiyat: 1.000,00\r\nKDV li Fiyat: 1.200,00\r\n";
        QTest::newRow("campaign price between list and net")
            << 999.0
            << "Liste Fiyatı: 1.234,50\r\nKampanyalı Fiyat: 999,00\r\nNetFiyat: 1.000,00\r\nKDV li Fiyat: 1.200,00\r\n";
        QTest::newRow("negative campaign price is no campaign")
            << -1.0 << "Liste Fiyatı: 1.234,50\r\nNetFiyat: 1.000,00\r\nKDV li Fiyat: 1.200,00\r\n";
    }
    void fiyatBilgisiMetni()
    {
        QFETCH(double, kamp);
        QTEST(FiyatBilgisiMetni(1234.5, kamp, 1000, 1200, QLocale(QLocale::Turkish, QLocale::Turkey)), "metin");
    }

    void aramaKutusuSuzgeci_data()
    {
        QTest::addColumn<QString>("yazilan");
        QTest::addColumn<QString>("kutuda");
        QTest::newRow("şanzıman") << QStringLiteral("şanzıman") << QStringLiteral("SANZIMAN");
        QTest::newRow("every lower Turkish letter") << QStringLiteral("ğüşöçı") << QStringLiteral("GUSOCI");
        QTest::newRow("every capital Turkish letter") << QStringLiteral("ĞÜŞİÖÇ") << QStringLiteral("GUSIOC");
        QTest::newRow("plain i is plain I") << QStringLiteral("fil 12-ab") << QStringLiteral("FIL 12-AB");
    }
    // Typed into the real search box: what the box shows is what a search sends.
    void aramaKutusuSuzgeci()
    {
        QFETCH(QString, yazilan);
        QFETCH(QString, kutuda);
        QCOMPARE(AramaMetniTemizle(yazilan), kutuda);
        Pencere p;
        p.form->araedit->setFocus();
        durnak::testler::yaz(p.form->araedit, yazilan);
        QCOMPARE(p.form->araedit->text(), kutuda);
    }

    void yerlesimPencereGenisligineGore()
    {
        Pencere p;
        p.genislik(1152);
        QVERIFY(p.dar());
        QCOMPARE(p.izgara()->columnWidth(p.izgara()->columnIndex(QString::fromLatin1(kFiyatBilgisi))), 150);
        p.genislik(1153);
        QVERIFY(p.genis());
        // Weighted widths over the visible columns: weight x trunc((width - 30) / sum).
        int toplam = 0;
        for (int c : p.izgara()->visibleColumns()) toplam += p.izgara()->gridModel()->column(c).weight;
        const int birim = (p.izgara()->width() - 30) / toplam;
        const int kdvDahil = p.izgara()->columnIndex(QStringLiteral("cxGrid1DBTableView1KDVDAHIL"));
        QCOMPARE(p.izgara()->columnWidth(kdvDahil), 3 * birim);
        p.genislik(1000);
        QVERIFY(p.dar());
        p.genislik(1400);
        QVERIFY2(p.genis(), "widening again brings all four price columns back");
    }

    // While a search runs (the box disabled) a resize changes no column.
    void aramaSurerkenYerlesimDegismez()
    {
        Pencere p;
        p.genislik(1300);
        QVERIFY(p.genis());
        p.form->araedit->setEnabled(false);
        p.genislik(1100);
        QVERIFY(p.genis());
        p.form->araedit->setEnabled(true);
        cxGrid1Resize(*p.form);
        QVERIFY(p.dar());
    }

    // The drawn cell fills with the selection colour, or by the row's position even/odd.
    void fiyatBilgisiHucresiRenkleri()
    {
        Pencere p;
        p.genislik(1100);
        fiyatSatirlari(p.form->stok);
        DurnakGrid* g = p.izgara();
        g->focusRow(1);
        QCoreApplication::processEvents();
        const QImage resim = g->viewport()->grab().toImage();
        const int x = g->columnViewportPosition(g->columnIndex(QString::fromLatin1(kFiyatBilgisi))) + 4;
        auto renk = [&](int satir) { return QColor(resim.pixel(x, g->rowViewportPosition(satir) + 4)); };
        QCOMPARE(renk(0), QColor(0xEF, 0xEF, 0xEF));
        QCOMPARE(renk(1), QColor(0xD2, 0xF0, 0xF9));
        QCOMPARE(renk(2), QColor(0xEF, 0xEF, 0xEF));
        g->focusRow(0);
        QCoreApplication::processEvents();
        const QImage ikinci = g->viewport()->grab().toImage();
        QCOMPARE(QColor(ikinci.pixel(x, g->rowViewportPosition(1) + 4)), QColor(Qt::white));
    }

    // Sales representatives see KALAN and the order columns; type 4 never sees the campaign
    // price, not even in the wide layout.
    void kullaniciTipiKolonlari()
    {
        {
            Pencere p(1);
            p.genislik(1300);
            for (const char* ad : {"cxGrid1DBTableView1KALAN", "cxGrid1DBTableView1ALINANSIPARIS",
                                   "cxGrid1DBTableView1VERILENSIPARIS"})
                QVERIFY2(p.gorunur(ad), ad);
            QVERIFY(p.form->cxGrid6->isColumnVisible(QStringLiteral("KALAN")));
        }
        {
            Pencere p(3);
            p.genislik(1300);
            QVERIFY(!p.gorunur("cxGrid1DBTableView1KALAN"));
            QVERIFY(!p.gorunur("cxGrid1DBTableView1STOK_STOKNO"));
            QVERIFY(p.gorunur("cxGrid1DBTableView1KAMPFIYAT"));
        }
        {
            Pencere p(4);
            p.genislik(1300);
            QVERIFY(!p.gorunur("cxGrid1DBTableView1KAMPFIYAT"));
            QVERIFY(!p.gorunur("cxGrid1DBTableView1K"));
            QVERIFY(p.gorunur("cxGrid1DBTableView1LISTEFIYAT1"));
            QVERIFY(!p.form->cxGrid6->isColumnVisible(QStringLiteral("KAMPFIYAT")));
        }
    }

    void stokMenusu()
    {
        Pencere p;
        QStringList yazilar;
        for (QAction* a : p.form->popstok->actions()) yazilar << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(yazilar, QStringList({"Sepete Ekle", "-", "Sipariş Bakiyeleriniz", "-", "Siparişleri Göster"}));
    }
};

QObject* fiyatSunumuTesti() { return new FiyatSunumuTesti; }

#include "fiyat_test.moc"
