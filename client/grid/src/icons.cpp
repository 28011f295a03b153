#include "durnak/grid/icons.hpp"

#include <array>

#include <QPainter>
#include <QPainterPath>

namespace durnak::grid {

namespace {

constexpr qreal S = kIconSize;

QPixmap canvas()
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void disc(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5, 1.5, S - 3, S - 3));
}

QPen whitePen(qreal width)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void tick(QPainter& p, const QPen& pen, qreal inset)
{
    p.setPen(pen);
    QPainterPath path;
    path.moveTo(inset, S / 2);
    path.lineTo(S * 0.42, S - inset - 1);
    path.lineTo(S - inset, inset + 1);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QPixmap paintDurum(int code)
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (code) {
    case 0:  // Yok: red disc, white cross
        disc(p, QColor(0xD3, 0x2F, 0x2F));
        p.setPen(whitePen(2.6));
        p.drawLine(QPointF(8, 8), QPointF(S - 8, S - 8));
        p.drawLine(QPointF(S - 8, 8), QPointF(8, S - 8));
        break;
    case 1:  // Var: green disc, white tick
        disc(p, QColor(0x2E, 0x9D, 0x3A));
        tick(p, whitePen(2.6), 7);
        break;
    case 2: {  // Telefon Açınız: orange disc, handset
        disc(p, QColor(0xF0, 0x7B, 0x0C));
        QPainterPath handset;
        handset.moveTo(7, 7);
        handset.cubicTo(5, 12, 12, 19, 17, 17);
        p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(handset);
        p.setPen(QPen(Qt::white, 4.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(7.5, 7));
        p.drawPoint(QPointF(17, 16.5));
        break;
    }
    case 3:  // Yolda: blue disc, lorry
        disc(p, QColor(0x1E, 0x6F, 0xD9));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 8, 9, 7));
        p.drawRect(QRectF(14, 10.5, 5, 4.5));
        p.setBrush(QColor(0x1E, 0x6F, 0xD9));
        p.setPen(QPen(Qt::white, 1.4));
        p.drawEllipse(QPointF(8, 16.5), 1.8, 1.8);
        p.drawEllipse(QPointF(16, 16.5), 1.8, 1.8);
        break;
    case 4: {  // Özel Sipariş: purple disc, star
        disc(p, QColor(0x7B, 0x3F, 0xB5));
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = i % 2 == 0 ? 7.5 : 3.2;
            const qreal angle = -M_PI / 2 + i * M_PI / 5;
            const QPointF point(S / 2 + radius * std::cos(angle), S / 2 + 0.5 + radius * std::sin(angle));
            i == 0 ? star.moveTo(point) : star.lineTo(point);
        }
        star.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(star);
        break;
    }
    case 5:  // Tedarik Sürecinde: amber disc, clock
        disc(p, QColor(0xE0, 0xA8, 0x00));
        p.setPen(whitePen(1.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(S / 2, S / 2), 6.5, 6.5);
        p.drawLine(QPointF(S / 2, S / 2), QPointF(S / 2, 7.5));
        p.drawLine(QPointF(S / 2, S / 2), QPointF(S / 2 + 4, S / 2 + 1.5));
        break;
    default:
        break;
    }
    return pixmap;
}

QPixmap paintFlag(int kind)  // 0 Evet, 1 Hayır, 2 plain
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(2.5, 2.5, S - 5, S - 5);
    if (kind == 0) {
        p.setPen(QPen(QColor(0x2E, 0x7D, 0x32), 1));
        p.setBrush(QColor(0x43, 0xA0, 0x47));
        p.drawRoundedRect(box, 4, 4);
        tick(p, whitePen(2.4), 7);
    } else if (kind == 1) {
        p.setPen(QPen(QColor(0x9E, 0x9E, 0x9E), 1));
        p.setBrush(QColor(0xE0, 0xE0, 0xE0));
        p.drawRoundedRect(box, 4, 4);
        p.setPen(QPen(QColor(0x75, 0x75, 0x75), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, S / 2), QPointF(S - 8, S / 2));
    } else {
        p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(box, 4, 4);
    }
    return pixmap;
}

QPixmap paintResim()
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1A, 0x59, 0xA8), 1.4));
    p.setBrush(QColor(0xE3, 0xEE, 0xFA));
    p.drawRoundedRect(QRectF(2.5, 4.5, S - 5, S - 9), 2, 2);
    QPainterPath hills;
    hills.moveTo(4, S - 6);
    hills.lineTo(10, 11);
    hills.lineTo(14, 15);
    hills.lineTo(16.5, 12.5);
    hills.lineTo(S - 4, S - 6);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x9D, 0x3A));
    p.drawPath(hills);
    p.setBrush(QColor(0xF0, 0x7B, 0x0C));
    p.drawEllipse(QPointF(16.5, 8.5), 2, 2);
    return pixmap;
}

QPixmap paintCheck(bool checked)
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(4.5, 4.5, S - 9, S - 9);
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(box);
    if (checked)
        tick(p, QPen(QColor(0x1A, 0x59, 0xA8), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin), 7.5);
    return pixmap;
}

} // namespace

QPixmap durumIcon(int code)
{
    static std::array<QPixmap, 6> icons;
    if (code < 0 || code > 5)
        return {};
    auto& icon = icons[static_cast<std::size_t>(code)];
    if (icon.isNull())
        icon = paintDurum(code);
    return icon;
}

QPixmap flagIcon(bool yes, FlagZero zero)
{
    static std::array<QPixmap, 3> icons;
    int kind = 0;
    if (!yes) {
        if (zero == FlagZero::Empty)
            return {};
        kind = zero == FlagZero::Hayir ? 1 : 2;
    }
    auto& icon = icons[static_cast<std::size_t>(kind)];
    if (icon.isNull())
        icon = paintFlag(kind);
    return icon;
}

QPixmap resimIcon()
{
    static QPixmap icon;
    if (icon.isNull())
        icon = paintResim();
    return icon;
}

QPixmap checkIcon(bool checked)
{
    static std::array<QPixmap, 2> icons;
    auto& icon = icons[checked ? 1 : 0];
    if (icon.isNull())
        icon = paintCheck(checked);
    return icon;
}

} // namespace durnak::grid
