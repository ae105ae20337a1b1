#pragma once

// The listing's SQLite database: the sales, clustered by post code and date so that one post
// code's sales are one range of the table, and facts about them.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace korvane::listing {

class Database;

// Opens the database at `address` (a file name, or a "file:" address) for an import, creating
// the file and its tables when they are missing. Throws std::runtime_error naming the address
// when it cannot be opened for writing or holds something other than a listing.
std::unique_ptr<Database> openForImport(const std::string& address);

// Opens an existing listing database for reading. Throws std::runtime_error naming the address
// when it does not exist or holds something other than a listing.
std::unique_ptr<Database> openForReading(const std::string& address);

// The facts the importer keeps: "newest_sale", the newest date of transfer (YYYYMMDD), and
// "settled_sales", the number of rows of settled_sales. 0 until stored.
std::int64_t fact(Database& db, std::string_view name);
void setFact(Database& db, std::string_view name, std::int64_t value);

}  // namespace korvane::listing
