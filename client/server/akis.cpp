#include "server/akis.hpp"

#include <algorithm>
#include <cstring>

namespace durnak::client {

void TStream::SetPosition(std::int64_t konum)
{
    konum_ = std::clamp<std::int64_t>(konum, 0, Size());
}

std::int64_t TStream::Read(char* hedef, std::int64_t adet)
{
    const std::int64_t n = std::clamp<std::int64_t>(Size() - konum_, 0, std::max<std::int64_t>(adet, 0));
    if (n > 0) std::memcpy(hedef, baytlar_.data() + konum_, static_cast<std::size_t>(n));
    konum_ += n;
    return n;
}

std::optional<QByteArray> AkisOku(TStream* akis, std::int64_t beyanBoy)
{
    if (akis == nullptr || beyanBoy <= 0) return std::nullopt;
    QByteArray icerik;
    char parca[kAkisParcasi];
    akis->SetPosition(0);
    for (;;) {
        const std::int64_t n = akis->Read(parca, kAkisParcasi);
        icerik.append(parca, static_cast<qsizetype>(n));
        if (n < kAkisParcasi) break;
    }
    if (icerik.size() != beyanBoy) return std::nullopt;
    return icerik;
}

} // namespace durnak::client
