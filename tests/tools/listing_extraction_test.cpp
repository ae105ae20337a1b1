// The listing's pages read by the program's own chain: download, save to entity.html, strip the
// markup into comprm.dat, load it back and cut the street and its average out of it.

#include "listing/importer.h"
#include "listing/listing_db.h"
#include "listing/listing_site.h"
#include "listing/page_text.h"
#include "listing/sample_listing.h"
#include "listing/sold_prices.h"
#include "listing/sold_prices_page.h"
#include "tools/price_paid_rows.h"

#include "front/extraction.h"
#include "net/fetch.h"
#include "net/save.h"
#include "platform/message_boxes.h"
#include "support/files.h"
#include "util/markup.h"
#include "util/run_buffer.h"
#include "util/text_file.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace korvane {
namespace {

class CollectedMessages : public MessageBoxes {
 public:
  void show(std::string_view text, std::string_view, MessageIcon) override {
    texts.emplace_back(text);
  }
  std::vector<std::string> texts;
};

struct Extracted {
  std::string street;
  std::string thousands;
  bool operator==(const Extracted&) const = default;
};

// A listing served over loopback as korvane-listing serve serves it.
class ServedListing {
 public:
  explicit ServedListing(const std::string& address)
      : m_prices(address, 5),
        m_site(
            [this](std::string_view postcode) {
              return listing::pageForPostcode(m_prices, postcode, "");
            },
            "", m_log) {
    m_port = m_site.start("127.0.0.1", 0);
  }

  // One valuation's worth of the run for the post code, in fresh work files.
  Extracted extract(const std::string& postcode) {
    test::TempDir work;
    const std::string page =
        FetchUrlText("http://127.0.0.1:" + std::to_string(m_port) +
                     "/index.php?con=sold_prices_street&cCode=EW&postcode=" + postcode);
    EXPECT_TRUE(SaveTextFile(page, work / "entity.html", messages));
    killhtml(work / "entity.html", work / "comprm.dat");
    RunBuffer buffer;
    EXPECT_TRUE(LoadText(buffer, "txt_nohtmlsource", work / "comprm.dat", messages));
    extractSoldPrices(buffer);
    EXPECT_EQ(buffer.text("lbl_streetname"), buffer.text("txt_housetext2"));
    return {buffer.text("txt_housetext2"), buffer.text("txt_num")};
  }

  CollectedMessages messages;

 private:
  listing::SoldPrices m_prices;
  std::ostringstream m_log;
  listing::ListingSite m_site;
  int m_port = 0;
};

// Each post code of the bundled sample with its street as recorded and its prices, read from the
// files with a plain split: every sample field is quoted and holds no quote or comma.
std::map<std::string, std::pair<std::string, std::vector<long long>>> sampleStreets() {
  std::map<std::string, std::pair<std::string, std::vector<long long>>> streets;
  for (const auto& entry : std::filesystem::directory_iterator(KORVANE_SAMPLE_DATA_DIR)) {
    std::ifstream file(entry.path());
    for (std::string line; std::getline(file, line);) {
      const std::string inner = line.substr(1, line.size() - 2);
      std::vector<std::string> fields;
      for (size_t start = 0, end = 0; end != std::string::npos; start = end + 3) {
        end = inner.find("\",\"", start);
        fields.push_back(inner.substr(start, end - start));
      }
      auto& [street, prices] = streets[fields.at(3)];
      street = fields.at(9);
      prices.push_back(std::stoll(fields.at(1)));
    }
  }
  return streets;
}

// The street's name reaches the program as the page's UTF-8 bytes, read one byte a character.
TEST(ListingExtractionTest, EverySamplePostcodeGivesItsStreetAndAverageInThousands) {
  const listing::SampleListing sample(KORVANE_SAMPLE_DATA_DIR);
  ServedListing served(sample.address());
  const auto streets = sampleStreets();
  EXPECT_EQ(streets.size(), 45u);
  for (const auto& [postcode, street] : streets) {
    std::string asked = postcode;
    for (char& c : asked) c = c == ' ' ? '+' : c;
    const auto& prices = street.second;
    long long sum = 0;
    for (long long price : prices) sum += price;
    const long long count = static_cast<long long>(prices.size());
    EXPECT_EQ(served.extract(asked),
              (Extracted{listing::displayName(street.first),
                         std::to_string((sum + count * 500) / (count * 1000))}))
        << postcode;
  }
  EXPECT_EQ(served.extract("ZZ99+9ZZ"), Extracted{});
  EXPECT_TRUE(served.messages.texts.empty());
}

// Changes, removals, additional sales, quoting and a broken row, read back by the program.
TEST(ListingExtractionTest, AnImportedFileGivesTheStreetAndAverageTheProgramReads) {
  test::TempDir folder;
  test::writeBytes(
      folder / "pp-2024.csv",
      test::pricePaidFile({{.sale = 1, .price = 200000},
                           {.sale = 2, .price = 300000, .date = "2024-02-03"},
                           {.sale = 3, .price = 900000},
                           {.sale = 4, .price = 5000000, .category = "B"},
                           {.sale = 5, .price = 150000, .street = "MILL LANE"},
                           {.sale = 6, .price = 160000, .street = "MILL LANE"},
                           {.sale = 7, .price = 250000, .paon = "THE \"OLD\" FORGE, NORTH"},
                           {.sale = 2, .price = 310000, .date = "2024-02-03", .status = "C"},
                           {.sale = 3, .status = "D"}}) +
          "\"{00000000-0000-0000-0000-000000000009}\",\"1\",\"2024-01-02 00:00\"\n");
  const auto db = listing::openForImport((folder / "listing.sqlite").string());
  listing::Importer importer(*db, folder.path());
  const auto first = importer.importFile(folder / "pp-2024.csv");
  EXPECT_EQ(first.counts.rejected, 1u);

  // High Street: 200,000, 310,000 and 250,000 are averaged; Mill Lane has one sale fewer.
  const Extracted expected{"High Street", "253"};
  EXPECT_EQ(ServedListing((folder / "listing.sqlite").string()).extract("CF103NQ"), expected);
  importer.importFile(folder / "pp-2024.csv");
  EXPECT_EQ(db->single("SELECT count(*) FROM sales"), 6);
  EXPECT_EQ(ServedListing((folder / "listing.sqlite").string()).extract("cf10+3nq"), expected);
}

}  // namespace
}  // namespace korvane
