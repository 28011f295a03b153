#pragma once

#include <string>

namespace durnak::server::domain {

// Dates are stored as local "YYYY-MM-DD HH:MM:SS" (or "YYYY-MM-DD") text and travel as
// OLE Automation day counts. An unreadable text gives 0.
double oleFromStored(const std::string& stored);
// The start of the day of an OLE date, as stored text ("YYYY-MM-DD 00:00:00").
std::string storedDayOf(double ole);
// Now in local time, stored form.
std::string storedNow();

} // namespace durnak::server::domain
