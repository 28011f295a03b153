#pragma once

// The server's methods, registered per area. A new area is a file of its own in this
// folder with one register function declared here and called from registerServerMethods.

namespace durnak::server {

class MethodRegistry;
struct ServerConfig;

// Every method this server offers under the given configuration (methods/all.cpp).
void registerServerMethods(MethodRegistry& registry, const ServerConfig& config);

void registerGeneralMethods(MethodRegistry& registry);     // EchoString, ReverseString
void registerDiagnosticMethods(MethodRegistry& registry);  // test-only, outside the catalogue

} // namespace durnak::server
