#include "admin/seed.hpp"

#include <array>
#include <cmath>
#include <ctime>
#include <stdexcept>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <soci/soci.h>

#include "admin/pictures.hpp"
#include "domain/catalogue_index.hpp"
#include "domain/passwords.hpp"
#include "domain/pricing.hpp"
#include "methods/domain_support.hpp"
#include "store/dialect.hpp"

namespace durnak::admin {

namespace domain = durnak::server::domain;

const DemoUser kDemoUsers[4] = {
    {"TEMSILCI", "DEMO", 1, "satış temsilcisi (tüm carileri)"},
    {"BOLGE", "DEMO", 2, "bölge temsilcisi"},
    {"DEMO", "DEMO", 3, "cari kullanıcısı (1001 Yıldız Oto)"},
    {"KISITLI", "DEMO", 4, "kısıtlı cari kullanıcısı (1002)"},
};

std::string ean13(unsigned long long n)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "869%09llu", n % 1000000000ull);
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += (digits[i] - '0') * (i % 2 ? 3 : 1);
    digits[12] = static_cast<char>('0' + (10 - sum % 10) % 10);
    digits[13] = '\0';
    return digits;
}

namespace {

using Rng = std::mt19937;

template <class T, std::size_t N>
const T& pick(Rng& rng, const std::array<T, N>& list)
{
    return list[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

double money(Rng& rng, double lo, double hi)
{
    return domain::roundMoney(std::uniform_real_distribution<double>(lo, hi)(rng));
}

struct PartKind {
    const char* name;
    const char* group;
    const char* prefix;
    const char* unit;
    double low, high;
};

const std::array<PartKind, 40> kParts = {{
    {"Fren Balatası", "Fren Sistemi", "FB", "TAKIM", 250, 1800},
    {"Fren Diski", "Fren Sistemi", "FD", "ADET", 400, 3500},
    {"Fren Kaliperi", "Fren Sistemi", "FK", "ADET", 900, 6000},
    {"Fren Hortumu", "Fren Sistemi", "FH", "ADET", 80, 450},
    {"Yağ Filtresi", "Filtre", "YF", "ADET", 60, 400},
    {"Hava Filtresi", "Filtre", "HF", "ADET", 90, 600},
    {"Polen Filtresi", "Filtre", "PF", "ADET", 70, 450},
    {"Yakıt Filtresi", "Filtre", "YK", "ADET", 120, 900},
    {"Amortisör", "Süspansiyon", "AM", "ADET", 700, 4500},
    {"Amortisör Takozu", "Süspansiyon", "AT", "ADET", 150, 900},
    {"Rot Başı", "Süspansiyon", "RB", "ADET", 150, 800},
    {"Rot Mili", "Süspansiyon", "RM", "ADET", 200, 1100},
    {"Salıncak", "Süspansiyon", "SL", "ADET", 500, 3200},
    {"Helezon Yay", "Süspansiyon", "HY", "ADET", 400, 2200},
    {"Debriyaj Seti", "Şanzıman", "DS", "TAKIM", 1800, 9000},
    {"Şanzıman Takozu", "Şanzıman", "ST", "ADET", 250, 1400},
    {"Aks Körüğü", "Şanzıman", "AK", "ADET", 90, 500},
    {"Aks Mafsalı", "Şanzıman", "AF", "ADET", 600, 3200},
    {"Triger Seti", "Motor", "TS", "TAKIM", 1200, 7000},
    {"Devirdaim Pompası", "Soğutma", "DP", "ADET", 600, 3800},
    {"Radyatör", "Soğutma", "RD", "ADET", 1500, 8000},
    {"Termostat", "Soğutma", "TR", "ADET", 180, 1200},
    {"Fan Motoru", "Soğutma", "FM", "ADET", 900, 4800},
    {"Buji", "Ateşleme", "BJ", "ADET", 60, 450},
    {"Ateşleme Bobini", "Ateşleme", "AB", "ADET", 500, 2600},
    {"Şarj Dinamosu", "Elektrik", "SD", "ADET", 2500, 12000},
    {"Marş Motoru", "Elektrik", "MM", "ADET", 2200, 11000},
    {"Far Ampulü", "Elektrik", "FA", "ADET", 40, 350},
    {"Stop Lambası", "Aydınlatma", "SL", "ADET", 350, 2500},
    {"Far", "Aydınlatma", "FR", "ADET", 1500, 12000},
    {"Silecek Süpürgesi", "Aksesuar", "SS", "ADET", 120, 650},
    {"Egzoz Susturucu", "Egzoz", "ES", "ADET", 700, 4200},
    {"Oksijen Sensörü", "Egzoz", "OS", "ADET", 800, 4500},
    {"Motor Takozu", "Motor", "MT", "ADET", 300, 1900},
    {"Silindir Kapak Contası", "Motor", "SK", "ADET", 300, 1600},
    {"Enjektör", "Yakıt Sistemi", "EN", "ADET", 1500, 9000},
    {"Yakıt Pompası", "Yakıt Sistemi", "YP", "ADET", 900, 5200},
    {"Kapı Kolu", "Kaporta", "KK", "ADET", 150, 900},
    {"Dikiz Ayna Camı", "Kaporta", "DA", "ADET", 120, 800},
    {"Cam Kriko Motoru", "Kaporta", "CK", "ADET", 600, 3000},
}};

const std::array<const char*, 12> kSides = {"Ön", "Arka", "Sağ", "Sol", "Ön Sağ", "Ön Sol",
                                            "Arka Sağ", "Arka Sol", "", "", "", ""};
// Invented makes of parts and of vehicles: no real brand is named.
const std::array<const char*, 10> kPartMakes = {"Kayra", "Atlas Parça", "Ekin", "Tekin Oto", "Yapar",
                                                "Demirel Döküm", "Seçkin", "Anadol Yedek", "Ulu", "Bozkır"};
const std::array<const char*, 8> kVehicles = {"Anka", "Toros", "Kartal", "Poyraz", "Bora", "Doğan", "Tuna", "Efe"};
const std::array<const char*, 8> kModels = {"Sedan 1.6", "Hatchback 1.4", "Kombi 1.5 dCi", "Van 2.0",
                                            "Pikap 2.2", "Coupe 1.8", "Minibüs 2.5", "SW 1.3"};
const std::array<const char*, 12> kCities = {"İstanbul", "Ankara", "İzmir", "Bursa", "Konya", "Kayseri",
                                             "Gaziantep", "Eskişehir", "Samsun", "Adana", "Trabzon", "Diyarbakır"};
const std::array<const char*, 12> kFirmWords = {"Yıldız", "Güneş", "Özdemir", "Çelik", "Akdağ", "Ertuğrul",
                                                "Şahin", "Karaca", "Ilgaz", "Öztürk", "Gökçe", "Aydın"};
const std::array<const char*, 4> kFirmKinds = {"Oto Yedek Parça Ltd. Şti.", "Otomotiv San. ve Tic. A.Ş.",
                                               "Oto Servis", "Yedek Parça Tic."};

std::string oemNumber(Rng& rng)
{
    char text[32];
    const char letters[] = "ABCDEFGHJKLMNPRSTVWXYZ";
    std::uniform_int_distribution<int> digit(0, 9), letter(0, 21);
    std::snprintf(text, sizeof text, "%d%c%d %d%d%d %d%d%d %c", digit(rng), letters[letter(rng)], digit(rng),
                  digit(rng), digit(rng), digit(rng), digit(rng), digit(rng), digit(rng), letters[letter(rng)]);
    return text;
}

std::string dayText(int daysAgo, int hour = 10)
{
    // Fixed reference so the demo data is the same on every run; recent enough to show.
    std::time_t t = std::time(nullptr) - static_cast<std::time_t>(daysAgo) * 86400;
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:00", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, hour, (daysAgo * 7) % 60);
    return text;
}

void seedPeople(soci::session& sql, Rng& rng, std::ostream& log)
{
    sql << "INSERT INTO sales_reps (id, name, email, phone) VALUES"
           " (1, 'Mehmet Yılmaz', 'mehmet.yilmaz@durnak.example', '0212 555 10 01'),"
           " (2, 'Ayşe Kaya', 'ayse.kaya@durnak.example', '0212 555 10 02'),"
           " (3, 'Hüseyin Çınar', 'huseyin.cinar@durnak.example', '0212 555 10 03')";
    soci::statement insert = (sql.prepare << "INSERT INTO customers (carino, code, name, address1, district, city,"
                                             " phone1, email, tax_office, tax_no, contact, main_group, rep_id,"
                                             " disc1, disc2, disc3, disc4, payment_days)"
                                             " VALUES (:carino, :code, :name, :address, :district, :city, :phone,"
                                             " :email, :office, :taxno, :contact, :grp, :rep, :d1, :d2, :d3, :d4,"
                                             " :days)");
    int carino = 0, rep = 0, days = 0;
    std::string code, name, address, district, city, phone, email, office, taxno, contact, group;
    double d1 = 0, d2 = 0, d3 = 0, d4 = 0;
    insert.exchange(soci::use(carino));
    for (auto* s : {&code, &name, &address, &district, &city, &phone, &email, &office, &taxno, &contact, &group})
        insert.exchange(soci::use(*s));
    insert.exchange(soci::use(rep));
    for (auto* d : {&d1, &d2, &d3, &d4}) insert.exchange(soci::use(*d));
    insert.exchange(soci::use(days));
    insert.define_and_bind();
    const std::array<std::array<double, 4>, 6> discountPlans = {
        {{10, 5, 0, 0}, {15, 0, 0, 0}, {20, 5, 2, 0}, {5, 0, 0, 0}, {0, 0, 0, 0}, {12.5, 3, 0, 0}}};
    for (int i = 0; i < 40; ++i) {
        carino = 1001 + i;
        code = "120.01." + std::to_string(carino);
        name = i == 0 ? "Yıldız Oto Yedek Parça Ltd. Şti."
                      : std::string(pick(rng, kFirmWords)) + " " + pick(rng, kFirmKinds);
        city = i == 0 ? "İstanbul" : pick(rng, kCities);
        district = "Merkez";
        address = "Sanayi Sitesi " + std::to_string(1 + i % 9) + ". Blok No:" + std::to_string(10 + i);
        phone = "0" + std::to_string(212 + i % 40) + " 444 " + std::to_string(1000 + i);
        email = "cari" + std::to_string(carino) + "@ornek.example";
        office = city + " Vergi Dairesi";
        taxno = std::to_string(1000000000ll + carino * 7919ll);
        contact = "Yetkili " + std::to_string(carino);
        group = i % 3 == 0 ? "BAYİ" : "SERVİS";
        rep = 1 + i % 3;
        const auto& plan = discountPlans[static_cast<std::size_t>(i) % discountPlans.size()];
        d1 = plan[0], d2 = plan[1], d3 = plan[2], d4 = plan[3];
        days = 30 + 15 * (i % 3);
        insert.execute(true);
    }

    const int carinos[4] = {1001, 1001, 1001, 1002};
    const int reps[4] = {1, 2, 0, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& u = kDemoUsers[i];
        std::string username = u.username, hash = domain::hashPassword(u.password);
        std::string mail = std::string(u.username) + "@durnak.example";
        int type = u.type, c = carinos[i], r = reps[i];
        soci::indicator repInd = r ? soci::i_ok : soci::i_null;
        sql << "INSERT INTO users (id, username, password_hash, user_type, carino, rep_id, email)"
               " VALUES (:id, :u, :h, :t, :c, :r, :m)",
            soci::use(static_cast<int>(i + 1)), soci::use(username), soci::use(hash), soci::use(type), soci::use(c),
            soci::use(r, repInd), soci::use(mail);
    }
    log << "40 cari, 3 temsilci, 4 kullanıcı\n";
}

void seedChoices(soci::session& sql)
{
    sql << "INSERT INTO delivery_modes (id, name, sort) VALUES (1, 'Gel Al', 1), (2, 'Kargo ile', 2),"
           " (3, 'Servis Aracı ile', 3), (4, 'Adrese Teslim', 4)";
    sql << "INSERT INTO cargo_kinds (id, name, sort) VALUES (1, 'Anlaşmalı Kargo', 1), (2, 'Ambar', 2),"
           " (3, 'Kurye', 3)";
    sql << "INSERT INTO cargo_firms (id, kind_id, name, warning, sort) VALUES"
           " (1, 1, 'Hızlı Kargo', 'Saat 16:00''dan sonraki siparişler ertesi gün çıkar.', 1),"
           " (2, 1, 'Yurtiçi Taşıma', '', 2),"
           " (3, 1, 'Anadolu Kargo', 'Ödeme alıcıdan alınır.', 3),"
           " (4, 2, 'Ege Ambarı', 'Ambar teslimi yalnız hafta içi.', 1),"
           " (5, 2, 'Karadeniz Ambarı', '', 2),"
           " (6, 3, 'Şehir İçi Kurye', 'Yalnız İstanbul içi.', 1)";
}

struct ItemRow {
    long long stokno = 0;
    std::string code, name, otherName, oem1, oem2, oem3, oem4, pkod, dpkod, makerCode, special, special1, barcode;
    std::string make, model, group, unit;
    double vat = 20, list = 0, campaign = 0, remaining = 0;
    int isNew = 0, isCampaign = 0, durum = 1;
};

void seedCatalogue(soci::session& sql, Rng& rng, const SeedOptions& options, std::ostream& log)
{
    ItemRow r;
    soci::statement insert =
        (sql.prepare << "INSERT INTO stock (stokno, code, name, other_name, oem1, oem2, oem3, oem4, pkod, dpkod,"
                        " maker_code, special_code, special_code1, barcode, make, model, main_group, unit, vat,"
                        " list_price, campaign_price, is_new, is_campaign, durum, remaining, created_at)"
                        " VALUES (:n, :code, :name, :other, :o1, :o2, :o3, :o4, :pk, :dp, :mk, :sp, :sp1, :bar,"
                        " :make, :model, :grp, :unit, :vat, :list, :camp, :new, :isc, :durum, :rem, :at)");
    std::string createdAt;
    insert.exchange(soci::use(r.stokno));
    for (auto* s : {&r.code, &r.name, &r.otherName, &r.oem1, &r.oem2, &r.oem3, &r.oem4, &r.pkod, &r.dpkod,
                    &r.makerCode, &r.special, &r.special1, &r.barcode, &r.make, &r.model, &r.group, &r.unit})
        insert.exchange(soci::use(*s));
    for (auto* d : {&r.vat, &r.list, &r.campaign}) insert.exchange(soci::use(*d));
    insert.exchange(soci::use(r.isNew));
    insert.exchange(soci::use(r.isCampaign));
    insert.exchange(soci::use(r.durum));
    insert.exchange(soci::use(r.remaining));
    insert.exchange(soci::use(createdAt));
    insert.define_and_bind();

    long long pictureNo = 0;
    std::string jpeg;
    domain::StockIndexer indexer(sql);
    std::discrete_distribution<int> durum({5, 70, 8, 8, 5, 4});
    const std::string oldDay = dayText(400), recentDay = dayText(5);
    const auto dialect = server::dialectOf(sql);
    for (std::size_t i = 1; i <= options.items; ++i) {
        const auto& kind = kParts[std::uniform_int_distribution<std::size_t>(0, kParts.size() - 1)(rng)];
        r.stokno = static_cast<long long>(i);
        char code[32];
        std::snprintf(code, sizeof code, "%s-%06zu", kind.prefix, i);
        r.code = code;
        const char* side = pick(rng, kSides);
        r.name = std::string(kind.name) + (*side ? " " : "") + side;
        r.make = pick(rng, kPartMakes);
        r.model = std::string(pick(rng, kVehicles)) + " " + pick(rng, kModels);
        r.otherName = i % 5 == 0 ? std::string(kind.name) + " " + r.model : "";
        r.oem1 = oemNumber(rng);
        r.oem2 = i % 2 ? oemNumber(rng) : "";
        r.oem3 = i % 7 == 0 ? oemNumber(rng) : "";
        r.oem4 = "";
        r.pkod = r.oem1;
        r.dpkod = "";
        r.makerCode = std::string(kind.prefix) + std::to_string(100000 + (i * 7919) % 900000);
        r.special = i % 10 == 0 ? "İTHAL" : "YERLİ";
        r.special1 = "";
        r.barcode = ean13(i);
        r.group = kind.group;
        r.unit = kind.unit;
        r.vat = 20;
        r.list = money(rng, kind.low, kind.high);
        r.isNew = i % 33 == 0 ? 1 : 0;
        r.isCampaign = i % 25 == 0 ? 1 : 0;
        r.campaign = r.isCampaign ? domain::roundMoney(r.list * 0.8) : 0;
        r.durum = durum(rng);
        r.remaining = r.durum == 0 ? 0 : std::uniform_int_distribution<int>(1, 120)(rng);
        createdAt = r.isNew ? recentDay : oldDay;
        insert.execute(true);
        indexer.index(r.stokno, {r.code, r.name, r.otherName, r.oem1, r.oem2, r.oem3, r.oem4, r.pkod, r.makerCode,
                                 r.barcode, r.make, r.model, r.group});
        if (options.pictures && i % 4 == 1) {
            pictureNo = r.stokno;
            jpeg = server::dialect::blobValue(dialect, demoJpeg(static_cast<std::uint32_t>(i)));
            // SOCI binds std::string as text (with its length); the cast stores the bytes as a blob.
            sql << "INSERT INTO stock_pictures (stokno, jpeg) VALUES (:n, " +
                       server::dialect::blobParam(dialect, ":j") + ")",
                soci::use(pictureNo), soci::use(jpeg);
        }
        if (i % 100000 == 0) log << i << " stok...\n" << std::flush;
    }
    log << options.items << " stok kartı\n";
}

void seedOrders(soci::session& sql, Rng& rng, std::size_t items, std::ostream& log)
{
    if (items == 0) return;
    int orders = 0;
    for (int carino = 1001; carino <= 1010; ++carino) {
        double d1 = 0, d2 = 0, d3 = 0, d4 = 0;
        sql << "SELECT disc1, disc2, disc3, disc4 FROM customers WHERE carino = :c", soci::into(d1), soci::into(d2),
            soci::into(d3), soci::into(d4), soci::use(carino);
        const domain::Discounts rates{d1, d2, d3, d4};
        for (int k = 0; k < 8; ++k) {
            const int status = (k + carino) % 6;
            std::string created = dayText(3 + k * 9 + carino % 5, 9 + k);
            std::string note = k % 2 ? "Acil gönderilmesi rica olunur." : "";
            std::string dealerNote = status >= 1 ? "Siparişiniz işleme alındı." : "";
            int delivery = 1 + k % 4, kind = 1 + k % 3;
            int firm = kind == 1 ? 1 + k % 3 : kind == 2 ? 4 : 6;
            int user = carino == 1001 ? 3 : 1;
            sql << "INSERT INTO orders (carino, created_at, status, delivery_id, cargo_kind_id, cargo_firm_id,"
                   " customer_note, dealer_note, entered_by) VALUES (:c, :t, :s, :d, :k, :f, :n, :dn, :u)",
                soci::use(carino), soci::use(created), soci::use(status), soci::use(delivery), soci::use(kind),
                soci::use(firm), soci::use(note), soci::use(dealerNote), soci::use(user);
            long long orderId = 0;
            orderId = server::dialect::lastInsertId(sql);
            server::DocumentTotals totals;
            const int lines = 1 + static_cast<int>(rng() % 6);
            for (int l = 0; l < lines; ++l) {
                long long stokno = 1 + static_cast<long long>(rng() % items);
                double list = 0, vatRate = 0;
                sql << "SELECT list_price, vat FROM stock WHERE stokno = :n", soci::into(list), soci::into(vatRate),
                    soci::use(stokno);
                double qty = 1 + rng() % 10;
                const auto a = domain::lineAmounts(qty, list, rates, vatRate);
                double balance = status == 3 ? 0 : status == 2 ? std::floor(qty / 2) : qty;
                double delivered = qty - balance;
                sql << "INSERT INTO order_lines (order_id, stokno, qty, delivered_qty, balance_qty, unit_price,"
                       " disc1, disc2, disc3, disc4, vat, net_unit_price, gross, discount, net, vat_amount)"
                       " VALUES (:o, :s, :q, :dq, :b, :p, :d1, :d2, :d3, :d4, :v, :nu, :g, :di, :n, :va)",
                    soci::use(orderId), soci::use(stokno), soci::use(qty), soci::use(delivered), soci::use(balance),
                    soci::use(list), soci::use(d1), soci::use(d2), soci::use(d3), soci::use(d4), soci::use(vatRate),
                    soci::use(a.netUnit), soci::use(a.gross), soci::use(a.discount), soci::use(a.net),
                    soci::use(a.vat);
                totals.add(a);
            }
            totals.store(sql, "orders", orderId);
            ++orders;
        }
    }
    log << orders << " sipariş\n";
}

void seedStatements(soci::session& sql, Rng& rng, std::size_t items, std::ostream& log)
{
    if (items == 0) return;
    int invoices = 0;
    for (int carino = 1001; carino <= 1010; ++carino) {
        for (int k = 0; k < 6; ++k) {
            const int daysAgo = 120 - k * 20;
            std::string issued = dayText(daysAgo), due = dayText(daysAgo - 30);
            char number[32];
            std::snprintf(number, sizeof number, "DRN2026%06d", carino * 10 + k);
            std::string numberText = number;
            sql << "INSERT INTO invoices (carino, number, issued_on, due_on) VALUES (:c, :n, :i, :d)",
                soci::use(carino), soci::use(numberText), soci::use(issued), soci::use(due);
            long long invoiceId = 0;
            invoiceId = server::dialect::lastInsertId(sql);
            server::DocumentTotals totals;
            for (int l = 0; l < 3; ++l) {
                long long stokno = 1 + static_cast<long long>(rng() % items);
                std::string code, name;
                double list = 0, vatRate = 0;
                sql << "SELECT code, name, list_price, vat FROM stock WHERE stokno = :n", soci::into(code),
                    soci::into(name), soci::into(list), soci::into(vatRate), soci::use(stokno);
                double qty = 1 + rng() % 5, rate = 10;
                const auto a = domain::lineAmounts(qty, list, {rate, 0, 0, 0}, vatRate);
                sql << "INSERT INTO invoice_lines (invoice_id, stokno, code, name, qty, unit_price, discount_rate,"
                       " vat, net, vat_amount) VALUES (:i, :s, :c, :n, :q, :p, :r, :v, :ne, :va)",
                    soci::use(invoiceId), soci::use(stokno), soci::use(code), soci::use(name), soci::use(qty),
                    soci::use(list), soci::use(rate), soci::use(vatRate), soci::use(a.net), soci::use(a.vat);
                totals.add(a);
            }
            totals.store(sql, "invoices", invoiceId);
            double total = totals.total();
            std::string description = "Satış Faturası " + numberText;
            sql << "INSERT INTO account_movements (carino, happened_on, due_on, kind, invoice_id, document_no,"
                   " description, debit) VALUES (:c, :h, :d, 1, :i, :n, :t, :a)",
                soci::use(carino), soci::use(issued), soci::use(due), soci::use(invoiceId), soci::use(numberText),
                soci::use(description), soci::use(total);
            ++invoices;

            // Every other invoice is paid: cash, then a card payment through the virtual POS.
            if (k % 2 == 0) {
                std::string paid = dayText(daysAgo - 10);
                const bool pos = k % 4 == 0;
                int kind = pos ? 4 : 2;
                std::string doc = (pos ? "POS" : "MKB") + std::to_string(carino * 10 + k);
                std::string text = pos ? "Sanal POS Tahsilatı" : "Nakit Tahsilat";
                sql << "INSERT INTO account_movements (carino, happened_on, due_on, kind, document_no, description,"
                       " credit) VALUES (:c, :h, :d, :k, :n, :t, :a)",
                    soci::use(carino), soci::use(paid), soci::use(paid), soci::use(kind), soci::use(doc),
                    soci::use(text), soci::use(total);
                long long movement = 0;
                movement = server::dialect::lastInsertId(sql);
                std::string method = pos ? "Kredi Kartı" : "Nakit";
                std::string card = pos ? "5400 01** **** 1234" : "";
                std::string bank = pos ? "Demo Bankası" : "";
                sql << "INSERT INTO collections (movement_id, method, amount, card_mask, bank, due_on)"
                       " VALUES (:m, :me, :a, :c, :b, :d)",
                    soci::use(movement), soci::use(method), soci::use(total), soci::use(card), soci::use(bank),
                    soci::use(paid);
                if (pos) {
                    std::string auth = std::to_string(100000 + carino * 3 + k);
                    sql << "INSERT INTO pos_receipts (movement_id, card_mask, auth_code, installments, amount)"
                           " VALUES (:m, :c, :a, 1, :t)",
                        soci::use(movement), soci::use(card), soci::use(auth), soci::use(total);
                }
            }
        }
        // A refund paid to the customer.
        std::string when = dayText(15), doc = "ODM" + std::to_string(carino), text = "İade Ödemesi";
        double amount = 150;
        sql << "INSERT INTO account_movements (carino, happened_on, due_on, kind, document_no, description, debit)"
               " VALUES (:c, :h, :d, 3, :n, :t, :a)",
            soci::use(carino), soci::use(when), soci::use(when), soci::use(doc), soci::use(text), soci::use(amount);
    }
    log << invoices << " fatura\n";
}

void seedPromotions(soci::session& sql, std::ostream& log)
{
    std::string marquee = "<b>Durnak Otomotiv</b> B2B'ye hoş geldiniz. Kampanyalı ürünlerde <b>%20</b> indirim!";
    sql << "INSERT INTO settings (name, value) VALUES ('kayan_yazi', :v)"
           " ON CONFLICT(name) DO UPDATE SET value = excluded.value, updated_at = CURRENT_TIMESTAMP",
        soci::use(marquee);
    struct Screen {
        int kind;
        const char* title;
        const char* target;
    };
    const Screen screens[] = {
        {1, "Kampanyalı ürünler", "#KAMPANYA#"},
        {1, "Yeni gelen ürünler", "#YENİ#"},
        {1, "Fren sistemlerinde yeni stok", "FREN"},
        {1, "Filtre çeşitlerimiz genişledi", "FILTRE"},
        {2, "Bahar kampanyası başladı", "#KAMPANYA#"},
        {2, "Yeni ürünlerimizi inceleyin", "#YENİ#"},
        {2, "Amortisörlerde fırsat", "AMORTISOR"},
    };
    int sort = 0;
    for (const auto& s : screens) {
        const auto d = server::dialectOf(sql);
        const std::string jpeg = server::dialect::blobValue(d, demoJpeg(900u + static_cast<std::uint32_t>(sort), 480, 270));
        std::string title = s.title, target = s.target;
        int kind = s.kind;
        ++sort;
        sql << "INSERT INTO screens (kind, title, picture, target, sort) VALUES (:k, :t, " +
                   server::dialect::blobParam(d, ":p") + ", :a, :s)",
            soci::use(kind), soci::use(title), soci::use(jpeg), soci::use(target), soci::use(sort);
    }
    for (int slot = 1; slot <= 3; ++slot) {
        // The header and upper banners play GIFs, the bottom one scrolls a bitmap.
        const auto seed = 700u + static_cast<std::uint32_t>(slot);
        const auto d = server::dialectOf(sql);
        const std::string picture = server::dialect::blobValue(d, slot == 1 ? demoGif(seed, 409, 100)
                                                                  : slot == 2 ? demoGif(seed, 800, 40)
                                                                              : demoBmp(seed, 300, 30));
        sql << "INSERT INTO banners (slot, picture) VALUES (:s, " + server::dialect::blobParam(d, ":p") + ")",
            soci::use(slot), soci::use(picture);
    }
    log << "duyurular, açılış reklamları, bannerlar, kayan yazı\n";
}

} // namespace

void seedDemo(soci::session& sql, const SeedOptions& options, std::ostream& log)
{
    int existing = 0;
    sql << "SELECT COUNT(*) FROM customers", soci::into(existing);
    if (existing > 0) throw std::runtime_error("the database already holds data; seed an empty one");
    Rng rng(20260401);
    server::dialect::beginWrite(sql);
    try {
        seedPeople(sql, rng, log);
        seedChoices(sql);
        seedCatalogue(sql, rng, options, log);
        seedOrders(sql, rng, options.items, log);
        seedStatements(sql, rng, options.items, log);
        seedPromotions(sql, log);
        // Rows above carry explicit numbers; new ones continue after them.
        server::dialect::syncKeySequences(sql);
        sql << "COMMIT";
    } catch (...) {
        sql << "ROLLBACK";
        throw;
    }
}

} // namespace durnak::admin
