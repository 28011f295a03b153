#include "server_process.hpp"

#include "demo_database.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace durnak::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kReadyTimeout = std::chrono::seconds(30);
constexpr auto kStopTimeout = std::chrono::seconds(10);

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string makeTempDir()
{
    std::string base = std::filesystem::temp_directory_path().string() + "/durnak-server-XXXXXX";
    std::vector<char> buffer(base.begin(), base.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        throw std::runtime_error("cannot create a temporary folder: " + std::string(std::strerror(errno)));
    return buffer.data();
}

int openOutput(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    return fd;
}

// Port from a "listening on <port>" line, 0 while the line is not complete yet.
std::uint16_t parseReadyLine(const std::string& output)
{
    static constexpr std::string_view kMarker = "listening on ";
    auto at = output.find(kMarker);
    if (at == std::string::npos) return 0;
    auto end = output.find('\n', at);
    if (end == std::string::npos) return 0;
    auto digits = output.substr(at + kMarker.size(), end - at - kMarker.size());
    try {
        int port = std::stoi(digits);
        if (port > 0 && port < 65536) return static_cast<std::uint16_t>(port);
    } catch (const std::exception&) {
    }
    throw std::runtime_error("unexpected ready line: " + output.substr(at, end - at));
}

int exitCodeOf(int status)
{
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

} // namespace

std::string serverBinaryPath()
{
    return DURNAK_SERVER_BINARY;
}

ServerProcess::ServerProcess(ServerOptions options)
{
    tempDir_ = makeTempDir();
    if (!options.dbPath.empty()) dbPath_ = options.dbPath;
    else if (testingOnPostgres()) dbPath_ = freshDatabase();
    else dbPath_ = tempDir_ + "/durnak.db";
    stdoutPath_ = tempDir_ + "/stdout.txt";
    stderrPath_ = tempDir_ + "/stderr.txt";

    std::vector<std::string> args = {serverBinaryPath(), "--address", "127.0.0.1", "--port",   "0",
                                     "--web-port",       "0",         "--db",        dbPath_};
    if (options.testMethods) args.push_back("--test-methods");
    args.insert(args.end(), options.extraArgs.begin(), options.extraArgs.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int outFd = -1;
    int errFd = -1;
    try {
        outFd = openOutput(stdoutPath_);
        errFd = openOutput(stderrPath_);
    } catch (...) {
        if (outFd >= 0) ::close(outFd);
        std::filesystem::remove_all(tempDir_);
        throw;
    }

    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls until exec: the parent may have other threads.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // no orphaned servers when a test run crashes
        if (::getppid() != parent) ::_exit(127);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGTERM, SIG_DFL);
        ::signal(SIGINT, SIG_DFL);
        ::dup2(outFd, STDOUT_FILENO);
        ::dup2(errFd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        static const char kExecFailed[] = "durnak-server could not be started (exec failed)\n";
        [[maybe_unused]] auto n = ::write(STDERR_FILENO, kExecFailed, sizeof kExecFailed - 1);
        ::_exit(127);
    }
    ::close(outFd);
    ::close(errFd);
    if (pid_ < 0) {
        std::filesystem::remove_all(tempDir_);
        throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
    }

    const auto deadline = Clock::now() + kReadyTimeout;
    std::string failure;
    while (true) {
        try {
            port_ = parseReadyLine(readFile(stdoutPath_));
        } catch (const std::exception& e) {
            failure = e.what();
            break;
        }
        if (port_ != 0) return;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            exitCode_ = exitCodeOf(status);
            failure = "durnak-server exited with code " + std::to_string(exitCode_) + " before it was ready";
            break;
        }
        if (Clock::now() > deadline) {
            failure = "durnak-server did not get ready in time";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (exitCode_ < 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        exitCode_ = exitCodeOf(status);
    }
    std::string errors = errorOutput();
    std::filesystem::remove_all(tempDir_);
    throw std::runtime_error(failure + "\nstderr:\n" + errors);
}

ServerProcess::~ServerProcess()
{
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(tempDir_, ignored);
}

void ServerProcess::signal(int sig)
{
    if (exitCode_ < 0 && pid_ > 0) ::kill(pid_, sig);
}

int ServerProcess::wait()
{
    if (exitCode_ >= 0 || pid_ <= 0) return exitCode_;
    const auto deadline = Clock::now() + kStopTimeout;
    int status = 0;
    while (true) {
        pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) break;
        if (r < 0 && errno != EINTR) return exitCode_ = -1;
        if (Clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    exitCode_ = exitCodeOf(status);
    return exitCode_;
}

int ServerProcess::stop()
{
    signal(SIGTERM);
    return wait();
}

std::uint16_t ServerProcess::webPort() const
{
    static constexpr std::string_view kMarker = "web listening on ";
    const auto deadline = Clock::now() + kReadyTimeout;
    while (webPort_ == 0) {
        const std::string output = readFile(stdoutPath_);
        const auto at = output.find(kMarker);
        const auto end = at == std::string::npos ? std::string::npos : output.find('\n', at);
        if (end != std::string::npos) {
            const int port = std::stoi(output.substr(at + kMarker.size(), end - at - kMarker.size()));
            if (port <= 0 || port > 65535) throw std::runtime_error("unexpected web port line");
            webPort_ = static_cast<std::uint16_t>(port);
            break;
        }
        if (Clock::now() > deadline) throw std::runtime_error("durnak-server did not report its web port");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return webPort_;
}

std::string ServerProcess::errorOutput() const
{
    return readFile(stderrPath_);
}

} // namespace durnak::testing
