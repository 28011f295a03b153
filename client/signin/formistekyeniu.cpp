#include "signin/formistekyeniu.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace durnak::client {

Tformistekyeni::Tformistekyeni(QWidget* sahip) : QDialog(sahip)
{
    setObjectName(QStringLiteral("formistekyeni"));
    resize(780, 555);
    auto* duzen = new QVBoxLayout(this);
    duzen->setContentsMargins(0, 0, 0, 0);
    duzen->setSpacing(0);

    sitem = new QWebEngineView(this);
    sitem->setObjectName(QStringLiteral("sitem"));
    duzen->addWidget(sitem, 1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* alt = new QHBoxLayout(Panel1);
    alt->setContentsMargins(6, 6, 6, 6);
    alt->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("Kapat"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setMinimumWidth(100);
    alt->addWidget(Button1);
    duzen->addWidget(Panel1);

    connect(Button1, &QPushButton::clicked, this, &Tformistekyeni::Button1Click);
}

void Tformistekyeni::Git(const QUrl& adres)
{
    adres_ = adres;
    sitem->setUrl(adres);
}

void Tformistekyeni::Button1Click()
{
    close();
}

void Tformistekyeni::showEvent(QShowEvent* olay)
{
    QDialog::showEvent(olay);
    if (const QScreen* ekran = screen()) move(ekran->availableGeometry().center() - rect().center());
}

} // namespace durnak::client
