#include "basket/onaysip.hpp"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace durnak::client {

TONAYSIP::TONAYSIP(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("ONAYSIP"));
    setWindowTitle(QStringLiteral("Sipariş Onay"));
    setModal(true);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    auto* cerceve = new QVBoxLayout(Bevel1);
    cerceve->setContentsMargins(6, 6, 6, 6);

    Label2 = new QLabel(Bevel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Fixed pitch so that the padded labels line up.
    QFont sabit(QStringLiteral("DejaVu Sans Mono"));
    sabit.setStyleHint(QFont::Monospace);
    sabit.setFixedPitch(true);
    sabit.setPixelSize(16);
    sabit.setBold(true);
    Label2->setFont(sabit);
    Label2->setFixedSize(470, 171);
    cerceve->addWidget(Label2);

    Label1 = new QLabel(QStringLiteral("Yukarıda bilgileri verilen siparişi onaylıyor musunuz ?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont soru(QStringLiteral("DejaVu Sans"));
    soru.setPixelSize(20);
    soru.setBold(true);
    Label1->setFont(soru);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);

    Button1 = new QPushButton(QStringLiteral("Evet"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Hayır"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch(1);
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    dugmeler->addStretch(1);

    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(Bevel1);
    duzen->addWidget(Label1);
    duzen->addLayout(dugmeler);
}

void TONAYSIP::SetOzet(const QString& ozet)
{
    ozet_ = ozet;
    QString gosterilen = ozet;
    gosterilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Label2->setText(gosterilen);
    // The label keeps its size; the whole summary stays readable as the tip.
    Label2->setToolTip(gosterilen);
}

} // namespace durnak::client
