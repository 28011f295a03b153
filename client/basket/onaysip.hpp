#pragma once

// TONAYSIP, the order confirmation window: the summary in a fixed-pitch font and the
// question, answered with "Evet" (OK) or "Hayır" (Cancel, also the close box).

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace durnak::client {

class TONAYSIP : public QDialog {
    Q_OBJECT

public:
    explicit TONAYSIP(QWidget* parent = nullptr);

    // The summary as built (CR LF line breaks); Label2 shows it.
    void SetOzet(const QString& ozet);
    QString Ozet() const { return ozet_; }

    QFrame* Bevel1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;  // Evet
    QPushButton* Button2 = nullptr;  // Hayır

private:
    QString ozet_;
};

} // namespace durnak::client
