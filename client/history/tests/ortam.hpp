#pragma once

// A signed-in main window against the real durnak-server on loopback, on a throw-away copy
// of the seeded demo database that a test may change with SQL before the server starts.

#include <memory>
#include <string>

#include "durnak/protocol/records.hpp"
#include "server_process.hpp"

namespace durnak::client {
class TBaglanti;
class TForm1;
}

namespace durnak::gecmistest {

// Runs SQL on a database file; throws with SQLite's text on failure.
void SqlCalistir(const std::string& db, const std::string& sql);
// One number from a query.
double SqlSayi(const std::string& db, const std::string& sql);

// The connection set up as the sign-in leaves it: loopback address and port, the
// workstation's computer ID and the typed user/password.
void BaglantiKur(client::TBaglanti& baglanti, std::uint16_t port, const char* bilgisayarId, const char* kullanici);
// The account record for the computer ID (BuyukGetir) as the session record.
protocol::TSonucBilgisi OturumAl(client::TBaglanti& baglanti, const char* bilgisayarId);

struct Ortam {
    std::string db;
    std::unique_ptr<testing::ServerProcess> sunucu;
    std::unique_ptr<client::TForm1> form;
};

// A fresh seeded copy, `sql` applied to it, the server started, the main window created
// (no sign-in window, no push channel), connected and signed in as the given user, and
// wired with GecmisBagla. Representatives act for customer 1001.
std::unique_ptr<Ortam> OrtamKur(const char* bilgisayarId, const char* kullanici, const std::string& sql = {});

// Spins the event loop until the named tab load of the window has finished.
bool YuklemeBitsin(client::TForm1& form, const char* ad);

} // namespace durnak::gecmistest

#include <functional>
#include <vector>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace durnak::gecmistest {

// Answers the modal windows a handler opens, in order. Each step names the kind of window
// it expects and acts on it; a step that opens a further modal window must queue that
// action (QTimer::singleShot), so that the next step can answer it.
class ModalSirasi {
public:
    using Adim = std::function<void(QWidget*)>;

    template <class T>
    ModalSirasi& sonra(std::function<void(T&)> islem)
    {
        adimlar_.push_back({[](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                            [islem](QWidget* w) { islem(*qobject_cast<T*>(w)); }});
        return *this;
    }

    void basla()
    {
        zamanlayici_.setInterval(10);
        QObject::connect(&zamanlayici_, &QTimer::timeout, [this] {
            if (sira_ >= adimlar_.size()) return;
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible() || !adimlar_[sira_].uyar(w)) return;
            auto& adim = adimlar_[sira_++];
            adim.islem(w);
        });
        zamanlayici_.start();
    }

    bool bitti() const { return sira_ == adimlar_.size(); }
    std::size_t sira() const { return sira_; }

private:
    struct Kayit {
        std::function<bool(QWidget*)> uyar;
        Adim islem;
    };
    std::vector<Kayit> adimlar_;
    std::size_t sira_ = 0;
    QTimer zamanlayici_;
};

} // namespace durnak::gecmistest
