#include "dispatch/method_registry.hpp"

#include <stdexcept>

namespace durnak::server {

void MethodRegistry::add(std::string_view name, MethodHandler handler)
{
    const protocol::MethodSpec* spec = protocol::findMethod(name);
    if (!spec) throw std::logic_error("not a catalogue method: " + std::string(name));
    insert({std::string(name), spec, std::move(handler)});
}

void MethodRegistry::addDiagnostic(std::string_view name, MethodHandler handler)
{
    // A catalogue name here would bypass the parameter checks its callers rely on.
    if (protocol::findMethod(name)) throw std::logic_error("diagnostic shadows a catalogue method: " + std::string(name));
    insert({std::string(name), nullptr, std::move(handler)});
}

const MethodRegistry::Method* MethodRegistry::find(std::string_view name) const
{
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

void MethodRegistry::insert(Method method)
{
    if (!method.handler) throw std::logic_error("no handler for " + method.name);
    auto name = method.name;
    if (!methods_.emplace(name, std::move(method)).second) throw std::logic_error("registered twice: " + name);
}

} // namespace durnak::server
