#pragma once

// What a sold-prices page shows for a post code: the street with the most standard (category A)
// sales in the post code within the last years up to the newest sale in the listing, and that
// street's standard sales in the window.

#include "sqlite.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::listing {

struct StreetSale {
  int date = 0;  // YYYYMMDD
  std::int64_t price = 0;
  std::string propertyType, newBuild, tenure, paon, saon;
};

struct StreetSales {
  std::string postcode;  // upper case without blanks
  std::string street;    // as recorded
  int years = 0;
  int newestSale = 0;             // the window's end (YYYYMMDD): the newest sale in the listing
  std::vector<StreetSale> sales;  // newest first
};

// The mean price of the street's sales rounded to the nearest thousand pounds (halves up);
// 0 for a street without sales.
std::int64_t roundedAverage(const StreetSales& street);

// Looks post codes up in one listing database connection, which must outlive it.
class StreetQuery {
 public:
  explicit StreetQuery(Database& db);

  // The post code matches without regard to case and blanks. Streets with the same number of
  // sales are taken in alphabetical order; rows without a street are never chosen. Returns
  // nothing when the post code has no standard sales with a street in the window. Throws
  // SqliteError when the database cannot be read.
  std::optional<StreetSales> find(std::string_view postcode, int years);

 private:
  Database& m_db;
  Statement m_newest, m_street, m_sales;
};

// Looks post codes up for the server's threads, each on a connection of its own.
class SoldPrices {
 public:
  // Reads the listing database at `address` (a file name or a "file:" address) with a window of
  // `years`. Opens one connection now, so a missing or foreign database throws here
  // (std::runtime_error naming it).
  SoldPrices(std::string address, int years);
  ~SoldPrices();

  // findStreetSales on a free connection, opening another when every one is busy. Thread-safe.
  std::optional<StreetSales> find(std::string_view postcode);

 private:
  struct Connection;
  std::unique_ptr<Connection> take();

  std::string m_address;
  int m_years;
  std::mutex m_mutex;
  std::vector<std::unique_ptr<Connection>> m_idle;
};

}  // namespace korvane::listing
