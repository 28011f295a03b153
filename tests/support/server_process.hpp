#pragma once

// Starts the real durnak-server for integration tests: a free loopback port, a throw-away
// SQLite file, and a clean stop. Plain C++ so Qt and GoogleTest suites can both use it.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace durnak::testing {

struct ServerOptions {
    bool testMethods = true;
    std::string dbPath;  // empty: a fresh database (freshDatabase()), removed afterwards
    std::vector<std::string> extraArgs;  // appended after the defaults, e.g. {"--config", path}
};

class ServerProcess {
public:
    // Starts the server on a free loopback port and waits for "listening on"; throws
    // std::runtime_error with the server's stderr when it exits or does not get ready.
    // The server is killed when the creating thread ends, so a crashed test run leaves no
    // server behind: create it on a thread that outlives its use (the test's own thread).
    explicit ServerProcess(ServerOptions options = {});
    ~ServerProcess();  // SIGTERM, wait (SIGKILL after 10 s), removes the temporary folder

    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    std::uint16_t port() const { return port_; }
    // Port of the web endpoints (the server gets --web-port 0 unless extraArgs say
    // otherwise); read from the server's "web listening on" line, waiting briefly for it.
    std::uint16_t webPort() const;
    const std::string& databasePath() const { return dbPath_; }
    pid_t pid() const { return pid_; }

    // SIGTERM, wait (SIGKILL after 10 s); returns the exit code, or 128 + signal when killed.
    // Later calls return the same code.
    int stop();
    // Sends a signal without waiting (for tests that act while the server shuts down).
    void signal(int sig);
    // Waits for the process to end (SIGKILL after 10 s); the exit code as in stop().
    int wait();
    // Everything the server wrote to stderr so far.
    std::string errorOutput() const;

private:
    std::string tempDir_;
    std::string dbPath_;
    std::string stdoutPath_;
    std::string stderrPath_;
    pid_t pid_ = -1;
    std::uint16_t port_ = 0;
    mutable std::uint16_t webPort_ = 0;
    int exitCode_ = -1;
};

// Path of the durnak-server binary built alongside the tests.
std::string serverBinaryPath();

} // namespace durnak::testing
