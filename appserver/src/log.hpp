#pragma once

#include <string_view>

namespace durnak::server {

// One line on stderr with a UTC time stamp; safe from any thread.
void logLine(std::string_view level, std::string_view text);
inline void logInfo(std::string_view text) { logLine("info", text); }
inline void logWarning(std::string_view text) { logLine("warn", text); }
inline void logError(std::string_view text) { logLine("error", text); }

} // namespace durnak::server
