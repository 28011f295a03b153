#include "admin/csv_import.hpp"

#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <soci/soci.h>

#include "domain/catalogue_index.hpp"
#include "domain/search_text.hpp"
#include "store/dialect.hpp"

namespace durnak::admin {
namespace {

// One CSV record; quoted fields may hold the separator, doubled quotes and line breaks.
bool readRecord(std::istream& in, char separator, std::vector<std::string>& fields, std::size_t& line)
{
    fields.clear();
    std::string field;
    bool quoted = false, any = false;
    char c;
    while (in.get(c)) {
        any = true;
        if (quoted) {
            if (c == '"') {
                if (in.peek() == '"') {
                    field += '"';
                    in.get();
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            ++line;
            break;
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!any) return false;
    fields.push_back(std::move(field));
    return true;
}

double number(const std::string& text, std::size_t line, const char* column)
{
    if (text.empty()) return 0;
    std::string t = text;
    // "1.234,50" and "1234.50" both read as 1234.5.
    if (t.find(',') != std::string::npos) {
        std::string plain;
        for (char c : t)
            if (c != '.') plain += c == ',' ? '.' : c;
        t = plain;
    }
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || *end != '\0' || !std::isfinite(v) || v < 0)
        throw std::runtime_error("satır " + std::to_string(line) + ": " + column + " sayı değil: " + text);
    return v;
}

} // namespace

ImportResult importCatalogueCsv(soci::session& sql, std::istream& in)
{
    std::string firstLine;
    std::getline(in, firstLine);
    const char separator = firstLine.find(';') != std::string::npos ? ';' : ',';
    std::vector<std::string> header;
    std::size_t line = 1;
    {
        std::istringstream h(firstLine);
        std::size_t ignored = 0;
        readRecord(h, separator, header, ignored);
    }
    std::map<std::string, std::size_t> columns;
    for (std::size_t i = 0; i < header.size(); ++i) columns[durnak::server::domain::foldText(header[i])] = i;
    if (!columns.count("KOD") || !columns.count("ADI")) throw std::runtime_error("başlık satırında KOD ve ADI olmalı");

    ImportResult result;
    server::dialect::beginWrite(sql);
    try {
        durnak::server::domain::StockIndexer indexer(sql);
        std::vector<std::string> f;
        for (;;) {
            const std::size_t recordLine = line + 1;  // readRecord counts the line breaks it reads
            if (!readRecord(in, separator, f, line)) break;
            if (f.size() == 1 && f[0].empty()) continue;
            auto get = [&](const char* name) -> std::string {
                auto it = columns.find(name);
                return it != columns.end() && it->second < f.size() ? f[it->second] : std::string();
            };
            std::string code = get("KOD"), name = get("ADI");
            if (code.empty() || name.empty())
                throw std::runtime_error("satır " + std::to_string(recordLine) + ": KOD ve ADI boş olamaz");
            std::string oem1 = get("OEM1"), oem2 = get("OEM2"), oem3 = get("OEM3"), oem4 = get("OEM4");
            std::string barcode = get("BARKOD"), make = get("MARKA"), model = get("MODEL"), group = get("ANAGRUP");
            std::string unit = get("BIRIM").empty() ? "ADET" : get("BIRIM");
            double vat = get("KDV").empty() ? 20 : number(get("KDV"), recordLine, "KDV");
            double price = number(get("FIYAT"), recordLine, "FIYAT");
            double campaign = number(get("KAMPFIYAT"), recordLine, "KAMPFIYAT");
            int durum = get("DURUM").empty() ? 1 : static_cast<int>(number(get("DURUM"), recordLine, "DURUM"));
            int isNew = get("YENI") == "1" ? 1 : 0;
            int isCampaign = get("KAMPANYA") == "1" || campaign > 0 ? 1 : 0;
            if (vat > 100 || durum > 5)
                throw std::runtime_error("satır " + std::to_string(recordLine) + ": KDV 0-100, DURUM 0-5 olmalı");

            long long stokno = 0;
            sql << "SELECT stokno FROM stock WHERE code = :c", soci::into(stokno), soci::use(code);
            if (sql.got_data()) {
                sql << "UPDATE stock SET name = :n, oem1 = :o1, oem2 = :o2, oem3 = :o3, oem4 = :o4, barcode = :b,"
                       " make = :m, model = :mo, main_group = :g, unit = :u, vat = :v, list_price = :p,"
                       " campaign_price = :cp, durum = :d, is_new = :y, is_campaign = :k WHERE stokno = :s",
                    soci::use(name), soci::use(oem1), soci::use(oem2), soci::use(oem3), soci::use(oem4),
                    soci::use(barcode), soci::use(make), soci::use(model), soci::use(group), soci::use(unit),
                    soci::use(vat), soci::use(price), soci::use(campaign), soci::use(durum), soci::use(isNew),
                    soci::use(isCampaign), soci::use(stokno);
                ++result.updated;
            } else {
                sql << "INSERT INTO stock (code, name, oem1, oem2, oem3, oem4, pkod, barcode, make, model,"
                       " main_group, unit, vat, list_price, campaign_price, durum, is_new, is_campaign)"
                       " VALUES (:c, :n, :o1, :o2, :o3, :o4, :o1b, :b, :m, :mo, :g, :u, :v, :p, :cp, :d, :y, :k)",
                    soci::use(code), soci::use(name), soci::use(oem1), soci::use(oem2), soci::use(oem3),
                    soci::use(oem4), soci::use(oem1), soci::use(barcode), soci::use(make), soci::use(model),
                    soci::use(group), soci::use(unit), soci::use(vat), soci::use(price), soci::use(campaign),
                    soci::use(durum), soci::use(isNew), soci::use(isCampaign);
                stokno = server::dialect::lastInsertId(sql);
                ++result.inserted;
            }
            indexer.reindex(stokno);
        }
        server::dialect::syncKeySequences(sql);
        sql << "COMMIT";
    } catch (...) {
        sql << "ROLLBACK";
        throw;
    }
    return result;
}

} // namespace durnak::admin
