// Promotions: tab badges, the scrolling text, banners, announcements and opening screens.

#include "dispatch/method_registry.hpp"
#include "durnak/protocol/marshal.hpp"
#include "methods/domain_support.hpp"
#include "store/dialect.hpp"

namespace durnak::server {
namespace {

using protocol::Column;
using protocol::FieldType;
using protocol::Value;

constexpr int kAnnouncement = 1;
constexpr int kOpeningScreen = 2;

protocol::TAcilisEkran screenOf(const soci::row& r)
{
    protocol::TAcilisEkran s;
    s.FSiraNo = static_cast<std::int32_t>(db::integer(r, 0));
    s.FResim = db::text(r, 1);  // SQLite writes the hexadecimal text
    s.FBaslik = db::text(r, 2);
    s.FArama = db::text(r, 3);
    return s;
}

Value bannerReply(CallContext& call, int slot)
{
    std::string picture;
    soci::indicator ind = soci::i_null;
    call.db() << "SELECT picture FROM banners WHERE slot = :s", soci::into(picture, ind), soci::use(slot);
    if (!call.db().got_data() || ind != soci::i_ok) picture.clear();
    else dialect::blobResult(dialectOf(call.db()), picture);
    return Value(protocol::Stream{std::move(picture)});
}

} // namespace

void registerPromotionMethods(MethodRegistry& registry)
{
    // One row: basket lines, new items, campaign items, announcements, open order balances.
    registry.add("BalonGetir", [](CallContext& call, std::vector<Value>& params) {
        const auto session = sessionRecord(params.at(0));
        auto& sql = call.db();
        int basket = 0, fresh = 0, campaign = 0, announcements = 0;
        double balance = 0;
        sql << "SELECT (SELECT COUNT(*) FROM basket WHERE carino = :c),"
               " (SELECT COUNT(*) FROM stock WHERE is_new <> 0 AND active = 1),"
               " (SELECT COUNT(*) FROM stock WHERE is_campaign <> 0 AND campaign_price > 0 AND active = 1),"
               " (SELECT COUNT(*) FROM screens WHERE kind = 1 AND active = 1),"
               " (SELECT COALESCE(SUM(l.balance_qty), 0) FROM order_lines l JOIN orders o ON o.id = l.order_id"
               "  WHERE o.carino = :c2 AND l.balance_qty > 0)",
            soci::into(basket), soci::into(fresh), soci::into(campaign), soci::into(announcements), soci::into(balance),
            soci::use(session.FCARINO), soci::use(session.FCARINO);
        protocol::Table t({Column{"SEPET", FieldType::Int32}, Column{"YENI", FieldType::Int32},
                           Column{"KAMPANYA", FieldType::Int32}, Column{"DUYURU", FieldType::Int32},
                           Column{"BAKIYE", FieldType::Float64}});
        RowWriter(t).integer(basket).integer(fresh).integer(campaign).integer(announcements).real(balance);
        return call.reply(t);
    });

    registry.add("KayanYaziGetir", [](CallContext& call, std::vector<Value>&) {
        std::string text;
        call.db() << "SELECT value FROM settings WHERE name = 'kayan_yazi'", soci::into(text);
        return call.reply(call.db().got_data() ? text : std::string());
    });

    for (const auto& [name, slot] : {std::pair{"BannerResimVer", 1}, {"BannerResimVer2", 2}, {"BannerResimVer3", 3}}) {
        const int bannerSlot = slot;
        registry.add(name, [bannerSlot](CallContext& call, std::vector<Value>&) {
            Value picture = bannerReply(call, bannerSlot);
            const auto length = static_cast<std::int64_t>(picture.asStream().bytes.size());
            return call.reply(std::move(picture), {{0, Value(length)}});
        });
    }

    registry.add("AcilisReklamAdet", [](CallContext& call, std::vector<Value>&) {
        int count = 0;
        call.db() << "SELECT COUNT(*) FROM screens WHERE kind = :k AND active = 1", soci::into(count),
            soci::use(kOpeningScreen);
        return call.reply(static_cast<std::int32_t>(count));
    });

    // The screen at a 0-based position; a position outside the list gives an empty record,
    // which the client shows as a screen without picture, rather than an error.
    registry.add("AcilisREklamVer", [](CallContext& call, std::vector<Value>& params) {
        const std::int32_t position = params.at(0).asInt32();
        protocol::TAcilisEkran screen;
        if (position >= 0) {
            soci::rowset<soci::row> rows =
                (call.db().prepare << "SELECT id, " + dialect::hexText(dialectOf(call.db()), "picture") +
                                          ", title, target FROM screens WHERE kind = :k AND active = 1"
                                          " ORDER BY sort, id LIMIT 1 OFFSET :p",
                 soci::use(kOpeningScreen), soci::use(position));
            for (const auto& r : rows) screen = screenOf(r);
        }
        return call.reply(protocol::toValue(screen));
    });

    registry.add("AcilisEkranlarVer2", [](CallContext& call, std::vector<Value>&) {
        protocol::TAcilisEkranlariki all;
        soci::rowset<soci::row> rows =
            (call.db().prepare << "SELECT id, " + dialect::hexText(dialectOf(call.db()), "picture") +
                                      ", title, target FROM screens WHERE kind = :k AND active = 1 ORDER BY sort, id",
             soci::use(kAnnouncement));
        for (const auto& r : rows) all.FEkranlar.push_back(screenOf(r));
        return call.reply(protocol::toValue(all));
    });
}

} // namespace durnak::server
