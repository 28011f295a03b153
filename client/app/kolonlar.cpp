#include "app/kolonlar.hpp"

namespace durnak::client {

void KolonAyarlari::Ayarla(const QString& alan, bool gorunur, bool secicide)
{
    const Ayar yeni{gorunur, secicide};
    auto it = ayarlar_.find(alan);
    if (it != ayarlar_.end() && *it == yeni) return;
    ayarlar_.insert(alan, yeni);
    emit degisti(alan, gorunur, secicide);
}

std::optional<KolonAyarlari::Ayar> KolonAyarlari::Ayari(const QString& alan) const
{
    auto it = ayarlar_.find(alan);
    if (it == ayarlar_.end()) return std::nullopt;
    return *it;
}

} // namespace durnak::client
