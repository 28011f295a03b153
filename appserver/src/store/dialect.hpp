#pragma once

// The few places where SQLite and PostgreSQL need different SQL. Everything else is written
// once in the subset both understand.

#include <string>
#include <string_view>

#include "store/store.hpp"

namespace durnak::server::dialect {

// A schema statement written for SQLite, rewritten for the given dialect: column types
// (REAL, BLOB, auto-numbered keys), text time stamps, WITHOUT ROWID, the stock search table
// and row triggers. SQLite gets it unchanged.
std::string schemaStatement(Dialect d, const std::string& statement);

// Binary values: PostgreSQL's text protocol cannot carry arbitrary bytes, so they travel as
// hexadecimal text there. Write with blobParam(":p") in the SQL and blobValue(bytes) bound
// to it; after reading a blob column into a string, pass it through blobResult.
std::string blobParam(Dialect d, std::string_view placeholder);
std::string blobValue(Dialect d, std::string bytes);
void blobResult(Dialect d, std::string& fetched);

// Upper-case hexadecimal text of a blob expression.
std::string hexText(Dialect d, std::string_view expression);

// "position of needle in haystack, 0 when absent".
std::string findText(Dialect d, std::string_view haystack, std::string_view needle);

// A JSON array of integers bound to `placeholder` as rows j(key, value): key its position,
// value the number.
std::string numberedIds(Dialect d, std::string_view placeholder);

// Joins texts of a group with ", ".
std::string joinTexts(Dialect d, std::string_view expression);

// The key the connection's last INSERT gave an auto-numbered row.
long long lastInsertId(soci::session& sql);

// Joined to a write transaction's BEGIN: writers queue for one lock up front, in PostgreSQL
// as in SQLite (BEGIN IMMEDIATE), so read-then-write steps (an order taking the basket's
// ticked lines) never run twice over the same rows from two servers.
void beginWrite(soci::session& sql);

// After rows were inserted with explicit numbers, auto-numbered keys continue above the
// highest one (SQLite does this by itself).
void syncKeySequences(soci::session& sql);

} // namespace durnak::server::dialect
