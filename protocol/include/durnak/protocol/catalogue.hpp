#pragma once

// The server method catalogue shared by both sides: every method of TServerMethods1
// with its parameters in wire order, their kinds, the out markers and the result kind.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "durnak/protocol/value.hpp"

namespace durnak::protocol {

constexpr std::string_view kServerClass = "TServerMethods1";

struct ParamSpec {
    std::string_view name;
    Kind kind;
    bool out = false;
    std::string_view recordType = {};  // for Kind::Record: "<unit>.<Class>"
};

struct MethodSpec {
    std::string_view name;
    std::vector<ParamSpec> params;
    Kind result = Kind::None;
    std::string_view resultRecord = {};
    bool called = false;  // whether the desktop client calls it
};

const std::vector<MethodSpec>& methodCatalogue();
const MethodSpec* findMethod(std::string_view name);
// "TServerMethods1.X" -> "X"; empty for any other text.
std::string_view methodOfCommand(std::string_view command);
// "TServerMethods1.X" -> the spec of X, or nullptr.
const MethodSpec* findCommand(std::string_view command);
std::string commandText(std::string_view method);

// Checks the in parameters of a call (count and kinds; out positions must be null;
// a record parameter may be null or of its declared class). Throws ProtocolError.
void checkCallParams(const MethodSpec& method, const std::vector<Value>& params);
// Checks the values of an answer: out positions and the result last.
void checkResultValues(const MethodSpec& method, const std::vector<Value>& values);

} // namespace durnak::protocol
