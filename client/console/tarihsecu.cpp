#include "console/tarihsecu.hpp"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace durnak::client {

namespace {

QDateEdit* tarihKutusu(QWidget* sahip, const char* ad)
{
    auto* kutu = new QDateEdit(sahip);
    kutu->setObjectName(QString::fromLatin1(ad));
    kutu->setCalendarPopup(true);
    kutu->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    return kutu;
}

} // namespace

Ttarihsec::Ttarihsec(QWidget* sahip) : QDialog(sahip, Qt::Tool)
{
    setObjectName(QStringLiteral("tarihsec"));
    setWindowTitle(QStringLiteral("Tarih Seç"));

    Label1 = new QLabel(QStringLiteral("Tarih 1:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DateTimePicker1 = tarihKutusu(this, "DateTimePicker1");
    Label2 = new QLabel(QStringLiteral("Tarih 1:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    DateTimePicker2 = tarihKutusu(this, "DateTimePicker2");
    Button1 = new QPushButton(QStringLiteral("Seç"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto* duzen = new QGridLayout(this);
    duzen->addWidget(Label1, 0, 0, Qt::AlignRight);
    duzen->addWidget(DateTimePicker1, 0, 1);
    duzen->addWidget(Label2, 1, 0, Qt::AlignRight);
    duzen->addWidget(DateTimePicker2, 1, 1);
    duzen->addWidget(Button1, 2, 1, Qt::AlignRight);

    connect(Button1, &QPushButton::clicked, this, &Ttarihsec::Button1Click);
    FormCreate();
}

void Ttarihsec::FormCreate()
{
    DateTimePicker1->setDate(QDate::currentDate());
    DateTimePicker2->setDate(QDate::currentDate());
}

void Ttarihsec::Button1Click() { accept(); }

void Ttarihsec::TekTarih(bool tek)
{
    Label2->setVisible(!tek);
    DateTimePicker2->setVisible(!tek);
    adjustSize();
}

QDate Ttarihsec::Tarih1() const { return DateTimePicker1->date(); }
QDate Ttarihsec::Tarih2() const { return DateTimePicker2->date(); }

} // namespace durnak::client
