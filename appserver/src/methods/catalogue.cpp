// Catalogue: stock search, new and campaign items, item pictures.


#include <boost/json/serialize.hpp>

#include "dispatch/method_registry.hpp"
#include "domain/stock_search.hpp"
#include "methods/domain_support.hpp"
#include "store/dialect.hpp"

namespace durnak::server {
namespace {

using protocol::Value;

constexpr std::size_t kMaxSearchText = 200;
constexpr int kListCap = 2000;  // new and campaign lists

// Discounts of the customer a call acts for; none before a customer is picked (0).
domain::Discounts ratesFor(soci::session& sql, std::int32_t carino)
{
    if (carino == 0) return {};
    return customerTerms(sql, carino).rates;
}

protocol::Table stockRows(soci::session& sql, const std::vector<long long>& ids, const domain::Discounts& rates)
{
    protocol::Table table(stockColumns());
    if (ids.empty()) return table;
    table.reserve(ids.size());
    boost::json::array list;
    for (auto id : ids) list.emplace_back(id);
    const std::string idsJson = boost::json::serialize(list);
    // json_each numbers the ids, so the rows come back in the search's order.
    soci::rowset<soci::row> rows = (sql.prepare << std::string("SELECT ") + kStockSelect + " FROM " +
                                                       dialect::numberedIds(dialectOf(sql), ":ids") +
                                                       " JOIN stock s ON s.stokno = j.value"
                                                       " WHERE s.active = 1 ORDER BY j.key",
                                    soci::use(idsJson));
    for (const auto& row : rows) appendStockRow(table, row, rates, StockList::Search);
    return table;
}

protocol::Table flaggedList(soci::session& sql, std::int32_t carino, const char* where, StockList list)
{
    const auto rates = ratesFor(sql, carino);
    protocol::Table table(stockColumns());
    soci::rowset<soci::row> rows =
        (sql.prepare << std::string("SELECT ") + kStockSelect + " FROM stock s WHERE s.active = 1 AND " + where +
                            " ORDER BY s.created_at DESC, s.stokno DESC LIMIT :cap",
         soci::use(kListCap));
    for (const auto& row : rows) appendStockRow(table, row, rates, list);
    return table;
}

} // namespace

void registerCatalogueMethods(MethodRegistry& registry)
{
    registry.add("StokAraGetir", [](CallContext& call, std::vector<Value>& params) {
        const std::string text = boundedText(params.at(0), kMaxSearchText);
        const auto session = sessionRecord(params.at(1));
        auto& sql = call.db();
        const auto rates = ratesFor(sql, session.FCARINO);
        const auto ids = domain::findStock(sql, text);
        return call.reply(protocol::DataPacket{stockRows(sql, ids, rates)});
    });

    registry.add("YenilerVer2", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(
            protocol::DataPacket{flaggedList(call.db(), params.at(0).asInt32(), "s.is_new <> 0", StockList::NewItems)});
    });

    // satici (the user type) changes nothing in the answer: the client hides columns itself.
    registry.add("KampanyaliVer2", [](CallContext& call, std::vector<Value>& params) {
        return call.reply(protocol::DataPacket{flaggedList(
            call.db(), params.at(0).asInt32(), "s.is_campaign <> 0 AND s.campaign_price > 0", StockList::Campaign)});
    });

    // An item without a picture answers an empty stream of length 0.
    registry.add("ResimVer5", [](CallContext& call, std::vector<Value>& params) {
        const std::int32_t stokno = params.at(0).asInt32();
        std::string jpeg;
        soci::indicator ind = soci::i_null;
        call.db() << "SELECT jpeg FROM stock_pictures WHERE stokno = :n", soci::into(jpeg, ind), soci::use(stokno);
        if (!call.db().got_data() || ind != soci::i_ok) jpeg.clear();
        else dialect::blobResult(dialectOf(call.db()), jpeg);
        const auto length = static_cast<std::int64_t>(jpeg.size());
        return call.reply(protocol::Stream{std::move(jpeg)}, {{1, Value(length)}});
    });
}

} // namespace durnak::server
