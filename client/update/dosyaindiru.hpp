#pragma once

// The update window: downloads the newer setup program, saves it in the local data folder,
// starts it silently and ends the running program so that the setup can replace it.

#include <cstdint>
#include <functional>

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QProgressBar;

namespace durnak::client {

inline constexpr const char* kKurulumDosyasi = "DurnakOtoSetup.exe";

class Tdosyaindir : public QDialog {
    Q_OBJECT

public:
    // `_y` is the version the server announced; `adres` the setup's download address
    // (the build-time value unless given).
    Tdosyaindir(QWidget* AOwner, int _y, QString adres = {});

    // Starts the download the first time the window becomes active.
    void FormActivate();
    // Progress of the download: both lengths in bytes, the total 0 or less when unknown.
    void NetHTTPClient1ReceiveData(std::int64_t AContentLength, std::int64_t AReadCount, bool& Abort);
    void NetHTTPClient1RequestError(const QString& AError);

    // "Bilgi: %50,00  İndirilen: 1,25/2,50 Mb" in the display locale.
    static QString IlerlemeMetni(std::int64_t toplam, std::int64_t alinan);
    // The local (non-roaming) data folder + "/DurnakOtoSetup.exe".
    static QString HedefDosya();

    bool basladi = false;
    QString adres;
    // Ends the process; tests replace it.
    std::function<void(int)> ProgramiBitir;

    QLabel* sLabel1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* bilgi = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

protected:
    void changeEvent(QEvent* olay) override;
    void showEvent(QShowEvent* olay) override;
};

} // namespace durnak::client
