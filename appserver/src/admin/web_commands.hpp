#pragma once

#include <map>
#include <string>
#include <vector>

namespace durnak::admin {

// Admin commands of the outer edge: user requests from the web form, the published setup
// program, banners, the mail outbox and hand-made push notifications.
// Returns the exit code, or -1 when the command is not one of these.
int runWebCommand(const std::string& dbPath, const std::string& command,
                  const std::map<std::string, std::string>& options, const std::vector<std::string>& positional);

// Usage lines of these commands, in the style of the tool's own.
const char* webCommandsUsage();

} // namespace durnak::admin
