#include "app/kayanyazi.hpp"

#include <climits>

#include <QAbstractTextDocumentLayout>
#include <QPainter>

namespace durnak::client {

TKayanYazi::TKayanYazi(QWidget* parent) : QWidget(parent)
{
    belge_.setDocumentMargin(0);
    zamanlayici_.setInterval(30);
    connect(&zamanlayici_, &QTimer::timeout, this, &TKayanYazi::adimAt);
}

void TKayanYazi::setHtml(const QString& html)
{
    html_ = html;
    belge_.setDefaultFont(font());
    belge_.setHtml(html);
    belge_.setTextWidth(-1);
    konum_ = width();
    zamanlayiciyiAyarla();
    update();
}

void TKayanYazi::setResim(const QPixmap& resim)
{
    resim_ = resim;
    konum_ = width();
    zamanlayiciyiAyarla();
    update();
}

void TKayanYazi::temizle()
{
    html_.clear();
    belge_.clear();
    resim_ = QPixmap();
    zamanlayiciyiAyarla();
    update();
}

void TKayanYazi::setHiz(int piksel, int aralikMs)
{
    adim_ = std::max(1, piksel);
    zamanlayici_.setInterval(std::max(1, aralikMs));
}

int TKayanYazi::icerikGenisligi() const
{
    if (!resim_.isNull()) return resim_.width() * height() / std::max(1, resim_.height());
    if (!html_.isEmpty()) return int(belge_.idealWidth());
    return 0;
}

void TKayanYazi::zamanlayiciyiAyarla()
{
    if (isVisible() && icerikGenisligi() > 0)
        zamanlayici_.start();
    else
        zamanlayici_.stop();
}

void TKayanYazi::adimAt()
{
    konum_ -= adim_;
    if (konum_ < -icerikGenisligi()) konum_ = width();
    update();
}

void TKayanYazi::paintEvent(QPaintEvent*)
{
    QPainter boya(this);
    boya.setClipRect(rect());
    if (!resim_.isNull()) {
        const QSize boy = resim_.size().scaled(QSize(INT_MAX, height()), Qt::KeepAspectRatio);
        boya.drawPixmap(QRect(QPoint(konum_, 0), boy), resim_);
    } else if (!html_.isEmpty()) {
        const qreal y = (height() - belge_.size().height()) / 2;
        boya.translate(konum_, y);
        QAbstractTextDocumentLayout::PaintContext baglam;
        baglam.palette = palette();
        baglam.palette.setColor(QPalette::Text, palette().color(QPalette::WindowText));
        belge_.documentLayout()->draw(&boya, baglam);
    }
}

void TKayanYazi::showEvent(QShowEvent* olay)
{
    QWidget::showEvent(olay);
    zamanlayiciyiAyarla();
}

void TKayanYazi::hideEvent(QHideEvent* olay)
{
    QWidget::hideEvent(olay);
    zamanlayici_.stop();
}

void TKayanYazi::resizeEvent(QResizeEvent* olay)
{
    QWidget::resizeEvent(olay);
    if (konum_ > width()) konum_ = width();
}

} // namespace durnak::client
