#pragma once

// Records to and from their marshalled JSON form:
//   {"type":"<unit>.<Class>","id":<n>,"fields":{<declared fields in declared order>}}
// Nested records (arrays of records) carry their own type and a further id.

#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include <boost/json.hpp>

#include "durnak/protocol/error.hpp"
#include "durnak/protocol/value.hpp"

namespace durnak::protocol {

namespace detail {

template <class T>
concept RecordClass = requires { T::kTypeName; T::fields(); };

template <class T>
struct IsVector : std::false_type {};
template <class T>
struct IsVector<std::vector<T>> : std::true_type {};

template <RecordClass T>
boost::json::object marshalObject(const T& object, int& nextId);

template <class M>
boost::json::value marshalField(const M& v, int& nextId)
{
    if constexpr (std::is_same_v<M, std::string>) {
        return boost::json::value(v);
    } else if constexpr (std::is_same_v<M, bool>) {
        return boost::json::value(v);
    } else if constexpr (std::is_same_v<M, std::int32_t>) {
        return boost::json::value(static_cast<std::int64_t>(v));
    } else if constexpr (std::is_same_v<M, double>) {
        return boost::json::value(v);
    } else {
        static_assert(IsVector<M>::value, "unsupported record field type");
        boost::json::array items;
        items.reserve(v.size());
        for (const auto& item : v) items.emplace_back(marshalObject(item, nextId));
        return items;
    }
}

[[noreturn]] void badField(std::string_view type, std::string_view field, std::string_view expected);
void checkRecordType(const boost::json::object& o, std::string_view expected);
const boost::json::object& recordFields(const boost::json::object& o, std::string_view type);

template <RecordClass T>
T unmarshalObject(const boost::json::object& o);

template <class M>
void unmarshalField(const boost::json::value& j, M& out, std::string_view type, std::string_view name)
{
    if constexpr (std::is_same_v<M, std::string>) {
        if (!j.is_string()) badField(type, name, "string");
        out.assign(j.get_string().data(), j.get_string().size());
    } else if constexpr (std::is_same_v<M, bool>) {
        if (!j.is_bool()) badField(type, name, "Boolean");
        out = j.get_bool();
    } else if constexpr (std::is_same_v<M, std::int32_t>) {
        std::int64_t n = 0;
        if (j.is_int64()) n = j.get_int64();
        else if (j.is_uint64() && j.get_uint64() <= std::numeric_limits<std::int64_t>::max())
            n = static_cast<std::int64_t>(j.get_uint64());
        else badField(type, name, "Integer");
        if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
            badField(type, name, "Integer");
        out = static_cast<std::int32_t>(n);
    } else if constexpr (std::is_same_v<M, double>) {
        if (!j.is_number()) badField(type, name, "Double");
        out = j.to_number<double>();
    } else {
        static_assert(IsVector<M>::value, "unsupported record field type");
        if (!j.is_array()) badField(type, name, "array");
        out.clear();
        for (const auto& item : j.get_array()) {
            if (!item.is_object()) badField(type, name, "array of records");
            out.push_back(unmarshalObject<typename M::value_type>(item.get_object()));
        }
    }
}

template <RecordClass T>
boost::json::object marshalObject(const T& object, int& nextId)
{
    boost::json::object o;
    o["type"] = T::kTypeName;
    o["id"] = nextId++;
    boost::json::object fields;
    std::apply([&](const auto&... f) { (fields.emplace(f.name, marshalField(object.*(f.member), nextId)), ...); },
               T::fields());
    o["fields"] = std::move(fields);
    return o;
}

template <RecordClass T>
T unmarshalObject(const boost::json::object& o)
{
    checkRecordType(o, T::kTypeName);
    const auto& fields = recordFields(o, T::kTypeName);
    T result;
    std::apply(
        [&](const auto&... f) {
            ((fields.contains(f.name) ? unmarshalField(fields.at(f.name), result.*(f.member), T::kTypeName, f.name)
                                      : void()),
             ...);
        },
        T::fields());
    return result;
}

} // namespace detail

// The JSON object form of a record (top-level id 1).
template <detail::RecordClass T>
boost::json::object marshal(const T& object)
{
    int nextId = 1;
    return detail::marshalObject(object, nextId);
}

// A record as a value for a call parameter or result.
template <detail::RecordClass T>
Value toValue(const T& object)
{
    auto o = marshal(object);
    return Record{std::string(T::kTypeName), std::move(o.at("fields").as_object())};
}

// Rebuilds a record; a missing field keeps its default, a field of the wrong kind or a
// record of another class is a ProtocolError.
template <detail::RecordClass T>
T unmarshal(const boost::json::object& o)
{
    return detail::unmarshalObject<T>(o);
}

template <detail::RecordClass T>
T fromValue(const Value& v)
{
    const Record& r = v.asRecord();
    boost::json::object o;
    o["type"] = r.type;
    o["id"] = 1;
    o["fields"] = r.fields;
    return unmarshal<T>(o);
}

} // namespace durnak::protocol
