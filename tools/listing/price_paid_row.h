#pragma once

// One row of an HM Land Registry Price Paid file: 16 comma-separated fields, each in double quotes
// (a quote inside a field is doubled), no header.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvane::listing {

inline constexpr std::size_t kPricePaidFields = 16;

// The fields of a row, in file order.
enum PricePaidField : std::size_t {
  kId,        // transaction id, "{8-4-4-4-12 hex digits}"
  kPrice,     // whole pounds
  kDate,      // date of transfer, "YYYY-MM-DD 00:00"
  kPostcode,  // may be empty
  kPropertyType,
  kNewBuild,
  kTenure,
  kPaon,
  kSaon,
  kStreet,
  kLocality,
  kTown,
  kDistrict,
  kCounty,
  kCategory,  // A standard price paid, B additional
  kStatus,    // A added, C changed, D deleted
};

// A row's values as the listing keeps them. The text views are valid as long as the fields of
// the PricePaidRow that read them.
struct Sale {
  std::array<std::uint8_t, 16> id{};
  std::int64_t price = 0;
  int date = 0;          // YYYYMMDD
  std::string postcode;  // upper case, blanks removed: "CF103NQ"
  char status = 'A';
  std::string_view propertyType, newBuild, tenure, paon, saon, street, locality, town, category;
};

// The first date of transfer a row may have (YYYYMMDD): Price Paid data begins in 1995.
inline constexpr int kFirstSaleDate = 19950101;

// The last date of transfer a row may have today (YYYYMMDD): 31 days after today's date (UTC),
// room for a sale registered with a date a little ahead.
int latestSaleDate();

// The post code in upper case with every blank removed, so "cf10 3nq" and "CF103NQ" match.
std::string normalizePostcode(std::string_view postcode);

// Reads rows one line at a time, reusing its buffers from line to line.
class PricePaidRow {
 public:
  // Accepts dates of transfer from kFirstSaleDate to `latestDate` (YYYYMMDD).
  explicit PricePaidRow(int latestDate = latestSaleDate()) : m_latestDate(latestDate) {}

  // Reads one line (without its line end). Returns an empty text when the line is a valid row,
  // otherwise why it is not: bytes that are not UTF-8, a field count other than 16, an
  // unterminated quote, text after a closing quote, a transaction id, price, date or record
  // status that does not parse, a price of more than 15 digits (so no sum of a page's prices can
  // overflow), or a date outside the accepted ones.
  std::string read(std::string_view line);

  // The fields of the last line read, unquoted; complete only when read() accepted the line.
  // They point into that line or into this reader, and are valid while both are.
  const std::array<std::string_view, kPricePaidFields>& fields() const { return m_fields; }
  // The sale of the last line read; meaningful only when read() accepted the line.
  const Sale& sale() const { return m_sale; }

 private:
  std::string split(std::string_view line);
  std::string convert();

  std::array<std::string_view, kPricePaidFields> m_fields;
  int m_latestDate;
  std::string m_unescaped;  // fields that held doubled quotes, undoubled
  Sale m_sale;
};

}  // namespace korvane::listing
