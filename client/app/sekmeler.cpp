#include "app/sekmeler.hpp"

#include <QPainter>
#include <QStyleOptionTab>

namespace durnak::client {

RozetBasligi RozetAyristir(const QString& baslik)
{
    RozetBasligi sonuc{baslik.left(kRozetBaslikSiniri), 0};
    const int esittir = baslik.indexOf(QLatin1Char('='));
    if (esittir < 0) return sonuc;
    bool sayiMi = false;
    const int sayi = baslik.left(esittir).trimmed().toInt(&sayiMi);
    if (!sayiMi) return sonuc;
    return {baslik.mid(esittir + 1, kRozetBaslikSiniri), sayi};
}

QString RozetliBaslik(int sayi, const QString& baslik)
{
    return QString::number(sayi) + QLatin1Char('=') + baslik;
}

RozetliSekmeCubugu::RozetliSekmeCubugu(QWidget* parent) : QTabBar(parent)
{
    setIconSize(QSize(kSimge, kSimge));
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(true);
    setDrawBase(true);
}

QSize RozetliSekmeCubugu::tabSizeHint(int) const
{
    return {kGenislik, kYukseklik};
}

QSize RozetliSekmeCubugu::minimumTabSizeHint(int) const
{
    return {kGenislik, kYukseklik};
}

QRect RozetliSekmeCubugu::baslikAlani(int sekme) const
{
    QRect alan = tabRect(sekme).adjusted(3, 2, -3, -2);
    if (!tabIcon(sekme).isNull()) alan.setLeft(alan.left() + kSimge + 3);
    return alan;
}

void RozetliSekmeCubugu::paintEvent(QPaintEvent*)
{
    QPainter boya(this);
    boya.setRenderHint(QPainter::TextAntialiasing);
    const int secili = currentIndex();

    auto ciz = [&](int i) {
        if (!isTabVisible(i)) return;
        QStyleOptionTab secenek;
        initStyleOption(&secenek, i);
        const QString baslik = secenek.text;
        secenek.text.clear();
        secenek.icon = QIcon();
        style()->drawControl(QStyle::CE_TabBarTabShape, &secenek, &boya, this);

        const RozetBasligi rozet = RozetAyristir(baslik);
        const QRect alan = baslikAlani(i);
        const QRect sekme = tabRect(i);
        const QIcon simge = tabIcon(i);
        if (!simge.isNull()) {
            const QRect simgeAlani(sekme.left() + 3, sekme.top() + (sekme.height() - kSimge) / 2, kSimge, kSimge);
            simge.paint(&boya, simgeAlani, Qt::AlignCenter, isTabEnabled(i) ? QIcon::Normal : QIcon::Disabled);
        }

        QFont yazi = font();
        yazi.setBold(true);
        // DejaVu Sans runs wider than the design font: shrink a title whose longest word
        // would not fit the caption area rather than cut it.
        const QStringList kelimeler = rozet.baslik.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const int ilkBoy = yazi.pixelSize() > 0 ? yazi.pixelSize() : QFontInfo(yazi).pixelSize();
        for (int boy = ilkBoy; boy > 9; --boy) {
            yazi.setPixelSize(boy);
            const QFontMetrics olcu(yazi);
            bool sigiyor = true;
            for (const QString& k : kelimeler) sigiyor = sigiyor && olcu.horizontalAdvance(k) <= alan.width();
            if (sigiyor) break;
        }
        boya.setFont(yazi);
        boya.setPen(tabTextColor(i).isValid() ? tabTextColor(i)
                                              : palette().color(isTabEnabled(i) ? QPalette::Active : QPalette::Disabled,
                                                                QPalette::WindowText));
        boya.drawText(alan, Qt::AlignCenter | Qt::TextWordWrap, rozet.baslik);
        if (rozet.sayi > 0) {
            boya.setPen(kRozetRengi);
            boya.drawText(alan, Qt::AlignRight | Qt::AlignTop, QStringLiteral("(%1)").arg(rozet.sayi));
        }
    };
    // The current tab last: its shape overlaps its neighbours.
    for (int i = 0; i < count(); ++i)
        if (i != secili) ciz(i);
    if (secili >= 0) ciz(secili);
}

TsPageControl::TsPageControl(QWidget* parent) : QTabWidget(parent), cubuk_(new RozetliSekmeCubugu)
{
    setTabBar(cubuk_);
    setIconSize(QSize(RozetliSekmeCubugu::kSimge, RozetliSekmeCubugu::kSimge));
    setDocumentMode(false);
}

} // namespace durnak::client
