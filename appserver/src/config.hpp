#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace durnak::server {

struct ServerConfig {
    std::string address = "0.0.0.0";
    std::uint16_t port = 9090;  // 0 picks a free port
    std::uint16_t webPort = 8080;
    std::string databasePath = "durnak.db";
    // Time a peer may stay silent between messages (or take to send one) on a call connection.
    std::chrono::seconds idleTimeout{60};
    // The same for registered push connections; the client pings well within it.
    std::chrono::seconds pushIdleTimeout{120};
    std::size_t maxConnections = 2048;
    std::size_t workerThreads = 0;  // 0: one per core, at least two
    bool testMethods = false;
    // Web endpoints (pictures, request form, setup download): threads of their own, so a
    // burst of picture requests never delays remote calls.
    std::size_t webThreads = 2;
    // Mail to the dealer. Without smtp_url messages wait in the outbox.
    std::string smtpUrl;  // smtp://host:port or smtps://host:port
    std::string smtpUser;
    std::string smtpPassword;
    bool smtpStartTls = false;
    std::string mailFrom = "b2b@durnak.local";
    std::string mailTo;
    std::chrono::seconds mailRetryMin{5};
    std::chrono::seconds mailRetryMax{3600};
};

// A bad configuration value or command-line argument; the text says where.
class ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// INI-style text: "key = value" lines, "#" or ";" comments, "[section]" headers are allowed
// and ignored. Unknown keys are errors so that a typo does not silently keep a default.
void applyConfigText(ServerConfig& config, std::string_view text, std::string_view origin = "config");
void applyConfigFile(ServerConfig& config, const std::string& path);

struct CommandLine {
    ServerConfig config;
    bool showHelp = false;
};

// Defaults, then the --config file, then the other options, whatever their order.
CommandLine parseCommandLine(int argc, const char* const argv[]);
std::string usageText();

} // namespace durnak::server
