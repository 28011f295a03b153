#pragma once

// The date dialog of the console's report entries: one or two calendar days and "Seç".

#include <QDate>
#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

namespace durnak::client {

class Ttarihsec : public QDialog {
    Q_OBJECT

public:
    explicit Ttarihsec(QWidget* sahip = nullptr);

    // Both date boxes to today.
    void FormCreate();
    // "Seç": closes with OK. The title-bar close is a cancel.
    void Button1Click();

    // The single-date entries hide the second label and box.
    void TekTarih(bool tek);

    // The chosen days, without a time of day.
    QDate Tarih1() const;
    QDate Tarih2() const;

    QLabel* Label1 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QLabel* Label2 = nullptr;
    QDateEdit* DateTimePicker2 = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace durnak::client
