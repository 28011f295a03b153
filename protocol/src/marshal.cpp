#include "durnak/protocol/marshal.hpp"

namespace durnak::protocol::detail {

void badField(std::string_view type, std::string_view field, std::string_view expected)
{
    throw ProtocolError("Kayıt " + std::string(type) + " alanı " + std::string(field) + " " +
                        std::string(expected) + " olmalı");
}

void checkRecordType(const boost::json::object& o, std::string_view expected)
{
    const auto* type = o.if_contains("type");
    if (!type || !type->is_string())
        throw ProtocolError("Kayıt nesnesinin türü yok (beklenen " + std::string(expected) + ")");
    if (type->get_string() != expected)
        throw ProtocolError("Beklenen kayıt " + std::string(expected) + ", gelen " +
                            std::string(type->get_string()));
}

const boost::json::object& recordFields(const boost::json::object& o, std::string_view type)
{
    const auto* fields = o.if_contains("fields");
    if (!fields || !fields->is_object())
        throw ProtocolError("Kayıt " + std::string(type) + " alanları (fields) nesne olmalı");
    return fields->get_object();
}

} // namespace durnak::protocol::detail
