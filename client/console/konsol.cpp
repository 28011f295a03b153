#include "console/konsol.hpp"

#include <exception>
#include <memory>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "app/beklesinu.hpp"
#include "app/sekmeler.hpp"
#include "app/unit1.hpp"
#include "console/raporformu.hpp"

namespace durnak::client {

bool CariSec(QWidget* sahip, TBaglanti& bag, TSonucBilgisi& bilgi, std::function<void(int)> programiBitir,
             Tseccari::BakiyeGosterici bakiyeleriGoster)
{
    Tseccari pencere(sahip);
    pencere.bag = &bag;
    pencere.bilgim = &bilgi;
    if (programiBitir) pencere.ProgramiBitir = std::move(programiBitir);
    pencere.BakiyeleriGoster = std::move(bakiyeleriGoster);
    pencere.SepetSayisiYaz();
    pencere.TusSonuclari();
    return pencere.exec() == QDialog::Accepted;
}

void CariDegistiYenile(TForm1& form, const KonsolKancalari& kancalar)
{
    form.AnaBilgiAl();
    if (kancalar.sepetAl) kancalar.sepetAl(form);
    if (form.stok.Active()) form.stok.EmptyDataSet();
    const int sekme = form.sPageControl1->indexOf(form.sstoklistesi);
    form.sPageControl1->setTabText(sekme, QStringLiteral("0=Stok Listesi"));
    form.sPageControl1->setCurrentIndex(sekme);
    form.araedit->selectAll();
    form.araedit->setFocus();
}

void musteritusClick(TForm1& form, const KonsolKancalari& kancalar)
{
    // The window's own end, so that a test that replaced it sees "Vazgeç" too.
    CariSec(&form, form.bagc, form.sbilgi, [&form](int kod) { form.ProgramiBitir(kod); }, kancalar.bakiyeleriGoster);
    CariDegistiYenile(form, kancalar);
}

void R1Click(TForm1& form)
{
    Traporform pencere(&form);
    pencere.bag = form.bagc.Clone();
    pencere.sbilgi = &form.sbilgi;
    pencere.exec();
}

void KonsoluBagla(TForm1& form, KonsolKancalari kancalar)
{
    auto k = std::make_shared<KonsolKancalari>(std::move(kancalar));
    auto korumali = [](auto islem) {
        return [islem] {
            try {
                islem();
            } catch (...) {
                HataGoster(std::current_exception());
            }
        };
    };
    QObject::connect(form.musteritus, &QPushButton::clicked, &form,
                     korumali([&form, k] { musteritusClick(form, *k); }));
    QObject::connect(form.R1, &QAction::triggered, &form, korumali([&form] { R1Click(form); }));
}

} // namespace durnak::client
