#pragma once

// Two-step background tasks: the first step on a worker of one shared pool, the second on
// the main thread afterwards. Plus the two hand-overs from a worker to the main thread
// (wait-for-it and queue-it) and the default error display.
//
//   auto kayit = std::make_shared<Kayit>();
//   ArkaPlanda([kayit] { kayit->hata = Yukle(); })
//       ->Await([kayit] { if (kayit->hata) MesajGoster(...); });
//
// No exception ever unwinds into Qt's event loop: an error escaping the first step is kept
// and shown by the default error display after the second step has run; an error of the
// second step (or of a queued procedure) is shown the same way.

#include <exception>
#include <functional>
#include <memory>

#include <QString>

class QObject;
class QThreadPool;

namespace durnak::client {

using TProc = std::function<void()>;

class IAwait {
public:
    virtual ~IAwait() = default;
    // Starts the task and returns at once. Only the first call starts anything.
    virtual void Await(TProc ikinciAdim) = 0;
};

// Takes the first step; nothing runs until Await.
std::shared_ptr<IAwait> ArkaPlanda(TProc birinciAdim);

// The pool every first step runs on (created on first use, lives for the process).
QThreadPool& ArkaPlanHavuzu();

// Wait-for-it: runs the procedure on the main thread and returns when it has finished;
// on the main thread itself it runs at once. An exception it raises is thrown again to
// the caller.
void AnaThreaddeCalistir(const TProc& islem);

// Queue-it: posts the procedure to the main thread and returns at once. Errors it raises
// go to the default error display.
void AnaThreadeKuyrukla(TProc islem);
// The same, dropped unnoticed when `baglam` is destroyed before its turn comes.
void AnaThreadeKuyrukla(QObject* baglam, TProc islem);

bool AnaThreaddeMi();

// The default error display: shows the error's text (an error message box). Call on the
// main thread.
void HataGoster(const std::exception_ptr& hata);
void HataGoster(const QString& metin);
// The text an error shows; unknown kinds get a generic text.
QString HataMetni(const std::exception_ptr& hata);

// Replaces the default error display (tests count what would be shown). Returns the one
// it replaces; an empty function restores the message box.
using HataGosterici = std::function<void(const QString&)>;
HataGosterici HataGostericiAyarla(HataGosterici gosterici);

// Keeps one load of a kind from running twice at once: Basla() is false while an earlier
// load that it started has not called Bitti(). Main thread only.
class TekYukleme {
public:
    bool Basla();
    void Bitti() { calisiyor_ = false; }
    bool Calisiyor() const { return calisiyor_; }

private:
    bool calisiyor_ = false;
};

} // namespace durnak::client
