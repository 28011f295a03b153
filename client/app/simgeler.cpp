#include "app/simgeler.hpp"

#include <cmath>
#include <functional>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace durnak::client {

namespace {

const QColor kLacivert(0x1f, 0x3a, 0x5f);
const QColor kTuruncu(240, 123, 12);

QPixmap bosResim(int en, int boy)
{
    QPixmap resim(en, boy);
    resim.fill(Qt::transparent);
    return resim;
}

// A rounded badge with a glyph: the common shape of the tab icons.
QPixmap rozet(int boy, const QColor& renk, const std::function<void(QPainter&, const QRectF&)>& sekil)
{
    QPixmap resim = bosResim(boy, boy);
    QPainter p(&resim);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF alan(1, 1, boy - 2, boy - 2);
    QLinearGradient gecis(alan.topLeft(), alan.bottomLeft());
    gecis.setColorAt(0, renk.lighter(125));
    gecis.setColorAt(1, renk.darker(115));
    p.setBrush(gecis);
    p.setPen(QPen(renk.darker(140), 1));
    p.drawRoundedRect(alan, boy * 0.22, boy * 0.22);
    p.setPen(QPen(Qt::white, std::max(1.5, boy / 14.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    sekil(p, alan.adjusted(boy * 0.2, boy * 0.2, -boy * 0.2, -boy * 0.2));
    return resim;
}

void yaziCiz(QPainter& p, const QRectF& alan, const QString& metin, double oran = 0.9)
{
    QFont yazi(QStringLiteral("DejaVu Sans"));
    yazi.setBold(true);
    yazi.setPixelSize(std::max(6, int(alan.height() * oran)));
    p.setFont(yazi);
    p.setPen(Qt::white);
    p.drawText(alan, Qt::AlignCenter, metin);
}

void buyutec(QPainter& p, const QRectF& a)
{
    const double r = a.width() * 0.33;
    const QPointF merkez(a.left() + r + 1, a.top() + r + 1);
    p.drawEllipse(merkez, r, r);
    p.drawLine(merkez + QPointF(r * 0.7, r * 0.7), a.bottomRight());
}

} // namespace

QPixmap LogoResmi(int yukseklik)
{
    const int en = yukseklik * 5 / 2;
    QPixmap resim = bosResim(en, yukseklik);
    QPainter p(&resim);
    p.setRenderHint(QPainter::Antialiasing);
    const double h = yukseklik;
    // A gear-like wheel with a "D" and the firm's name under it.
    const QPointF merkez(h * 0.5, h * 0.42);
    const double r = h * 0.34;
    QPainterPath disli;
    for (int i = 0; i < 12; ++i) {
        const double aci = i * 30.0;
        QTransform t;
        t.translate(merkez.x(), merkez.y());
        t.rotate(aci);
        disli.addPolygon(t.map(QPolygonF(QRectF(-h * 0.05, -r - h * 0.07, h * 0.1, h * 0.12))));
    }
    disli.addEllipse(merkez, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(kTuruncu);
    p.drawPath(disli.simplified());
    p.setBrush(kLacivert);
    p.drawEllipse(merkez, r * 0.72, r * 0.72);
    yaziCiz(p, QRectF(merkez.x() - r, merkez.y() - r, 2 * r, 2 * r), QStringLiteral("D"), 0.55);

    QFont yazi(QStringLiteral("DejaVu Sans"));
    yazi.setBold(true);
    yazi.setPixelSize(int(h * 0.24));
    p.setFont(yazi);
    p.setPen(Qt::white);
    p.drawText(QRectF(h * 0.95, h * 0.12, en - h * 0.95, h * 0.36), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("DURNAK"));
    yazi.setBold(false);
    yazi.setPixelSize(int(h * 0.13));
    p.setFont(yazi);
    p.setPen(kTuruncu);
    p.drawText(QRectF(h * 0.95, h * 0.46, en - h * 0.95, h * 0.24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("OTOMOTİV B2B"));
    return resim;
}

QPixmap BuyutecResmi(int boy)
{
    QPixmap resim = bosResim(boy, boy);
    QPainter p(&resim);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xd6, 0xe0, 0xf0), std::max(2.0, boy / 9.0), Qt::SolidLine, Qt::RoundCap));
    buyutec(p, QRectF(3, 3, boy - 6, boy - 6));
    return resim;
}

QIcon SimgeAl(Simge simge, int boy)
{
    switch (simge) {
    case Simge::Ara:
        return QIcon(rozet(boy, QColor(0x2e, 0x7d, 0x32), buyutec));
    case Simge::Temizle:
        return QIcon(rozet(boy, QColor(0xc6, 0x28, 0x28), [](QPainter& p, const QRectF& a) {
            p.drawLine(a.topLeft(), a.bottomRight());
            p.drawLine(a.topRight(), a.bottomLeft());
        }));
    case Simge::Menu:
        return QIcon(rozet(boy, kTuruncu, [](QPainter& p, const QRectF& a) {
            for (int i = 0; i < 3; ++i) {
                const double y = a.top() + a.height() * (0.15 + 0.35 * i);
                p.drawLine(QPointF(a.left(), y), QPointF(a.right(), y));
            }
        }));
    case Simge::StokListesi:
        return QIcon(rozet(boy, QColor(0x15, 0x65, 0xc0), [](QPainter& p, const QRectF& a) {
            const double w = a.width() / 2 - 1;
            p.drawRect(QRectF(a.left(), a.top() + a.height() / 2, w, a.height() / 2));
            p.drawRect(QRectF(a.left() + w + 2, a.top() + a.height() / 2, w, a.height() / 2));
            p.drawRect(QRectF(a.left() + w / 2 + 1, a.top(), w, a.height() / 2 - 1));
        }));
    case Simge::Sepet:
        return QIcon(rozet(boy, QColor(0x2e, 0x7d, 0x32), [](QPainter& p, const QRectF& a) {
            QPolygonF sepet;
            sepet << a.topLeft() << QPointF(a.left() + a.width() * 0.2, a.top())
                  << QPointF(a.left() + a.width() * 0.3, a.top() + a.height() * 0.65)
                  << QPointF(a.right(), a.top() + a.height() * 0.65) << QPointF(a.right(), a.top() + a.height() * 0.2)
                  << QPointF(a.left() + a.width() * 0.22, a.top() + a.height() * 0.2);
            p.drawPolyline(sepet);
            const double r = a.width() * 0.08;
            p.drawEllipse(QPointF(a.left() + a.width() * 0.38, a.bottom() - r), r, r);
            p.drawEllipse(QPointF(a.right() - a.width() * 0.1, a.bottom() - r), r, r);
        }));
    case Simge::Onceki:
        return QIcon(rozet(boy, QColor(0x6a, 0x1b, 0x9a), [](QPainter& p, const QRectF& a) {
            p.drawEllipse(a);
            p.drawLine(a.center(), QPointF(a.center().x(), a.top() + a.height() * 0.2));
            p.drawLine(a.center(), QPointF(a.right() - a.width() * 0.25, a.center().y()));
        }));
    case Simge::Ekstre:
        return QIcon(rozet(boy, QColor(0x00, 0x83, 0x8f), [](QPainter& p, const QRectF& a) {
            p.drawRect(QRectF(a.left() + a.width() * 0.1, a.top(), a.width() * 0.8, a.height()));
            for (int i = 1; i <= 3; ++i) {
                const double y = a.top() + a.height() * 0.25 * i;
                p.drawLine(QPointF(a.left() + a.width() * 0.25, y), QPointF(a.right() - a.width() * 0.25, y));
            }
        }));
    case Simge::Yeniler:
        return QIcon(rozet(boy, QColor(0xf9, 0xa8, 0x25), [](QPainter& p, const QRectF& a) {
            QPolygonF yildiz;
            for (int i = 0; i < 10; ++i) {
                const double r = (i % 2 ? 0.22 : 0.5) * a.width();
                const double aci = (-90 + i * 36) * M_PI / 180.0;
                yildiz << a.center() + QPointF(r * std::cos(aci), r * std::sin(aci));
            }
            p.setBrush(Qt::white);
            p.drawPolygon(yildiz);
        }));
    case Simge::Kampanya:
        return QIcon(rozet(boy, QColor(0xd8, 0x43, 0x15), [](QPainter& p, const QRectF& a) {
            yaziCiz(p, a, QStringLiteral("%"), 1.0);
        }));
    case Simge::Duyuru:
        return QIcon(rozet(boy, QColor(0x45, 0x5a, 0x64), [](QPainter& p, const QRectF& a) {
            QPolygonF boru;
            boru << QPointF(a.left(), a.top() + a.height() * 0.35) << QPointF(a.left() + a.width() * 0.3, a.top() + a.height() * 0.35)
                 << QPointF(a.right(), a.top()) << QPointF(a.right(), a.bottom())
                 << QPointF(a.left() + a.width() * 0.3, a.top() + a.height() * 0.65)
                 << QPointF(a.left(), a.top() + a.height() * 0.65);
            p.drawPolygon(boru);
        }));
    case Simge::Bakiye:
        return QIcon(rozet(boy, QColor(0x4e, 0x34, 0x2e), [](QPainter& p, const QRectF& a) {
            p.drawLine(QPointF(a.center().x(), a.top()), QPointF(a.center().x(), a.bottom()));
            p.drawLine(QPointF(a.left(), a.top() + a.height() * 0.2), QPointF(a.right(), a.top() + a.height() * 0.2));
            p.drawArc(QRectF(a.left(), a.top() + a.height() * 0.2, a.width() * 0.4, a.height() * 0.5), 180 * 16, 180 * 16);
            p.drawArc(QRectF(a.right() - a.width() * 0.4, a.top() + a.height() * 0.2, a.width() * 0.4, a.height() * 0.5),
                      180 * 16, 180 * 16);
            p.drawLine(QPointF(a.left() + a.width() * 0.25, a.bottom()), QPointF(a.right() - a.width() * 0.25, a.bottom()));
        }));
    case Simge::Cari:
        return QIcon(rozet(boy, QColor(0x28, 0x35, 0x93), [](QPainter& p, const QRectF& a) {
            p.drawEllipse(QRectF(a.left() + a.width() * 0.3, a.top(), a.width() * 0.4, a.height() * 0.4));
            p.drawArc(QRectF(a.left(), a.top() + a.height() * 0.5, a.width(), a.height()), 0, 180 * 16);
        }));
    }
    return {};
}

QPixmap DurumSimgesi(int durum, int boy)
{
    QPixmap resim = bosResim(boy, boy);
    QPainter p(&resim);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF a(1.5, 1.5, boy - 3, boy - 3);
    const QRectF ic = a.adjusted(boy * 0.25, boy * 0.25, -boy * 0.25, -boy * 0.25);
    auto daire = [&](const QColor& renk) {
        p.setPen(QPen(renk.darker(140), 1));
        p.setBrush(renk);
        p.drawEllipse(a);
        p.setPen(QPen(Qt::white, std::max(1.5, boy / 10.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
    };
    switch (durum) {
    case 0:  // Yok: a red cross
        daire(QColor(0xc6, 0x28, 0x28));
        p.drawLine(ic.topLeft(), ic.bottomRight());
        p.drawLine(ic.topRight(), ic.bottomLeft());
        break;
    case 1:  // Stok mevcut: a green tick
        daire(QColor(0x2e, 0x7d, 0x32));
        p.drawPolyline(QPolygonF() << QPointF(ic.left(), ic.center().y())
                                   << QPointF(ic.left() + ic.width() * 0.4, ic.bottom())
                                   << ic.topRight());
        break;
    case 2:  // Telefon Açınız: blue with a handset
        daire(QColor(0x15, 0x65, 0xc0));
        yaziCiz(p, a, QString(QChar(0x260E)), 0.7);
        break;
    case 3:  // Yolda: amber with an arrow
        daire(QColor(0xf5, 0x7f, 0x17));
        p.drawLine(QPointF(ic.left(), ic.center().y()), QPointF(ic.right(), ic.center().y()));
        p.drawPolyline(QPolygonF() << QPointF(ic.center().x(), ic.top()) << QPointF(ic.right(), ic.center().y())
                                   << QPointF(ic.center().x(), ic.bottom()));
        break;
    case 4:  // Özel Sipariş: purple with a star
        daire(QColor(0x6a, 0x1b, 0x9a));
        yaziCiz(p, a, QString(QChar(0x2605)), 0.7);
        break;
    case 5:  // Tedarik Sürecinde: teal with an hourglass
        daire(QColor(0x00, 0x83, 0x8f));
        p.drawPolygon(QPolygonF() << ic.topLeft() << ic.topRight() << ic.bottomLeft() << ic.bottomRight());
        break;
    default:
        break;
    }
    return resim;
}

QString DurumAciklamasi(int durum)
{
    switch (durum) {
    case 0: return QStringLiteral("Yok");
    case 1: return QStringLiteral("Stok mevcut");
    case 2: return QStringLiteral("Telefon Açınız");
    case 3: return QStringLiteral("Yolda");
    case 4: return QStringLiteral("Özel Sipariş");
    case 5: return QStringLiteral("Tedarik Sürecinde");
    default: return QString();
    }
}

} // namespace durnak::client
