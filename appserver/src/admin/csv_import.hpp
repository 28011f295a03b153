#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace soci {
class session;
}

namespace durnak::admin {

struct ImportResult {
    std::size_t inserted = 0;
    std::size_t updated = 0;
};

// Reads a catalogue in CSV (";" or "," separated, header row with column names such as
// KOD;ADI;OEM1;OEM2;OEM3;OEM4;BARKOD;MARKA;MODEL;ANAGRUP;BIRIM;KDV;FIYAT;KAMPFIYAT;DURUM;
// YENI;KAMPANYA; KOD and ADI are required) and adds or updates items by their code, in one
// transaction: a bad row stops the import with its line number and changes nothing.
ImportResult importCatalogueCsv(soci::session& sql, std::istream& in);

} // namespace durnak::admin
