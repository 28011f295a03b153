#pragma once

// The main window TForm1: header, search bar, tabs, legend and bottom strip; the session
// state every window shares (bagc, sbilgi, the tab datasets); the creation handler with
// the sign-in, the start-up loads and the push registration; the close question.
//
// Later windows plug in through:
// - TForm1::Kancalar, given to the constructor: the sign-in, the start-up/refresh loads and
//   the opening advertisements (std::function members; an absent one is skipped);
// - the public controls and actions (connect to their signals: SepeteEkle1->triggered, ...);
// - sekmeGosterildi / sekmeGizlendi for the tab show and hide handlers;
// - GosterYukle for the two-step tab loads with their busy animation and re-entry guard;
// - the KolonAyarlari of the four grids for the user-type columns.

#include <functional>
#include <memory>

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "app/beklesinu.hpp"
#include "app/kolonlar.hpp"
#include "durnak/data/clientdataset.hpp"
#include "durnak/data/datasetmodel.hpp"
#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"

class QAction;
class QFileDialog;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QMovie;
class QPushButton;
class QToolButton;
class QWidget;

namespace durnak::grid {
class DurnakGrid;
}

namespace durnak::client {

class TGeriBildirim;
class TKanalYoneticisi;
class TKayanYazi;
class TsPageControl;

using data::DataSetModel;
using data::TClientDataSet;
using protocol::TSonucBilgisi;

inline const char* const kProgramBasligi = "Durnak Otomotiv B2B Programı";
inline const char* const kUygulamaBasligi = "Durnak Otomotiv B2B";
inline const char* const kCikisSorusu = "Programdan Çıkmak İstiyor musunuz ?";

// A busy animation of the search bar: plays only while shown.
class TMesgulAnimasyonu;
class TForm1;

struct TForm1Kancalari {
    using Adim = std::function<void(TForm1&)>;

    // The modal sign-in, given bagc and sbilgi through the window; true for OK. Without
    // one there is no sign-in and the window is shown as designed.
    std::function<bool(TForm1&)> girisYap;
    // The loads of the start-up background step (on a worker: use wait-for-it for
    // controls and a clone of bagc) and of the push refresh (on the main thread).
    Adim kayanYaziAl;
    Adim bannerResimAl;
    Adim bannerResimAlUst;
    Adim bannerResimAlAlt;
    Adim acilisReklamAdetAl;
    Adim balonYaz;
    // Main thread, after the loads: shows the opening advertisements when due.
    Adim acilisReklamlariGoster;
    // Registers the push callback at the end of the creation handler.
    bool bildirimKanali = true;
};


class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    using Adim = TForm1Kancalari::Adim;

    using Kancalar = TForm1Kancalari;

    // The show-load pattern of a tab: animation shown and control disabled on the main
    // thread, `yukle` on a worker (true when the load failed), then the control re-enabled,
    // the animation hidden, the connection message on failure and `bitir`.
    struct SekmeYukleme {
        QWidget* animasyon = nullptr;
        QWidget* kontrol = nullptr;
        std::function<void()> ayir;   // main thread, first: detach the view from its dataset
        std::function<bool()> yukle;  // worker
        std::function<void()> bagla;  // main thread, after the load: reattach
        std::function<void(bool hata)> bitir;
    };

    explicit TForm1(Kancalar kancalar = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // The creation handler; the program entry calls it right after construction.
    void FormCreate();
    // Adapts the window to FMusteriTipi (1-4; other values keep the design).
    void KullaniciTipineUyarla(int musteriTipi);
    // The identity labels from sbilgi; from any thread (a worker waits for the writes).
    void AnaBilgiAl();
    // From any thread: queues one refresh to the main thread and returns at once.
    void GeriBildirimAlQue();
    // The refresh itself, on the main thread.
    void GeriBildirimYenile();
    // Registers the push callback on bagc's current address and port.
    void BildirimKaydet();
    // Starts a tab load unless the load named `ad` is still running (then false).
    bool GosterYukle(const QString& ad, SekmeYukleme yukleme);
    bool YuklemeSuruyor(const QString& ad) const;

    // The close question; Yes ends the process, so true is never returned for it.
    bool FormCloseQuery();
    void FormClose();

    // Ends the process at once with the code. Tests replace it.
    std::function<void(int)> ProgramiBitir;
    [[noreturn]] static void SurecBitir(int kod);

    TKanalYoneticisi* kanal() const { return DSClientCallbackChannelManager1; }
    const Kancalar& kancalar() const { return kancalar_; }

    // Session state.
    TBaglanti bagc;
    TSonucBilgisi sbilgi;
    int _acilisadet = 0;
    bool _acilisgoruldu = false;
    QPointer<QWidget> benimbakiyesiparisler;

    TKanalYoneticisi* DSClientCallbackChannelManager1 = nullptr;

    // Tab datasets and the models the grids show them through.
    TClientDataSet stok;
    TClientDataSet sepet;
    TClientDataSet kargo;
    TClientDataSet ONCEKILER;
    TClientDataSet EKSTRE;
    TClientDataSet YENILER;
    TClientDataSet kampstok;
    DataSetModel* DataSource1 = nullptr;
    DataSetModel* DataSource_SEPET = nullptr;
    DataSetModel* DataSource_ONCEKI = nullptr;
    DataSetModel* DataSource_EKSTRE = nullptr;
    DataSetModel* DataSource_yeniler = nullptr;
    DataSetModel* kampsource = nullptr;
    QFileDialog* SaveDialog1 = nullptr;

    // Column decisions of the four grids the user type changes.
    KolonAyarlari* cxGrid1DBTableView1Kolonlari = nullptr;          // stock grid
    KolonAyarlari* cxGridDBTableView1Kolonlari = nullptr;           // basket grid
    KolonAyarlari* cxGridDBTableView5Kolonlari = nullptr;           // new-items grid
    KolonAyarlari* cxGridDBTableViewkampanyaliKolonlari = nullptr;  // campaign grid

    // Header.
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QWidget* GridPanel1 = nullptr;
    QLabel* kullanicilbl = nullptr;
    QLabel* cariadilbl = nullptr;
    QLabel* saticilbl = nullptr;
    QLabel* RxGIFAnimator1 = nullptr;
    QToolButton* Button3 = nullptr;
    QMenu* Genelmenu = nullptr;
    QAction* MailGonder1 = nullptr;
    QAction* SifreDegistirmeIstegi1 = nullptr;
    QAction* websitesi1 = nullptr;
    QAction* G1 = nullptr;
    QAction* R1 = nullptr;

    // Search bar.
    QFrame* Panel2 = nullptr;
    QLabel* Image2 = nullptr;
    QLineEdit* araedit = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* musteritus = nullptr;
    TMesgulAnimasyonu* gifstokara = nullptr;
    TMesgulAnimasyonu* gifyeniler = nullptr;
    TMesgulAnimasyonu* gifkampanyali = nullptr;
    TMesgulAnimasyonu* gifduyuru = nullptr;
    TMesgulAnimasyonu* gifoncekiler = nullptr;
    TMesgulAnimasyonu* gifekstre = nullptr;

    QLabel* RxGIFAnimator2 = nullptr;

    // Tabs.
    TsPageControl* sPageControl1 = nullptr;
    QWidget* sstoklistesi = nullptr;
    QWidget* ssepet = nullptr;
    QWidget* sonceki = nullptr;
    QWidget* sccariekstre = nullptr;
    QWidget* syeniler = nullptr;
    QWidget* skampanyali = nullptr;
    QWidget* sTabSheetduyuru = nullptr;
    QWidget* sTabbakiyeler = nullptr;

    grid::DurnakGrid* cxGrid1 = nullptr;       // stock
    grid::DurnakGrid* cxGrid2 = nullptr;       // basket
    grid::DurnakGrid* cxGrid3 = nullptr;       // previous orders
    grid::DurnakGrid* cxGrid5 = nullptr;       // statement
    grid::DurnakGrid* cxGrid6 = nullptr;       // new items
    grid::DurnakGrid* cxkampanyali = nullptr;  // campaign items
    grid::DurnakGrid* cxGridduyuru = nullptr;  // announcements

    // Basket tab strips.
    QWidget* panelsec = nullptr;
    QPushButton* Button4 = nullptr;  // Hepsini Seç
    QPushButton* Button5 = nullptr;  // Seçimleri Kaldır
    QLabel* lbluyarbakiye = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Panel6 = nullptr;
    QPushButton* Button1 = nullptr;  // Gönder
    QPushButton* Button2 = nullptr;  // Excel Kaydet

    // Context menus.
    QMenu* popstok = nullptr;
    QAction* SepeteEkle1 = nullptr;
    QAction* SiparisBakiyeleriniz1 = nullptr;
    QAction* S3 = nullptr;  // Siparişleri Göster
    QMenu* PopupMenu1 = nullptr;
    QAction* SatirDegistir1 = nullptr;
    QAction* SatirSil1 = nullptr;
    QAction* HepsiniSil1 = nullptr;
    QMenu* poponceki = nullptr;
    QAction* SiparisiIncele1 = nullptr;
    QAction* SiparisBakiyeleriniz2 = nullptr;
    QAction* T1 = nullptr;  // Tüm Siparişler
    QMenu* popekstre = nullptr;
    QAction* HareketIncele1 = nullptr;

    // Legend and bottom strip.
    QFrame* Panel3 = nullptr;
    QFrame* Panel5 = nullptr;
    TKayanYazi* kayanyazi = nullptr;
    TKayanYazi* RealTimeMarquee1 = nullptr;
    QLabel* Image3 = nullptr;

signals:
    void sekmeGosterildi(QWidget* sekme);
    void sekmeGizlendi(QWidget* sekme);
    // The start-up loads finished their main-thread step.
    void acilisYuklemeleriBitti();
    // A push refresh finished.
    void yenilendi();

protected:
    void closeEvent(QCloseEvent* olay) override;

private:
    void basligiKur();
    void aramaCubugunuKur();
    void sekmeleriKur();
    void altSeritleriKur();
    void menuleriKur();
    QWidget* sepetSekmesiniKur();
    void sekmeDegisti(int sira);
    void adimCalistir(const Adim& adim, std::exception_ptr& ilkHata);
    void araeditBuyukHarf(const QString& metin);

    Kancalar kancalar_;
    std::shared_ptr<TGeriBildirim> geriBildirim_;
    QHash<QString, TekYukleme> yuklemeler_;
    QPointer<QWidget> oncekiSekme_;
};

class TMesgulAnimasyonu : public QWidget {
    Q_OBJECT

public:
    explicit TMesgulAnimasyonu(QWidget* parent = nullptr);
    bool oynuyor() const;

protected:
    void showEvent(QShowEvent* olay) override;
    void hideEvent(QHideEvent* olay) override;
    void paintEvent(QPaintEvent* olay) override;

private:
    QMovie* film_;
};

} // namespace durnak::client
