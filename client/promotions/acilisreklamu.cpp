#include "promotions/acilisreklamu.hpp"

#include <QEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "promotions/tanitim.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

// --- TResimGosterici ---------------------------------------------------------------------

TResimGosterici::TResimGosterici(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    zoom_ = new QSlider(Qt::Horizontal, this);
    zoom_->setObjectName(QStringLiteral("yakinlastirma"));
    zoom_->setRange(25, 400);
    zoom_->setValue(100);
    zoom_->setFocusPolicy(Qt::NoFocus);
    zoom_->setCursor(Qt::ArrowCursor);
    connect(zoom_, &QSlider::valueChanged, this, [this] { update(); });
    auto* duzen = new QVBoxLayout(this);
    duzen->setContentsMargins(4, 0, 4, 2);
    duzen->addStretch(1);
    duzen->addWidget(zoom_);
}

void TResimGosterici::setResim(const QPixmap& resim)
{
    resim_ = resim;
    update();
}

void TResimGosterici::paintEvent(QPaintEvent*)
{
    if (resim_.isNull()) return;
    QPainter boya(this);
    boya.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect alan = rect().adjusted(0, 0, 0, -zoom_->sizeHint().height() - 2);
    // Fitted to the area at 100 %, never blown up beyond the picture's own size.
    QSize boy = resim_.size().scaled(alan.size(), Qt::KeepAspectRatio).boundedTo(resim_.size());
    boy = boy * (zoom_->value() / 100.0);
    QRect hedef(QPoint(0, 0), boy);
    hedef.moveCenter(alan.center());
    boya.setClipRect(alan);
    boya.drawPixmap(hedef, resim_);
}

void TResimGosterici::mouseReleaseEvent(QMouseEvent* olay)
{
    QWidget::mouseReleaseEvent(olay);
    if (olay->button() == Qt::LeftButton && rect().contains(olay->position().toPoint())) emit tiklandi();
}

// --- Tacilisreklam -----------------------------------------------------------------------

Tacilisreklam::Tacilisreklam(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("acilisreklam"));
    setWindowTitle(QString::fromUtf8(kProgramBasligi));
    setFixedSize(606, 480);

    auto* duzen = new QVBoxLayout(this);
    duzen->setContentsMargins(3, 3, 3, 3);
    duzen->setSpacing(2);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignCenter);

    cxImage1 = new TResimGosterici(this);
    cxImage1->setObjectName(QStringLiteral("cxImage1"));
    cxImage1->setMinimumSize(600, 400);
    connect(cxImage1, &TResimGosterici::tiklandi, this, &Tacilisreklam::cxImage1Click);

    auto* alt = new QWidget(this);
    alt->setObjectName(QStringLiteral("Panel1"));
    auto* altDuzen = new QHBoxLayout(alt);
    altDuzen->setContentsMargins(0, 0, 0, 0);
    Button1 = new QPushButton(alt);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Button2 = new QPushButton(alt);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    gifstokara = new TMesgulAnimasyonu(alt);
    gifstokara->setObjectName(QStringLiteral("gifstokara"));
    Label2 = new QLabel(alt);
    Label2->setObjectName(QStringLiteral("Label2"));
    Button1xxx = new QPushButton(QStringLiteral("Kapat"), alt);
    Button1xxx->setObjectName(QStringLiteral("Button1xxx"));
    Button1xxx->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    for (QPushButton* b : {Button1, Button2, Button1xxx}) b->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &Tacilisreklam::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tacilisreklam::Button2Click);
    connect(Button1xxx, &QPushButton::clicked, this, &Tacilisreklam::Button1xxxClick);
    altDuzen->addWidget(Button1);
    altDuzen->addWidget(Button2);
    altDuzen->addWidget(gifstokara);
    altDuzen->addStretch(1);
    altDuzen->addWidget(Label2);
    altDuzen->addStretch(1);
    altDuzen->addWidget(Button1xxx);

    duzen->addWidget(Label1);
    duzen->addWidget(cxImage1, 1);
    duzen->addWidget(alt);

    // Keys reach the window before its controls.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);

    if (owner) {
        QRect alan = geometry();
        alan.moveCenter(owner->geometry().center());
        move(alan.topLeft());
    }
}

Tacilisreklam::~Tacilisreklam() = default;

void Tacilisreklam::Ac(const TBaglanti& baglanti, const protocol::TSonucBilgisi& bilgi)
{
    con_ = std::shared_ptr<TBaglanti>(baglanti.Clone());
    Bilgim.Kopyala(bilgi);
    sirasi = 1;
    REsimGoster(1);
}

void Tacilisreklam::REsimGoster(int sira)
{
    yukleniyor_ = true;
    Button1->setEnabled(false);
    Button2->setEnabled(false);
    gifstokara->show();

    struct Sonuc {
        bool yuklendi = false;
        int adet = 0;
        QString baslik;
        QString arama;
        QImage resim;
    };
    auto sonuc = std::make_shared<Sonuc>();
    // The connection is shared with the worker: closing the window during a load must not
    // pull it away under the call.
    std::shared_ptr<TBaglanti> con = con_;
    QPointer<Tacilisreklam> pencere(this);
    ArkaPlanda([con, sonuc, sira] {
        if (!con || !BaglantiAc(*con, 1)) return;
        detail::Kapatici kapatici(*con);
        TServerMethods1Client proxy(*con);
        sonuc->adet = proxy.AcilisReklamAdet();
        const TAcilisEkran* ekran = proxy.AcilisREklamVer(sira - 1);
        TAcilisEkran kayit = ekran ? *ekran : TAcilisEkran{};
        const QByteArray baytlar = HexResimCoz(kayit.FResim);
        // A screen without a picture shows none; bytes that are no picture are an error.
        if (!baytlar.isEmpty() && !sonuc->resim.loadFromData(baytlar))
            throw EResimHatasi(QStringLiteral("Açılış reklamının resmi okunamadı."));
        sonuc->baslik = QString::fromStdString(kayit.FBaslik);
        sonuc->arama = QString::fromStdString(kayit.FArama);
        sonuc->yuklendi = true;
    })->Await([pencere, sonuc] {
        if (!pencere) return;
        Tacilisreklam& p = *pencere;
        if (sonuc->yuklendi) {
            p.adet = sonuc->adet;
            p.arama = sonuc->arama;
            p.Label1->setText(sonuc->baslik);
            p.cxImage1->setResim(QPixmap::fromImage(sonuc->resim));
            p.sayacYaz();
        }
        p.Button1->setEnabled(true);
        p.Button2->setEnabled(true);
        p.gifstokara->hide();
        p.yukleniyor_ = false;
        emit p.resimYuklendi();
    });
}

void Tacilisreklam::sayacYaz()
{
    Label2->setText(QString::number(sirasi) + QStringLiteral(" / ") + QString::number(adet));
}

void Tacilisreklam::Button1Click()
{
    if (sirasi <= 1) return;
    --sirasi;
    REsimGoster(sirasi);
    sayacYaz();
}

void Tacilisreklam::Button2Click()
{
    // Never past the count, also when the count shrank to below the position shown.
    if (sirasi >= adet) return;
    ++sirasi;
    REsimGoster(sirasi);
    sayacYaz();
}

void Tacilisreklam::Button1xxxClick()
{
    done(mrCancel);
}

void Tacilisreklam::cxImage1Click()
{
    done(arama.trimmed().isEmpty() ? mrCancel : mrOk);
}

void Tacilisreklam::reject()
{
    done(mrCancel);
}

bool Tacilisreklam::FormKeyDown(int tus)
{
    if (tus == Qt::Key_Left || tus == Qt::Key_Right) {
        // One load at a time: the arrows wait like the buttons they stand for.
        if (!yukleniyor_) {
            if (tus == Qt::Key_Left)
                Button1Click();
            else
                Button2Click();
        }
        return true;
    }
    done(mrCancel);
    return true;
}

bool Tacilisreklam::eventFilter(QObject* nesne, QEvent* olay)
{
    if (olay->type() == QEvent::KeyPress) {
        return FormKeyDown(static_cast<QKeyEvent*>(olay)->key());
    }
    if (olay->type() == QEvent::ShortcutOverride) {
        // Keep shortcuts from taking keys the window handles itself.
        olay->accept();
        return false;
    }
    return QDialog::eventFilter(nesne, olay);
}

} // namespace durnak::client
