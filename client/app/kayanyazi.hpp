#pragma once

// A line that scrolls from right to left: simple HTML text (the scrolling text `kayanyazi`)
// or a picture (the bottom banner `RealTimeMarquee1`). The timer runs only while the
// widget is visible and has something to show.

#include <QPixmap>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

namespace durnak::client {

class TKayanYazi : public QWidget {
    Q_OBJECT

public:
    explicit TKayanYazi(QWidget* parent = nullptr);

    void setHtml(const QString& html);
    QString html() const { return html_; }
    void setResim(const QPixmap& resim);
    QPixmap resim() const { return resim_; }
    void temizle();

    // Pixels per step and the step interval.
    void setHiz(int piksel, int aralikMs);

protected:
    void paintEvent(QPaintEvent* olay) override;
    void showEvent(QShowEvent* olay) override;
    void hideEvent(QHideEvent* olay) override;
    void resizeEvent(QResizeEvent* olay) override;

private:
    void adimAt();
    void zamanlayiciyiAyarla();
    int icerikGenisligi() const;

    QString html_;
    QTextDocument belge_;
    QPixmap resim_;
    QTimer zamanlayici_;
    int konum_ = 0;
    int adim_ = 2;
};

} // namespace durnak::client
