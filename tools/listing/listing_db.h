#pragma once

// The listing's SQLite database: the sales, clustered by post code and date so that one post
// code's sales are one range of the table, and the newest date of transfer among them.

#include <memory>
#include <string>

namespace korvane::listing {

class Database;

// Opens the database at `address` (a file name, or a "file:" address) for an import, creating
// the file and its tables when they are missing. Throws std::runtime_error naming the address
// when it cannot be opened for writing or holds something other than a listing.
std::unique_ptr<Database> openForImport(const std::string& address);

// Opens an existing listing database for reading. Throws std::runtime_error naming the address
// when it does not exist or holds something other than a listing.
std::unique_ptr<Database> openForReading(const std::string& address);

// The newest date of transfer in the listing (YYYYMMDD), 0 when it holds no sales.
int newestSale(Database& db);

// Stores `date` (YYYYMMDD) as the newest date of transfer.
void setNewestSale(Database& db, int date);

}  // namespace korvane::listing
