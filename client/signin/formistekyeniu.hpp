#pragma once

// The request form window: the dealer's web request form for a workstation the server does
// not know yet, in a browser filling the window, and a "Kapat" button.

#include <QDialog>
#include <QUrl>

class QPushButton;
class QWebEngineView;
class QWidget;

namespace durnak::client {

class Tformistekyeni : public QDialog {
    Q_OBJECT

public:
    explicit Tformistekyeni(QWidget* sahip = nullptr);

    // Navigates the browser.
    void Git(const QUrl& adres);
    // The address the browser was sent to.
    QUrl adres() const { return adres_; }

    void Button1Click();

    QWebEngineView* sitem = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    void showEvent(QShowEvent* olay) override;

private:
    QUrl adres_;
};

} // namespace durnak::client
