#include "dispatch/method_registry.hpp"
#include "methods/methods.hpp"
#include "text.hpp"

namespace durnak::server {

void registerGeneralMethods(MethodRegistry& registry)
{
    registry.add("EchoString", [](CallContext& call, std::vector<protocol::Value>& params) {
        return call.reply(std::move(params.at(0)));
    });
    registry.add("ReverseString", [](CallContext& call, std::vector<protocol::Value>& params) {
        return call.reply(reverseCodePoints(params.at(0).asString()));
    });
}

} // namespace durnak::server
