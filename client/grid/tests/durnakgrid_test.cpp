#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "durnak/grid/columnchooser.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/icons.hpp"
#include "durnak/grid/painting.hpp"
#include "fixtures.hpp"

using namespace durnak;
using namespace durnak::grid;

Q_DECLARE_METATYPE(durnak::grid::CellKind)
Q_DECLARE_METATYPE(durnak::grid::FlagZero)

namespace {

struct ShownGrid {
    DurnakGrid grid;
    std::unique_ptr<data::TClientDataSet> dataSet;

    explicit ShownGrid(std::unique_ptr<data::TClientDataSet> rows, GridColumns columns, QSize size = {900, 400})
        : dataSet(std::move(rows))
    {
        grid.setColumns(std::move(columns));
        grid.setDataSet(dataSet.get());
        grid.resize(size);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }

    QImage viewport() { return grid.viewport()->grab().toImage(); }
    QRect cell(int row, const QString& column) { return grid.visualRect(grid.gridModel()->index(row, grid.columnIndex(column))); }
};

// The icon as the grid paints it over a cell background.
QImage onBackground(const QPixmap& icon, const QColor& background)
{
    QImage image(kIconSize, kIconSize, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    if (!icon.isNull())
        painter.drawPixmap(0, 0, icon);
    return image;
}

QImage iconArea(const QImage& viewport, const QRect& cell)
{
    const QPoint origin(cell.left() + (cell.width() - kIconSize) / 2, cell.top() + (cell.height() - kIconSize) / 2);
    return viewport.copy(QRect(origin, QSize(kIconSize, kIconSize))).convertToFormat(QImage::Format_RGB32);
}

// Typed text as key events (QTest's key clicks take ASCII only).
void type(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

QStringList menuEntries(QMenu* menu)
{
    QStringList entries;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            entries << action->text();
    return entries;
}

} // namespace

class DurnakGridTest : public QObject {
    Q_OBJECT

private slots:
    void chooserOffersOnlyOfferedColumnsAndToggles()
    {
        ShownGrid shown(test::basket(), test::basketColumns());
        DurnakGrid& grid = shown.grid;
        ColumnChooser* chooser = grid.columnChooser();
        auto listed = [&] {
            std::vector<QString> names;
            for (int c : chooser->listedColumns())
                names.push_back(grid.gridModel()->column(c).field);
            return names;
        };
        // Pinned SEC and never-offered SIRANO are not listed.
        QCOMPARE(listed(), (std::vector<QString>{"VERILISTARIHI", "STOKADI", "MARKA", "MIKTAR", "NETTUTAR", "DURUM"}));
        QVERIFY(grid.isColumnVisible("SEC"));
        QVERIFY(!grid.isColumnVisible("SIRANO"));
        QVERIFY(!grid.isColumnVisible("MARKA"));

        QListWidgetItem* marka = chooser->list()->item(2);
        QCOMPARE(marka->checkState(), Qt::Unchecked);
        marka->setCheckState(Qt::Checked);
        QVERIFY(grid.isColumnVisible("MARKA"));
        chooser->list()->item(1)->setCheckState(Qt::Unchecked);
        QVERIFY(!grid.isColumnVisible("STOKADI"));

        // User-type adaptation from code: withdrawn, or shown and offered.
        grid.setColumnVisibility("DURUM", Visibility::Never);
        grid.setColumnVisibility("SIRANO", Visibility::Shown);
        QVERIFY(!grid.isColumnVisible("DURUM"));
        QVERIFY(grid.isColumnVisible("SIRANO"));
        QCOMPARE(listed(), (std::vector<QString>{"VERILISTARIHI", "STOKADI", "MARKA", "MIKTAR", "NETTUTAR", "SIRANO"}));

        // A reload keeps the choices and the widths.
        grid.setColumnWidth(grid.columnIndex("MARKA"), 123);
        data::AssignPacket(test::basket()->Data(), *shown.dataSet);
        data::FloatFormatla(*shown.dataSet);
        QVERIFY(grid.isColumnVisible("MARKA"));
        QVERIFY(!grid.isColumnVisible("STOKADI"));
        QCOMPARE(grid.columnWidth(grid.columnIndex("MARKA")), 123);
    }

    void headerFilterButtonOffersValuesAndFilters()
    {
        ShownGrid shown(test::basket(), test::basketColumns());
        DurnakGrid& grid = shown.grid;
        grid.setFooterSummaries({{"NETTUTAR", SummaryKind::Sum, ""}});
        grid.setColumnVisible("MARKA", true);
        const int marka = grid.columnIndex("MARKA");
        auto* header = grid.gridHeader();
        const QRect button = header->filterButtonRect(marka);
        QVERIFY(!button.isNull());

        QStringList offered;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            offered = menuEntries(menu);
            for (QAction* action : menu->actions())
                if (action->text() == "BOSCH")
                    menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, button.center());
        QCOMPARE(offered, QStringList({"(Tümü)", "BOSCH", "CASTROL", "OSRAM"}));
        QCOMPARE(grid.model()->rowCount(), 3);
        QVERIFY(grid.gridModel()->isFiltered(marka));
        QCOMPARE(grid.footerText("NETTUTAR"), QString("2.244,50"));

        // A click on the caption beside the button does not open the list.
        QSignalSpy opened(header, &GridHeader::filterButtonClicked);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(marka) + 3, 5));
        QCOMPARE(opened.count(), 0);

        grid.clearFilters();
        QCOMPARE(grid.model()->rowCount(), 5);
        QCOMPARE(grid.footerText("NETTUTAR"), QString("2.369,74"));
    }

    void footerShowsSumsAndCountsAndFollowsChanges()
    {
        ShownGrid shown(test::basket(), test::basketColumns());
        DurnakGrid& grid = shown.grid;
        grid.setFooterSummaries({{"VERILISTARIHI", SummaryKind::Count, ""},
                                 {"MIKTAR", SummaryKind::Sum, ""},
                                 {"NETTUTAR", SummaryKind::Sum, ""}});
        QCOMPARE(grid.footerText("VERILISTARIHI"), QString("4"));
        QCOMPARE(grid.footerText("MIKTAR"), QString("17,00"));
        QCOMPARE(grid.footerText("NETTUTAR"), QString("2.369,74"));
        QCOMPARE(grid.footerText("STOKADI"), QString());

        // A posted edit and an appended row reach the footer.
        shown.dataSet->MoveTo(1);
        shown.dataSet->Edit();
        shown.dataSet->FieldByName("MIKTAR").SetAsFloat(20);
        shown.dataSet->Post();
        QCOMPARE(grid.footerText("MIKTAR"), QString("27,00"));
        shown.dataSet->Append();
        shown.dataSet->FieldByName("VERILISTARIHI").SetAsFloat(45010);
        shown.dataSet->Post();
        QCOMPARE(grid.footerText("VERILISTARIHI"), QString("5"));

        // The footer sits under the rows, above the scroll bar, across the viewport.
        QWidget* footer = grid.footerBar();
        QVERIFY(footer->isVisible());
        QCOMPARE(footer->geometry().top(), grid.viewport()->geometry().bottom() + 1);
        shown.dataSet->EmptyDataSet();
        QCOMPARE(grid.footerText("VERILISTARIHI"), QString("0"));
        QCOMPARE(grid.footerText("NETTUTAR"), QString("0,00"));
    }

    void lastRowIsReachableAboveTheFooter()
    {
        auto rows = test::makeDataSet({{"N", test::FieldType::Int32}}, {});
        for (int n = 0; n < 100; ++n) {
            rows->Append();
            rows->FieldByName("N").SetAsInteger(n);
            rows->Post();
        }
        ShownGrid shown(std::move(rows), {textColumn("N", "N", "N", 1)}, {300, 307});
        shown.grid.setFooterSummaries({{"N", SummaryKind::Count, ""}});
        shown.grid.scrollToBottom();
        const QRect last = shown.cell(99, "N");
        QVERIFY(last.isValid());
        QVERIFY2(last.bottom() < shown.grid.viewport()->height(),
                 qPrintable(QString("last %1..%2, viewport %3, scroll %4 of %5")
                                .arg(last.top()).arg(last.bottom()).arg(shown.grid.viewport()->height())
                                .arg(shown.grid.verticalScrollBar()->value()).arg(shown.grid.verticalScrollBar()->maximum())));
    }

    void incrementalSearchJumpsInTheFocusedColumn()
    {
        ShownGrid shown(test::basket(), test::basketColumns());
        DurnakGrid& grid = shown.grid;
        const int stokadi = grid.columnIndex("STOKADI");
        grid.setCurrentIndex(grid.model()->index(0, stokadi));

        type(&grid, "ş");
        QCOMPARE(grid.focusedRow(), 1);
        QCOMPARE(grid.searchText(), QString("ş"));
        type(&grid, "X");  // nothing starts with "şX": refused, the row stays
        QCOMPARE(grid.focusedRow(), 1);
        QCOMPARE(grid.searchText(), QString("ş"));
        QTest::keyClick(&grid, Qt::Key_Backspace);
        QCOMPARE(grid.searchText(), QString());

        type(&grid, "f");
        QCOMPARE(grid.focusedRow(), 2);  // from the focused row on: FİLTRE
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(grid.focusedRow(), 3);  // FAR AMPULÜ
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(grid.focusedRow(), 0);  // wraps to FREN BALATASI
        type(&grid, "ren b");
        QCOMPARE(grid.searchText(), QString("fren b"));
        QTest::keyClick(&grid, Qt::Key_Escape);
        QCOMPARE(grid.searchText(), QString());

        // Another column: the focused one is searched.
        grid.setCurrentIndex(grid.model()->index(0, grid.columnIndex("NETTUTAR")));
        type(&grid, "99");
        QCOMPARE(grid.focusedRow(), 1);

        grid.setIncrementalSearch(false);
        grid.setCurrentIndex(grid.model()->index(0, stokadi));
        type(&grid, "fa");
        QCOMPARE(grid.focusedRow(), 0);
    }

    void iconCells_data()
    {
        QTest::addColumn<CellKind>("kind");
        QTest::addColumn<FlagZero>("zero");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QPixmap>("icon");
        for (int code = 0; code <= 5; ++code)
            QTest::addRow("DURUM %d", code) << CellKind::Durum << FlagZero::Hayir << QVariant(code) << durumIcon(code);
        QTest::newRow("DURUM out of range") << CellKind::Durum << FlagZero::Hayir << QVariant(7) << QPixmap();
        QTest::newRow("DURUM null") << CellKind::Durum << FlagZero::Hayir << QVariant() << QPixmap();
        QTest::newRow("Y 1") << CellKind::Flag << FlagZero::Hayir << QVariant(1) << flagIcon(true);
        QTest::newRow("Y 0") << CellKind::Flag << FlagZero::Hayir << QVariant(0) << flagIcon(false, FlagZero::Hayir);
        QTest::newRow("Y null: the Hayır picture") << CellKind::Flag << FlagZero::Hayir << QVariant()
                                                    << flagIcon(false, FlagZero::Hayir);
        QTest::newRow("K 2: campaign") << CellKind::Flag << FlagZero::Plain << QVariant(2) << flagIcon(true);
        QTest::newRow("K 0 plain") << CellKind::Flag << FlagZero::Plain << QVariant(0) << flagIcon(false, FlagZero::Plain);
        QTest::newRow("K 0 nothing") << CellKind::Flag << FlagZero::Empty << QVariant(0) << QPixmap();
        QTest::newRow("RESIM 1") << CellKind::PictureMarker << FlagZero::Hayir << QVariant(1) << resimIcon();
        QTest::newRow("RESIM 0") << CellKind::PictureMarker << FlagZero::Hayir << QVariant(0) << QPixmap();
        QTest::newRow("SEC 1") << CellKind::Check << FlagZero::Hayir << QVariant(1) << checkIcon(true);
        QTest::newRow("SEC 0") << CellKind::Check << FlagZero::Hayir << QVariant(0) << checkIcon(false);
    }
    void iconCells()
    {
        QFETCH(CellKind, kind);
        QFETCH(FlagZero, zero);
        QFETCH(QVariant, value);
        QFETCH(QPixmap, icon);
        // Two rows so that both the even and the odd colour are seen.
        auto rows = test::makeDataSet({{"V", test::FieldType::Int32}}, {});
        for (int n = 0; n < 2; ++n) {
            rows->Append();
            rows->FieldByName("V").SetValue(value);
            rows->Post();
        }
        GridColumn column = kindColumn("V", "V", "V", 1, kind);
        column.flagZero = zero;
        ShownGrid shown(std::move(rows), {column}, {200, 200});
        shown.grid.setDataRowHeight(40);
        shown.grid.clearSelection();
        shown.grid.setCurrentIndex({});
        const QImage viewport = shown.viewport();
        const GridStyle& style = shown.grid.gridStyle();
        QCOMPARE(iconArea(viewport, shown.cell(0, "V")), onBackground(icon, style.even.background));
        QCOMPARE(iconArea(viewport, shown.cell(1, "V")), onBackground(icon, style.odd.background));
    }

    void durumIconsAreDistinct()
    {
        QSet<QRgb> colours;
        for (int code = 0; code <= 5; ++code) {
            const QImage icon = durumIcon(code).toImage();
            QCOMPARE(icon.size(), QSize(24, 24));
            colours.insert(icon.pixel(3, 12));
        }
        QCOMPARE(colours.size(), 6);
        QVERIFY(durumIcon(6).isNull());
        QCOMPARE(durumAciklama(2), QString("Telefon Açınız"));
        QCOMPARE(durumAciklama(5), QString("Tedarik Sürecinde"));
    }

    void pictureCellsDecodeBytesIn405PixelRows()
    {
        auto rows = test::makeDataSet({{"RESIM", test::FieldType::Blob}, {"BASLIK", test::FieldType::WideString}},
                                      {});
        auto add = [&](const QVariant& bytes) {
            rows->Append();
            rows->FieldByName("RESIM").SetValue(bytes);
            rows->Post();
        };
        add(test::pngBytes(Qt::red));
        add(QByteArray("not a picture"));
        add(QVariant());
        add(test::pngBytes(Qt::blue, QSize(1200, 900)));  // larger than the cell: scaled down
        ShownGrid shown(std::move(rows),
                        {kindColumn("duyuru", "", "RESIM", 1, CellKind::Picture),
                         textColumn("baslik", "", "BASLIK", 1, Visibility::Never)},
                        {700, 900});
        DurnakGrid& grid = shown.grid;
        grid.setDataRowHeight(405);
        grid.setHeaderVisible(false);
        grid.setIndicatorVisible(false);
        grid.setFooterVisible(false);
        grid.setColumnWidth(0, 605);
        grid.clearSelection();
        grid.setCurrentIndex({});
        QCOMPARE(grid.rowHeight(0), 405);
        QCOMPARE(grid.rowHeight(3), 405);
        QCOMPARE(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);

        QImage image = shown.viewport();
        QCOMPARE(image.pixelColor(shown.cell(0, "duyuru").center()), QColor(Qt::red));
        QCOMPARE(image.pixelColor(shown.cell(1, "duyuru").center()), grid.gridStyle().odd.background);
        QCOMPARE(grid.cellDelegate()->picture(1, 0).isNull(), true);

        grid.scrollTo(grid.model()->index(3, 0));
        image = shown.viewport();
        const QRect big = shown.cell(3, "duyuru");
        QCOMPARE(image.pixelColor(big.center()), QColor(Qt::blue));
        // 1200x900 into 605x405: 538x403 centred, so the cell's left edge keeps the background.
        QCOMPARE(image.pixelColor(big.left() + 5, big.center().y()), grid.gridStyle().odd.background);
    }

    void drawHookGetsItsRowAndColours()
    {
        struct Call {
            int sourceRow;
            int position;
            bool selected;
            QString net;
            QColor background;
        };
        std::vector<Call> calls;
        GridColumns columns = test::basketColumns();
        columns.push_back(drawnColumn("FiyatBilgisi", "Fiyat Bilgisi", 2, [&](const CellPaint& cell) {
            calls.push_back({cell.sourceRow, cell.position, cell.selected, cell.displayText("NETTUTAR"),
                             cell.background()});
            cell.painter->fillRect(cell.rect, cell.background());
            cell.painter->drawText(cell.rect.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter,
                                   "NetFiyat: " + cell.displayText("NETTUTAR"));
        }));
        ShownGrid shown(test::basket(), std::move(columns));
        DurnakGrid& grid = shown.grid;
        grid.setColumnFilter("MARKA", {"BOSCH"});  // rows 0, 2, 4 at positions 0, 1, 2
        grid.setCurrentIndex(grid.model()->index(1, 1));
        calls.clear();
        const QImage image = shown.viewport();

        const GridStyle& style = grid.gridStyle();
        std::map<int, Call> byRow;
        for (const auto& call : calls)
            byRow[call.sourceRow] = call;
        QCOMPARE(byRow.size(), std::size_t(3));
        QCOMPARE(byRow[0].position, 0);
        QCOMPARE(byRow[0].net, QString("1.234,50"));
        QCOMPARE(byRow[0].background, style.even.background);
        QCOMPARE(byRow[2].position, 1);
        QVERIFY(byRow[2].selected);
        QCOMPARE(byRow[2].background, style.selection.background);
        QCOMPARE(byRow[4].position, 2);
        QVERIFY(!byRow[4].selected);
        QCOMPARE(byRow[4].background, style.even.background);
        QCOMPARE(image.pixelColor(shown.cell(2, "FiyatBilgisi").topLeft() + QPoint(2, 2)), style.even.background);
        QCOMPARE(grid.focusedValue("SIRANO").toInt(), 3);  // a never-shown field of the focused row
        QVERIFY(grid.gridHeader()->filterButtonRect(grid.columnIndex("FiyatBilgisi")).isNull());
        QVERIFY(!grid.gridHeader()->filterButtonRect(grid.columnIndex("MIKTAR")).isNull());
    }

    void stylesLookAndFixedHeights()
    {
        ShownGrid shown(test::basket(), test::basketColumns());
        DurnakGrid& grid = shown.grid;
        grid.setDataRowHeight(60);
        grid.setHeaderHeight(40);
        grid.setIndicatorWidth(5);
        QCOMPARE(grid.rowHeight(0), 60);
        QCOMPARE(grid.rowHeight(4), 60);
        QCOMPARE(grid.horizontalHeader()->height(), 40);
        QCOMPARE(grid.verticalHeader()->width(), 5);

        grid.setFocusMode(FocusMode::Cell);
        grid.setCurrentIndex(grid.model()->index(1, grid.columnIndex("MIKTAR")));
        QCOMPARE(grid.focusedColumnCaption(), QString("Miktar"));
        QTest::keyClick(&grid, Qt::Key_Right);
        QCOMPARE(grid.focusedColumnCaption(), QString("Net Tutar"));
        QCOMPARE(grid.focusedRow(), 1);

        const QImage image = shown.viewport();
        const GridStyle& style = grid.gridStyle();
        const QRect even = shown.cell(0, "MIKTAR");
        const QRect selected = shown.cell(1, "MIKTAR");
        const QRect odd = shown.cell(3, "MIKTAR");
        QCOMPARE(image.pixelColor(even.topLeft() + QPoint(2, 2)), QColor(0xEF, 0xEF, 0xEF));
        QCOMPARE(image.pixelColor(odd.topLeft() + QPoint(2, 2)), QColor(Qt::white));
        QCOMPARE(image.pixelColor(selected.topLeft() + QPoint(2, 2)), QColor(0xD2, 0xF0, 0xF9));
        QCOMPARE(style.header.background, QColor(0x1A, 0x59, 0xA8));
        QCOMPARE(style.header.font.pixelSize(), 13);
        QVERIFY(style.header.font.bold());
        const QImage header = grid.horizontalHeader()->viewport()->grab().toImage();
        QCOMPARE(header.pixelColor(3, 3), style.header.background);
        const QImage indicator = grid.verticalHeader()->viewport()->grab().toImage();
        QCOMPARE(indicator.pixelColor(1, 1), QColor(0x42, 0x42, 0x42));

        // The basket's even rows are white.
        grid.setGridStyle(GridStyle::evenWhite());
        QCOMPARE(shown.viewport().pixelColor(even.topLeft() + QPoint(2, 2)), QColor(Qt::white));
    }

    void detachedWhileRefilledThenAttachedInsideAnUpdate()
    {
        ShownGrid shown(test::basket(), test::basketColumns());
        DurnakGrid& grid = shown.grid;
        grid.setColumnWidth(grid.columnIndex("STOKADI"), 210);

        grid.detach();
        grid.beginUpdate();
        grid.beginUpdate();
        QCOMPARE(grid.model()->rowCount(), 0);
        QVERIFY(!grid.updatesEnabled());
        {
            data::DisableControlsScope quiet(*shown.dataSet);
            data::AssignPacket(test::basket()->Data(), *shown.dataSet);
            shown.dataSet->Append();
            shown.dataSet->FieldByName("STOKADI").SetAsString("EK");
            shown.dataSet->Post();
        }
        QCOMPARE(grid.model()->rowCount(), 0);  // detached: the grid reads nothing meanwhile
        grid.setDataSet(shown.dataSet.get());
        grid.endUpdate();
        QVERIFY(!grid.updatesEnabled());  // still inside the outer update
        grid.endUpdate();
        QVERIFY(grid.updatesEnabled());
        QCOMPARE(grid.model()->rowCount(), 6);
        QCOMPARE(grid.columnWidth(grid.columnIndex("STOKADI")), 210);
        grid.endUpdate();  // unbalanced end: harmless
        QVERIFY(grid.updatesEnabled());
    }

    // Header captions: a caption that fits keeps its type; a word too wide for the column
    // takes a slightly smaller type, then an ellipsis; the start of a caption always shows.
    void captionsFitTheirColumn_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("smaller");
        QTest::addColumn<bool>("elided");
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        font.setBold(true);
        const QFontMetrics m(font);
        const int word = m.horizontalAdvance(QStringLiteral("Kampanyalı"));
        QTest::newRow("fits") << "Kampanyalı Fiyat" << word + 4 << false << false;
        QTest::newRow("a little too wide") << "Kampanyalı" << word - 4 << true << false;
        QTest::newRow("far too wide") << "Kampanyalı" << word / 2 << false << true;
        QTest::newRow("no room at all") << "İn.Oranı%" << 0 << false << true;
    }
    void captionsFitTheirColumn()
    {
        QFETCH(QString, caption);
        QFETCH(int, width);
        QFETCH(bool, smaller);
        QFETCH(bool, elided);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        font.setBold(true);
        const FittedCaption fitted = fitCaption(caption, font, width);
        QCOMPARE(fitted.elided, elided);
        QCOMPARE(fitted.font.pixelSize() < 13, smaller);
        QVERIFY(fitted.font.pixelSize() >= 10);
        if (elided) {
            QVERIFY(QFontMetrics(fitted.font).horizontalAdvance(fitted.text) <= std::max(width, 0) || fitted.text.isEmpty());
            if (!fitted.text.isEmpty()) QCOMPARE(fitted.text.front(), caption.front());
        } else {
            QCOMPARE(fitted.text, caption);
            for (const QString& w : caption.split(' '))
                QVERIFY(QFontMetrics(fitted.font).horizontalAdvance(w) <= width);
        }
    }

};

QObject* durnakGridTests()
{
    return new DurnakGridTest;
}

#include "durnakgrid_test.moc"
