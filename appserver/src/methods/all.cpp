#include "config.hpp"
#include "methods/domain_support.hpp"
#include "methods/methods.hpp"

namespace durnak::server {

void registerServerMethods(MethodRegistry& registry, const ServerConfig& config)
{
    registerGeneralMethods(registry);
    registerAccountMethods(registry);
    registerCatalogueMethods(registry);
    registerBasketMethods(registry);
    registerHistoryMethods(registry);
    registerConsoleMethods(registry);
    registerPromotionMethods(registry);
    if (config.testMethods) registerDiagnosticMethods(registry);
}

} // namespace durnak::server
