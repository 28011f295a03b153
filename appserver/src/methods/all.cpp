#include "config.hpp"
#include "methods/methods.hpp"

namespace durnak::server {

void registerServerMethods(MethodRegistry& registry, const ServerConfig& config)
{
    registerGeneralMethods(registry);
    if (config.testMethods) registerDiagnosticMethods(registry);
}

} // namespace durnak::server
