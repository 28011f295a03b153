#include "mail/mailformu.hpp"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/beklesinu.hpp"
#include "app/dagitim.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "server/cagri.hpp"

namespace durnak::client {

namespace {

bool tirnakGerekir(const QString& satir)
{
    for (const QChar c : satir)
        if (c.unicode() <= 0x20 || c == QLatin1Char('"') || c == QLatin1Char(',')) return true;
    return false;
}

} // namespace

QString VirgulMetni(const QStringList& satirlar)
{
    if (satirlar.size() == 1 && satirlar.first().isEmpty()) return QStringLiteral("\"\"");
    QStringList parcalar;
    parcalar.reserve(satirlar.size());
    for (const QString& satir : satirlar) {
        if (tirnakGerekir(satir)) {
            QString ic = satir;
            ic.replace(QLatin1Char('"'), QLatin1String("\"\""));
            parcalar << QLatin1Char('"') + ic + QLatin1Char('"');
        } else {
            parcalar << satir;
        }
    }
    return parcalar.join(QLatin1Char(','));
}

QStringList Satirlar(const QString& metin)
{
    if (metin.isEmpty()) return {};
    QString t = metin;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList satirlar = t.split(QLatin1Char('\n'));
    if (t.endsWith(QLatin1Char('\n'))) satirlar.removeLast();
    return satirlar;
}

Tmailform::Tmailform(QWidget* sahip, const TBaglanti& baglanti, const protocol::TSonucBilgisi& bilgi)
    : QDialog(sahip), con(baglanti.Clone()), Bilgim(bilgi)
{
    setObjectName(QStringLiteral("mailform"));
    setWindowTitle(QStringLiteral("Mail Gönder"));
    resize(671, 451);

    auto* duzen = new QVBoxLayout(this);
    auto* izgara = new QGridLayout;
    Label1 = new QLabel(QStringLiteral("Konu:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    baslik = new QLineEdit(this);
    baslik->setObjectName(QStringLiteral("baslik"));
    baslik->setMinimumWidth(560);
    Label2 = new QLabel(QStringLiteral("Mail:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    konu = new QPlainTextEdit(this);
    konu->setObjectName(QStringLiteral("konu"));
    konu->setMinimumSize(560, 324);
    konu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    konu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    konu->setTabChangesFocus(true);
    for (QLabel* l : {Label1, Label2}) l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    izgara->addWidget(Label1, 0, 0);
    izgara->addWidget(baslik, 0, 1);
    izgara->addWidget(Label2, 1, 0);
    izgara->addWidget(konu, 1, 1);
    izgara->setRowStretch(1, 1);
    duzen->addLayout(izgara, 1);

    duzen->addLayout(GonderKapatSatiri(this, Button2, Button1));

    connect(Button2, &QPushButton::clicked, this, &Tmailform::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &Tmailform::Button1Click);
}

Tmailform::~Tmailform() = default;

void Tmailform::showEvent(QShowEvent* olay)
{
    QDialog::showEvent(olay);
    baslik->setFocus();
}

void Tmailform::Button2Click()
{
    if (!Button2->isEnabled()) return;
    if (baslik->text().trimmed().isEmpty()) {
        baslik->selectAll();
        baslik->setFocus();
        MesajGoster(QStringLiteral("Lütfen Başlık Giriniz !"), mtWarning, {mbOK}, mbOK);
        return;
    }
    if (konu->toPlainText().trimmed().isEmpty()) {
        konu->selectAll();
        konu->setFocus();
        MesajGoster(QStringLiteral("Lütfen Konu Giriniz !"), mtWarning, {mbOK}, mbOK);
        return;
    }
    Button2->setEnabled(false);

    struct Gonderim {
        std::shared_ptr<TBaglanti> con;
        QString idsi, baslik, konu;
        bool basarili = false;
    };
    auto g = std::make_shared<Gonderim>();
    g->con = con;
    g->idsi = QString::fromStdString(Bilgim.FBILGISAYARID);
    g->baslik = baslik->text();
    g->konu = VirgulMetni(Satirlar(konu->toPlainText()));
    QPointer<Tmailform> pencere(this);

    ArkaPlanda([g] {
        try {
            CagriA(*g->con, [&](TServerMethods1Client& proxy) {
                protocol::TMobilCariBilgisi cari;
                if (const auto* gelen = proxy.MobilCariBilgisiGetir(0, g->idsi)) cari = *gelen;
                auto s = [](const std::string& x) { return QString::fromStdString(x); };
                proxy.MailGonserCariNormal(g->idsi, g->baslik, s(cari.FCARIADI), s(cari.FADRES1), s(cari.FADRES2),
                                           s(cari.FILCE), s(cari.FSEHIR), s(cari.FTEL1), s(cari.FFAX1),
                                           s(cari.FVERGIDAIRESI), s(cari.FVERGINO), s(cari.FYETKILI),
                                           s(cari.FKULLANICIADI), s(cari.FSIFRE), s(cari.FMAIL), QString(), g->konu);
                g->basarili = true;
            });
        } catch (const std::exception&) {
            // Reported as a failed send below.
        }
    })->Await([pencere, g] {
        if (g->basarili)
            MesajGoster(QStringLiteral("Mail Gönderildi !"), mtInformation, {mbOK}, mbOK);
        else
            MesajGoster(QStringLiteral("Mail Göndermede Hata\nLütfen Tekrar Deneyin !"), mtError, {mbOK}, mbOK);
        if (!pencere) return;
        pencere->Button2->setEnabled(true);
        emit pencere->gonderimBitti(g->basarili);
    });
}

void Tmailform::Button1Click()
{
    if (Button2->isEnabled()) done(QDialog::Rejected);
}

void Tmailform::reject()
{
    // Escape and the close box, too, wait for a send under way.
    if (Button2->isEnabled()) QDialog::reject();
}

void Tmailform::closeEvent(QCloseEvent* olay)
{
    if (Button2->isEnabled())
        QDialog::closeEvent(olay);
    else
        olay->ignore();
}

void MailBagla(TForm1& form)
{
    QObject::connect(form.MailGonder1, &QAction::triggered, &form, [&form] {
        Tmailform pencere(&form, form.bagc, form.sbilgi);
        pencere.exec();
    });
    QObject::connect(form.websitesi1, &QAction::triggered, &form, [&form] {
        QDesktopServices::openUrl(QUrl(QString::fromUtf8(dagitim::kWebSitesi)));
        form.araedit->selectAll();
        form.araedit->setFocus();
    });
}

} // namespace durnak::client
