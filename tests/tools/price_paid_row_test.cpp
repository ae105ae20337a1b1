// Reading one line of a Price Paid file: quoting, the field count, and the values that must parse.

#include "listing/price_paid_row.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

namespace korvane::listing {
namespace {

constexpr const char* kId = "\"{8D5B7D3E-6B25-4B1F-E053-6B04A8C0F257}\"";
constexpr const char* kRest =
    "\"D\",\"N\",\"F\",\"12\",\"\",\"HIGH STREET\",\"\",\"CARDIFF\",\"CARDIFF\",\"CARDIFF\","
    "\"A\",\"A\"";

// A whole row with the given price, date and post code fields (quotes included).
std::string row(const std::string& price, const std::string& date, const std::string& postcode) {
  return std::string(kId) + "," + price + "," + date + "," + postcode + "," + kRest;
}

TEST(PricePaidRowTest, ReadsQuotedUnquotedAndDoubledQuoteFields) {
  static const struct {
    std::string line;
    const char* paon;
    const char* street;
  } cases[] = {
      {row("\"1\"", "\"2024-01-02 00:00\"", "\"\""), "12", "HIGH STREET"},
      {std::string(kId) +
           ",\"250000\",\"2024-01-02 00:00\",\"CF10 3NQ\",\"D\",\"N\",\"F\","
           "\"THE \"\"OLD\"\" FORGE, NORTH\",\"\",\"MILL, LANE\",\"\",\"\",\"\",\"\",\"A\",\"A\"",
       "THE \"OLD\" FORGE, NORTH", "MILL, LANE"},
      {std::string(kId) + ",250000,2024-01-02,CF10 3NQ,D,N,F,7,,KING ST,,,,,A,A\r", "7", "KING ST"},
      {std::string(kId) + ",250000,2024-01-02,CF10 3NQ,D,N,F,\"\"\"\",,\"\",,,,,A,A", "\"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    PricePaidRow reader;
    std::string_view line = c.line;
    if (line.ends_with('\r')) line.remove_suffix(1);
    ASSERT_EQ(reader.read(line), "");
    EXPECT_EQ(reader.sale().paon, c.paon);
    EXPECT_EQ(reader.sale().street, c.street);
    EXPECT_EQ(reader.fields()[kStatus], "A");
  }
}

TEST(PricePaidRowTest, KeepsValuesInTheFormTheListingStoresThem) {
  PricePaidRow reader;
  ASSERT_EQ(reader.read(row("\"1875000\"", "\"2024-02-29 00:00\"", "\" cf10  3nq\"")), "");
  const Sale& sale = reader.sale();
  EXPECT_EQ(sale.price, 1875000);
  EXPECT_EQ(sale.date, 20240229);
  EXPECT_EQ(sale.postcode, "CF103NQ");
  EXPECT_EQ(sale.id[0], 0x8D);
  EXPECT_EQ(sale.id[15], 0x57);
}

TEST(PricePaidRowTest, RejectsMalformedRowsWithTheReason) {
  const std::string good = row("\"1\"", "\"2024-01-02 00:00\"", "\"\"");
  static const struct {
    std::string line;
    const char* reason;
  } cases[] = {
      {good.substr(0, good.rfind(',')), "expected 16 fields, found 15"},
      {good + ",\"X\"", "expected 16 fields, found 17"},
      {"", "expected 16 fields, found 1"},
      {good.substr(0, good.size() - 1), "unterminated quote in field 16"},
      {std::string(kId) + ",\"25\"0000\"", "text after the closing quote of field 2"},
      {std::string(kId) + ",25\"0,", "quote inside the unquoted field 2"},
      {row("\"\"", "\"2024-01-02\"", "\"\""), "price"},
      {row("\"250,000\"", "\"2024-01-02\"", "\"\""), "price"},
      {row("250,000", "\"2024-01-02\"", "\"\""), "expected 16 fields, found 17"},
      {row("\"-1\"", "\"2024-01-02\"", "\"\""), "price"},
      {row("\"1234567890123456\"", "\"2024-01-02\"", "\"\""), "price"},
      {row("\"1\"", "\"02/01/2024\"", "\"\""), "date"},
      {row("\"1\"", "\"2023-02-29\"", "\"\""), "date"},
      {row("\"1\"", "\"2024-04-31 00:00\"", "\"\""), "date"},
      {row("\"1\"", "\"2024-01-02T00:00\"", "\"\""), "date"},
      {"\"{8D5B7D3E-6B25-4B1F-E053-6B04A8C0F25}\"" + good.substr(good.find(',')), "id"},
      {"\"8D5B7D3E6B254B1FE0536B04A8C0F257\"" + good.substr(good.find(',')), "id"},
      {good.substr(0, good.size() - 3) + "\"X\"", "unknown record status"},
      {good.substr(0, good.size() - 3) + "\"\"", "unknown record status"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    PricePaidRow reader;
    EXPECT_THAT(reader.read(c.line), testing::HasSubstr(c.reason));
  }
}

TEST(PricePaidRowTest, PostcodesMatchWithoutRegardToCaseAndBlanks) {
  for (const char* asked : {"CF10 3NQ", "cf10 3nq", "CF103NQ", " Cf10  3nQ ", "CF10\t3NQ"})
    EXPECT_EQ(normalizePostcode(asked), "CF103NQ") << asked;
}

}  // namespace
}  // namespace korvane::listing
