#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>

#include "config.hpp"
#include "log.hpp"
#include "server.hpp"

namespace {

// Every connection is a descriptor; take what the system allows and keep a reserve for the
// database files and the process itself.
std::size_t connectionLimit(std::size_t configured)
{
    constexpr rlim_t kReserve = 64;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return configured;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    const rlim_t usable = limit.rlim_cur > 2 * kReserve ? limit.rlim_cur - kReserve : kReserve;
    if (configured > usable) {
        durnak::server::logWarning("max_connections lowered to " + std::to_string(usable) +
                                   " by the open-file limit");
        return usable;
    }
    return configured;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace durnak::server;
    CommandLine commandLine;
    try {
        commandLine = parseCommandLine(argc, argv);
    } catch (const ConfigError& e) {
        std::cerr << "durnak-server: " << e.what() << "\n" << usageText();
        return 2;
    }
    if (commandLine.showHelp) {
        std::cout << usageText();
        return 0;
    }

    // Writes to a vanished peer must fail with an error, not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    commandLine.config.maxConnections = connectionLimit(commandLine.config.maxConnections);

    try {
        Server server(commandLine.config);
        return server.run([](std::uint16_t port) {
            // Tests and scripts wait for this line to learn the port.
            std::printf("listening on %u\n", static_cast<unsigned>(port));
            std::fflush(stdout);
        }, [](std::uint16_t webPort) {
            std::printf("web listening on %u\n", static_cast<unsigned>(webPort));
            std::fflush(stdout);
        });
    } catch (const std::exception& e) {
        logError(std::string("cannot run: ") + e.what());
        return 1;
    }
}
