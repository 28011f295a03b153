#pragma once

// The three frames every server call is made in. Each makes the proxy on an open
// connection, runs the given function with it, and on every path (also when the function
// throws) releases the proxy first and then closes and releases the connection it used.
// Record copies the function hands to the proxy are released by the proxy.
//
//   CagriA(bagc, [&](TServerMethods1Client& p) { p.SepetHepsiniSil(Kopya(sbilgi)); });

#include <memory>
#include <utility>

#include "server/baglanti.hpp"
#include "server/proxim.hpp"

namespace durnak::client {

namespace detail {

// Closes the connection when the frame ends; declared before the proxy so that the
// proxy is released first.
class Kapatici {
public:
    explicit Kapatici(TBaglanti& baglanti) : baglanti_(baglanti) {}
    ~Kapatici() { baglanti_.Close(); }
    Kapatici(const Kapatici&) = delete;
    Kapatici& operator=(const Kapatici&) = delete;

private:
    TBaglanti& baglanti_;
};

} // namespace detail

// Frame A: the shared connection on the main thread. BaglantiAc with the message
// (flag 1, or 0 where the caller wants none); false when it could not open.
template <class F>
bool CagriA(TBaglanti& bagc, F&& islem, int mesajFlag = 1)
{
    if (!BaglantiAc(bagc, mesajFlag)) return false;
    detail::Kapatici kapatici(bagc);
    TServerMethods1Client proxy(bagc);
    std::forward<F>(islem)(proxy);
    return true;
}

// Frame B: a private clone of the shared connection, for background steps and handlers
// that must not disturb `bagc`. False when the clone could not open.
template <class F>
bool CagriB(const TBaglanti& bagc, int mesajFlag, F&& islem)
{
    std::unique_ptr<TBaglanti> klon = bagc.Clone();
    if (!BaglantiAc(*klon, mesajFlag)) return false;
    detail::Kapatici kapatici(*klon);
    TServerMethods1Client proxy(*klon);
    std::forward<F>(islem)(proxy);
    return true;
}

// Frame C: a plain open of a connection handed to a window; no retry, no message, every
// error propagates. Returns a copy of what the function returns: the proxy's results do
// not outlive the frame.
template <class F>
auto CagriC(TBaglanti& baglanti, F&& islem)
{
    baglanti.Open();
    detail::Kapatici kapatici(baglanti);
    TServerMethods1Client proxy(baglanti);
    return std::forward<F>(islem)(proxy);
}

} // namespace durnak::client
