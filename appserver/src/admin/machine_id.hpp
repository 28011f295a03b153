#pragma once

#include <string>

namespace durnak::admin {

// This machine's computer ID, by the rule the desktop client uses: the first physical
// disk's serial (upper case), else the first non-zero adapter address "AA-BB-CC-DD-EE-FF";
// blanks removed. `root` prefixes every system path (tests).
std::string thisMachineId(const std::string& root = "");

} // namespace durnak::admin
