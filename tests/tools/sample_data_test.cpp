// The sample listing's data set: loading, post code matching, averages, and the shape of the
// bundled data that the demo and the end-to-end tests rely on.

#include "listing/sales_data.h"

#include "support/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>

namespace korvane::listing {
namespace {

constexpr const char* kHeader = "postcode,street,house,date,price\n";

TEST(SampleDataTest, PostcodesMatchWithoutRegardToCaseAndBlanks) {
  SalesData data;
  data.addCsv(std::string(kHeader) + "CF10 3NQ,Heol y Frenhines,12,2024-01-02,250000\n", "t");
  for (const char* asked : {"CF10 3NQ", "cf10 3nq", "CF103NQ", " Cf10  3nQ ", "CF10\t3NQ"}) {
    const Street* street = data.find(asked);
    ASSERT_NE(street, nullptr) << asked;
    EXPECT_EQ(street->name, "Heol y Frenhines") << asked;
  }
  for (const char* asked : {"", "CF10 3N", "CF10 3NQA", "F10 3NQ"}) {
    EXPECT_EQ(data.find(asked), nullptr) << asked;
  }
}

TEST(SampleDataTest, MalformedLinesAreRejectedWithTheirLineNumber) {
  static const struct {
    const char* line;
    const char* problem;
  } cases[] = {
      {"CF10 3NQ,Heol y Frenhines,12,2024-01-02", "expected 5 fields"},
      {"CF10 3NQ,Heol y Frenhines,12,Acacia,2024-01-02,250000", "expected 5 fields"},
      {"CF10 3NQ,,12,2024-01-02,250000", "empty field"},
      {"CF10 3NQ,Heol y Frenhines,12,02/01/2024,250000", "date"},
      {"CF10 3NQ,Heol y Frenhines,12,2024-13-02,250000", "date"},
      {"CF10 3NQ,Heol y Frenhines,12,2024-01-02,250,000", "expected 5 fields"},
      {"CF10 3NQ,Heol y Frenhines,12,2024-01-02,£250000", "price"},
      {"CF10 3NQ,Heol y Frenhines,12,2024-01-02,250000.5", "price"},
      {"CF10 3NQ,Heol y Frenhines,12,2024-01-02,0", "price"},
      {"CF10 3NQ,Heol y Frenhines,12,2024-01-02,-250000", "price"},
      {"cf103nq,Another Street,12,2024-01-02,250000", "already leads to Heol y Frenhines"},
  };
  for (const auto& c : cases) {
    SalesData data;
    const std::string text =
        std::string(kHeader) + "CF10 3NQ,Heol y Frenhines,1,2020-01-01,200000\n" + c.line + "\n";
    try {
      data.addCsv(text, "wales.csv");
      ADD_FAILURE() << "accepted: " << c.line;
    } catch (const std::runtime_error& error) {
      EXPECT_THAT(error.what(), testing::StartsWith("wales.csv:3: ")) << c.line;
      EXPECT_THAT(error.what(), testing::HasSubstr(c.problem)) << c.line;
    }
  }
}

TEST(SampleDataTest, AFileMustStartWithTheHeader) {
  SalesData data;
  EXPECT_THROW(data.addCsv("CF10 3NQ,Heol y Frenhines,1,2020-01-01,200000\n", "t"),
               std::runtime_error);
}

TEST(SampleDataTest, LoadingAFolderWithoutSalesFails) {
  test::TempDir empty;
  EXPECT_THROW(SalesData::load(empty.path()), std::runtime_error);
  EXPECT_THROW(SalesData::load(empty / "missing"), std::runtime_error);
  test::writeBytes(empty / "notes.txt", "CF10 3NQ,Heol y Frenhines,1,2020-01-01,200000\n");
  EXPECT_THROW(SalesData::load(empty.path()), std::runtime_error);
}

TEST(SampleDataTest, AverageIsTheMeanRoundedToTheNearestThousand) {
  static const struct {
    std::vector<long> prices;
    long average;
  } cases[] = {
      {{}, 0},
      {{246750}, 247000},
      {{249499}, 249000},
      {{249500}, 250000},  // halves go up
      {{100000, 101000}, 101000},
      {{100000, 100999}, 100000},
      {{1800000, 1950000}, 1875000},
      {{70000, 80000, 91000}, 80000},          // 80,333.33
      {{2000000000, 2000000000}, 2000000000},  // no overflow of the sum
  };
  for (const auto& c : cases) {
    Street street;
    for (long price : c.prices) street.sales.push_back({"1", "2020-01-01", price});
    EXPECT_EQ(roundedAverage(street), c.average) << testing::PrintToString(c.prices);
  }
}

// The demo and the end-to-end tests rely on this spread of streets.
TEST(SampleDataTest, BundledDataCoversTheRangeOfStreets) {
  const SalesData data = SalesData::load(KORVANE_SAMPLE_DATA_DIR);
  const auto streets = data.streets();
  EXPECT_GE(streets.size(), 40u);

  std::set<std::string> postcodeAreas;
  int under100k = 0, around250k = 0, over400k = 0, over1m = 0, singleSale = 0, welsh = 0;
  for (const Street* street : streets) {
    const size_t count = street->sales.size();
    EXPECT_TRUE(count == 1 || (count >= 5 && count <= 40)) << street->postcode << ": " << count;
    const long average = roundedAverage(*street);
    under100k += average < 100000;
    around250k += average >= 240000 && average <= 260000;
    over400k += average > 400000;
    over1m += average > 1000000;
    singleSale += count == 1;
    welsh += street->name.find("\xC5\xB5") != std::string::npos &&
             street->name.find("\xC5\xB7") != std::string::npos;  // w and y circumflex, UTF-8
  }
  EXPECT_GE(under100k, 1);
  EXPECT_GE(around250k, 1);
  EXPECT_GE(over400k, 1);
  EXPECT_GE(over1m, 1);
  EXPECT_EQ(singleSale, 1);
  EXPECT_GE(welsh, 1);
}

}  // namespace
}  // namespace korvane::listing
