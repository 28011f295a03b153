#pragma once

// The main window's page control with owner-drawn tab captions. A caption may carry a count
// in the badge form "12=Stok Listesi": the title is drawn centred in bold and a count above
// 0 in parentheses at the top right, in orange.

#include <QColor>
#include <QString>
#include <QTabBar>
#include <QTabWidget>

namespace durnak::client {

struct RozetBasligi {
    QString baslik;
    int sayi = 0;
};

inline constexpr int kRozetBaslikSiniri = 100;
inline const QColor kRozetRengi{240, 123, 12};

// Splits a caption at its first "=". The text before it must be a whole number (blanks
// around it allowed); when it is not, the whole caption is the title, so that a title
// that itself holds "=" is not cut. The title is at most 100 characters.
RozetBasligi RozetAyristir(const QString& baslik);
// The badge form of a caption: "12=Stok Listesi".
QString RozetliBaslik(int sayi, const QString& baslik);

class RozetliSekmeCubugu : public QTabBar {
    Q_OBJECT

public:
    static constexpr int kGenislik = 120;
    static constexpr int kYukseklik = 45;
    static constexpr int kSimge = 32;

    explicit RozetliSekmeCubugu(QWidget* parent = nullptr);

    // Where the title and the count of a tab are drawn.
    QRect baslikAlani(int sekme) const;

protected:
    QSize tabSizeHint(int sekme) const override;
    QSize minimumTabSizeHint(int sekme) const override;
    void paintEvent(QPaintEvent* olay) override;
};

// sPageControl1.
class TsPageControl : public QTabWidget {
    Q_OBJECT

public:
    explicit TsPageControl(QWidget* parent = nullptr);
    RozetliSekmeCubugu* sekmeCubugu() const { return cubuk_; }

private:
    RozetliSekmeCubugu* cubuk_;
};

} // namespace durnak::client
